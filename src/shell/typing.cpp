#include "shell/typing.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

#include "core/keys.h"
#include "core/taperule.h"
#include "shell/access.h"

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

// A paste by the paste rule; refused, the box stays exactly as it was, its selection too: an
// operator never writes a number the user did not see.
void pasteInto(QLineEdit* box, bool selection) {
    const QString clip = QGuiApplication::clipboard()->text(selection ? QClipboard::Selection : QClipboard::Clipboard);
    if (const std::optional<std::string> text = tally::pastedText(clip.toStdString()))
        box->insert(QString::fromStdString(*text));
}

bool keyPressed(QLineEdit* box, const QKeyEvent* key, const std::function<bool(int)>& keyDown,
                const std::function<bool(char16_t)>& keyPress) {
    if (keyDown(key->key()))
        return true;
    if (producesCharacter(key)) {
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
    }
    // A paste, however it is asked for, goes by the paste rule (a typed comma keeps its own).
    if (key->matches(QKeySequence::Paste)) {
        pasteInto(box, false);
        return true;
    }
    return false;
}
} // namespace

QString droppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

bool menuKeyEvent(QEvent* event, const std::function<void()>& openMenu) {
    if (event->type() == QEvent::KeyPress && isMenuKey(*static_cast<QKeyEvent*>(event))) {
        openMenu();
        return true;
    }
    return event->type() == QEvent::ContextMenu &&
           static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard;
}

bool lineBoxEvent(QLineEdit* box, QEvent* event, const std::function<bool(int)>& keyDown,
                  const std::function<bool(char16_t)>& keyPress, const std::function<void()>& openMenu) {
    if (menuKeyEvent(event, openMenu))
        return true;
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPressed(box, static_cast<QKeyEvent*>(event), keyDown, keyPress);
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::MiddleButton)
            return false;
        pasteInto(box, true);
        return true;
    case QEvent::ContextMenu: {
        QMenu* menu = box->createStandardContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        // The box's own menu, its Paste item (named as the box names it, in any language) rewired.
        for (QAction* item : menu->actions())
            if (item->text().section('\t', 0, 0) == QLineEdit::tr("&Paste")) {
                item->disconnect();
                QObject::connect(item, &QAction::triggered, box, [box] { pasteInto(box, false); });
            }
        menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!droppedFile(drop->mimeData()).isEmpty() || !drop->mimeData()->hasText())
            return false;
        // At the place it is dropped.
        if (const std::optional<std::string> text = tally::pastedText(drop->mimeData()->text().toStdString())) {
            box->setCursorPosition(box->cursorPositionAt(drop->position().toPoint()));
            box->insert(QString::fromStdString(*text));
            drop->acceptProposedAction();
        }
        QDragLeaveEvent leave; // the box's own drop caret goes
        QCoreApplication::sendEvent(box, &leave);
        return true;
    }
    default:
        return false;
    }
}
