// The nine visible tape rows: the newest lines (printout) or the lines at the scroll position
// (printscroll), the scroll bar's handlers and the decimal-places slider.
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>

#include "tape/cells.h"
#include "tape/tapereading.h"
#include "window/calculator.h"

namespace {
// A figure wider than its cell would lose its front to the label's clipping without a sign.
// A text of at most `sureChars` characters fits unmeasured, which keeps a redraw of the rows cheap.
tally::Fits fitsIn(const QLabel* cell, int sureChars) {
    return [cell, sureChars](std::string_view text) {
        if (static_cast<int>(text.size()) <= sureChars)
            return true;
        const QString t = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        return cell->fontMetrics().horizontalAdvance(t) <= cell->contentsRect().width();
    };
}
} // namespace

int Calculator::sureFitChars(const QLabel* cell) {
    const QFontMetrics metrics = cell->fontMetrics();
    int widest = 1;
    for (QChar c : QStringLiteral("0123456789,.-+x/= E"))
        widest = std::max(widest, metrics.horizontalAdvance(c));
    return cell->contentsRect().width() / widest;
}

void Calculator::drawLine(int n, int r, bool scrolled) {
    if (n < 1 || n > tally::kTapeLines || r < 0 || r >= tally::kVisibleRows)
        return;
    const std::string& entry = state.entries[n];
    const std::string& subtotal = state.subtotals[n];
    const std::string& pattern = patterns.at(decplaces);
    auto set = [](QLabel* label, const std::string& text) {
        const QString t = QString::fromStdString(text);
        if (label->text() == t)
            return false;
        label->setText(t);
        label->setAccessibleName(t);
        return true;
    };
    // A screen reader hears the caption, then which line and column it belongs to; the line
    // changes with the line-number cell.
    if (set(Label10[r], tally::lineNumberCell(n))) {
        Label11[r]->setAccessibleDescription(QString("line %1 entry").arg(n));
        Label12[r]->setAccessibleDescription(QString("line %1 subtotal").arg(n));
    }
    // A text that holds no readable number shows as it stands: leaving the cell as it was would
    // show another line's figure on this line.
    set(Label11[r], tally::entryCell(entry, fitsIn(Label11[r], sureFit[0])).value_or(entry));
    const tally::Fits fits = fitsIn(Label12[r], sureFit[1]);
    set(Label12[r],
        scrolled ? tally::subtotalCell(subtotal, pattern, fits) : tally::newestSubtotalCell(subtotal, pattern, fits));
}

namespace {
void clearCell(QLabel* cell) {
    cell->clear();
    cell->setAccessibleName(QString());
    cell->setAccessibleDescription(QString());
}
} // namespace

void Calculator::clearRows() {
    for (auto* column : {&Label10, &Label11, &Label12})
        for (QLabel* cell : *column)
            clearCell(cell);
    readTapeRows(*body, *Text2);
}

void Calculator::showView(const tally::TapeView& view) {
    for (int r = 0; r < tally::kVisibleRows; ++r) {
        if (view.lines[r])
            drawLine(view.lines[r], r, view.scrolled);
        else if (view.scrolled)
            for (auto* column : {&Label10, &Label11, &Label12})
                clearCell((*column)[r]);
    }
    readTapeRows(*body, *Text2);
    Text2->setFocus();
}

void Calculator::printout() {
    viewmode = 0;
    showView(tally::newestView(state.nextline));
}

void Calculator::printscroll() {
    viewmode = 2;
    if (scrollline == 0)
        return;
    showView(tally::scrolledView(scrollline - 1));
    scrollline = scrollline - 1;
}

void Calculator::VScroll1_Change() {
    if (state.tapeEmpty()) {
        viewmode = 0;
        return;
    }
    if (skipscroll == 1) {
        skipscroll = 0;
        return;
    }
    play(tally::Sound::Calc1);
    scrollline = VScroll1->value() + 1;
    printscroll();
}

void Calculator::VScroll1_GotFocus() {
    if (state.tapeEmpty())
        return;
    Text3->hide(); // an edit in progress is dropped unwritten
    skipscroll = 0;
    scrollline = VScroll1->value() + 1;
    printscroll();
}

void Calculator::Slider1_Scroll() {
    play(tally::Sound::Calc2);
    decplaces = Slider1->value();
    printout();
}
