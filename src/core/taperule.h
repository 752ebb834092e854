#pragma once
// How a tape line is written and how it combines with the subtotal of the line before it.
// An entry is the number's text, a blank and the operator character ("12.5 +"); line 1 carries
// two blanks instead. The last two characters are the entry's operator part.
#include <optional>
#include <string>
#include <string_view>

namespace tally {

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
// The operator an entry carries as its last character, one of the operator table's tape
// characters; '\0' for none.
char entryOperator(std::string_view entry);

// The two readings of an entry's number. entryValue: the number at the front of a tape entry, as
// the subtotals and the cells read it (none when too large for a double). editorText: the number
// a tape cell shows ("1,234.50 +"), as the row editor offers it for correcting: without grouping,
// at most five decimals, in canonical text; none when the cell shows no number.
std::optional<double> entryValue(std::string_view entry);
std::optional<std::string> editorText(std::string_view cell);

// The subtotal text after a line with operator `op`: numbertext of previous (+ - x /) entry,
// both read with textvalue. None when there is no finite result (division by zero, overflow).
// `op` is a tape character of the operator table.
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

} // namespace tally
