#include "tape/cells.h"

#include <cmath>

#include "core/numbers.h"

namespace tally {

std::string_view operatorPart(std::string_view entry) {
    return entry.size() >= 2 ? entry.substr(entry.size() - 2) : entry;
}

std::string lineNumberCell(int line) { return formatnumber(double(line), "####") + " #"; }

std::string entryCell(std::string_view entry) {
    const double v = textvalue(entry);
    const std::string_view pattern = v == std::floor(v) ? "##,###.00" : "##,###.00######";
    return formatnumber(v, pattern) + std::string(operatorPart(entry));
}

std::string subtotalCell(std::string_view subtotal, std::string_view pattern) {
    return formatnumber(subtotal, pattern) + " =";
}

std::string newestSubtotalCell(std::string_view subtotal, std::string_view pattern) {
    if (!wholeNumber(subtotal)) return std::string(subtotal);
    return subtotalCell(subtotal, pattern);
}

} // namespace tally
