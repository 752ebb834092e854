// Eight bytes as a double: its canonical text reads back as the double nearest to it at 15
// significant digits, exactly, and writing that again gives the same text.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "core/numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(double))
        return 0;
    double x = 0.0;
    std::memcpy(&x, data, sizeof x);
    if (!std::isfinite(x))
        return 0;

    // The C library's own rounding to 15 significant digits, read back by the C library.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", x);
    double nearest = std::strtod(buf, nullptr);
    // Near the top of the range 15 digits name a number above the largest double: that one it is.
    if (std::isinf(nearest))
        nearest = std::copysign(std::numeric_limits<double>::max(), x);

    const std::optional<std::string> text = tally::numbertext(x);
    if (!text)
        std::abort();
    const std::optional<double> back = tally::textvalue(*text);
    if (!back || *back != nearest)
        std::abort();
    if (tally::numbertext(*back) != text)
        std::abort();
    const std::optional<double> whole = tally::wholeNumber(*text);
    if (!whole || *whole != *back)
        std::abort();
    return 0;
}
