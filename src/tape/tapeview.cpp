// The nine visible tape rows: the newest lines (printout) or the lines at the scroll position
// (printscroll), the scroll bar's handlers and the decimal-places slider.
#include "tape/tapeview.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSlider>

#include "shell/controls.h"
#include "shell/sounds.h"
#include "shell/typing.h"
#include "tape/copytext.h"
#include "tape/tapedesign.h"
#include "tape/tapereading.h"

namespace {
// A figure wider than its cell would lose its front to the label's clipping without a sign.
// A text of at most `sureChars` characters fits unmeasured, which keeps a redraw of the rows cheap.
tally::Fits fitsIn(const QLabel* cell, int sureChars) {
    return [cell, sureChars](std::string_view text) {
        if (static_cast<int>(text.size()) <= sureChars)
            return true;
        const QString t = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        return cell->fontMetrics().horizontalAdvance(t) <= cell->contentsRect().width();
    };
}

int sureFitChars(const QLabel* cell) {
    const QFontMetrics metrics = cell->fontMetrics();
    int widest = 1;
    for (QChar c : QStringLiteral("0123456789,.-+x/= E"))
        widest = std::max(widest, metrics.horizontalAdvance(c));
    return cell->contentsRect().width() / widest;
}

void clearCell(QLabel* cell) {
    cell->clear();
    cell->setAccessibleName(QString());
    cell->setAccessibleDescription(QString());
}
} // namespace

TapeView::TapeView(QWidget* body, tally::Tape& t, SoundPlayer& player, QWidget* entryBox)
    : QObject(body), tape(t), sounds(player), entry(entryBox) {
    setObjectName("tapeView");
    // The cells lie under every other control, as if made first.
    QWidget* front = body->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).value(0);
    std::array<std::array<QLabel*, 9>*, 3> columns{&Label10, &Label11, &Label12};
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const design::TapeColumn& column = design::tapeColumns()[c];
        for (int r = 0; r < tally::kVisibleRows; ++r) {
            const design::TapeRow& row = design::tapeRows()[r];
            auto* cell = new QLabel(body);
            cell->setObjectName(QString("%1_%2").arg(column.array).arg(r));
            design::apply(cell,
                          {column.array, design::Kind::Label, column.left, row.top, column.width, row.height, "",
                           design::tapeFont(), row.background, row.text, true, design::AlignRight, nullptr, nullptr});
            if (front)
                cell->stackUnder(front);
            (*columns[c])[r] = cell;
            cell->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(cell, &QWidget::customContextMenuRequested, this,
                    [this, cell](const QPoint& at) { emit menuRequested(cell->mapToGlobal(at)); });
        }
    }
    sureFit = {sureFitChars(Label11[0]), sureFitChars(Label12[0])};
    VScroll1 = design::control<QScrollBar>(body, "VScroll1");
    Slider1 = design::control<QSlider>(body, "Slider1");
    Text3 = design::control<QLineEdit>(body, "Text3");
    Text3->setValidator(new SavableText(Text3));
    Slider1->setValue(2); // before its handler is connected: start-up plays no sound
    design::control<QLabel>(body, "Label1")->setBuddy(Slider1);
    readTapeRows(*body, *entry); // lays the list a screen reader reads the tape's lines from
    for (std::size_t i = 0; i < patterns.size(); ++i)
        patterns[i] = std::string(tally::kSubtotalPatterns[i]);
    // Direct: the change handler runs inside the setter, and only on a real change.
    connect(
        VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); }, Qt::DirectConnection);
    connect(Slider1, &QSlider::valueChanged, this, [this] { Slider1_Scroll(); });
}

void TapeView::play(tally::Sound sound) {
    if (sound != tally::Sound::None)
        sounds.play(sound);
}

void TapeView::drawLine(int n, int r, bool scrolled) {
    if (n < 1 || n > tally::kTapeLines || r < 0 || r >= tally::kVisibleRows)
        return;
    const std::string& line = tape.entries[n];
    const std::string& subtotal = tape.subtotals[n];
    const std::string& pattern = patterns.at(decplaces);
    auto set = [](QLabel* label, const std::string& text) {
        const QString t = QString::fromStdString(text);
        if (label->text() == t)
            return false;
        label->setText(t);
        label->setAccessibleName(t);
        return true;
    };
    // A screen reader hears the caption, then which line and column it belongs to; the line
    // changes with the line-number cell.
    if (set(Label10[r], tally::lineNumberCell(n))) {
        Label11[r]->setAccessibleDescription(QString("line %1 entry").arg(n));
        Label12[r]->setAccessibleDescription(QString("line %1 subtotal").arg(n));
    }
    // A text that holds no readable number shows as it stands: leaving the cell as it was would
    // show another line's figure on this line.
    set(Label11[r], tally::entryCell(line, fitsIn(Label11[r], sureFit[0])).value_or(line));
    const tally::Fits fits = fitsIn(Label12[r], sureFit[1]);
    set(Label12[r],
        scrolled ? tally::subtotalCell(subtotal, pattern, fits) : tally::newestSubtotalCell(subtotal, pattern, fits));
}

void TapeView::clearRows() {
    for (auto* column : {&Label10, &Label11, &Label12})
        for (QLabel* cell : *column)
            clearCell(cell);
    readTapeRows(*Label10[0]->parentWidget(), *entry);
}

void TapeView::showView(const tally::ViewLines& view) {
    for (int r = 0; r < tally::kVisibleRows; ++r) {
        if (view.lines[r])
            drawLine(view.lines[r], r, view.scrolled);
        else if (view.scrolled)
            for (auto* column : {&Label10, &Label11, &Label12})
                clearCell((*column)[r]);
    }
    readTapeRows(*Label10[0]->parentWidget(), *entry);
    entry->setFocus();
}

void TapeView::printout() {
    viewmode = 0;
    showView(tally::newestView(tape.nextline));
}

void TapeView::printscroll() {
    viewmode = 2;
    if (scrollline == 0)
        return;
    showView(tally::scrolledView(scrollline - 1));
    scrollline = scrollline - 1;
}

void TapeView::scrollToEnd() {
    // Moving the scroll bar runs its change handler inside the setters; skipscroll makes that
    // handler leave the drawing to printout.
    skipscroll = 1;
    VScroll1->setMaximum(std::max(tape.nextline - 1, VScroll1->minimum()));
    VScroll1->setValue(VScroll1->maximum());
    scrollline = VScroll1->value();
}

void TapeView::showLoaded() {
    // An empty tape keeps the bar at 1, as at start: a maximum of 0 would pull its minimum to 0.
    const int lines = tape.nextline - 1;
    VScroll1->setMaximum(std::max(lines, VScroll1->minimum()));
    VScroll1->setValue(VScroll1->maximum());
    scrollline = lines + 1;
    printscroll();
}

void TapeView::VScroll1_Change() {
    if (tape.empty()) {
        viewmode = 0;
        return;
    }
    if (skipscroll == 1) {
        skipscroll = 0;
        return;
    }
    play(tally::Sound::Calc1);
    scrollline = VScroll1->value() + 1;
    printscroll();
}

void TapeView::VScroll1_GotFocus() {
    if (tape.empty())
        return;
    Text3->hide(); // an edit in progress is dropped unwritten
    skipscroll = 0;
    scrollline = VScroll1->value() + 1;
    printscroll();
}

void TapeView::Slider1_Scroll() {
    play(tally::Sound::Calc2);
    decplaces = Slider1->value();
    printout();
}

bool TapeView::entryKeyDown(int keyCode) {
    if (keyCode == Qt::Key_F2) { // the keyboard's click on the bottom row's entry
        Label11_Click(0);
        return true;
    }
    if (VScroll1->value() == 0)
        return false;
    if (tape.empty())
        return false;
    if (keyCode == Qt::Key_Up) {
        if (skipscroll == 1) {
            skipscroll = 0;
            return false;
        }
        play(tally::Sound::Calc1);
        scrollline = VScroll1->value() - 1;
        // At the top the value cannot go lower; the redraw below still runs.
        if (VScroll1->value() > VScroll1->minimum())
            VScroll1->setValue(VScroll1->value() - 1);
        printscroll();
        return false; // the box's own Up handling follows
    }
    if (keyCode == Qt::Key_Down) {
        if (VScroll1->value() < VScroll1->maximum())
            VScroll1->setValue(VScroll1->value() + 1);
        return true;
    }
    return false;
}

bool TapeView::filterEvent(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    auto menuKey = [this] { emit menuKeyPressed(); };
    if (watched == Text3)
        return lineBoxEvent(
            Text3, event, [this](int key) { return Text3_KeyDown(key); },
            [this](char16_t c) { return Text3_KeyPress(c); }, menuKey);
    if (watched == VScroll1 && menuKeyEvent(event, menuKey))
        return true;
    if (type == QEvent::MouseButtonRelease) {
        for (int r = 0; r < tally::kVisibleRows; ++r)
            if (watched == Label11[r] &&
                Label11[r]->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
                Label11_Click(r);
                return true;
            }
    }
    if (watched == VScroll1 && type == QEvent::FocusIn)
        VScroll1_GotFocus();
    return false;
}

std::string TapeView::copyText() const {
    return tally::copyText(tape, patterns.at(decplaces));
}
