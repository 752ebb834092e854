#pragma once
// How a tape line is written and how it combines with the subtotal of the line before it.
// An entry is the number's text, a blank and the operator character ("12.5 +"); line 1 carries
// two blanks instead. The last two characters are the entry's operator part.
#include <optional>
#include <string>
#include <string_view>

#include "core/state.h"

namespace tally {

// Operator codes are the indexes of the keypad's operator buttons.
enum OperatorCode : int {
    kAdd = 12,
    kSubtract = 13,
    kMultiply = 14,
    kDivide = 16
};

// "+", "-", "x" or "/" for an operator code; '\0' for any other code.
char operatorChar(int code);

// An entry taken apart: everything before the operator part, and the operator part itself
// (" +", two blanks on line 1). An entry shorter than two characters (only a loaded file holds
// one) has no operator part: taking its last characters would show "5" as 5.005.
struct EntryParts {
    std::string_view number;
    std::string_view operatorPart;
};
EntryParts splitEntry(std::string_view entry);
// The entry of a number and an operator character; '\0' gives line 1's two blanks.
std::string joinEntry(std::string_view number, char op);
// The entry a commit of the row editor writes from the `typed` text and operator `op`: when the
// text is still the one the editor `opened` with, the `stored` entry's own number, so changing
// only the operator never rounds the number to the five decimals the editor shows.
std::string editedEntry(std::string_view stored, std::string_view opened, std::string_view typed, char op);
// The operator an entry carries as its last character: '+', '-', 'x', '/'; '\0' for none.
char entryOperator(std::string_view entry);

// The subtotal text after a line with operator `op`: numbertext of previous (+ - x /) entry,
// both read with textvalue. None when there is no finite result (division by zero, overflow).
std::optional<std::string> combine(std::string_view previousSubtotal, std::string_view entry, char op);
// Line 1 keeps its own number as subtotal.
std::optional<std::string> firstSubtotal(std::string_view entry);

// A control character no tape line holds (NUL and the like, DEL); tab, CR and LF are text.
bool isControlByte(unsigned char c);
// Whether a tape file can carry `utf8` back unchanged: it is written in Latin-1 inside double
// quotes, so neither a double quote nor a character beyond Latin-1 can stand in a tape line, and
// Open takes a control character for the sign of a file that is no tape.
bool savable(std::string_view utf8);
// The text without the characters a tape file cannot carry.
std::string keepSavable(std::string_view utf8);

// Writes the next tape line from the entry box's text with operator `op`. The number is kept in
// its canonical text; a text too large for a number stays as typed (without what a tape file
// cannot carry) and its subtotal stays empty, so nothing the user keyed is lost. False, with nothing written, when the
// tape is full.
bool writeLine(State& state, std::string_view box, char op);

} // namespace tally
