// A value and a display pattern, both from the input: byte 0 is the pattern's length, the next
// eight bytes the double, then the pattern (each byte mapped onto "#", "0", "," or "."), and
// whatever is left is a text for the text form. The display must be well formed: a sign exactly for
// a negative value that does not round to zero, at most one point, commas only in groups of three, and the integer
// digits those of the value's integer part (one more when rounding carries into it; from 1e15 on, its first 15
// significant digits and zeros).
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "core/numbers.h"

namespace {

std::string withoutLeadingZeros(std::string s) {
    s.erase(0, std::min(s.find_first_not_of('0'), s.size()));
    return s;
}

// One more, in decimal digits.
std::string plusOne(std::string s) {
    for (std::size_t i = s.size(); i-- > 0;) {
        if (s[i] != '9') {
            ++s[i];
            return s;
        }
        s[i] = '0';
    }
    return "1" + s;
}

// The integer digits a display shows: those of the value's integer part; from 1e15 on, no digit
// beyond the 15 significant ones a tape text holds (zeros after them).
std::string wholeDigits(double magnitude) {
    char buf[400];
    if (magnitude < 1e15) {
        const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::trunc(magnitude), std::chars_format::fixed, 0);
        if (ec != std::errc())
            std::abort();
        return withoutLeadingZeros(std::string(buf, end));
    }
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
    if (ec != std::errc())
        std::abort();
    const std::string sci(buf, end);
    const std::size_t e = sci.find('e');
    std::string digits = sci.substr(0, 1) + sci.substr(2, e - 2);
    digits.resize(static_cast<std::size_t>(std::atoi(sci.c_str() + e + 1)) + 1, '0');
    return digits;
}

void checkDisplay(double value, const std::string& pattern, const std::string& out) {
    // A value that rounds to zero at the places shown carries no sign.
    const bool shownZero = out.find_first_of("123456789") == std::string::npos;
    std::size_t p = 0;
    if (p < out.size() && out[p] == '-') {
        if (!(value < 0) || shownZero)
            std::abort();
        ++p;
    } else if (value < 0 && !shownZero) {
        std::abort();
    }
    std::string intDigits;
    std::size_t sinceComma = 0;
    bool comma = false;
    for (; p < out.size() && out[p] != '.'; ++p) {
        if (out[p] == ',') {
            if (intDigits.empty() || (comma && sinceComma != 3) || (!comma && sinceComma > 3))
                std::abort();
            comma = true;
            sinceComma = 0;
        } else if (out[p] >= '0' && out[p] <= '9') {
            intDigits.push_back(out[p]);
            ++sinceComma;
        } else {
            std::abort();
        }
    }
    if (comma && sinceComma != 3)
        std::abort();
    const bool point = p < out.size();
    if (point != (pattern.find('.') != std::string::npos))
        std::abort();
    if (point)
        for (++p; p < out.size(); ++p)
            if (out[p] < '0' || out[p] > '9')
                std::abort(); // a second point lands here too

    const std::string whole = wholeDigits(std::fabs(value));
    const std::string shown = withoutLeadingZeros(intDigits);
    if (shown != whole && shown != plusOne(whole))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 9)
        return 0;
    const std::size_t patternLength = std::min<std::size_t>(data[0], size - 9);
    double value = 0.0;
    std::memcpy(&value, data + 1, sizeof value);
    std::string pattern;
    for (std::size_t i = 0; i < patternLength; ++i)
        pattern.push_back("#0,."[data[9 + i] & 3]);
    const std::string_view text(reinterpret_cast<const char*>(data) + 9 + patternLength, size - 9 - patternLength);

    const std::string out = tally::formatnumber(value, pattern);
    const bool placeholders = pattern.find_first_of("#0.") != std::string::npos;
    if (!std::isfinite(value)) {
        if (!out.empty())
            std::abort(); // no display for inf or NaN
    } else if (placeholders) {
        checkDisplay(value, pattern, out);
    }

    // A text that holds one number shows as that number; any other text stands as it is.
    const std::string shown = tally::formatnumber(text, pattern);
    const std::optional<double> number = tally::wholeNumber(text);
    if (!number) {
        if (shown != text)
            std::abort();
    } else if (placeholders) {
        checkDisplay(*number, pattern, shown);
    }
    return 0;
}
