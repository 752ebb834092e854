// Any bytes as keys: a byte below 0x80 is a character typed into the entry box and goes through
// the key table; a byte from 0x80 up presses keypad button (byte & 0x1f), as the window does.
// Whatever is keyed, the tape never passes line 1000, and recomputing it from its entries gives
// the subtotals the keypad wrote; the view rule only ever names lines of the tape.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/keypad.h"
#include "core/keys.h"
#include "core/taperule.h"
#include "tape/cells.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static tally::Tape state; // large; emptied for every input
    state = tally::Tape{};
    std::string box;
    for (std::size_t i = 0; i < size; ++i) {
        int index = data[i] & 0x1f;
        if (data[i] < 0x80) {
            const tally::KeyRule rule = tally::entryBoxKey(data[i], box.empty());
            if (rule.command == tally::KeyCommand::Pass)
                box += static_cast<char>(data[i]);
            if (rule.command != tally::KeyCommand::Operate)
                continue;
            index = rule.op;
        }
        const tally::Press press = tally::pressKey(state, box, index);
        if (press.outcome == tally::Press::LineWritten && !press.box.empty())
            std::abort();
        box = press.box;
        if (state.nextline < 1 || state.nextline > tally::kTapeLines + 1)
            std::abort();
    }
    const tally::Tape keyed = state;
    tally::recalculate(state);
    if (state.subtotals != keyed.subtotals)
        std::abort();
    for (int bottom = 0; bottom <= tally::kTapeLines; bottom += 97)
        for (int line : tally::scrolledView(bottom).lines)
            if (line < 0 || line > bottom)
                std::abort();
    for (int line : tally::newestView(state.nextline).lines)
        if (line < 0 || line >= state.nextline)
            std::abort();
    return 0;
}
