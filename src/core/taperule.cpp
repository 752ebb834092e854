#include "core/taperule.h"

#include "core/numbers.h"

namespace tally {

char operatorChar(int code) {
    switch (code) {
    case kAdd: return '+';
    case kSubtract: return '-';
    case kMultiply: return 'x';
    case kDivide: return '/';
    default: return '\0';
    }
}

EntryParts splitEntry(std::string_view entry) {
    if (entry.size() < 2) return {entry, {}};
    return {entry.substr(0, entry.size() - 2), entry.substr(entry.size() - 2)};
}

std::string joinEntry(std::string_view number, char op) {
    std::string entry(number);
    entry += ' ';
    entry += op ? op : ' ';
    return entry;
}

char entryOperator(std::string_view entry) {
    const char op = entry.empty() ? '\0' : entry.back();
    return op == '+' || op == '-' || op == 'x' || op == '/' ? op : '\0';
}

std::optional<std::string> combine(std::string_view previousSubtotal, std::string_view entry, char op) {
    const std::optional<double> p = textvalue(previousSubtotal), e = textvalue(entry);
    if (!p || !e) return std::nullopt;
    switch (op) {
    case '+': return numbertext(*p + *e);
    case '-': return numbertext(*p - *e);
    case 'x': return numbertext(*p * *e);
    case '/': return numbertext(*p / *e);
    default: return std::nullopt;
    }
}

std::optional<std::string> firstSubtotal(std::string_view entry) {
    const std::optional<double> value = textvalue(entry);
    return value ? numbertext(*value) : std::nullopt;
}

bool writeLine(State& state, std::string_view box, char op) {
    if (state.tapeFull()) return false;
    const int n = state.nextline;
    const std::optional<double> value = textvalue(box);
    const std::string number = value ? *numbertext(*value) : std::string(box);
    state.entries[n] = joinEntry(number, n == 1 ? '\0' : op);
    state.subtotals[n] = (n == 1 ? firstSubtotal(number) : combine(state.subtotals[n - 1], state.entries[n], op)).value_or("");
    state.nextline = n + 1;
    return true;
}

} // namespace tally
