#include "shell/access.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>

namespace {

// One line of a ReadableLines.
class ReadableLine : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
};

// A label that shows no text and has no name of its own says nothing: a reader skips it instead
// of stopping at an empty, nameless object. It still names the control it is the buddy of.
class QuietLabel : public QAccessibleWidget {
public:
    explicit QuietLabel(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}
    QLabel* label() const { return static_cast<QLabel*>(widget()); }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !label()->accessibleName().isEmpty())
            return QAccessibleWidget::text(t);
        return label()->text();
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (text(QAccessible::Name).isEmpty())
            s.invisible = true;
        return s;
    }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override {
        auto found = QAccessibleWidget::relations(match);
        if ((match & QAccessible::Labelled) && label()->buddy())
            found.append({QAccessible::queryAccessibleInterface(label()->buddy()), QAccessible::Labelled});
        return found;
    }
};

QAccessibleInterface* readingRoles(const QString& className, QObject* object) {
    if (className == QLatin1String("ReadableLines"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::List);
    if (className == QLatin1String("ReadableLine"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::ListItem);
    auto* label = qobject_cast<QLabel*>(object);
    if (className == QLatin1String("QLabel") && label && label->pixmap().isNull())
        return new QuietLabel(label);
    return nullptr;
}

} // namespace

void installReadingRoles() {
    // Once, after the application has set up its own: the last factory installed is asked first.
    static const bool installed = (QAccessible::installFactory(readingRoles), true);
    Q_UNUSED(installed);
}

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

ReadableLines::ReadableLines(QWidget* parent, const QString& name) : QWidget(parent) {
    installReadingRoles();
    setObjectName(name);
    setAccessibleName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(parent->rect());
    lower(); // beneath what paints the lines, and first for a reader among its siblings
}

void ReadableLines::setLines(const std::vector<Line>& lines) {
    QList<QWidget*> items = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    std::size_t shown = 0;
    for (const Line& line : lines) {
        if (line.text.isEmpty())
            continue;
        if (shown == static_cast<std::size_t>(items.size())) {
            auto* item = new ReadableLine(this);
            item->setAttribute(Qt::WA_TransparentForMouseEvents);
            items.append(item);
        }
        QWidget* item = items[static_cast<qsizetype>(shown++)];
        item->setGeometry(line.place.translated(-pos()));
        item->setAccessibleName(line.text);
        item->setVisible(true);
    }
    for (qsizetype i = static_cast<qsizetype>(shown); i < items.size(); ++i)
        items[i]->hide();
}

void readTrimmed(QListWidget& list) {
    auto trim = [&list](int first, int last) {
        for (int r = first; r <= last && r < list.count(); ++r) {
            QListWidgetItem* item = list.item(r);
            const QString said = item->text().trimmed();
            if (item->data(Qt::AccessibleTextRole).toString() != said)
                item->setData(Qt::AccessibleTextRole, said);
        }
    };
    QAbstractItemModel* model = list.model();
    QObject::connect(model, &QAbstractItemModel::rowsInserted, &list,
                     [trim](const QModelIndex&, int first, int last) { trim(first, last); });
    QObject::connect(model, &QAbstractItemModel::dataChanged, &list,
                     [trim](const QModelIndex& from, const QModelIndex& to) { trim(from.row(), to.row()); });
}

#include "access.moc"
