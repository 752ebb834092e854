// The one place where events that Qt does not hand out as the design needs become handler calls:
// the window's key preview, the entry box's key-down and character handlers, the panels' own
// controls (the row editor, a click on a tape entry, focus on the scroll bar, keys on the memory
// and factor lists), tape files dropped on the window, and the rest of a click that hid a control.
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDropEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

#include "conversion/conversionpanel.h"
#include "memory/memorypanel.h"
#include "shell/access.h"
#include "shell/typing.h"
#include "tape/tapeview.h"
#include "window/calculator.h"
#include "window/design.h"

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

void Calculator::tapeMenuByKey() {
    popUpByKey(*tapeMenu, *design::findControl(body, "Label11_0"));
}

bool Calculator::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this && restOfHidingClick(event))
        return true;
    if (type == QEvent::KeyPress && watched->isWidgetType() && isActiveWindow() &&
        static_cast<QWidget*>(watched)->window() == this)
        numberlock();

    if (watched == Text2 && lineBoxEvent(
                                Text2, event, [this](int key) { return Text2_KeyDown(key); },
                                [this](char16_t c) { return Text2_KeyPress(c); }, [this] { tapeMenuByKey(); }))
        return true;
    if (tape->filterEvent(watched, event) || memory->filterEvent(watched, event) ||
        conversion->filterEvent(watched, event))
        return true;
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
    }
    return QMainWindow::eventFilter(watched, event);
}
