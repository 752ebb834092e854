// The memory list boxes: Store, Remove, Clear Memory and recall by double click, Enter or Space.
#include <QLineEdit>
#include <QListWidget>

#include "memory/memory.h"
#include "window/calculator.h"

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

void Calculator::showMemory(const tally::MemoryLists& lists) {
    List1->clear();
    List1->addItems(toRows(lists.rows));
    List2->clear();
    if (lists.total)
        List2->addItem(QString::fromStdString(*lists.total));
}

void Calculator::store_Click() {
    play(tally::Sound::Calc1);
    const tally::StoreOutcome outcome = tally::storeSubtotal(state, viewmode, scrollline);
    if (outcome.result == tally::StoreResult::Full) {
        tellUser("Calculator", QString("The memory is full: it holds %1 values.\n\nRemove a value or press "
                                       "Clear Memory before storing another.")
                                   .arg(tally::kMemorySlots));
        return;
    }
    if (outcome.result != tally::StoreResult::Stored)
        return;
    showMemory(outcome.lists);
    if (outcome.firstVisibleRow > 0)
        List1->scrollToItem(List1->item(outcome.firstVisibleRow), QAbstractItemView::PositionAtTop);
}

void Calculator::removelist_Click() {
    play(tally::Sound::Calc1);
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

void Calculator::clearlist_Click() {
    play(tally::Sound::Calc1);
    tally::clearMemory(state);
    List1->clear();
    List2->clear();
}

void Calculator::recall(const QListWidget* list) {
    play(tally::Sound::Calc1);
    const std::string row = selectedText(list).toStdString();
    if (const std::optional<std::string> text = tally::recallText(row))
        Text2->setText(QString::fromStdString(*text));
}

void Calculator::List1_DblClick() {
    recall(List1);
}
void Calculator::List2_DblClick() {
    recall(List2);
}

bool Calculator::recallByKey(const QListWidget* list, int keyCode) {
    if (keyCode != Qt::Key_Return && keyCode != Qt::Key_Enter && keyCode != Qt::Key_Space)
        return false;
    // Without a selected row the key keeps its own meaning (Space selects the current row).
    if (list->selectedItems().isEmpty())
        return false;
    recall(list);
    return true;
}

bool Calculator::List1_KeyDown(int keyCode) {
    return recallByKey(List1, keyCode);
}
bool Calculator::List2_KeyDown(int keyCode) {
    return recallByKey(List2, keyCode);
}
