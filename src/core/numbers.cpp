#include "core/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

namespace tally {
namespace {

// A decimal number taken apart: significant digits (no leading zeros) and the power of ten of the
// point in front of them, so that the value is 0.DIGITS x 10^pointExp.
struct Decimal {
    bool negative = false;
    std::string digits;
    std::int64_t pointExp = 0;
};

// Enough digits to decide the rounding of any double; the rest only tells whether it was zero.
constexpr std::size_t kMaxDigits = 780;
constexpr std::int64_t kExpLimit = 100000;

struct DigitSink {
    Decimal& d;
    bool sticky = false;
    void add(char c, bool beforePoint) {
        if (d.digits.empty() && c == '0') {
            if (!beforePoint)
                --d.pointExp;
            return;
        }
        if (beforePoint)
            ++d.pointExp;
        if (d.digits.size() < kMaxDigits)
            d.digits.push_back(c);
        else if (c != '0')
            sticky = true;
    }
    void finish() {
        if (sticky)
            d.digits.push_back('1');
    }
};

std::int64_t saturatingExp(std::int64_t e, int digit) {
    return std::min<std::int64_t>(e * 10 + digit, kExpLimit);
}

// numbertext of the largest double, 1.79769313486232E+308, lies above it at 15 digits; that text
// and anything between must read back as the largest double, not fail as an overflow.
bool namesLargestDouble(const Decimal& d) {
    if (d.pointExp != 309)
        return false;
    const std::string_view digits(d.digits.data(), d.digits.find_last_not_of('0') + 1);
    return digits <= std::string_view("179769313486232");
}

std::optional<double> toDouble(const Decimal& d) {
    if (d.digits.empty())
        return 0.0;
    std::string text = "0." + d.digits + "e" + std::to_string(d.pointExp);
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        if (d.pointExp > 0 && !namesLargestDouble(d))
            return std::nullopt;
        value = d.pointExp > 0 ? std::numeric_limits<double>::max() : 0.0;
    }
    return d.negative ? -value : value;
}

bool isSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isExponentLetter(char c) {
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// Exponent after its letter: optional sign and digits, blanks skipped when `skipBlanks`.
// Returns the position after it, or `pos` unchanged when no digit follows (the letter then ends the number).
std::size_t readExponent(std::string_view s, std::size_t pos, bool skipBlanks, std::int64_t& exp) {
    auto skip = [&](std::size_t p) {
        while (skipBlanks && p < s.size() && isSkipped(s[p]))
            ++p;
        return p;
    };
    std::size_t p = skip(pos);
    bool negative = false;
    if (p < s.size() && (s[p] == '+' || s[p] == '-')) {
        negative = s[p] == '-';
        p = skip(p + 1);
    }
    if (p >= s.size() || !isDigit(s[p]))
        return pos;
    std::int64_t e = 0;
    while (p < s.size() && isDigit(s[p])) {
        e = saturatingExp(e, s[p] - '0');
        p = skip(p + 1);
    }
    exp = negative ? -e : e;
    return p;
}

struct Pattern {
    bool hasPoint = false;
    bool grouping = false;
    int intZeros = 0;
    int fracPlaces = 0;
    int fracZeros = 0;
    bool anyPlaceholder = false;
};

Pattern readPattern(std::string_view pattern) {
    Pattern p;
    bool placeholderSeen = false;
    bool pendingComma = false;
    for (char c : pattern) {
        const bool placeholder = c == '#' || c == '0';
        if (!p.hasPoint) {
            if (placeholder) {
                if (pendingComma)
                    p.grouping = true;
                placeholderSeen = true;
                if (c == '0')
                    ++p.intZeros;
            } else if (c == ',' && placeholderSeen) {
                pendingComma = true;
            } else if (c == '.') {
                p.hasPoint = true;
            }
        } else if (placeholder) {
            ++p.fracPlaces;
            if (c == '0')
                ++p.fracZeros;
        }
        p.anyPlaceholder = p.anyPlaceholder || placeholder || c == '.';
    }
    return p;
}

// |value| at the 15 significant digits a tape text holds, rounded to `places` decimals, halves
// away from zero: its integer digits and its decimals. Digits past the 15th would show the binary
// value's noise (1234567890.12346 as 1234567890.12346005), never a digit that was keyed.
std::pair<std::string, std::string> roundedDigits(double magnitude, int places) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
    (void)ec;
    const std::string_view sci(buf, static_cast<std::size_t>(end - buf));
    const std::size_t e = sci.find('e');
    const char* exponentAt = sci.data() + e + (sci[e + 1] == '+' ? 2 : 1);
    int exponent = 0;
    std::from_chars(exponentAt, sci.data() + sci.size(), exponent);
    std::string digits;
    for (char c : sci.substr(0, e))
        if (c != '.')
            digits += c;
    // The point stands after exponent + 1 of the digits.
    std::size_t wholeDigits = 1;
    if (exponent >= 0) {
        wholeDigits = static_cast<std::size_t>(exponent) + 1;
        digits.resize(std::max(digits.size(), wholeDigits), '0');
    } else {
        digits.insert(0, static_cast<std::size_t>(-exponent), '0');
    }
    const std::size_t keep = wholeDigits + static_cast<std::size_t>(places);
    if (digits.size() > keep) {
        const bool up = digits[keep] >= '5';
        digits.resize(keep);
        for (std::size_t i = keep; up && i-- > 0;) {
            if (digits[i] != '9') {
                ++digits[i];
                break;
            }
            digits[i] = '0';
            if (i == 0) {
                digits.insert(digits.begin(), '1');
                ++wholeDigits;
            }
        }
    }
    return {digits.substr(0, wholeDigits), digits.substr(wholeDigits)};
}

} // namespace

std::optional<std::string> numbertext(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    if (value == 0.0)
        return "0";
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    (void)ec;
    std::string text(buf, end);
    for (char& c : text)
        if (c == 'e')
            c = 'E';
    return text;
}

std::string scientificText(double value, int significantDigits) {
    if (!std::isfinite(value))
        return {};
    char buf[64];
    const int precision = std::clamp(significantDigits, 1, 15) - 1;
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, precision);
    (void)ec;
    std::string text(buf, end);
    const std::size_t e = text.find('e');
    std::string mantissa = text.substr(0, e);
    if (mantissa.find('.') != std::string::npos) {
        mantissa.erase(mantissa.find_last_not_of('0') + 1);
        if (mantissa.back() == '.')
            mantissa.pop_back();
    }
    return mantissa + "E" + text.substr(e + 1);
}

std::string fitFigure(std::string formatted, double value, std::string_view suffix, const Fits& fits) {
    std::string text = std::move(formatted) + std::string(suffix);
    for (int digits = 15; fits && !fits(text) && digits >= 1; --digits)
        text = scientificText(value, digits) + std::string(suffix);
    return text;
}

std::optional<double> textvalue(std::string_view s) {
    Decimal d;
    DigitSink sink{d};
    std::size_t p = 0;
    auto skip = [&] {
        while (p < s.size() && isSkipped(s[p]))
            ++p;
    };
    skip();
    if (p < s.size() && (s[p] == '+' || s[p] == '-')) {
        d.negative = s[p] == '-';
        ++p;
        skip();
    }
    bool point = false;
    while (p < s.size()) {
        const char c = s[p];
        if (isDigit(c)) {
            sink.add(c, !point);
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        ++p;
        skip();
    }
    sink.finish();
    if (p < s.size() && isExponentLetter(s[p])) {
        std::int64_t exp = 0;
        readExponent(s, p + 1, true, exp);
        d.pointExp += exp;
    }
    return toDouble(d);
}

namespace {
// The one number a text holds as a whole: none when it holds anything else; a decimal too large
// for a double gives a value of none inside.
std::optional<std::optional<double>> readWhole(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t b = 0, e = s.size();
    while (b < e && blank(s[b]))
        ++b;
    while (e > b && blank(s[e - 1]))
        --e;
    s = s.substr(b, e - b);

    Decimal d;
    DigitSink sink{d};
    std::size_t p = 0;
    if (p < s.size() && (s[p] == '+' || s[p] == '-')) {
        d.negative = s[p] == '-';
        ++p;
    }
    bool anyDigit = false;
    while (p < s.size() && (isDigit(s[p]) || (s[p] == ',' && anyDigit))) {
        if (s[p] != ',') {
            sink.add(s[p], true);
            anyDigit = true;
        }
        ++p;
    }
    if (p < s.size() && s[p] == '.') {
        ++p;
        while (p < s.size() && isDigit(s[p])) {
            sink.add(s[p], false);
            anyDigit = true;
            ++p;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    sink.finish();
    if (p < s.size() && isExponentLetter(s[p])) {
        std::int64_t exp = 0;
        const std::size_t after = readExponent(s, p + 1, false, exp);
        if (after == p + 1)
            return std::nullopt;
        d.pointExp += exp;
        p = after;
    }
    if (p != s.size())
        return std::nullopt;
    return toDouble(d);
}
} // namespace

bool holdsOneNumber(std::string_view text) {
    return readWhole(text).has_value();
}

std::optional<double> wholeNumber(std::string_view text) {
    return readWhole(text).value_or(std::nullopt);
}

std::string formatnumber(double value, std::string_view pattern) {
    if (!std::isfinite(value))
        return {};
    const Pattern pat = readPattern(pattern);
    if (!pat.anyPlaceholder)
        return *numbertext(value);

    // Beyond 1080 decimals every double is exact, so only zeros would follow.
    auto [intDigits, fracDigits] = roundedDigits(std::fabs(value), std::min(pat.fracPlaces, 1080));
    // A value that rounds to zero at the places shown is zero: no lone minus.
    const bool negative = value < 0 && (intDigits + fracDigits).find_first_not_of('0') != std::string::npos;
    fracDigits.resize(static_cast<std::size_t>(pat.fracPlaces), '0');
    while (static_cast<int>(fracDigits.size()) > pat.fracZeros && fracDigits.back() == '0')
        fracDigits.pop_back();

    intDigits.erase(0, std::min(intDigits.find_first_not_of('0'), intDigits.size()));
    if (static_cast<int>(intDigits.size()) < pat.intZeros)
        intDigits.insert(0, static_cast<std::size_t>(pat.intZeros) - intDigits.size(), '0');

    std::string out;
    out.reserve(intDigits.size() * 4 / 3 + fracDigits.size() + 3);
    if (negative)
        out.push_back('-');
    for (std::size_t i = 0; i < intDigits.size(); ++i) {
        if (pat.grouping && i > 0 && (intDigits.size() - i) % 3 == 0)
            out.push_back(',');
        out.push_back(intDigits[i]);
    }
    if (pat.hasPoint)
        out.push_back('.');
    out += fracDigits;
    return out;
}

std::string formatnumber(std::string_view text, std::string_view pattern) {
    const std::optional<double> value = wholeNumber(text);
    return value ? formatnumber(*value, pattern) : std::string(text);
}

} // namespace tally
