#include "memory/memory.h"

#include <algorithm>
#include <cmath>

#include "core/numbers.h"

namespace tally {
namespace {

// Remove keeps four decimals and drops the grouping when it reads a row back.
constexpr std::string_view kRebuildPattern = "#################.0000";
constexpr std::string_view kRecallPattern = "###############.0000";

std::string rightAligned(std::string text) {
    if (text.size() < static_cast<std::size_t>(kMemoryRowWidth))
        text.insert(0, static_cast<std::size_t>(kMemoryRowWidth) - text.size(), ' ');
    return text;
}

// The number a stored text holds as a whole; none for the empty subtotal of a failed line.
std::optional<double> storedValue(std::string_view text) {
    return wholeNumber(text);
}

MemoryLists listsFromMemory(const State& state) {
    MemoryLists lists;
    lists.rows.reserve(static_cast<std::size_t>(state.memcount));
    double total = 0.0;
    for (int k = 0; k < state.memcount; ++k) {
        const std::string& text = state.memlist[static_cast<std::size_t>(k)];
        total += storedValue(text).value_or(0.0);
        lists.rows.push_back(memoryRow(text));
    }
    lists.total = memoryTotalRow(total);
    return lists;
}

} // namespace

bool fitsRow(std::string_view text) {
    return text.size() <= static_cast<std::size_t>(kMemoryRowWidth);
}

std::string memoryRow(std::string_view stored) {
    const std::optional<double> value = wholeNumber(stored);
    if (!value)
        return rightAligned(std::string(stored));
    return rightAligned(fitFigure(formatnumber(*value, kMemoryRowPattern), *value, "", fitsRow));
}

std::optional<std::string> memoryTotalRow(double total) {
    if (!std::isfinite(total))
        return std::nullopt;
    return rightAligned(fitFigure(formatnumber(total, kMemoryTotalPattern), total, "", fitsRow));
}

StoreOutcome storeSubtotal(State& state, int viewmode, int scrollline) {
    StoreOutcome out;
    if (state.memcount >= kMemorySlots) {
        out.result = StoreResult::Full;
        return out;
    }
    // Only a line on the tape can be stored: slot 0 and lines past the end hold no subtotal of it.
    const int line = viewmode != 0 ? scrollline : state.tape.nextline - 1;
    if (line < 1 || line >= state.tape.nextline || line > kTapeLines)
        return out;
    const std::string& subtotal = state.tape.subtotals[static_cast<std::size_t>(line)];
    // A failed line has no subtotal; storing its empty text would list a row that Remove later
    // turns into a real value.
    if (!storedValue(subtotal))
        return out;

    state.memlist[static_cast<std::size_t>(state.memcount)] = subtotal;
    ++state.memcount;
    out.result = StoreResult::Stored;
    out.lists = listsFromMemory(state);
    out.firstVisibleRow = std::max(0, state.memcount - kMemoryVisibleRows);
    return out;
}

RemoveOutcome removeStored(State& state, std::vector<std::string> rows, int selected) {
    RemoveOutcome out;
    if (selected < 0 || static_cast<std::size_t>(selected) >= rows.size()) {
        out.lists.rows = std::move(rows);
        return out;
    }
    rows.erase(rows.begin() + selected);

    // The remaining rows keep their texts; the memory is read back from what they show.
    const int count = std::min(static_cast<int>(rows.size()), kMemorySlots);
    double total = 0.0;
    for (int k = 0; k < count; ++k) {
        std::string& slot = state.memlist[static_cast<std::size_t>(k)];
        slot = formatnumber(rows[static_cast<std::size_t>(k)], kRebuildPattern);
        total += textvalue(slot).value_or(0.0);
    }
    state.memcount = count;
    out.result = RemoveResult::Removed;
    out.lists.rows = std::move(rows);
    out.lists.total = memoryTotalRow(total);
    return out;
}

void clearMemory(State& state) {
    for (int k = 0; k < state.memcount && k < kMemorySlots; ++k)
        state.memlist[static_cast<std::size_t>(k)] = " 0";
    state.memcount = 0;
}

std::optional<std::string> recallText(std::string_view rowText) {
    const std::optional<double> value = textvalue(formatnumber(rowText, kRecallPattern));
    return value ? numbertext(*value) : std::nullopt;
}

} // namespace tally
