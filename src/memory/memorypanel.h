#pragma once
// The memory panel: the list of stored subtotals List1, their total List2, and the Store, Remove
// and Clear Memory buttons. A recalled value goes into the entry box.
#include <QObject>

#include "core/sound.h"
#include "core/state.h"

class Outside;
class QEvent;
class QLineEdit;
class QListWidget;
class QPushButton;
class SoundPlayer;
namespace tally {
struct MemoryLists;
}

class MemoryPanel : public QObject {
    Q_OBJECT

public:
    MemoryPanel(QWidget* body, tally::State& state, SoundPlayer& sounds, Outside& outside, QLineEdit* entry);

    // Stores the subtotal of the newest line (viewmode 0) or of line `scrollline`.
    void store_Click(int viewmode, int scrollline);
    // As a key asks for it: the Store button takes the focus first.
    void storeByKey(int viewmode, int scrollline);
    // Events of the lists, from the window's event filter; true when taken.
    bool filterEvent(QObject* watched, QEvent* event);

signals:
    // The Store button was clicked; the window answers with store_Click and the view's place.
    void storeClicked();

private:
    tally::State& state;
    SoundPlayer& sounds;
    Outside& outside;
    QLineEdit* entry;

    QListWidget* List1 = nullptr;
    QListWidget* List2 = nullptr;
    QPushButton* store = nullptr;
    QPushButton* removelist = nullptr;
    QPushButton* clearlist = nullptr;

    void removelist_Click();
    void clearlist_Click();
    void List1_DblClick();
    void List2_DblClick();
    // Enter and Space on a selected row recall it, as a double click does; true when taken.
    bool List1_KeyDown(int keyCode);
    bool List2_KeyDown(int keyCode);
    void showMemory(const tally::MemoryLists& lists);
    void recall(const QListWidget* list);
    bool recallByKey(const QListWidget* list, int keyCode);
};
