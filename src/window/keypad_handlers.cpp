// The keypad: the window copies the keypad rule's result into the entry box and the tape view.
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include "core/keypad.h"
#include "window/calculator.h"

void Calculator::Command1_Click(int Index) {
    Label6->setText(QString());
    const tally::Press press = tally::pressKey(state, Text2->text().toStdString(), Index);
    play(press.sound);
    switch (press.outcome) {
    case tally::Press::Ignored:
        return;
    case tally::Press::TapeFull:
        tellUser("Calculator", QString("The tape is full: it holds %1 lines.\n\nSave it with File > Save As, "
                                       "then press Clear Entries to start a new tape.")
                                   .arg(tally::kTapeLines));
        return;
    case tally::Press::Typed:
        Text2->setText(QString::fromStdString(press.box));
        keyentry += press.keyed;
        placeEntryCaret();
        return;
    case tally::Press::LineWritten:
        tapeChanged();
        scrollToEnd();
        printout();
        keyentry.clear();
        Text2->clear();
        return;
    }
}

void Calculator::placeEntryCaret() {
    Text2->setCursorPosition(std::min<int>(static_cast<int>(keyentry.size()) + 1, Text2->text().size()));
    Text2->setFocus();
}

void Calculator::scrollToEnd() {
    // Moving the scroll bar runs its change handler inside the setters; skipscroll makes that
    // handler leave the drawing to printout.
    skipscroll = 1;
    VScroll1->setMaximum(std::max(state.nextline - 1, VScroll1->minimum()));
    VScroll1->setValue(VScroll1->maximum());
    scrollline = VScroll1->value();
}

void Calculator::konst_Click(int) {
    play(tally::Sound::Calc1);
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
    // Kept for Restore Cleared Tape; clearing an empty tape keeps what an earlier clear took.
    tally::keepTape(clearedTape, state);
    Label6->setText(QString());
    play(tally::Sound::Calc2);
    for (int line = 1; line <= std::min(state.nextline, tally::kTapeLines); ++line) {
        state.entries[line].clear();
        state.subtotals[line].clear();
    }
    clearRows();
    state.nextline = 1;
    tapeChanged();
    Text2->clear();
    Text2->setFocus();
}

void Calculator::Command2_Click() {
    play(tally::Sound::Calc1);
    if (!endAgreed && !mayEnd())
        return;
    endAgreed = true;
    outside.quit();
}
