// Correcting a past line in place: a click on an entry cell opens the editor over it; an operator
// key writes the line back and recomputes the whole tape.
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include "core/keys.h"
#include "core/numbers.h"
#include "core/operators.h"
#include "core/taperule.h"
#include "tape/tapeview.h"

namespace {
// The line a row shows, read back from its line-number cell; 0 for an empty row.
int lineOfCell(const QLabel* cell) {
    const double line = tally::textvalue(cell->text().toStdString()).value_or(0);
    return line >= 0 && line <= tally::kTapeLines ? static_cast<int>(line) : 0;
}
} // namespace

void TapeView::Label11_Click(int Index) {
    if (Index < 0 || Index >= tally::kVisibleRows)
        return;
    play(tally::Sound::Calc1);
    editline = lineOfCell(Label10[Index]);
    Text3->move(Label11[Index]->pos());
    Text3->show();
    Text3->raise();
    if (const std::optional<std::string> number = tally::editorText(Label11[Index]->text().toStdString()))
        Text3->setText(QString::fromStdString(*number));
    editOpened = Text3->text().toStdString();
    Text3->setFocus();
    // Typing replaces the number; End or the arrows amend it.
    Text3->selectAll();
    play(tally::Sound::Calc1);
}

bool TapeView::Text3_KeyDown(int keyCode) {
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

bool TapeView::Text3_KeyPress(char16_t k) {
    const tally::KeyRule rule = tally::editorKey(k);
    play(rule.sound);
    using enum tally::KeyCommand;
    switch (rule.command) {
    case Pass:
        return false;
    case Cancel:
        entry->setFocus();
        Text3->hide();
        break;
    case Operate:
        edit1_click(rule.op);
        checkit();
        Text3->hide();
        entry->setFocus();
        break;
    case Exit:
    case Store:
    case Preview:
        emit editorCommand(rule.command);
        break;
    case Swallow:
    case ClearTape:
    case Constant:
        break;
    }
    return true;
}

void TapeView::edit1_click(int op) {
    tally::correctLine(tape, editline, editOpened, Text3->text().toStdString(), tally::operatorChar(op));
    emit lineCorrected();
}

void TapeView::checkit() {
    std::array<int, tally::kVisibleRows> lines{};
    for (int r = tally::kVisibleRows - 1; r >= 0; --r)
        lines[r] = lineOfCell(Label10[r]);
    for (int r = 0; r < tally::kVisibleRows; ++r)
        if (lines[r] != 0)
            drawLine(lines[r], r, true);
    entry->setFocus();
}
