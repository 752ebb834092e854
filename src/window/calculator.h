#pragma once
// The main window. Every control carries its design name; every handler is declared here and
// defined in the *_handlers.cpp file of its subsystem, so this header is the map of the program.
// Tests drive the window through its controls and handlers; its own state is private.
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/sound.h"
#include "core/state.h"
#include "files/tapefile.h"
#include "shell/outside.h"

class Form1;
class QAction;
class QCloseEvent;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollBar;
class QSlider;
class QTreeWidget;
class SoundPlayer;
class TapeKeeper;
namespace tally {
struct MemoryLists;
struct TapeView;
} // namespace tally

class Calculator : public QMainWindow {
    Q_OBJECT

public:
    Calculator(tally::State& state, SoundPlayer& sounds, Outside& outside, QWidget* parent = nullptr);
    ~Calculator() override;

    tally::State& state;

    // ---- controls, by design name ----
    QWidget* body = nullptr;                 // the client area: paints the body picture and the rectangles
    QLineEdit* Text2 = nullptr;              // the entry box
    QLineEdit* Text3 = nullptr;              // the in-place editor of a tape row
    std::array<QPushButton*, 17> Command1{}; // 0..9 digits, 10 point, 12 + 13 - 14 x 16 /; 11, 15 empty
    QPushButton* konst = nullptr;            // index 11
    QLabel* knst = nullptr;
    QPushButton* clearit = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* store = nullptr;
    QLabel* Label6 = nullptr;         // the unit of a converted entry
    std::array<QLabel*, 9> Label10{}; // line numbers, row 0 at the bottom
    std::array<QLabel*, 9> Label11{}; // entries
    std::array<QLabel*, 9> Label12{}; // subtotals
    QScrollBar* VScroll1 = nullptr;
    QSlider* Slider1 = nullptr;
    QListWidget* List1 = nullptr;
    QListWidget* List2 = nullptr;
    QPushButton* removelist = nullptr;
    QPushButton* clearlist = nullptr;
    QComboBox* conversion = nullptr;
    QPushButton* convert = nullptr;
    QTreeWidget* ListView1 = nullptr;
    QMenu* file = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuSaveAs = nullptr;
    QAction* mnuPrint = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* xhelp = nullptr;
    QAction* mnuHelp = nullptr;
    QAction* mnuAbout = nullptr;
    QMenu* tapeMenu = nullptr; // a right-click on the tape
    QAction* mnuCopyTape = nullptr;
    QAction* mnuRestoreTape = nullptr;
    QAction* mnuLastSession = nullptr;
    QMenu* earlierTapes = nullptr; // the kept tapes of ended sessions, newest first
    QPointer<Form1> preview;       // the open preview window, if any

    // ---- keypad (window/keypad_handlers.cpp) ----
    void Command1_Click(int Index);
    void konst_Click(int Index);
    void clearit_Click();
    void Command2_Click();

    // ---- keyboard (window/keyboard_handlers.cpp) ----
    void numberlock();
    // Key-down of the entry box; returns true when it swallows the key.
    bool Text2_KeyDown(int keyCode);
    // Character of the entry box; returns true when the character must not reach the box.
    bool Text2_KeyPress(char16_t keyAscii);

    // ---- memory (memory/memory_handlers.cpp) ----
    void store_Click();
    void removelist_Click();
    void clearlist_Click();
    void List1_DblClick();
    void List2_DblClick();
    // Enter and Space on a selected row recall it, as a double click does; true when taken.
    bool List1_KeyDown(int keyCode);
    bool List2_KeyDown(int keyCode);

    // ---- conversion (conversion/conversion_handlers.cpp) ----
    void conversion_Click();
    void ListView1_Click();
    bool ListView1_KeyPress(char16_t keyAscii);
    void convert_Click();

    // ---- tape files (files/file_handlers.cpp) ----
    void mnuSaveAs_Click();
    void mnuOpen_Click();
    // Open's rules for a named file, from the menu, the command line, a drop or the last session:
    // all or nothing, a refused file is told. True when the tape was replaced.
    bool openTape(const QString& name);
    // Writes the tape to `name` atomically; the reason when it failed.
    static std::optional<QString> writeTapeFile(const QString& name, const tally::State& tape);

    // ---- the tape's menu and the kept tapes (window/tapemenu_handlers.cpp) ----
    void mnuCopyTape_Click();
    void mnuRestoreTape_Click();
    void mnuLastSession_Click();
    // The folder where the tapes of sessions are kept; empty when the user has no state folder.
    static std::string keptFolder();
    // Keeps every change of the tape through `keeper` (none: no longer); the first failure is told.
    void keepTape(TapeKeeper* keeper);

    // ---- tape view (tape/tape_handlers.cpp) ----
    void printout();
    void printscroll();
    void VScroll1_Change();
    void VScroll1_GotFocus();
    void Slider1_Scroll();

    // ---- correcting past lines (tape/editor_handlers.cpp) ----
    void Label11_Click(int Index);
    bool Text3_KeyDown(int keyCode);
    bool Text3_KeyPress(char16_t keyAscii);
    void edit1_click(int op);
    void checkit();

    // ---- print preview (print/print_handlers.cpp) ----
    void showpreview();
    void mnuPrint_Click();

    // ---- help and about (shell/shell_handlers.cpp) ----
    static QString aboutText(); // four lines, CR LF between them
    void mnuHelp_Click();
    void mnuAbout_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The window's close button ends the program as Exit does, with Exit's question.
    void closeEvent(QCloseEvent* event) override;

private:
    SoundPlayer& sounds;
    Outside& outside;

    // ---- the window's own state ----
    int decplaces = 2;
    std::array<std::string, 5> patterns;
    std::string keyentry;
    int scrollline = 0;
    int skipscroll = 0;
    int viewmode = 0;
    std::string constval;
    int editline = 0;                         // the tape line the row editor writes back to
    std::string editOpened;                   // the editor's text as it opened
    std::optional<std::string> convfactor;    // the picked factor's text; none picked yet counts as 0
    std::vector<tally::TapeLine> clearedTape; // what the last Clear Entries or Open took off the tape

    // A click that hid a control (a unit picked from the conversion list) must not have its second
    // half, or the second click of a double click, land on what lay beneath.
    QPoint clickHidAt;
    QElapsedTimer clickHidTime;
    bool swallowRelease = false;
    void swallowRestOfClick();
    bool restOfHidingClick(QEvent* event);

    void createControls();
    void createMenus();
    void connectHandlers();
    void startUp();
    void play(tally::Sound sound);
    void tellUser(const QString& title, const QString& text);
    QString askFileName(bool forSaving);
    void placeEntryCaret();
    // A paste into the entry box or the editor, by the paste rule; a refused one changes nothing.
    void pasteInto(QLineEdit* box, bool selection);
    // Moves the scroll bar to the newest line without its change handler redrawing.
    void scrollToEnd();
    void showView(const tally::TapeView& view);
    // How many characters of a figure always fit an entry cell [0] and a subtotal cell [1].
    std::array<int, 2> sureFit{};
    static int sureFitChars(const QLabel* cell);
    // Line n into row r; `scrolled` picks the subtotal form of the scrolled view.
    void drawLine(int n, int r, bool scrolled);
    void clearRows();
    void showMemory(const tally::MemoryLists& lists);
    void recall(const QListWidget* list);
    bool recallByKey(const QListWidget* list, int keyCode);
    void loadTape(const std::vector<tally::TapeLine>& loaded);
    // ---- keeping the tape (window/tapemenu_handlers.cpp) ----
    TapeKeeper* keeper = nullptr;
    void tapeChanged();
    void listKeptTapes();
    void openKept(const std::string& stem);
    // Exit's question when the tape on view is not kept; true when the program may end.
    bool mayEnd();
    bool endAgreed = false; // Exit has asked already: closing the windows asks no more
    void showFactorCaption(const QString& caption);
};
