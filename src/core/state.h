#pragma once
// The state the whole calculator shares: the paper tape, the memory list and the print places.
// main() owns one; the windows get it by reference, each test builds a fresh one.
#include <array>
#include <string>

namespace tally {

constexpr int kTapeLines = 1000;   // lines 1..1000; slot 0 is never shown, printed or saved
constexpr int kMemorySlots = 1000; // memlist positions 0..999

struct State {
    // Number of the next line to write; the tape holds lines 1 .. nextline - 1.
    int nextline = 1;
    // Line i at index i. An entry is numbertext of the number, a blank and the operator
    // character; line 1 carries two blanks. A subtotal is empty when its computation failed.
    std::array<std::string, kTapeLines + 1> entries;
    std::array<std::string, kTapeLines + 1> subtotals;

    int memcount = 0;
    std::array<std::string, kMemorySlots> memlist;

    int printplaces = 0;

    bool tapeEmpty() const { return entries[1].empty(); }
    bool tapeFull() const { return nextline > kTapeLines; }
};

} // namespace tally
