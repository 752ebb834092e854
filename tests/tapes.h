#pragma once
#include "core/tape.h"
// A tape made directly in the state, for tests and benchmarks: line k has entry "k +" (line 1 "1  ") and subtotal "k".
inline tally::Tape tapeOf(int lines) {
    tally::Tape state;
    for (int k = 1; k <= lines; ++k) {
        state.entries[k] = std::to_string(k) + (k == 1 ? "  " : " +");
        state.subtotals[k] = std::to_string(k);
    }
    state.nextline = lines + 1;
    return state;
}
