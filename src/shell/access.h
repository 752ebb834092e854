#pragma once
// What the keyboard and a screen reader need beyond the design: the keys that open a context menu,
// lines a reader reads one by one, and list rows read without the blanks that align them.
#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

class QKeyEvent;
class QListWidget;
class QMenu;

// The roles and rules below, for every window of the program; call once the application exists,
// before any window does (a control's reading is settled when a reader first asks for it).
void installReadingRoles();

// The Menu key and Shift+F10, which open a context menu in every desktop program.
bool isMenuKey(const QKeyEvent& key);

// Opens `menu` from the keyboard at `at` (its left edge, half-way down), its first enabled item
// highlighted, so Enter takes it and a screen reader names it.
void popUpByKey(QMenu& menu, const QWidget& at);

// A list that a screen reader walks line by line, one item a line, laid beneath what paints the
// lines. It paints nothing and takes neither clicks nor the focus, so the window looks and works
// as before. Screen readers see it as a list of list items.
class ReadableLines : public QWidget {
    Q_OBJECT
public:
    ReadableLines(QWidget* parent, const QString& name);

    struct Line {
        QString text;
        QRect place; // in the parent's coordinates
    };
    // The lines in reading order; one with no text is left out.
    void setLines(const std::vector<Line>& lines);
};

// The rows of `list` reach a screen reader without the blanks that right-align them.
void readTrimmed(QListWidget& list);
