// The entry box from the keyboard: the key table says what each character does; Up and Down
// scroll the tape; F2 corrects the bottom row's line.
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScrollBar>

#include "core/keys.h"
#include "core/taperule.h"
#include "shell/numlock.h"
#include "window/calculator.h"

void Calculator::numberlock() {
    forceNumLock();
}

bool Calculator::Text2_KeyDown(int keyCode) {
    if (keyCode == Qt::Key_F2) { // the keyboard's click on the bottom row's entry
        Label11_Click(0);
        return true;
    }
    if (VScroll1->value() == 0)
        return false;
    if (state.tapeEmpty())
        return false;
    if (keyCode == Qt::Key_Up) {
        if (skipscroll == 1) {
            skipscroll = 0;
            return false;
        }
        play(tally::Sound::Calc1);
        scrollline = VScroll1->value() - 1;
        // At the top the value cannot go lower; the redraw below still runs.
        if (VScroll1->value() > VScroll1->minimum())
            VScroll1->setValue(VScroll1->value() - 1);
        printscroll();
        return false; // the box's own Up handling follows
    }
    if (keyCode == Qt::Key_Down) {
        if (VScroll1->value() < VScroll1->maximum())
            VScroll1->setValue(VScroll1->value() + 1);
        return true;
    }
    return false;
}

bool Calculator::Text2_KeyPress(char16_t k) {
    const tally::KeyRule rule = tally::entryBoxKey(k, Text2->text().isEmpty());
    play(rule.sound);
    using enum tally::KeyCommand;
    switch (rule.command) {
    case Pass:
        return false;
    case Add:
        Command1_Click(tally::kAdd);
        break;
    case Subtract:
        Command1_Click(tally::kSubtract);
        break;
    case Multiply:
        Command1_Click(tally::kMultiply);
        break;
    case Divide:
        Command1_Click(tally::kDivide);
        break;
    case Exit:
        Command2_Click();
        break;
    case ClearTape:
        clearit_Click();
        break;
    case Store:
        store_Click();
        break;
    case Constant:
        konst_Click(11);
        break;
    case Swallow:
    case Preview:
    case Cancel:
        break;
    }
    return true;
}

void Calculator::pasteInto(QLineEdit* box, bool selection) {
    const QString clip = QGuiApplication::clipboard()->text(selection ? QClipboard::Selection : QClipboard::Clipboard);
    // Refused, the box stays exactly as it was, its selection too: an operator never writes a
    // number the user did not see.
    if (const std::optional<std::string> text = tally::pastedText(clip.toStdString()))
        box->insert(QString::fromStdString(*text));
}
