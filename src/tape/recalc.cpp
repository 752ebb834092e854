#include "tape/recalc.h"

#include <algorithm>

#include "core/taperule.h"

namespace tally {

void recalculate(State& state) {
    const int last = std::min(state.nextline - 1, kTapeLines);
    for (int k = 1; k <= last; ++k) {
        const std::string& entry = state.entries[k];
        const char op = entryOperator(entry);
        if (k > 1 && !op)
            continue;
        state.subtotals[k] = (k == 1 ? firstSubtotal(entry) : combine(state.subtotals[k - 1], entry, op)).value_or("");
    }
}

} // namespace tally
