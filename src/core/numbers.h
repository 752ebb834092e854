#pragma once
// The three number functions through which every figure passes between text and arithmetic.
// They never consult the process locale: "." is always the decimal point and "," the group separator.
#include <functional>
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

// The exponent form of a finite number with at most `significantDigits` (1..15) significant
// digits, as the tape writes large numbers: "1.23456789012346E+19", "-1.2E+300".
std::string scientificText(double value, int significantDigits);

// Whether a text fits the cell it is meant for; an empty one means every text fits.
using Fits = std::function<bool(std::string_view)>;
// A figure's text for a cell: `formatted` then `suffix` when that fits; else the exponent form
// with as many of the figure's 15 significant digits as fit (at least one), so a figure is never
// cut and never shows its front cut away.
std::string fitFigure(std::string formatted, double value, std::string_view suffix, const Fits& fits);

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
