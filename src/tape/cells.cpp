#include "tape/cells.h"

#include <cmath>

#include "core/numbers.h"

namespace tally {

std::string_view operatorPart(std::string_view entry) {
    // A shorter entry (only a loaded file can hold one) has no operator part: taking its last
    // characters would show "5" as 5.005, a figure that is not on the tape.
    return entry.size() >= 2 ? entry.substr(entry.size() - 2) : std::string_view();
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
