#include "core/taperule.h"

#include "core/numbers.h"
#include "core/operators.h"

namespace tally {

EntryParts splitEntry(std::string_view entry) {
    if (entry.size() < 2)
        return {entry, {}};
    return {entry.substr(0, entry.size() - 2), entry.substr(entry.size() - 2)};
}

std::string joinEntry(std::string_view number, char op) {
    std::string entry(number);
    entry += ' ';
    entry += op ? op : ' ';
    return entry;
}

std::string editedEntry(std::string_view stored, std::string_view opened, std::string_view typed, char op) {
    const std::string number = typed == opened ? std::string(splitEntry(stored).number) : keepSavable(typed);
    return op ? joinEntry(number, op) : number;
}

char entryOperator(std::string_view entry) {
    return !entry.empty() && operatorOfChar(entry.back()) ? entry.back() : '\0';
}

std::optional<double> entryValue(std::string_view entry) {
    return textvalue(entry);
}

std::optional<std::string> editorText(std::string_view cell) {
    const std::string plain = formatnumber(splitEntry(cell).number, "#####.#####");
    const std::optional<double> value = textvalue(plain);
    return value ? numbertext(*value) : std::nullopt;
}

std::optional<std::string> combine(std::string_view previousSubtotal, std::string_view entry, char op) {
    const Operator* row = operatorOfChar(op);
    const std::optional<double> p = textvalue(previousSubtotal), e = entryValue(entry);
    if (!row || !p || !e)
        return std::nullopt;
    return numbertext(row->apply(*p, *e));
}

std::optional<std::string> firstSubtotal(std::string_view entry) {
    const std::optional<double> value = entryValue(entry);
    return value ? numbertext(*value) : std::nullopt;
}

bool isControlByte(unsigned char c) {
    return (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F;
}

namespace {
// Calls `keep(begin, length)` for each UTF-8 sequence that a tape file can carry.
template <class Keep>
bool scanSavable(std::string_view utf8, Keep keep) {
    bool all = true;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : 4;
        // Two-byte sequences led by C2 or C3 are U+0080..U+00FF, the rest of Latin-1.
        const bool ok = c == '"' || isControlByte(c)
                            ? false
                            : length == 1 || (length == 2 && (c == 0xC2 || c == 0xC3) && i + 1 < utf8.size());
        if (ok)
            keep(i, length);
        all = all && ok;
        i += length;
    }
    return all;
}
} // namespace

bool savable(std::string_view utf8) {
    return scanSavable(utf8, [](std::size_t, std::size_t) {});
}

std::string keepSavable(std::string_view utf8) {
    std::string out;
    scanSavable(utf8, [&](std::size_t at, std::size_t length) { out.append(utf8.substr(at, length)); });
    return out;
}

} // namespace tally
