#pragma once
// The three number functions through which every figure passes between text and arithmetic.
// They never consult the process locale: "." is always the decimal point and "," the group separator.
#include <optional>
#include <string>
#include <string_view>

namespace tally {

// Failures are values: "no finite number" (inf, NaN, a decimal too large for a double) is none.

// Canonical text of a number: 15 significant digits, plain between exponents -4 and 14, else
// mantissa, "E", sign and at least two exponent digits. None for inf and NaN.
std::optional<std::string> numbertext(double value);

// The number at the front of a text. Blanks, tabs and line feeds are ignored wherever they stand;
// reading stops at the first character that cannot continue the number; no number reads as 0.
// None when the number is too large for a double.
std::optional<double> textvalue(std::string_view text);

// Whether a text holds exactly one number: blanks around it, optional sign, digits that may carry
// "," group separators after the first digit, at most one point, an optional exponent.
bool holdsOneNumber(std::string_view text);
// That number; none when the text holds anything else or the number is too large for a double.
std::optional<double> wholeNumber(std::string_view text);

// Display form with a pattern of "#", "0", "," and ".". Halves round away from zero.
// A value that is not finite gives the empty text.
std::string formatnumber(double value, std::string_view pattern);
// A text that holds exactly one number is formatted as that number; any other text comes back as is.
std::string formatnumber(std::string_view text, std::string_view pattern);
inline std::string formatnumber(const char* text, std::string_view pattern) {
    return formatnumber(std::string_view(text), pattern);
}
inline std::string formatnumber(const std::string& text, std::string_view pattern) {
    return formatnumber(std::string_view(text), pattern);
}

} // namespace tally
