#include "tape/tapedesign.h"

namespace design {
namespace {

constexpr Colour kLight = role(QPalette::Light); // the 3-D highlight
constexpr Colour kPaleGreen = rgb(0xC0FFC0);
constexpr Colour kInk = role(QPalette::WindowText);
constexpr Colour kDarkRed = rgb(0x800000);

// clang-format off
constexpr TapeRow kTapeRows[] = {
    {2730, 285, rgb(0xE0E0E0), kDarkRed}, // row 0, the bottom row, set apart
    {2400, 285, kPaleGreen, kInk},
    {2100, 315, kLight, kInk},
    {1800, 315, kPaleGreen, kInk},
    {1500, 315, kLight, kInk},
    {1200, 315, kPaleGreen, kInk},
    {900, 315, kLight, kInk},
    {600, 315, kPaleGreen, kInk},
    {300, 315, kLight, kInk},
};
constexpr TapeColumn kTapeColumns[] = {
    {"Label10", 60, 765},
    {"Label11", 810, 2955},
    {"Label12", 3750, 3345},
};
// clang-format on

} // namespace

std::span<const TapeRow> tapeRows() {
    return kTapeRows;
}
std::span<const TapeColumn> tapeColumns() {
    return kTapeColumns;
}
Font tapeFont() {
    return {"System", 9.75, true};
}

} // namespace design
