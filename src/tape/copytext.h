#pragma once
// The tape as plain text for the clipboard, ready to paste into a spreadsheet: one line per tape
// line with its number, entry, operator and subtotal as the tape view shows them, between tabs.
#include <string>
#include <string_view>

#include "core/tape.h"

namespace tally {

// Lines 1 .. nextline - 1, each ended by "\n"; the subtotals formatted with `pattern`. Line 1's
// operator column is empty. A tab or line break inside a loaded text becomes a blank, so every
// line keeps its four columns.
std::string copyText(const Tape& tape, std::string_view pattern);

} // namespace tally
