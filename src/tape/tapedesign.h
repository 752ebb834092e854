#pragma once
// The tape view as data: the rows' places and colours, the columns' places, the cells' font.
#include <span>

#include "shell/controls.h"

namespace design {

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

} // namespace design
