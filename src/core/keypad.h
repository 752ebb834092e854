#pragma once
// The keypad as a rule: what a press of a digit, point or operator key does to the entry box's
// text and to the tape. The window only copies the result into its controls.
#include <string>
#include <string_view>

#include "core/sound.h"
#include "core/tape.h"

namespace tally {

constexpr int kPointKey = 10; // Command1 indexes: 0..9 digits, 10 the point, 12.. the operators

struct Press {
    enum Outcome {
        Ignored,     // nothing changes
        Typed,       // the box text changed; the caret goes to the end of the keyed number
        LineWritten, // a tape line was written; the box is empty
        TapeFull,    // the tape holds 1000 lines: nothing written, the entry stays in the box
    };
    Outcome outcome = Ignored;
    std::string box;   // the entry box's text after the press
    std::string keyed; // what the press added to the keyed number
    Sound sound = Sound::None;
};

// A press of keypad key `index` with `box` in the entry box.
Press pressKey(Tape& tape, std::string_view box, int index);

} // namespace tally
