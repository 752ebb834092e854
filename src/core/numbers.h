#pragma once
// The three number functions through which every figure passes between text and arithmetic.
// They never consult the process locale: "." is always the decimal point and "," the group separator.
#include <stdexcept>
#include <string>
#include <string_view>

namespace tally {

// A statement that cannot produce a number: a non-finite result (division by zero, 0/0, overflow)
// or a text whose number is too large for a double. Handlers that skip a failing statement catch it.
struct NumberFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Canonical text of a number: 15 significant digits, plain between exponents -4 and 14, else
// mantissa, "E", sign and at least two exponent digits. Throws NumberFailure for inf and NaN.
std::string numbertext(double value);

// The number at the front of a text. Blanks, tabs and line feeds are ignored wherever they stand;
// reading stops at the first character that cannot continue the number; no number reads as 0.
// Throws NumberFailure when the number is too large for a double.
double textvalue(std::string_view text);

// Whether a text holds exactly one number (blanks around it, optional sign, digits that may carry
// "," group separators, at most one point, an optional exponent), and if so which.
// Throws NumberFailure when it does but the number is too large for a double.
bool wholeNumber(std::string_view text, double* value = nullptr);

// Display form with a pattern of "#", "0", "," and ".". Halves round away from zero.
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
