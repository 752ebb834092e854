#pragma once
// The paper tape as a value: its lines and the rules that change them. A second tape is a second
// value; the window's tape view only shows one.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace tally {

constexpr int kTapeLines = 1000; // lines 1..1000; slot 0 is never shown, printed or saved

struct Tape {
    // Number of the next line to write; the tape holds lines 1 .. nextline - 1.
    int nextline = 1;
    // Line i at index i. An entry is numbertext of the number, a blank and the operator
    // character; line 1 carries two blanks. A subtotal is empty when its computation failed.
    std::array<std::string, kTapeLines + 1> entries;
    std::array<std::string, kTapeLines + 1> subtotals;

    bool empty() const { return entries[1].empty(); }
    bool full() const { return nextline > kTapeLines; }
    // The number of the last line written; 0 on an empty tape.
    int last() const { return std::clamp(nextline - 1, 0, kTapeLines); }
};

// Writes the next tape line from the entry box's text with operator `op`. The number is kept in
// its canonical text; a text too large for a number stays as typed (without what a tape file
// cannot carry) and its subtotal stays empty, so nothing the user keyed is lost. False, with
// nothing written, when the tape is full.
bool writeLine(Tape& tape, std::string_view box, char op);

// Recomputes every subtotal from line 1, each line by the operator its entry ends with, reading
// the previous subtotal back from its text as keying does. A line whose step has no number
// (division by zero, 0/0, overflow) gets an empty subtotal, exactly as keying it afresh would
// leave it; an entry without an operator keeps its subtotal.
void recalculate(Tape& tape);

// Empties every line written (and the one after, where an edit may have left text) and starts
// the tape again at line 1.
void clearTape(Tape& tape);

// Writes a corrected line back: the row editor's `typed` text (which `opened` with) and operator
// `op`, as editedEntry makes the entry, then recomputes the tape. Only a line of the tape is
// written: a line past its end, where a later line would find the text, stays empty. The tape is
// recomputed either way.
void correctLine(Tape& tape, int line, std::string_view opened, std::string_view typed, char op);

} // namespace tally
