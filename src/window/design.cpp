#include "window/design.h"

#include "core/tape.h"

namespace design {
namespace {

constexpr Font kDefault{"MS Sans Serif", 8.25, false};
constexpr Font kSansBold{"MS Sans Serif", 8.25, true};
constexpr Font kHeading{"Arial", 8.25, true};
constexpr Font kDigit{"Arial", 9.75, true};
constexpr Font kOperator{"Arial", 12, true};
constexpr Font kMemory{"Lucida Console", 9.75, false};
constexpr Font kWindowFont{};

constexpr Colour kWhite = rgb(0xFFFFFF);
constexpr Colour kBlack = rgb(0x000000);
constexpr Colour kGrey = rgb(0xC0C0C0);
constexpr Colour kDarkRed = rgb(0x800000);
constexpr Colour kRed = rgb(0xC00000);
constexpr Colour kTip = role(QPalette::ToolTipBase);
constexpr Colour kFace = role(QPalette::Button);

constexpr Font kNarrow{"Arial Narrow", 8.25, false};
constexpr Font kEntry{"Arial", 24, true};
constexpr Font kEditor{"Arial", 14.25, true};
constexpr Colour kGreenInk = rgb(0x80FF80);
constexpr Colour kYellowInk = rgb(0xFFFF00);
constexpr Colour kListGrey = rgb(0xE0E0E0);
constexpr Colour kBase = role(QPalette::Base);

constexpr const char* kEditHint = "To Edit - Click on Entries Esc to cancel";
constexpr const char* kDecPoints = "          Dec Points           0      1      2       3      4   Dec Pts";
constexpr const char* kRecallTip = "Double Click to move data to main window";
constexpr const char* kRemoveTip = "Highlight Subtotal to remove";
constexpr const char* kConvertTip = "Click on to convert input";

constexpr int kKey = 615, kKeyH = 315;

// clang-format off
constexpr Element kElements[] = {
    // name, kind, left, top, width, height (twips), caption, font, background, text, border, align, tooltip,
    // accessible name (labels and buttons read as their caption without one), range, hidden
    {"Label7",      Kind::Label,       60,    0,  855,   165, "# ",                        kHeading,    kUnset,    kWhite,     false, AlignCentre,  nullptr},
    {"Label8",      Kind::Label,     1500,    0, 1695,   225, "Entry",                     kHeading,    kUnset,    kWhite,     false, AlignCentre,  nullptr},
    {"Label9",      Kind::Label,     4290,    0, 2175,   195, "Subtotal",                  kHeading,    kUnset,    kWhite,     false, AlignCentre,  nullptr},
    {"Label2",      Kind::Label,     4740, 4350, 1695,   525, kEditHint,                   kNarrow,     kTip,      kBlack,     true,  AlignCentre,  nullptr},
    {"knst",        Kind::Label,     1350, 3120, 2655,   255, "Constant = ",               kWindowFont, kUnset,    kDarkRed,   false, AlignDefault, nullptr},
    {"Label6",      Kind::Label,     5970, 4080, 1125,   255, "",                          kSansBold,   kUnset,    kRed,       false, AlignRight,   nullptr},
    {"Label1",      Kind::Label,     4770, 5100, 1665,   375, kDecPoints,                  kWindowFont, kUnset,    kBlack,     false, AlignDefault, nullptr,     "Decimal places"},
    {"Label5",      Kind::Label,     7470, 5460, 1785,   225, "Convert Entry to",          kSansBold,   kUnset,    kRed,       false, AlignDefault, nullptr},
    {"Label3",      Kind::Label,     7560, 6090, 2205,   225, "Conversion Factor Button",  kWindowFont, kUnset,    kUnset,     false, AlignDefault, nullptr},

    {"Text2",       Kind::LineEdit,   270, 3480, 6705,   555, nullptr,                     kEntry,      kBlack,    kGreenInk,  false, AlignDefault, nullptr,     "Entry"},
    {"Text3",       Kind::LineEdit,  1410, 3510, 2955,   330, nullptr,                     kEditor,     kBlack,    kYellowInk, false, AlignDefault, nullptr,     "Row editor",         {}, true},

    {"konst",       Kind::Button,     990, 4350, kKey, kKeyH, "&K",                        kDigit,      kGrey,     kUnset,     false, AlignDefault, nullptr,     "constant"},
    {"store",       Kind::Button,    3870, 4350, kKey, kKeyH, "&Store",                    kSansBold,   kGrey,     kUnset,     false, AlignDefault, nullptr,     "store"},
    {"Command1_7",  Kind::Button,     990, 4725, kKey, kKeyH, "7",                         kDigit,      kTip,      kUnset,     false, AlignDefault, nullptr},
    {"Command1_8",  Kind::Button,    1950, 4725, kKey, kKeyH, "8",                         kDigit,      kTip,      kUnset,     false, AlignDefault, nullptr},
    {"Command1_9",  Kind::Button,    2910, 4725, kKey, kKeyH, "9",                         kDigit,      kTip,      kUnset,     false, AlignDefault, nullptr},
    {"Command1_12", Kind::Button,    3870, 4725, kKey, kKeyH, "+",                         kOperator,   kGrey,     kUnset,     false, AlignDefault, nullptr,     "plus"},
    {"Command1_4",  Kind::Button,     990, 5115, kKey, kKeyH, "4",                         kDigit,      kTip,      kUnset,     false, AlignDefault, nullptr},
    {"Command1_5",  Kind::Button,    1950, 5115, kKey, kKeyH, "5",                         kDigit,      kTip,      kUnset,     false, AlignDefault, nullptr},
    {"Command1_6",  Kind::Button,    2910, 5115, kKey, kKeyH, "6",                         kDigit,      kTip,      kUnset,     false, AlignDefault, nullptr},
    {"Command1_13", Kind::Button,    3870, 5115, kKey, kKeyH, "-",                         kOperator,   kGrey,     kUnset,     false, AlignDefault, nullptr,     "minus"},
    {"Command1_1",  Kind::Button,     990, 5490, kKey, kKeyH, "1",                         kDigit,      kTip,      kUnset,     false, AlignDefault, nullptr},
    {"Command1_2",  Kind::Button,    1950, 5490, kKey, kKeyH, "2",                         kDigit,      kTip,      kUnset,     false, AlignDefault, nullptr},
    {"Command1_3",  Kind::Button,    2910, 5490, kKey, kKeyH, "3",                         kDigit,      kTip,      kUnset,     false, AlignDefault, nullptr},
    {"Command1_14", Kind::Button,    3870, 5490, kKey, kKeyH, "x",                         kOperator,   kGrey,     kUnset,     false, AlignDefault, nullptr,     "multiply"},
    {"Command1_0",  Kind::Button,    1950, 5880, kKey, kKeyH, "0",                         kDigit,      kTip,      kUnset,     false, AlignDefault, nullptr},
    {"Command1_10", Kind::Button,    2910, 5880, kKey, kKeyH, "\u00B7",                    kDigit,      kTip,      kUnset,     false, AlignDefault, nullptr,     "decimal point"},
    {"Command1_16", Kind::Button,    3870, 5880, kKey, kKeyH, "/",                         kOperator,   kGrey,     kUnset,     false, AlignDefault, nullptr,     "divide"},
    {"clearit",     Kind::Button,    1500, 6240, 2535,   375, "&Clear Entries",            kSansBold,   kGrey,     kUnset,     false, AlignDefault, nullptr},
    {"Command2",    Kind::Button,    4740, 6240, 1665,   375, "E&xit Calc",                kSansBold,   kGrey,     kUnset,     false, AlignDefault, nullptr},

    {"VScroll1",    Kind::ScrollBar, 6600, 4350,  285,  2325, nullptr,                     kWindowFont, kUnset,    kUnset,     false, AlignDefault, nullptr,     "Tape scroll",        {1, tally::kTapeLines}},
    {"Slider1",     Kind::Slider,    4680, 5490, 1815,   330, nullptr,                     kWindowFont, kFace,     kUnset,     false, AlignDefault, nullptr,     "Decimal places",     {0, 4}},

    {"List1",       Kind::List,      7260,  210, 2880,  3765, nullptr,                     kMemory,     kListGrey, kUnset,     false, AlignDefault, kRecallTip,  "Stored subtotals"},
    {"List2",       Kind::List,      7260, 4110, 2880,   255, nullptr,                     kMemory,     kBase,     kUnset,     false, AlignDefault, nullptr,     "Total of stored subtotals"},
    {"removelist",  Kind::Button,    7350, 4500, 2520,   375, "Remove Subtotal from list", kWindowFont, kGrey,     kUnset,     false, AlignDefault, kRemoveTip},
    {"clearlist",   Kind::Button,    7350, 4980, 2520,   375, "Clear Memory",              kWindowFont, kGrey,     kUnset,     false, AlignDefault, nullptr},
    {"conversion",  Kind::Combo,     7470, 5640, 2475,   315, "None",                      kWindowFont, kUnset,    kUnset,     false, AlignDefault, nullptr,     "Convert Entry to"},
    {"convert",     Kind::Button,    7470, 6300, 2475,   345, "None",                      kSansBold,   kUnset,    kUnset,     false, AlignDefault, kConvertTip, "Conversion factor"},
    {"ListView1",   Kind::Tree,       390,    0, 6315,  3405, nullptr,                     kSansBold,   kUnset,    kUnset,     false, AlignDefault, nullptr,     "Conversion factors", {}, true},
};

constexpr QRgb kShadow = 0x808080;
constexpr Rectangle kRectangles[] = {
    {"Shape12", -120,  -30, 7275, 3120, 0x000000}, // the tape's backdrop
    {"Shape3",  1050, 4440,  585, 1455, kShadow},
    {"Shape5",  2010, 4860,  585, 1455, kShadow},
    {"Shape6",  2970, 4860,  585, 1455, kShadow},
    {"Shape8",  3930, 4440,  585, 1845, kShadow},
    {"Shape11", 1710, 6420, 2385,  255, kShadow},
    {"Shape10", 4770, 6345, 1695,  330, kShadow},
    {"Shape15", 6660, 4470,  255, 2265, kShadow},
    {"Shape20", 4740, 5580, 1815,  315, kShadow},
    {"Shape14", 7470, 4590, 2445,  345, kShadow},
    {"Shape13", 7530, 5070, 2385,  345, kShadow},
};

constexpr const char* kTabOrder[] = {
    "Slider1", "Command1_10", "Text2", "Command1_0", "Command1_1", "Command1_2", "Command1_6",
    "Command1_5", "Command1_8", "Command1_9", "VScroll1", "removelist", "List1", "List2", "konst",
    "Command1_12", "Command1_7", "Command1_4", "Command1_3", "Command1_13", "Command1_14",
    "Command1_16", "Text3", "store", "clearit", "Command2", "clearlist", "conversion", "ListView1",
    "convert",
};

// clang-format on

} // namespace

std::span<const Element> elements() {
    return kElements;
}
std::span<const Rectangle> rectangles() {
    return kRectangles;
}
std::span<const char* const> tabOrder() {
    return kTabOrder;
}
Font defaultFont() {
    return kDefault;
}

} // namespace design
