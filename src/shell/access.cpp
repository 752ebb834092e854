#include "shell/access.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>

bool isMenuKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    return (key.key() == Qt::Key_Menu && mods == Qt::NoModifier) ||
           (key.key() == Qt::Key_F10 && mods == Qt::ShiftModifier);
}

void popUpByKey(QMenu& menu, const QWidget& at) {
    menu.popup(at.mapToGlobal(QPoint(0, at.height() / 2)));
    for (QAction* action : menu.actions())
        if (action->isEnabled() && !action->isSeparator() && action->isVisible()) {
            menu.setActiveAction(action);
            break;
        }
}
