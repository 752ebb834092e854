#include "core/keypad.h"

#include "core/operators.h"

namespace tally {

Press pressKey(Tape& tape, std::string_view box, int index) {
    Press press;
    press.box = box;
    // A lone "-" or "0" locks the keypad until the box is typed into or cleared.
    if (box == "-" || box == "0")
        return press;
    if (index == kSubtract && box.empty()) {
        press.outcome = Press::Typed;
        press.box = "-";
        return press;
    }
    if (index > kPointKey) {
        const char op = operatorChar(index);
        if (box.empty() || !op)
            return press;
        if (!writeLine(tape, box, op)) {
            press.outcome = Press::TapeFull;
            return press;
        }
        press.outcome = Press::LineWritten;
        press.box.clear();
        press.sound = Sound::Calc1;
        return press;
    }
    if (index < 0)
        return press;
    press.outcome = Press::Typed;
    press.keyed = index == kPointKey ? std::string(".") : std::to_string(index);
    press.box += press.keyed;
    press.sound = Sound::Calc2;
    return press;
}

} // namespace tally
