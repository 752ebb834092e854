#include "tape/spokenline.h"

#include "core/operators.h"
#include "core/taperule.h"

namespace tally {

namespace {
std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}
// The text without the mark a column adds at its end ("#" to a line number, "=" to a subtotal).
std::string_view withoutMark(std::string_view text, char mark) {
    text = trimmed(text);
    if (!text.empty() && text.back() == mark)
        text.remove_suffix(1);
    return trimmed(text);
}
} // namespace

std::string_view spokenOperator(char op) {
    const Operator* row = operatorOfChar(op);
    return row ? row->spoken : std::string_view{};
}

std::string spokenLine(std::string_view number, std::string_view entry, std::string_view subtotal) {
    const std::string_view line = withoutMark(number, '#');
    const std::string_view sum = withoutMark(subtotal, '=');
    const EntryParts parts = splitEntry(entry);
    const std::string_view op = trimmed(parts.operatorPart);
    const std::string_view name = op.size() == 1 ? spokenOperator(op.front()) : std::string_view{};
    // An operator part that is no operator stays part of the text it came with.
    const std::string_view figure = trimmed(name.empty() ? entry : parts.number);
    if (line.empty() || (figure.empty() && sum.empty()))
        return {};
    std::string said = "line " + std::string(line) + ", " + std::string(figure);
    if (!name.empty())
        said += (figure.empty() ? "" : " ") + std::string(name);
    return said + ", " + (sum.empty() ? std::string("no subtotal") : "subtotal " + std::string(sum));
}

} // namespace tally
