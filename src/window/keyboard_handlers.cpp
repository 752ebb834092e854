// The entry box from the keyboard: the key table says what each character does; Up, Down and F2
// work the tape view. The row editor's command keys arrive here too.
#include <QLineEdit>
#include <QPushButton>

#include "core/keys.h"
#include "memory/memorypanel.h"
#include "shell/numlock.h"
#include "tape/tapeview.h"
#include "window/calculator.h"

void Calculator::numberlock() {
    forceNumLock();
}

bool Calculator::Text2_KeyDown(int keyCode) {
    return tape->entryKeyDown(keyCode);
}

bool Calculator::Text2_KeyPress(char16_t k) {
    const tally::KeyRule rule = tally::entryBoxKey(k, Text2->text().isEmpty());
    play(rule.sound);
    using enum tally::KeyCommand;
    switch (rule.command) {
    case Pass:
        return false;
    case Operate:
        Command1_Click(rule.op);
        break;
    case Exit:
        Command2_Click();
        break;
    case ClearTape:
        clearit_Click();
        break;
    case Store: {
        const TapeView::Place place = tape->place();
        memory->store_Click(place.viewmode, place.scrollline);
        break;
    }
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

void Calculator::editorCommand(tally::KeyCommand command) {
    using enum tally::KeyCommand;
    if (command == Exit) {
        Command2->setFocus();
        Command2_Click();
    } else if (command == Store) {
        const TapeView::Place place = tape->place();
        memory->storeByKey(place.viewmode, place.scrollline);
    } else if (command == Preview) {
        showpreview();
    }
}
