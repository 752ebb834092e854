// Correcting a past line in place: a click on an entry cell opens the editor over it; an operator
// key writes the line back and recomputes the whole tape.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "core/keys.h"
#include "core/numbers.h"
#include "core/taperule.h"
#include "tape/cells.h"
#include "tape/recalc.h"
#include "window/calculator.h"

namespace {
// The line a row shows, read back from its line-number cell; 0 for an empty row.
int lineOfCell(const QLabel* cell) {
    const double line = tally::textvalue(cell->text().toStdString()).value_or(0);
    return line >= 0 && line <= tally::kTapeLines ? static_cast<int>(line) : 0;
}
} // namespace

void Calculator::Label11_Click(int Index) {
    if (Index < 0 || Index >= tally::kVisibleRows)
        return;
    play(tally::Sound::Calc1);
    editline = lineOfCell(Label10[Index]);
    Text3->move(Label11[Index]->pos());
    Text3->show();
    Text3->raise();
    // The number the cell shows, without grouping and with at most five decimals.
    const std::string cell = Label11[Index]->text().toStdString();
    const std::string plain = tally::formatnumber(tally::splitEntry(cell).number, "#####.#####");
    if (const std::optional<double> value = tally::textvalue(plain))
        Text3->setText(QString::fromStdString(*tally::numbertext(*value)));
    editOpened = Text3->text().toStdString();
    Text3->setFocus();
    // Typing replaces the number; End or the arrows amend it.
    Text3->selectAll();
    play(tally::Sound::Calc1);
}

bool Calculator::Text3_KeyDown(int keyCode) {
    if (keyCode == Qt::Key_Up) {
        if (VScroll1->value() > 1)
            VScroll1->setValue(VScroll1->value() - 1);
        return true;
    }
    if (keyCode == Qt::Key_Down) {
        if (VScroll1->value() < VScroll1->maximum())
            VScroll1->setValue(VScroll1->value() + 1);
        return true;
    }
    return false;
}

bool Calculator::Text3_KeyPress(char16_t k) {
    const tally::KeyRule rule = tally::editorKey(k);
    play(rule.sound);
    auto commit = [this](int code) {
        edit1_click(code);
        checkit();
        Text3->hide();
        Text2->setFocus();
    };
    using enum tally::KeyCommand;
    switch (rule.command) {
    case Pass:
        return false;
    case Cancel:
        Text2->setFocus();
        Text3->hide();
        break;
    case Exit:
        Command2->setFocus();
        Command2_Click();
        break;
    case Store:
        store->setFocus();
        store_Click();
        break;
    case Preview:
        showpreview();
        break;
    case Add:
        commit(tally::kAdd);
        break;
    case Subtract:
        commit(tally::kSubtract);
        break;
    case Multiply:
        commit(tally::kMultiply);
        break;
    case Divide:
        commit(tally::kDivide);
        break;
    case Swallow:
    case ClearTape:
    case Constant:
        break;
    }
    return true;
}

void Calculator::edit1_click(int op) {
    // Only a line of the tape is written: a row emptied by Clear Entries while the editor stayed
    // open must not plant text beyond the tape's end, where a later line would find it.
    if (editline >= 1 && editline < state.nextline)
        state.entries[editline] = tally::editedEntry(state.entries[editline], editOpened, Text3->text().toStdString(),
                                                     tally::operatorChar(op));
    tally::recalculate(state);
    tapeChanged();
}

void Calculator::checkit() {
    std::array<int, tally::kVisibleRows> lines{};
    for (int r = tally::kVisibleRows - 1; r >= 0; --r)
        lines[r] = lineOfCell(Label10[r]);
    for (int r = 0; r < tally::kVisibleRows; ++r)
        if (lines[r] != 0)
            drawLine(lines[r], r, true);
    Text2->setFocus();
}
