#pragma once
// A window's controls as a table: one row per control with its kind, place and size in twips,
// caption, font, colours, border, alignment, tooltip, accessible name and range. `build` creates
// every control of a table in one loop; `control` finds one by its design name and fails loudly
// when the table has none.
#include <QColor>
#include <QPalette>
#include <QWidget>
#include <span>

namespace design {

struct Colour {
    enum Kind {
        Unset,
        Rgb,
        Role
    } kind = Unset;
    QRgb rgb = 0;
    QPalette::ColorRole role = QPalette::NoRole;
    QColor resolve(const QPalette& palette) const;
};
constexpr Colour rgb(QRgb value) {
    return {Colour::Rgb, value, QPalette::NoRole};
}
constexpr Colour role(QPalette::ColorRole r) {
    return {Colour::Role, 0, r};
}
constexpr Colour kUnset{};

struct Font {
    const char* family = nullptr; // nullptr: the window's default font
    double points = 0;
    bool bold = false;
};

enum Align {
    AlignDefault,
    AlignLeft,
    AlignCentre,
    AlignRight
};

enum class Kind {
    Label,
    Button,
    LineEdit,
    ScrollBar,
    Slider,
    List,
    Combo,
    Tree
};

struct Range {
    int minimum = 0, maximum = 0;
};

struct Element {
    const char* name;
    Kind kind;
    int left, top, width, height;
    const char* caption; // nullptr: no caption of its own
    Font font;
    Colour background;
    Colour text;
    bool border;
    Align align;
    const char* tooltip;
    const char* accessibleName = nullptr; // nullptr: a label or button reads as its own caption
    Range range{};                        // scroll bars and sliders
    bool hidden = false;
};

// Creates every control of `table` as a child of `parent`, in table order (which is drawing order).
void build(QWidget* parent, std::span<const Element> table);
// Applies an element's design to an existing widget.
void apply(QWidget* widget, const Element& element);
void applyFont(QWidget* widget, const Font& font);
void applyColours(QWidget* widget, Colour background, Colour text);

// The control named `name` among `parent`'s direct children; a name the table lacks is a fault of
// the program and stops it at once.
QWidget* findControl(const QWidget* parent, const char* name);
template <class W>
W* control(const QWidget* parent, const char* name) {
    auto* w = qobject_cast<W*>(findControl(parent, name));
    if (!w)
        qFatal("control %s is not of the kind its table row says", name);
    return w;
}

} // namespace design
