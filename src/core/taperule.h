#pragma once
// How one tape line combines with the subtotal of the line before it.
#include <string>
#include <string_view>

namespace tally {

// Operator codes are the indexes of the keypad's operator buttons.
enum OperatorCode : int { kAdd = 12, kSubtract = 13, kMultiply = 14, kDivide = 16 };

// "+", "-", "x" or "/" for an operator code; '\0' for any other code.
char operatorChar(int code);

// The subtotal text after a line with operator character `op` ('+', '-', 'x', '/'):
// numbertext of previous (+ - x /) entry, both read with textvalue. Line 1 keeps its own number.
// Throws NumberFailure when there is no finite result (division by zero, 0/0, overflow).
std::string combine(std::string_view previousSubtotal, std::string_view entry, char op);
std::string firstSubtotal(std::string_view entry);

} // namespace tally
