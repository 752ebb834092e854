#pragma once
// The operators, one row each: the keypad button that presses it, the character the tape writes
// after its entry, its name as a screen reader says it in a tape line, the characters that press it from the keyboard,
// and how it combines the previous subtotal with the entry. Everything that turns a key into an operator reads this
// table, so a new operator is one row here and its button in the window's design table.
#include <optional>
#include <span>
#include <string_view>

namespace tally {

// Operator codes are the indexes of the keypad's operator buttons (Command1_12 ...).
enum OperatorCode : int {
    kAdd = 12,
    kSubtract = 13,
    kMultiply = 14,
    kDivide = 16
};

struct Operator {
    int code;
    char tapeChar;
    std::string_view spoken;        // "line 3, 12.50 plus, subtotal 27.50"
    std::u16string_view entryKeys;  // characters that press it in the entry box
    std::u16string_view editorKeys; // characters that write a corrected line back with it
    double (*apply)(double subtotal, double entry);
};

std::span<const Operator> operators();
// The row of a code or of a tape character; none for any other.
const Operator* operatorOfCode(int code);
const Operator* operatorOfChar(char tapeChar);

// "+", "-", "x" or "/" for an operator code; '\0' for any other code.
char operatorChar(int code);

} // namespace tally
