#include "window/design.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include "core/startup.h"

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

constexpr int kKey = 615, kKeyH = 315;

// clang-format off
constexpr Element kElements[] = {
    // name         left  top   width height caption                       font        background text       border align         tooltip
    {"Label7",       60,    0,   855, 165, "# ",                           kHeading,   kUnset,   kWhite,    false, AlignCentre,  nullptr},
    {"Label8",     1500,    0,  1695, 225, "Entry",                        kHeading,   kUnset,   kWhite,    false, AlignCentre,  nullptr},
    {"Label9",     4290,    0,  2175, 195, "Subtotal",                     kHeading,   kUnset,   kWhite,    false, AlignCentre,  nullptr},
    {"Label2",     4740, 4350,  1695, 525, "To Edit - Click on Entries Esc to cancel",
                                                                           {"Arial Narrow", 8.25, false}, kTip, kBlack, true, AlignCentre, nullptr},
    {"knst",       1350, 3120,  2655, 255, "Constant = ",                  kWindowFont, kUnset,  kDarkRed,  false, AlignDefault, nullptr},
    {"Label6",     5970, 4080,  1125, 255, "",                             kSansBold,  kUnset,   kRed,      false, AlignRight,   nullptr},
    {"Label1",     4770, 5100,  1665, 375,
     "          Dec Points           0      1      2       3      4   Dec Pts",
                                                                           kWindowFont, kUnset,  kBlack,    false, AlignDefault, nullptr},
    {"Label5",     7470, 5460,  1785, 225, "Convert Entry to",             kSansBold,  kUnset,   kRed,      false, AlignDefault, nullptr},
    {"Label3",     7560, 6090,  2205, 225, "Conversion Factor Button",     kWindowFont, kUnset,  kUnset,    false, AlignDefault, nullptr},

    {"Text2",       270, 3480,  6705, 555, nullptr,                        {"Arial", 24, true},    kBlack, rgb(0x80FF80), false, AlignDefault, nullptr},
    {"Text3",      1410, 3510,  2955, 330, nullptr,                        {"Arial", 14.25, true}, kBlack, rgb(0xFFFF00), false, AlignDefault, nullptr},

    {"konst",       990, 4350,  kKey, kKeyH, "&K",                         kDigit,     kGrey,    kUnset,    false, AlignDefault, nullptr},
    {"store",      3870, 4350,  kKey, kKeyH, "&Store",                     kSansBold,  kGrey,    kUnset,    false, AlignDefault, nullptr},
    {"Command1_7",  990, 4725,  kKey, kKeyH, "7",                          kDigit,     kTip,     kUnset,    false, AlignDefault, nullptr},
    {"Command1_8", 1950, 4725,  kKey, kKeyH, "8",                          kDigit,     kTip,     kUnset,    false, AlignDefault, nullptr},
    {"Command1_9", 2910, 4725,  kKey, kKeyH, "9",                          kDigit,     kTip,     kUnset,    false, AlignDefault, nullptr},
    {"Command1_12",3870, 4725,  kKey, kKeyH, "+",                          kOperator,  kGrey,    kUnset,    false, AlignDefault, nullptr},
    {"Command1_4",  990, 5115,  kKey, kKeyH, "4",                          kDigit,     kTip,     kUnset,    false, AlignDefault, nullptr},
    {"Command1_5", 1950, 5115,  kKey, kKeyH, "5",                          kDigit,     kTip,     kUnset,    false, AlignDefault, nullptr},
    {"Command1_6", 2910, 5115,  kKey, kKeyH, "6",                          kDigit,     kTip,     kUnset,    false, AlignDefault, nullptr},
    {"Command1_13",3870, 5115,  kKey, kKeyH, "-",                          kOperator,  kGrey,    kUnset,    false, AlignDefault, nullptr},
    {"Command1_1",  990, 5490,  kKey, kKeyH, "1",                          kDigit,     kTip,     kUnset,    false, AlignDefault, nullptr},
    {"Command1_2", 1950, 5490,  kKey, kKeyH, "2",                          kDigit,     kTip,     kUnset,    false, AlignDefault, nullptr},
    {"Command1_3", 2910, 5490,  kKey, kKeyH, "3",                          kDigit,     kTip,     kUnset,    false, AlignDefault, nullptr},
    {"Command1_14",3870, 5490,  kKey, kKeyH, "x",                          kOperator,  kGrey,    kUnset,    false, AlignDefault, nullptr},
    {"Command1_0", 1950, 5880,  kKey, kKeyH, "0",                          kDigit,     kTip,     kUnset,    false, AlignDefault, nullptr},
    {"Command1_10",2910, 5880,  kKey, kKeyH, "\u00B7",                     kDigit,     kTip,     kUnset,    false, AlignDefault, nullptr},
    {"Command1_16",3870, 5880,  kKey, kKeyH, "/",                          kOperator,  kGrey,    kUnset,    false, AlignDefault, nullptr},
    {"clearit",    1500, 6240,  2535, 375, "&Clear Entries",               kSansBold,  kGrey,    kUnset,    false, AlignDefault, nullptr},
    {"Command2",   4740, 6240,  1665, 375, "E&xit Calc",                   kSansBold,  kGrey,    kUnset,    false, AlignDefault, nullptr},

    {"VScroll1",   6600, 4350,   285, 2325, nullptr,                       kWindowFont, kUnset,  kUnset,    false, AlignDefault, nullptr},
    {"Slider1",    4680, 5490,  1815, 330, nullptr,                        kWindowFont, kFace,   kUnset,    false, AlignDefault, nullptr},

    {"List1",      7260,  210,  2880, 3765, nullptr,                       kMemory,    rgb(0xE0E0E0), kUnset, false, AlignDefault, "Double Click to move data to main window"},
    {"List2",      7260, 4110,  2880, 255, nullptr,                        kMemory,    role(QPalette::Base), kUnset, false, AlignDefault, nullptr},
    {"removelist", 7350, 4500,  2520, 375, "Remove Subtotal from list",    kWindowFont, kGrey,   kUnset,    false, AlignDefault, "Highlight Subtotal to remove"},
    {"clearlist",  7350, 4980,  2520, 375, "Clear Memory",                 kWindowFont, kGrey,   kUnset,    false, AlignDefault, nullptr},
    {"conversion", 7470, 5640,  2475, 315, "None",                         kWindowFont, kUnset,  kUnset,    false, AlignDefault, nullptr},
    {"convert",    7470, 6300,  2475, 345, "None",                         kSansBold,  kUnset,   kUnset,    false, AlignDefault, "Click on to convert input"},
    {"ListView1",   390,    0,  6315, 3405, nullptr,                       kSansBold,  kUnset,   kUnset,    false, AlignDefault, nullptr},
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

constexpr Colour kLight = role(QPalette::Light); // the 3-D highlight
constexpr Colour kPaleGreen = rgb(0xC0FFC0);
constexpr Colour kInk = role(QPalette::WindowText);
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

QRect twips(int left, int top, int width, int height) {
    using tally::twipsToPixels;
    const int x = twipsToPixels(left), y = twipsToPixels(top);
    // Edges rounded, so neighbours that touch in twips touch in pixels.
    return QRect(x, y, twipsToPixels(left + width) - x, twipsToPixels(top + height) - y);
}

QColor Colour::resolve(const QPalette& palette) const {
    switch (kind) {
    case Rgb: return QColor::fromRgb(rgb);
    case Role: return palette.color(role);
    default: return {};
    }
}

std::span<const Element> elements() { return kElements; }
std::span<const Rectangle> rectangles() { return kRectangles; }
std::span<const char* const> tabOrder() { return kTabOrder; }
std::span<const TapeRow> tapeRows() { return kTapeRows; }
std::span<const TapeColumn> tapeColumns() { return kTapeColumns; }
Font tapeFont() { return {"System", 9.75, true}; }
Font defaultFont() { return kDefault; }

void installFontSubstitutes() {
    const QStringList sans{"Liberation Sans", "DejaVu Sans"};
    const QStringList mono{"Liberation Mono", "DejaVu Sans Mono"};
    QFont::insertSubstitutions("MS Sans Serif", sans);
    QFont::insertSubstitutions("System", sans);
    QFont::insertSubstitutions("Arial", sans);
    QFont::insertSubstitutions("Arial Narrow", {"Liberation Sans Narrow", "DejaVu Sans Condensed"});
    QFont::insertSubstitutions("Lucida Console", mono);
    QFont::insertSubstitutions("Terminal", mono);
}

void applyFont(QWidget* widget, const Font& font) {
    if (!font.family) return;
    QFont f(QString::fromLatin1(font.family));
    f.setPointSizeF(font.points);
    f.setBold(font.bold);
    widget->setFont(f);
}

void applyColours(QWidget* widget, Colour background, Colour text) {
    QPalette palette = widget->palette();
    if (background.kind != Colour::Unset) {
        const QColor c = background.resolve(palette);
        for (auto r : {QPalette::Window, QPalette::Base, QPalette::Button}) palette.setColor(r, c);
        // Opaque: nothing painted on the window beneath (the shadow rectangles) shows through.
        widget->setAutoFillBackground(true);
    }
    if (text.kind != Colour::Unset) {
        const QColor c = text.resolve(palette);
        for (auto r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) palette.setColor(r, c);
    }
    widget->setPalette(palette);
}

void apply(QWidget* widget, const Element& e) {
    widget->setGeometry(twips(e.left, e.top, e.width, e.height));
    applyFont(widget, e.font);
    applyColours(widget, e.background, e.text);
    if (e.tooltip) widget->setToolTip(QString::fromUtf8(e.tooltip));
    const QString caption = e.caption ? QString::fromUtf8(e.caption) : QString();
    Qt::Alignment align = Qt::AlignVCenter;
    if (e.align == AlignLeft) align |= Qt::AlignLeft;
    if (e.align == AlignCentre) align = Qt::AlignCenter;
    if (e.align == AlignRight) align |= Qt::AlignRight;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (e.caption) label->setText(caption);
        label->setAlignment(e.align == AlignDefault ? Qt::AlignLeft | Qt::AlignTop : align);
        if (e.border) {
            // A raised panel's edges are drawn in Light and Dark, a plain box's in the text colour:
            // the border stays black whatever colour the text has.
            label->setFrameShape(QFrame::Panel);
            label->setFrameShadow(QFrame::Raised);
            label->setLineWidth(1);
            QPalette palette = label->palette();
            for (auto r : {QPalette::Light, QPalette::Dark}) palette.setColor(r, Qt::black);
            label->setPalette(palette);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (e.caption) button->setText(caption);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (e.caption) combo->setEditText(caption);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (e.caption) edit->setText(caption);
    }
}

} // namespace design
