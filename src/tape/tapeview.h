#pragma once
// The tape view: the nine rows of three cells, the scroll bar VScroll1, the decimal-places slider
// Slider1 and the row editor Text3, with the view's own state. It draws the newest lines
// (printout) or the lines at the scroll position (printscroll), and corrects past lines in place.
// It tells the window what the editor's command keys asked for through a signal.
#include <QObject>
#include <array>
#include <string>

#include "core/keys.h"
#include "core/sound.h"
#include "core/tape.h"
#include "tape/cells.h"

class QEvent;
class QLabel;
class QLineEdit;
class QScrollBar;
class QSlider;
class SoundPlayer;

class TapeView : public QObject {
    Q_OBJECT

public:
    // Builds the cells on `body`, under the controls already there, and takes the scroll bar, the
    // slider and the editor from them. `entry` is the box the focus returns to after a redraw.
    TapeView(QWidget* body, tally::Tape& tape, SoundPlayer& sounds, QWidget* entry);

    void printout();
    void printscroll();
    // Opens the row editor over row Index's entry, on the line the row shows.
    void Label11_Click(int Index);
    // Writes the editor's number back to its line with operator code `op` and recomputes the tape.
    void edit1_click(int op);
    // Redraws the rows in place, each with the line it shows.
    void checkit();
    void clearRows();
    // Moves the scroll bar to the newest line without its change handler redrawing.
    void scrollToEnd();
    // The view at the end of a tape just loaded, as the scroll bar shows it.
    void showLoaded();

    // The entry box's keys that work the tape (Up, Down, F2); true when the key is swallowed.
    bool entryKeyDown(int keyCode);
    // Events of the view's own controls, from the window's event filter; true when taken.
    bool filterEvent(QObject* watched, QEvent* event);

    // The tape as text for the clipboard, with the subtotals' decimals of the view.
    std::string copyText() const;
    // Where the view stands, as Store reads it: viewmode 0 shows the newest lines; otherwise line
    // scrollline is the one in question.
    struct Place {
        int viewmode, scrollline;
    };
    Place place() const { return {viewmode, scrollline}; }

signals:
    // The row editor wrote a line back and the tape was recomputed.
    void lineCorrected();
    // Store, Preview or Exit typed into the row editor.
    void editorCommand(tally::KeyCommand command);
    // A right click on a cell, at this place on the screen; the menu key on the editor or the scroll bar.
    void menuRequested(const QPoint& at);
    void menuKeyPressed();

private:
    tally::Tape& tape;
    SoundPlayer& sounds;
    QWidget* entry;

    std::array<QLabel*, tally::kVisibleRows> Label10{}; // line numbers, row 0 at the bottom
    std::array<QLabel*, tally::kVisibleRows> Label11{}; // entries
    std::array<QLabel*, tally::kVisibleRows> Label12{}; // subtotals
    QScrollBar* VScroll1 = nullptr;
    QSlider* Slider1 = nullptr;
    QLineEdit* Text3 = nullptr;

    int decplaces = 2;
    std::array<std::string, 5> patterns;
    int scrollline = 0;
    int skipscroll = 0;
    int viewmode = 0;
    int editline = 0;       // the tape line the row editor writes back to
    std::string editOpened; // the editor's text as it opened
    // How many characters of a figure always fit an entry cell [0] and a subtotal cell [1].
    std::array<int, 2> sureFit{};

    void play(tally::Sound sound);
    void VScroll1_Change();
    void VScroll1_GotFocus();
    void Slider1_Scroll();
    bool Text3_KeyDown(int keyCode);
    bool Text3_KeyPress(char16_t keyAscii);
    void showView(const tally::ViewLines& view);
    // Line n into row r; `scrolled` picks the subtotal form of the scrolled view.
    void drawLine(int n, int r, bool scrolled);
};
