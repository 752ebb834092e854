// Any bytes as the text of an entry: reading never crashes and gives a finite number or none (too
// large). A text that holds one number as a whole is said to, and reads the same from the front
// unless group separators stop that reading.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "core/numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<double> front = tally::textvalue(text);
    if (front && !std::isfinite(*front))
        std::abort();
    const std::optional<double> whole = tally::wholeNumber(text);
    if (whole && !std::isfinite(*whole))
        std::abort();
    if (whole && !tally::holdsOneNumber(text))
        std::abort();
    if (whole && text.find(',') == std::string_view::npos && front != whole)
        std::abort();
    return 0;
}
