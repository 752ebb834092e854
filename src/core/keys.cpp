#include "core/keys.h"

#include <string_view>

#include "core/operators.h"
#include "core/taperule.h"

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
    {u"oO", {Exit, kOp}},
    {u"cC", {ClearTape, kOp}},
    {u"sS", {Store, kOp}},
    {u"kK", {Constant, kOp}},
};

// The editor's commands play their own sounds (Store, Exit) or none (Cancel, Preview).
constexpr KeyRow kEditorKeys[] = {
    {u"0123456789.\b", {Pass, kDigit}}, kDelete,
    {u"\x1b", {Cancel, Sound::None}},   {u"\"", {Swallow, kOp}},
    {u"xX", {Exit, Sound::None}},       {u"sS", {Store, Sound::None}},
    {u"eE", {Preview, Sound::None}},
};

// The operators' keys come from the operator table, the other commands from the key table.
template <std::size_t N>
KeyRule lookUp(const KeyRow (&table)[N], std::u16string_view Operator::*keys, char16_t key) {
    for (const Operator& op : operators())
        if ((op.*keys).find(key) != std::u16string_view::npos)
            return {Operate, kOp, op.code};
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
    return lookUp(kEntryBoxKeys, &Operator::entryKeys, key);
}

KeyRule editorKey(char16_t key) {
    return lookUp(kEditorKeys, &Operator::editorKeys, key);
}

namespace {
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
// Whether the text is a grouped figure: sign, one to three digits, groups of a comma and three
// digits, a point and digits.
bool groupedFigure(std::string_view s) {
    std::size_t p = s.starts_with('-') || s.starts_with('+') ? 1 : 0;
    const std::size_t lead = p;
    while (p < s.size() && isDigit(s[p]))
        ++p;
    if (p == lead || p - lead > 3)
        return false;
    while (p < s.size() && s[p] == ',') {
        for (std::size_t k = 1; k <= 3; ++k)
            if (p + k >= s.size() || !isDigit(s[p + k]))
                return false;
        p += 4;
    }
    if (p < s.size() && s[p] == '.') {
        ++p;
        while (p < s.size() && isDigit(s[p]))
            ++p;
    }
    return p == s.size();
}
} // namespace

std::optional<std::string> pastedText(std::string_view utf8) {
    std::string text(utf8);
    if (text.find(',') != std::string::npos) {
        // A figure copied from a cell or a line often brings blanks and a line end along.
        const std::size_t b = text.find_first_not_of(" \t\r\n"), e = text.find_last_not_of(" \t\r\n");
        text = b == std::string::npos ? std::string() : text.substr(b, e - b + 1);
        if (!groupedFigure(text))
            return std::nullopt;
        std::erase(text, ',');
    }
    if (!savable(text))
        return std::nullopt;
    return text;
}

} // namespace tally
