#include "core/keys.h"

#include <string_view>

namespace tally {
namespace {

struct KeyRow {
    std::u16string_view keys;
    KeyRule rule;
};

using enum KeyCommand;
constexpr Sound kOp = Sound::Calc1, kDigit = Sound::Calc2;

// Delete arrives as the code 127; it edits the box and types nothing, so it plays no sound.
constexpr KeyRow kDelete{u"\x7f", {Pass, Sound::None}};

constexpr KeyRow kEntryBoxKeys[] = {
    {u"0123456789.", {Pass, kDigit}},
    kDelete,
    {u"\"", {Swallow, kOp}}, // a tape file cannot carry it
    {u"\r\n+", {Add, kOp}},
    {u"-", {Subtract, kOp}},
    {u"*", {Multiply, kOp}},
    {u"/", {Divide, kOp}},
    {u"oO", {Exit, kOp}},
    {u"cC", {ClearTape, kOp}},
    {u"sS", {Store, kOp}},
    {u"kK", {Constant, kOp}},
};

// The editor's commands play their own sounds (Store, Exit) or none (Cancel, Preview).
constexpr KeyRow kEditorKeys[] = {
    {u"0123456789.\b", {Pass, kDigit}},
    kDelete,
    {u"\x1b", {Cancel, Sound::None}},
    {u"\"", {Swallow, kOp}},
    {u"+", {Add, kOp}},
    {u"-", {Subtract, kOp}},
    {u"*", {Multiply, kOp}},
    {u"/", {Divide, kOp}},
    {u"xX", {Exit, Sound::None}},
    {u"sS", {Store, Sound::None}},
    {u"eE", {Preview, Sound::None}},
};

template <std::size_t N>
KeyRule lookUp(const KeyRow (&table)[N], char16_t key) {
    for (const KeyRow& row : table)
        if (row.keys.find(key) != std::u16string_view::npos)
            return row.rule;
    // Letters, signs above "9" and anything beyond ASCII are dropped; Backspace, blank, comma
    // and the other codes below "0" reach the box.
    return {key > u'9' ? Swallow : Pass, kOp};
}

} // namespace

KeyRule entryBoxKey(char16_t key, bool boxEmpty) {
    if (key == u'-' && boxEmpty)
        return {Pass, kOp}; // starts a negative number
    return lookUp(kEntryBoxKeys, key);
}

KeyRule editorKey(char16_t key) {
    return lookUp(kEditorKeys, key);
}

} // namespace tally
