// Any bytes as the text of an entry: reading never crashes and gives a finite number, or says
// that the number is too large. wholeNumber must agree on the same terms.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "core/numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        if (!std::isfinite(tally::textvalue(text))) std::abort();
    } catch (const tally::NumberFailure&) {
    }
    try {
        double value = 0.0;
        if (tally::wholeNumber(text, &value) && !std::isfinite(value)) std::abort();
    } catch (const tally::NumberFailure&) {
    }
    return 0;
}
