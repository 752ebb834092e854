// The keypad: digits build a number in the entry box, operators write a tape line with its subtotal.
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include "core/numbers.h"
#include "core/skip.h"
#include "core/taperule.h"
#include "shell/sounds.h"
#include "window/calculator.h"

using tally::skipFailure;

void Calculator::Command1_Click(int Index) {
    Label6->setText(QString());
    const QString box = Text2->text();
    // A lone "-" or "0" locks the keypad until the box is typed into or cleared.
    if (box == "-" || box == "0") return;
    if (Index == tally::kSubtract && box.isEmpty()) {
        Text2->setText("-");
        placeEntryCaret();
        return;
    }
    if (box.isEmpty() && Index > 10) return;
    if (Index > 10) {
        operatorKey(Index);
        return;
    }
    if (Index < 0 || Index > 10) return;
    sounds.play("calc2");
    const QString s = Index == 10 ? QStringLiteral(".") : QString::number(Index);
    Text2->setText(box + s);
    keyentry += s.toStdString();
    placeEntryCaret();
}

void Calculator::placeEntryCaret() {
    Text2->setCursorPosition(std::min<int>(static_cast<int>(keyentry.size()) + 1, Text2->text().size()));
    Text2->setFocus();
}

void Calculator::operatorKey(int Index) {
    const char op = tally::operatorChar(Index);
    if (!op) return;
    if (state.tapeFull()) {
        // Nothing may be written past line 1000; the entry stays in the box.
        tellUser("Calculator", QString("The tape is full: it holds %1 lines.\n\nSave it with File > Save As, "
                                       "then press Clear Entries to start a new tape.")
                                   .arg(tally::kTapeLines));
        return;
    }
    const int n = state.nextline;
    // An entry too large for a number stays as typed; its subtotal then fails and stays empty.
    skipFailure([&] { Text2->setText(QString::fromStdString(tally::numbertext(tally::textvalue(Text2->text().toStdString())))); });
    sounds.play("calc1");
    state.entries[n] = Text2->text().toStdString() + ' ' + op;

    // Moving the scroll bar to the new line runs its change handler inside the setters;
    // skipscroll makes that handler leave the drawing to printout.
    skipscroll = 1;
    VScroll1->setMaximum(n);
    VScroll1->setValue(VScroll1->maximum());
    scrollline = VScroll1->value();
    if (n == 1) {
        // Line 1 keeps its own number as subtotal and carries no operator. An entry too large for
        // a number keeps its typed text, so nothing the user keyed is lost.
        const bool computed = skipFailure([&] { state.subtotals[1] = tally::firstSubtotal(state.entries[1]); });
        state.entries[1] = (computed ? state.subtotals[1] : Text2->text().toStdString()) + "  ";
    } else {
        skipFailure([&] { state.subtotals[n] = tally::combine(state.subtotals[n - 1], state.entries[n], op); });
    }
    state.nextline = n + 1;
    printout();
    keyentry.clear();
    Text2->clear();
}

void Calculator::konst_Click(int) {
    sounds.play("calc1");
    const QString box = Text2->text();
    if (box.isEmpty()) {
        Text2->setText(QString::fromStdString(constval));
        return;
    }
    constval = box.toStdString();
    knst->setText(("Constant = " + box + QString(18, ' ')).left(20));
    knst->setAccessibleName(knst->text());
}

void Calculator::clearit_Click() {
    Label6->setText(QString());
    sounds.play("calc2");
    for (int line = 1; line <= std::min(state.nextline, tally::kTapeLines); ++line) {
        state.entries[line].clear();
        state.subtotals[line].clear();
    }
    clearRows();
    state.nextline = 1;
    Text2->clear();
    Text2->setFocus();
}

void Calculator::Command2_Click() {
    sounds.play("calc1");
    endProgram();
}
