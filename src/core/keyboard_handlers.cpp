// The entry box from the keyboard: digits and the point type, operators and command letters
// become keypad and button calls, Up and Down scroll the tape.
#include <QLineEdit>
#include <QScrollBar>

#include "core/skip.h"
#include "core/taperule.h"
#include "shell/numlock.h"
#include "shell/sounds.h"
#include "window/calculator.h"

void Calculator::numberlock() { forceNumLock(); }

bool Calculator::Text2_KeyDown(int keyCode) {
    if (VScroll1->value() == 0) return false;
    if (state.tapeEmpty()) return false;
    if (keyCode == Qt::Key_Up) {
        if (skipscroll == 1) {
            skipscroll = 0;
            return false;
        }
        sounds.play("\\calc1");
        scrollline = VScroll1->value() - 1;
        // At the top the value cannot go lower; the redraw below still runs.
        if (VScroll1->value() > VScroll1->minimum()) VScroll1->setValue(VScroll1->value() - 1);
        printscroll();
        return false; // the box's own Up handling follows
    }
    if (keyCode == Qt::Key_Down) {
        if (VScroll1->value() < VScroll1->maximum()) VScroll1->setValue(VScroll1->value() + 1);
        return true;
    }
    return false;
}

bool Calculator::Text2_KeyPress(char16_t k) {
    if (k >= u'0' && k <= u'9') {
        sounds.play("\\calc2");
        return false;
    }
    if (k == u'.') {
        sounds.play("\\calc2");
        return false;
    }
    sounds.play("\\calc1");
    switch (k) {
    case u'\r':
    case u'\n':
    case u'+': Command1_Click(tally::kAdd); return true;
    case u'/': Command1_Click(tally::kDivide); return true;
    case u'*': Command1_Click(tally::kMultiply); return true;
    case u'-':
        if (Text2->text().isEmpty()) return false; // starts a negative number
        Command1_Click(tally::kSubtract);
        return true;
    case u'O':
    case u'o': Command2_Click(); return true;
    case u'C':
    case u'c': clearit_Click(); return true;
    case u'S':
    case u's': store_Click(); return true;
    case u'K':
    case u'k': konst_Click(11); return true;
    default: break;
    }
    // Letters, signs above "9" and anything beyond ASCII are swallowed; Backspace, blank,
    // comma and the other codes below "0" reach the box.
    return k > u'9';
}
