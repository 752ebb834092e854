#include "core/operators.h"

namespace tally {
namespace {

// clang-format off
constexpr Operator kOperators[] = {
    // code,     tape, spoken,       entry box keys, editor keys
    {kAdd,       '+',  "plus",       u"\r\n+",       u"+", [](double s, double e) { return s + e; }},
    {kSubtract,  '-',  "minus",      u"-",           u"-", [](double s, double e) { return s - e; }},
    {kMultiply,  'x',  "times",      u"*",           u"*", [](double s, double e) { return s * e; }},
    {kDivide,    '/',  "divided by", u"/",           u"/", [](double s, double e) { return s / e; }},
};
// clang-format on

} // namespace

std::span<const Operator> operators() {
    return kOperators;
}

const Operator* operatorOfCode(int code) {
    for (const Operator& op : kOperators)
        if (op.code == code)
            return &op;
    return nullptr;
}

const Operator* operatorOfChar(char tapeChar) {
    for (const Operator& op : kOperators)
        if (op.tapeChar == tapeChar && tapeChar != '\0')
            return &op;
    return nullptr;
}

char operatorChar(int code) {
    const Operator* op = operatorOfCode(code);
    return op ? op->tapeChar : '\0';
}

} // namespace tally
