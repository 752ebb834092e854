// The keypad: the window copies the keypad rule's result into the entry box and the tape view.
#include <QLabel>
#include <QLineEdit>

#include "conversion/conversionpanel.h"
#include "core/keypad.h"
#include "shell/outside.h"
#include "tape/tapeview.h"
#include "window/calculator.h"

void Calculator::Command1_Click(int Index) {
    conversion->clearUnit();
    const tally::Press press = tally::pressKey(state.tape, Text2->text().toStdString(), Index);
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
        tape->scrollToEnd();
        tape->printout();
        keyentry.clear();
        Text2->clear();
        return;
    }
}

void Calculator::placeEntryCaret() {
    Text2->setCursorPosition(std::min<int>(static_cast<int>(keyentry.size()) + 1, Text2->text().size()));
    Text2->setFocus();
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
    tally::keepTape(clearedTape, state.tape);
    conversion->clearUnit();
    play(tally::Sound::Calc2);
    tally::clearTape(state.tape);
    tape->clearRows();
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
