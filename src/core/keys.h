#pragma once
// The keyboard's character rules for the entry box and the row editor, as data: which command a
// character gives and which sound it makes.
#include <optional>
#include <string>
#include <string_view>

#include "core/sound.h"

namespace tally {

enum class KeyCommand {
    Pass,    // the character reaches the box
    Swallow, // the character is dropped
    Operate, // an operator of the operator table (in the editor: write the line back with it)
    Exit,
    ClearTape,
    Store,
    Constant,
    Preview,
    Cancel, // the editor closes unwritten
};

struct KeyRule {
    KeyCommand command = KeyCommand::Pass;
    Sound sound = Sound::None;
    int op = 0; // Operate: the operator's code
    bool operator==(const KeyRule&) const = default;
};

// A character typed into the entry box; `boxEmpty` tells whether the box holds no text
// ("-" then starts a negative number).
KeyRule entryBoxKey(char16_t key, bool boxEmpty);
// A character typed into the row editor.
KeyRule editorKey(char16_t key);

// What a paste puts into the entry box or the editor (UTF-8): a figure in the grouped form Copy
// Tape writes ("-12,345.5": groups of three digits, at most one point) without its commas, any
// other text without a comma as it is. None when refused: another text with a comma would show
// one number and write another, and text a tape file cannot carry would not read back.
std::optional<std::string> pastedText(std::string_view utf8);

} // namespace tally
