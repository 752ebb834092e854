#pragma once
// The main window. Every control carries its design name; every handler is declared here and
// defined in the *_handlers.cpp file of its subsystem, so this header is the map of the program.
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "core/state.h"

class Form1;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollBar;
class QSlider;
class QListWidget;
class QTreeWidget;
class SoundPlayer;
namespace tally {
struct MemoryLists;
}

class Calculator : public QMainWindow {
    Q_OBJECT

public:
    Calculator(tally::State& state, SoundPlayer& sounds, QWidget* parent = nullptr);
    ~Calculator() override;

    tally::State& state;
    SoundPlayer& sounds;

    // Seams for what leaves the window: a message to the user, the end of the program.
    // Tests replace them; the program shows a message box and quits.
    std::function<void(const QString& title, const QString& text)> tellUser;
    std::function<void()> endProgram;
    // Asks for a tape file name to save (true) or open (false); empty when cancelled.
    std::function<QString(bool forSaving)> askFileName;

    // ---- controls, by design name ----
    QWidget* body = nullptr;     // the client area: paints the body picture and the rectangles
    QLineEdit* Text2 = nullptr;  // the entry box
    QLineEdit* Text3 = nullptr;  // the in-place editor of a tape row
    std::array<QPushButton*, 17> Command1{}; // 0..9 digits, 10 point, 12 + 13 - 14 x 16 /; 11, 15 empty
    QPushButton* konst = nullptr;            // index 11
    QLabel* knst = nullptr;
    QPushButton* clearit = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* store = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
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

    // ---- the window's own state ----
    int decplaces = 2;
    std::array<std::string, 5> patterns;
    std::string keyentry;
    int scrollline = 0;
    int skipscroll = 0;
    int viewmode = 0;
    std::string constval;
    int editline = 0; // the tape line the row editor writes back to
    std::optional<std::string> convfactor; // the picked factor's text; none picked yet counts as 0

    // ---- keypad (core/keypad_handlers.cpp) ----
    void Command1_Click(int Index);
    void konst_Click(int Index);
    void clearit_Click();
    void Command2_Click();

    // ---- keyboard (core/keyboard_handlers.cpp) ----
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

    // ---- conversion (conversion/conversion_handlers.cpp) ----
    void conversion_Click();
    void ListView1_Click();
    bool ListView1_KeyPress(char16_t keyAscii);
    void convert_Click();

    // ---- tape files (files/file_handlers.cpp) ----
    void mnuSaveAs_Click();
    void mnuOpen_Click();

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
    QPointer<Form1> preview; // the open preview window, if any
    void showpreview();
    void mnuPrint_Click();

    // ---- help and about (shell/shell_handlers.cpp) ----
    // Seams: starts a program without waiting for it (false when it cannot start); shows the
    // modal About box until it is closed. Tests replace them.
    std::function<bool(const QString& program, const QStringList& args)> startProgram = &Calculator::startDetached;
    std::function<void(const QString& title, const QString& text)> showAbout =
        [this](const QString& title, const QString& text) { aboutBox(title, text); };
    static bool startDetached(const QString& program, const QStringList& args);
    static QString aboutText(); // four lines, CR LF between them
    void mnuHelp_Click();
    void mnuAbout_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createMenus();
    void connectHandlers();
    void startUp();
    void operatorKey(int Index);
    void placeEntryCaret();
    // Line n into row r; `scrolled` picks the subtotal form of the scrolled view.
    void drawLine(int n, int r, bool scrolled);
    void clearRows();
    void showMemory(const tally::MemoryLists& lists);
    void recall(const QListWidget* list);
    QString chooseTapeFile(bool forSaving);
    void aboutBox(const QString& title, const QString& text);
};
