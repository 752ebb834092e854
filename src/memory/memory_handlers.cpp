// The memory list boxes: Store, Remove, Clear Memory and recall by double click, Enter or Space.
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include "memory/memory.h"
#include "memory/memorypanel.h"
#include "shell/access.h"
#include "shell/controls.h"
#include "shell/outside.h"
#include "shell/sounds.h"

namespace {
QStringList toRows(const std::vector<std::string>& rows) {
    QStringList list;
    list.reserve(static_cast<int>(rows.size()));
    for (const std::string& row : rows)
        list << QString::fromStdString(row);
    return list;
}

QString selectedText(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text();
}
} // namespace

MemoryPanel::MemoryPanel(QWidget* body, tally::State& s, SoundPlayer& player, Outside& out, QLineEdit* entryBox)
    : QObject(body), state(s), sounds(player), outside(out), entry(entryBox) {
    setObjectName("memoryPanel");
    using design::control;
    List1 = control<QListWidget>(body, "List1");
    List2 = control<QListWidget>(body, "List2");
    store = control<QPushButton>(body, "store");
    removelist = control<QPushButton>(body, "removelist");
    clearlist = control<QPushButton>(body, "clearlist");
    // The total box shows its one row whole, never a scroll bar over it.
    List2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (QListWidget* list : {List1, List2})
        readTrimmed(*list);
    connect(store, &QPushButton::clicked, this, [this] { emit storeClicked(); });
    connect(removelist, &QPushButton::clicked, this, [this] { removelist_Click(); });
    connect(clearlist, &QPushButton::clicked, this, [this] { clearlist_Click(); });
}

void MemoryPanel::showMemory(const tally::MemoryLists& lists) {
    List1->clear();
    List1->addItems(toRows(lists.rows));
    List2->clear();
    if (lists.total)
        List2->addItem(QString::fromStdString(*lists.total));
}

void MemoryPanel::store_Click(int viewmode, int scrollline) {
    sounds.play(tally::Sound::Calc1);
    const tally::StoreOutcome outcome = tally::storeSubtotal(state, viewmode, scrollline);
    if (outcome.result == tally::StoreResult::Full) {
        outside.tell(entry->window(), "Calculator",
                     QString("The memory is full: it holds %1 values.\n\nRemove a value or press "
                             "Clear Memory before storing another.")
                         .arg(tally::kMemorySlots));
        entry->setFocus();
        return;
    }
    if (outcome.result != tally::StoreResult::Stored)
        return;
    showMemory(outcome.lists);
    if (outcome.firstVisibleRow > 0)
        List1->scrollToItem(List1->item(outcome.firstVisibleRow), QAbstractItemView::PositionAtTop);
}

void MemoryPanel::storeByKey(int viewmode, int scrollline) {
    store->setFocus();
    store_Click(viewmode, scrollline);
}

void MemoryPanel::removelist_Click() {
    sounds.play(tally::Sound::Calc1);
    const QList<QListWidgetItem*> selected = List1->selectedItems();
    const int row = selected.isEmpty() ? -1 : List1->row(selected.front());
    std::vector<std::string> rows;
    rows.reserve(static_cast<std::size_t>(List1->count()));
    for (int i = 0; i < List1->count(); ++i)
        rows.push_back(List1->item(i)->text().toStdString());
    const tally::RemoveOutcome outcome = tally::removeStored(state, std::move(rows), row);
    if (outcome.result == tally::RemoveResult::Removed)
        showMemory(outcome.lists);
}

void MemoryPanel::clearlist_Click() {
    sounds.play(tally::Sound::Calc1);
    tally::clearMemory(state);
    List1->clear();
    List2->clear();
}

void MemoryPanel::recall(const QListWidget* list) {
    sounds.play(tally::Sound::Calc1);
    const std::string row = selectedText(list).toStdString();
    if (const std::optional<std::string> text = tally::recallText(row))
        entry->setText(QString::fromStdString(*text));
}

void MemoryPanel::List1_DblClick() {
    recall(List1);
}
void MemoryPanel::List2_DblClick() {
    recall(List2);
}

bool MemoryPanel::recallByKey(const QListWidget* list, int keyCode) {
    if (keyCode != Qt::Key_Return && keyCode != Qt::Key_Enter && keyCode != Qt::Key_Space)
        return false;
    // Without a selected row the key keeps its own meaning (Space selects the current row).
    if (list->selectedItems().isEmpty())
        return false;
    recall(list);
    return true;
}

bool MemoryPanel::List1_KeyDown(int keyCode) {
    return recallByKey(List1, keyCode);
}
bool MemoryPanel::List2_KeyDown(int keyCode) {
    return recallByKey(List2, keyCode);
}

bool MemoryPanel::filterEvent(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((watched == List1 || watched == List2) && type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        return watched == List1 ? List1_KeyDown(key) : List2_KeyDown(key);
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
    }
    return false;
}
