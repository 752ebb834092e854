#pragma once
// The memory of stored subtotals: which value a Store takes, the row texts of the value list
// (List1) and of its total (List2), removing, clearing and recalling. The window only copies the
// texts given here into its two list boxes.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/state.h"

namespace tally {

constexpr int kMemoryRowWidth = 23;    // rows are right-aligned in this many characters
constexpr int kMemoryVisibleRows = 25; // rows the value list shows at once

constexpr std::string_view kMemoryRowPattern = "####,###,###,###,###.0000";
constexpr std::string_view kMemoryTotalPattern = "###,###,###,###,###.0000";

// What the two list boxes show.
struct MemoryLists {
    std::vector<std::string> rows;    // List1, one row per stored value, in storage order
    std::optional<std::string> total; // List2's one row; none leaves List2 empty
};

enum class StoreResult {
    Stored,
    NothingToStore, // the chosen line has no number (empty tape, failed subtotal): nothing changed
    Full,           // all kMemorySlots values are taken: nothing changed
};

struct StoreOutcome {
    StoreResult result = StoreResult::NothingToStore;
    MemoryLists lists;       // when Stored: the new contents of both lists
    int firstVisibleRow = 0; // when Stored: the row List1 scrolls to the top
};

enum class RemoveResult {
    Removed,
    NothingSelected, // no row, or a row that does not exist: nothing changed
};

struct RemoveOutcome {
    RemoveResult result = RemoveResult::NothingSelected;
    MemoryLists lists; // when Removed: the new contents of both lists
};

// A List1 row: the stored text's number with grouping and four decimals, right-aligned.
// A value too wide for the row shows in exponent form: cutting digits would show another number,
// and Remove reads the values back from these rows. A text that is no number stands as it is.
std::string memoryRow(std::string_view stored);
// The List2 row for a total; none when the total is not a finite number (overflow).
std::optional<std::string> memoryTotalRow(double total);

// Stores the subtotal of the newest tape line, or of line `scrollline` while the tape view is
// scrolled (`viewmode` not 0), and rebuilds both lists from the memory.
StoreOutcome storeSubtotal(State& state, int viewmode, int scrollline);

// Removes row `selected` of List1 (`rows`, as the list shows them; -1 when none is selected).
// The memory is rebuilt from the remaining rows, so every stored value becomes the four-decimal
// value its row shows, and the total is summed from those.
RemoveOutcome removeStored(State& state, std::vector<std::string> rows, int selected);

// Empties the memory; the window empties both lists.
void clearMemory(State& state);

// The entry-box text for a recalled row (the empty text when no row is selected gives "0").
// None only for a number too large for a double, which no row shows.
std::optional<std::string> recallText(std::string_view rowText);

} // namespace tally
