#pragma once
// The main window: the keypad, the entry box Text2, the menus and the design table, composing the
// tape view, the memory panel and the conversion panel. Handlers are defined in the window's
// *_handlers.cpp files; tests reach the controls by their design names (findChild) and drive them
// with keys and clicks.
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <string>
#include <vector>

#include "core/keys.h"
#include "core/sound.h"
#include "core/state.h"
#include "files/tapefile.h"

class ConversionPanel;
class Form1;
class MemoryPanel;
class Outside;
class QAction;
class QCloseEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class SoundPlayer;
class TapeKeeper;
class TapeView;

class Calculator : public QMainWindow {
    Q_OBJECT

public:
    Calculator(tally::State& state, SoundPlayer& sounds, Outside& outside, QWidget* parent = nullptr);
    ~Calculator() override;

    // Open's rules for a named file, from the menu, the command line, a drop or a kept tape:
    // all or nothing, a refused file is told. True when the tape was replaced.
    bool openTape(const QString& name);
    // Keeps every change of the tape through `keeper` (none: no longer); the first failure is told.
    void keepTape(TapeKeeper* keeper);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The window's close button ends the program as Exit does, with Exit's question.
    void closeEvent(QCloseEvent* event) override;

private:
    tally::State& state;
    SoundPlayer& sounds;
    Outside& outside;
    TapeView* tape = nullptr;
    MemoryPanel* memory = nullptr;
    ConversionPanel* conversion = nullptr;

    QWidget* body = nullptr;                 // paints the body picture and the rectangles
    QLineEdit* Text2 = nullptr;              // the entry box
    std::array<QPushButton*, 17> Command1{}; // 0..9 digits, 10 point, then the operators' codes
    QLabel* knst = nullptr;
    QPushButton* Command2 = nullptr;
    QMenu* tapeMenu = nullptr; // a right-click on the tape
    QAction* mnuRestoreTape = nullptr;
    QAction* mnuLastSession = nullptr;
    QMenu* earlierTapes = nullptr; // the kept tapes of ended sessions, newest first
    QPointer<Form1> preview;       // the open preview window, if any

    std::string keyentry, constval;
    std::vector<tally::TapeLine> clearedTape; // what the last Clear Entries or Open took off the tape

    // A click that hid a control (a unit picked from the conversion list) must not have its second
    // half, or the second click of a double click, land on what lay beneath.
    QPoint clickHidAt;
    QElapsedTimer clickHidTime;
    bool swallowRelease = false;
    void swallowRestOfClick();
    bool restOfHidingClick(QEvent* event);
    // The tape's menu from the keyboard, over the bottom row, its first item highlighted.
    void tapeMenuByKey();

    void createControls();
    void createMenus();
    void connectHandlers();
    void startUp();
    void play(tally::Sound sound);
    void tellUser(const QString& title, const QString& text);
    void loadTape(const std::vector<tally::TapeLine>& loaded);
    void placeEntryCaret();

    // keypad and keyboard (window/keypad_handlers.cpp, window/keyboard_handlers.cpp)
    void Command1_Click(int Index);
    void konst_Click(int Index);
    void clearit_Click();
    void Command2_Click();
    void numberlock();
    bool Text2_KeyDown(int keyCode);        // true when it swallows the key
    bool Text2_KeyPress(char16_t keyAscii); // true when the character must not reach the box
    void editorCommand(tally::KeyCommand command);

    // menus (window/menu_handlers.cpp, window/file_handlers.cpp, window/tapemenu_handlers.cpp)
    void mnuOpen_Click();
    void mnuSaveAs_Click();
    void mnuPrint_Click();
    void showpreview();
    void mnuHelp_Click();
    void mnuAbout_Click();
    void mnuCopyTape_Click();
    void mnuRestoreTape_Click();
    void mnuLastSession_Click();

    // keeping the tape (window/tapemenu_handlers.cpp)
    TapeKeeper* keeper = nullptr;
    bool endAgreed = false; // Exit has asked already: closing the windows asks no more
    void tapeChanged();
    void listKeptTapes();
    void openKept(const std::string& stem);
    // Exit's question when the tape on view is not kept; true when the program may end.
    bool mayEnd();
};
