#include "tape/cells.h"

#include <cmath>

#include "core/numbers.h"
#include "core/tape.h"
#include "core/taperule.h"

namespace tally {

std::string lineNumberText(int line) {
    return formatnumber(double(line), "####");
}
std::string lineNumberCell(int line) {
    return lineNumberText(line) + " #";
}

std::optional<std::string> entryNumberCell(std::string_view entry) {
    const std::optional<double> v = textvalue(entry);
    if (!v)
        return std::nullopt;
    const std::string_view pattern = *v == std::floor(*v) ? "##,###.00" : "##,###.00######";
    return formatnumber(*v, pattern);
}

std::optional<std::string> entryCell(std::string_view entry, const Fits& fits) {
    const std::optional<std::string> number = entryNumberCell(entry);
    if (!number)
        return std::nullopt;
    return fitFigure(*number, *textvalue(entry), splitEntry(entry).operatorPart, fits);
}

std::string subtotalNumberCell(std::string_view subtotal, std::string_view pattern) {
    return formatnumber(subtotal, pattern);
}

std::string subtotalCell(std::string_view subtotal, std::string_view pattern, const Fits& fits) {
    const std::optional<double> v = wholeNumber(subtotal);
    if (!v)
        return std::string(subtotal) + " =";
    return fitFigure(formatnumber(*v, pattern), *v, " =", fits);
}

std::string newestSubtotalCell(std::string_view subtotal, std::string_view pattern, const Fits& fits) {
    if (!wholeNumber(subtotal))
        return std::string(subtotal);
    return subtotalCell(subtotal, pattern, fits);
}

namespace {
ViewLines viewFrom(int bottomLine, bool scrolled) {
    ViewLines view;
    view.scrolled = scrolled;
    for (int r = 0; r < kVisibleRows; ++r) {
        const int line = bottomLine - r;
        view.lines[r] = line >= 1 && line <= kTapeLines ? line : 0;
    }
    return view;
}
} // namespace

ViewLines newestView(int nextline) {
    return viewFrom(nextline - 1, false);
}
ViewLines scrolledView(int bottomLine) {
    return viewFrom(bottomLine, true);
}

} // namespace tally
