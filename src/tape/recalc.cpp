#include "tape/recalc.h"

#include <algorithm>

#include "core/numbers.h"
#include "core/taperule.h"

namespace tally {

void recalculate(State& state) {
    const int last = std::min(state.nextline - 1, kTapeLines);
    for (int k = 1; k <= last; ++k) {
        const std::string& entry = state.entries[k];
        std::string& subtotal = state.subtotals[k];
        const char op = entry.empty() ? '\0' : entry.back();
        if (k > 1 && op != '+' && op != '-' && op != 'x' && op != '/') continue;
        try {
            subtotal = k == 1 ? firstSubtotal(entry) : combine(state.subtotals[k - 1], entry, op);
        } catch (const NumberFailure&) {
            subtotal.clear();
        }
    }
}

} // namespace tally
