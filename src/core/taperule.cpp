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

std::string combine(std::string_view previousSubtotal, std::string_view entry, char op) {
    const double p = textvalue(previousSubtotal);
    const double e = textvalue(entry);
    switch (op) {
    case '+': return numbertext(p + e);
    case '-': return numbertext(p - e);
    case 'x': return numbertext(p * e);
    case '/': return numbertext(p / e);
    default: throw NumberFailure("no operator");
    }
}

std::string firstSubtotal(std::string_view entry) { return numbertext(textvalue(entry)); }

} // namespace tally
