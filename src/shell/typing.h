#pragma once
// Typing into the program's line boxes (the entry box and the row editor): what a paste may bring
// in, how a key press reaches a box's two handlers, key-down first, then its character, and the
// keys that open the tape's menu.
#include <QValidator>
#include <functional>

class QEvent;
class QLineEdit;
class QMimeData;
class QString;

// Refuses a paste that holds what a tape file cannot carry: once written into a line, it would
// not read back the same after Save As and Open.
class SavableText : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override;
};

// The Menu key and Shift+F10 on a control run `openMenu`; the context-menu request X11 sends after
// the Menu key, which the menu has answered, is swallowed. True when the event was taken.
bool menuKeyEvent(QEvent* event, const std::function<void()>& openMenu);

// The one local file a drag carries; empty for text, several files or a remote address, which
// keep their usual meaning.
QString droppedFile(const QMimeData* data);

// An event of a line box: the menu keys as above; a key press goes to `keyDown` with its code,
// then to `keyPress` with its character if it types one (the numeric keypad's decimal key as a
// point whatever the layout makes of it); a paste, by keys, the middle button or the box's own
// context menu, and text dropped on the box go by the paste rule (a dropped file is the window's).
// True when the event was taken.
bool lineBoxEvent(QLineEdit* box, QEvent* event, const std::function<bool(int)>& keyDown,
                  const std::function<bool(char16_t)>& keyPress, const std::function<void()>& openMenu);
