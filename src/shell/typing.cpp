#include "shell/typing.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "core/taperule.h"

QValidator::State SavableText::validate(QString& input, int&) const {
    return tally::savable(input.toStdString()) ? Acceptable : Invalid;
}

namespace {
// Keys whose character the box's character handler sees. Tab moves the focus instead.
bool producesCharacter(const QKeyEvent* key) {
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
        return false;
    if (key->text().isEmpty())
        return false;
    // Ctrl with a key is a shortcut (paste, copy, undo), not typing. Latin layouts send it as a
    // control code, which passes; other layouts send the plain letter, which must not be taken
    // for a command ("c" would clear the tape) or swallowed (paste would be lost).
    return !(key->modifiers() & Qt::ControlModifier) || !key->text().at(0).isPrint();
}
} // namespace

bool routeKey(QLineEdit* box, const QKeyEvent* key, const std::function<bool(int)>& keyDown,
              const std::function<bool(char16_t)>& keyPress) {
    if (keyDown(key->key()))
        return true;
    if (!producesCharacter(key))
        return false;
    const char16_t typed = key->text().at(0).unicode();
    char16_t code = typed;
    if ((key->modifiers() & Qt::KeypadModifier) && (code == u',' || key->key() == Qt::Key_Period))
        code = u'.';
    if (keyPress(code))
        return true;
    if (code != typed) {
        box->insert(QString(QChar(code)));
        return true;
    }
    return false;
}
