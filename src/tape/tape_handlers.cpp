// The nine visible tape rows: the newest lines (printout) or the lines at the scroll position
// (printscroll), the scroll bar's handlers and the decimal-places slider.
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>

#include "core/skip.h"
#include "shell/sounds.h"
#include "tape/cells.h"
#include "window/calculator.h"

using tally::skipFailure;

void Calculator::drawLine(int n, int r, bool scrolled) {
    if (n < 1 || n > tally::kTapeLines || r < 0 || r >= tally::kVisibleRows) return;
    const std::string& entry = state.entries[n];
    const std::string& subtotal = state.subtotals[n];
    const std::string& pattern = patterns.at(decplaces);
    auto set = [](QLabel* label, const std::string& text) {
        const QString t = QString::fromStdString(text);
        if (label->text() != t) {
            label->setText(t);
            label->setAccessibleName(t);
        }
    };
    // A text that holds no readable number shows as it stands: leaving the cell as it was would
    // show another line's figure on this line.
    if (!skipFailure([&] { set(Label11[r], tally::entryCell(entry)); })) set(Label11[r], entry);
    set(Label10[r], tally::lineNumberCell(n));
    if (!skipFailure([&] {
            set(Label12[r], scrolled ? tally::subtotalCell(subtotal, pattern) : tally::newestSubtotalCell(subtotal, pattern));
        }))
        set(Label12[r], subtotal);
}

void Calculator::clearRows() {
    for (auto* column : {&Label10, &Label11, &Label12})
        for (QLabel* cell : *column) {
            cell->clear();
            cell->setAccessibleName(QString());
        }
}

void Calculator::printout() {
    viewmode = 0;
    const int last = state.nextline - 1;
    if (last <= tally::kVisibleRows) {
        for (int n = 1; n <= last; ++n) drawLine(n, last - n, false);
    } else {
        for (int n = last; n >= last - 8; --n) drawLine(n, last - n, false);
    }
    Text2->setFocus();
}

void Calculator::printscroll() {
    viewmode = 2;
    const int p = scrollline;
    if (p == 0) return;
    if (p <= tally::kVisibleRows) {
        // Rows above line 1 stay blank rather than showing later lines.
        clearRows();
        for (int n = 1; n <= p - 1; ++n) drawLine(n, p - 1 - n, true);
    } else {
        for (int n = p - 9; n <= p - 1; ++n) drawLine(n, p - 1 - n, true);
    }
    scrollline = p - 1;
    Text2->setFocus();
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
    sounds.play("\\calc1");
    scrollline = VScroll1->value() + 1;
    printscroll();
}

void Calculator::VScroll1_GotFocus() {
    if (state.tapeEmpty()) return;
    Text3->hide(); // an edit in progress is dropped unwritten
    skipscroll = 0;
    scrollline = VScroll1->value() + 1;
    printscroll();
}

void Calculator::Slider1_Scroll() {
    sounds.play("\\calc2");
    decplaces = Slider1->value();
    printout();
}
