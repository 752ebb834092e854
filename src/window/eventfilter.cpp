// The one place where events that Qt does not hand out as the design needs become handler calls:
// the window's key preview, the entry box's key-down and character handlers, focus on the scroll bar,
// keys on the memory lists, tape files dropped on the window, and the rest of a click that hid a control.
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDropEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTreeWidget>

#include "core/keys.h"
#include "shell/access.h"
#include "window/calculator.h"

namespace {
// Keys whose character the entry box's character handler sees. Tab moves the focus instead.
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

// The one local file a drag carries; empty for text, several files or a remote address, which
// keep their usual meaning (text dropped on the entry box stays text).
QString droppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}
} // namespace

void Calculator::swallowRestOfClick() {
    clickHidAt = QCursor::pos();
    clickHidTime.start();
}

bool Calculator::restOfHidingClick(QEvent* event) {
    const QEvent::Type type = event->type();
    if (swallowRelease && (type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick)) {
        swallowRelease = type != QEvent::MouseButtonRelease;
        return true;
    }
    if ((type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick) || !clickHidTime.isValid())
        return false;
    const bool sameClick =
        clickHidTime.elapsed() <= QApplication::doubleClickInterval() &&
        (static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - clickHidAt).manhattanLength() <=
            QApplication::startDragDistance();
    clickHidTime.invalidate();
    swallowRelease = sameClick;
    return sameClick;
}

bool Calculator::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this && restOfHidingClick(event))
        return true;
    if (type == QEvent::KeyPress && watched->isWidgetType() && isActiveWindow() &&
        static_cast<QWidget*>(watched)->window() == this)
        numberlock();

    // The tape's menu from the keyboard, from the entry box and from the tape (its editor and scroll bar).
    if (watched == Text2 || watched == Text3 || watched == VScroll1) {
        if (type == QEvent::KeyPress && isMenuKey(*static_cast<QKeyEvent*>(event))) {
            popUpByKey(*tapeMenu, *Label11[0]);
            return true;
        }
        // X11 follows the Menu key with a context-menu request of its own, which the tape's menu answered.
        if (type == QEvent::ContextMenu &&
            static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard)
            return true;
    }
    if ((watched == Text2 || watched == Text3) && type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool entryBox = watched == Text2;
        if (entryBox ? Text2_KeyDown(key->key()) : Text3_KeyDown(key->key()))
            return true;
        if (producesCharacter(key)) {
            const char16_t typed = key->text().at(0).unicode();
            char16_t code = typed;
            // The numeric keypad's decimal key types a point whatever the layout makes of it.
            if ((key->modifiers() & Qt::KeypadModifier) && (code == u',' || key->key() == Qt::Key_Period))
                code = u'.';
            if (entryBox ? Text2_KeyPress(code) : Text3_KeyPress(code))
                return true;
            if (code != typed) {
                static_cast<QLineEdit*>(watched)->insert(QString(QChar(code)));
                return true;
            }
        }
        // A paste, however it is asked for, goes by the paste rule (a typed comma keeps its own).
        if (key->matches(QKeySequence::Paste))
            return pasteInto(static_cast<QLineEdit*>(watched), false), true;
        return false;
    }
    if ((watched == Text2 || watched == Text3) && type == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton)
        return pasteInto(static_cast<QLineEdit*>(watched), true), true;
    if ((watched == Text2 || watched == Text3) && type == QEvent::ContextMenu) {
        auto* box = static_cast<QLineEdit*>(watched);
        QMenu* menu = box->createStandardContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        // The box's own menu, its Paste item (named as the box names it, in any language) rewired.
        for (QAction* item : menu->actions())
            if (item->text().section('\t', 0, 0) == QLineEdit::tr("&Paste")) {
                item->disconnect();
                connect(item, &QAction::triggered, this, [this, box] { pasteInto(box, false); });
            }
        menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (type == QEvent::MouseButtonRelease && watched->parent() == body) {
        for (int r = 0; r < static_cast<int>(Label11.size()); ++r)
            if (watched == Label11[r] &&
                Label11[r]->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
                Label11_Click(r);
                return true;
            }
    }
    if ((type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString name = droppedFile(drop->mimeData());
        if (!name.isEmpty()) {
            drop->acceptProposedAction();
            // After the drop has returned: a message about a refused file must not hold up the
            // program the file came from.
            if (type == QEvent::Drop)
                QMetaObject::invokeMethod(
                    this, [this, name] { openTape(name); }, Qt::QueuedConnection);
            return true;
        }
        // Text dropped on a box goes by the paste rule, at the place it is dropped.
        if (type == QEvent::Drop && (watched == Text2 || watched == Text3) && drop->mimeData()->hasText()) {
            auto* box = static_cast<QLineEdit*>(watched);
            const std::optional<std::string> text = tally::pastedText(drop->mimeData()->text().toStdString());
            if (text) {
                box->setCursorPosition(box->cursorPositionAt(drop->position().toPoint()));
                box->insert(QString::fromStdString(*text));
                drop->acceptProposedAction();
            }
            QDragLeaveEvent leave; // the box's own drop caret goes
            QCoreApplication::sendEvent(box, &leave);
            return true;
        }
    }
    if ((watched == List1 || watched == List2) && type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        return watched == List1 ? List1_KeyDown(key) : List2_KeyDown(key);
    }
    if (watched == ListView1 && type == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        return !text.isEmpty() && ListView1_KeyPress(text.at(0).unicode());
    }
    if (type == QEvent::MouseButtonDblClick && (watched == List1->viewport() || watched == List2->viewport())) {
        // A double click selects the row under the pointer first; on empty space nothing is selected.
        QListWidget* list = watched == List1->viewport() ? List1 : List2;
        QListWidgetItem* item = list->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (item)
            list->setCurrentItem(item);
        else
            list->clearSelection();
        list == List1 ? List1_DblClick() : List2_DblClick();
        return false;
    }
    if (watched == VScroll1 && type == QEvent::FocusIn) {
        VScroll1_GotFocus();
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}
