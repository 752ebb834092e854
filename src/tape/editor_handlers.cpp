// Correcting a past line in place: a click on an entry cell opens the editor over it; an operator
// key writes the line back and recomputes the whole tape.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "core/numbers.h"
#include "core/skip.h"
#include "core/taperule.h"
#include "shell/sounds.h"
#include "tape/cells.h"
#include "tape/recalc.h"
#include "window/calculator.h"

namespace {
// The line a row shows, read back from its line-number cell; 0 for an empty row.
int lineOfCell(const QLabel* cell) {
    double line = 0;
    tally::skipFailure([&] { line = tally::textvalue(cell->text().toStdString()); });
    return line >= 0 && line <= tally::kTapeLines ? static_cast<int>(line) : 0;
}
} // namespace

void Calculator::Label11_Click(int Index) {
    if (Index < 0 || Index >= tally::kVisibleRows) return;
    sounds.play("\\calc1");
    editline = lineOfCell(Label10[Index]);
    Text3->move(Label11[Index]->pos());
    Text3->show();
    Text3->raise();
    // The number the cell shows, without grouping and with at most five decimals.
    std::string number = Label11[Index]->text().toStdString();
    number = number.substr(0, number.size() >= 2 ? number.size() - 2 : 0);
    tally::skipFailure([&] {
        const std::string plain = tally::formatnumber(number, "#####.#####");
        Text3->setText(QString::fromStdString(tally::numbertext(tally::textvalue(plain))));
    });
    Text3->setFocus();
    // Typing replaces the number; End or the arrows amend it.
    Text3->selectAll();
    sounds.play("\\calc1");
}

bool Calculator::Text3_KeyDown(int keyCode) {
    if (keyCode == Qt::Key_Up) {
        if (VScroll1->value() > 1) VScroll1->setValue(VScroll1->value() - 1);
        return true;
    }
    if (keyCode == Qt::Key_Down) {
        if (VScroll1->value() < VScroll1->maximum()) VScroll1->setValue(VScroll1->value() + 1);
        return true;
    }
    return false;
}

bool Calculator::Text3_KeyPress(char16_t k) {
    auto commit = [this](int code) {
        sounds.play("\\calc1");
        edit1_click(code);
        checkit();
        Text3->hide();
        Text2->setFocus();
        return true;
    };
    switch (k) {
    case 27:
        Text2->setFocus();
        Text3->hide();
        return true;
    case 8: sounds.play("\\calc2"); return false;
    case u'x':
    case u'X':
        Command2->setFocus();
        Command2_Click();
        return true;
    case u's':
    case u'S':
        store->setFocus();
        store_Click();
        return true;
    case u'e':
    case u'E': showpreview(); return true;
    case u'+': return commit(tally::kAdd);
    case u'/': return commit(tally::kDivide);
    case u'*': return commit(tally::kMultiply);
    case u'-': return commit(tally::kSubtract);
    default: break;
    }
    if ((k >= u'0' && k <= u'9') || k == u'.') {
        sounds.play("\\calc2");
        return false;
    }
    sounds.play("\\calc1");
    return k > u'9'; // letters and signs above "9" are discarded; blanks, commas and Enter pass
}

void Calculator::edit1_click(int op) {
    std::string text = Text3->text().toStdString();
    if (const char c = tally::operatorChar(op)) text += std::string(" ") + c;
    // Only a line of the tape is written: a row emptied by Clear Entries while the editor stayed
    // open must not plant text beyond the tape's end, where a later line would find it.
    if (editline >= 1 && editline < state.nextline) state.entries[editline] = std::move(text);
    tally::recalculate(state);
}

void Calculator::checkit() {
    std::array<int, tally::kVisibleRows> lines{};
    for (int r = tally::kVisibleRows - 1; r >= 0; --r) lines[r] = lineOfCell(Label10[r]);
    for (int r = 0; r < tally::kVisibleRows; ++r)
        if (lines[r] != 0) drawLine(lines[r], r, true);
    Text2->setFocus();
}
