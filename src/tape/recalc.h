#pragma once
#include "core/state.h"

namespace tally {

// Recomputes every subtotal from line 1, each line by the operator its entry ends with, reading
// the previous subtotal back from its text as keying does. A line whose step has no number
// (division by zero, 0/0, overflow) gets an empty subtotal, exactly as keying it afresh would
// leave it; an entry without an operator keeps its subtotal.
void recalculate(State& state);

} // namespace tally
