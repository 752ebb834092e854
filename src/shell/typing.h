#pragma once
// Typing into the program's line boxes (the entry box and the row editor): what a paste may bring
// in, and how a key press reaches a box's two handlers, key-down first, then its character.
#include <QValidator>
#include <functional>

class QKeyEvent;
class QLineEdit;

// Refuses a paste that holds what a tape file cannot carry: once written into a line, it would
// not read back the same after Save As and Open.
class SavableText : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override;
};

// A key press on `box`: `keyDown` sees the key code, then `keyPress` the character, if the key
// types one. True when either swallowed the key. The numeric keypad's decimal key reaches
// `keyPress` as a point whatever the layout makes of it, and types one.
bool routeKey(QLineEdit* box, const QKeyEvent* key, const std::function<bool(int)>& keyDown,
              const std::function<bool(char16_t)>& keyPress);
