#pragma once
// Units and fonts of the window designs: places in twips, font names of the design mapped to
// faces this system has.
#include <QFont>
#include <QRect>

namespace design {

// Twips (1/1440 inch) to logical pixels: 15 twips a pixel at 96 dpi. Edges are rounded, so
// neighbours that touch in twips touch in pixels.
QRect twips(int left, int top, int width, int height);

// Maps the design's font names to faces this system has (metric twins where there are some).
// Cheap after the first call.
void installFontSubstitutes();

// A design font by name and size.
QFont fontOf(const char* family, double points, bool bold = false);

} // namespace design
