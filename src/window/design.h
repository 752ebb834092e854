#pragma once
// The main window as data: its controls (kind, place and size in twips, caption, font, colours,
// border, alignment, tooltip, accessible name, range), rectangles, tape rows and tab order.
#include <span>

#include "shell/controls.h"

namespace design {

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

// Client area of the main window, in twips.
constexpr int kClientWidth = 10200;
constexpr int kClientHeight = 7065;

// The window's default font.
Font defaultFont();

} // namespace design
