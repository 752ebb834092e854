#pragma once
// The window's look as data: places and sizes in twips, captions, fonts, colours, borders,
// alignment, tooltips and tab order, applied in loops.
#include <QColor>
#include <QPalette>
#include <QRect>
#include <span>

class QWidget;

namespace design {

// Twips (1/1440 inch) to logical pixels: 15 twips a pixel at 96 dpi.
QRect twips(int left, int top, int width, int height);

struct Colour {
    enum Kind { Unset, Rgb, Role } kind = Unset;
    QRgb rgb = 0;
    QPalette::ColorRole role = QPalette::NoRole;
    QColor resolve(const QPalette& palette) const;
};
constexpr Colour rgb(QRgb value) { return {Colour::Rgb, value, QPalette::NoRole}; }
constexpr Colour role(QPalette::ColorRole r) { return {Colour::Role, 0, r}; }
constexpr Colour kUnset{};

struct Font {
    const char* family = nullptr; // nullptr: the window's default font
    double points = 0;
    bool bold = false;
};

enum Align { AlignDefault, AlignLeft, AlignCentre, AlignRight };

struct Element {
    const char* name;
    int left, top, width, height;
    const char* caption; // nullptr: no caption of its own
    Font font;
    Colour background;
    Colour text;
    bool border;
    Align align;
    const char* tooltip;
};

// A borderless, solid-filled rectangle painted on the window's surface.
struct Rectangle {
    const char* name;
    int left, top, width, height;
    QRgb colour;
};

std::span<const Element> elements();
std::span<const Rectangle> rectangles();
// Focusable controls by object name, in tab order.
std::span<const char* const> tabOrder();

// Tape rows: row index -> top, height, colours; columns: array name -> left, width.
struct TapeRow {
    int top, height;
    Colour background, text;
};
struct TapeColumn {
    const char* array;
    int left, width;
};
std::span<const TapeRow> tapeRows();
std::span<const TapeColumn> tapeColumns();
Font tapeFont();

// Client area of the main window, in twips.
constexpr int kClientWidth = 10200;
constexpr int kClientHeight = 7065;

// Maps the design's font names to faces this system has (metric twins where there are some).
void installFontSubstitutes();
// The window's default font.
Font defaultFont();

// Applies an element's design to a widget.
void apply(QWidget* widget, const Element& element);
void applyFont(QWidget* widget, const Font& font);
void applyColours(QWidget* widget, Colour background, Colour text);

} // namespace design
