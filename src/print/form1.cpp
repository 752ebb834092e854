#include "print/form1.h"

#include <QApplication>
#include <QDate>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <cmath>

#include "print/pagelayout.h"
#include "shell/access.h"
#include "shell/controls.h"
#include "shell/look.h"
#include "shell/metrics.h"
#include "tape/spokenline.h"

namespace {

// The image keeps QImage's default 96 dots per inch: 15 twips a dot, 4/3 dot a point.
constexpr double kTwipsPerPixel = 15.0;
constexpr double kPixelsPerPoint = 4.0 / 3.0;
constexpr int kClientWidth = 6105;
constexpr int kClientHeight = 7500;

using design::AlignDefault;
using design::Kind;
using design::kUnset;
// clang-format off
constexpr design::Element kButtons[] = {
    // name      kind          left  top   width height caption   font                           background text  border align         tooltip  accessible name
    {"Command1", Kind::Button, 2190, 6930, 1515, 375,  "Print",  {"MS Sans Serif", 8.25, false}, kUnset,    kUnset, false, AlignDefault, nullptr, nullptr},
    {"Command2", Kind::Button, 4170, 6930, 1515, 375,  "Cancel", {"MS Sans Serif", 8.25, true},  kUnset,    kUnset, false, AlignDefault, nullptr, nullptr},
};
// Behind the page image, never shown: the page image is what the window is for.
constexpr design::Element kText[] = {
    {"Text1",    Kind::LineEdit, 30,  30,  6045, 6825, nullptr,  {"MS Sans Serif", 9.75, false}, kUnset,    kUnset, false, AlignDefault, nullptr, "Preview text", {}, true},
};
// clang-format on

} // namespace

// ---- PictureBox ----

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette p = palette();
    // The paper is the system's window colour, the ink black.
    p.setColor(QPalette::Window, p.color(QPalette::Base));
    setPalette(p);
}

void PictureBox::cls() {
    const qreal ratio = devicePixelRatioF();
    image_ = QImage(size() * ratio, QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    image_.fill(palette().color(QPalette::Window));
    CurrentX = 0;
    CurrentY = 0;
    update();
}

double PictureBox::textWidth(const QString& text) const {
    // Measured on the image, the device the text is drawn on, so right edges meet exactly.
    return QFontMetricsF(printFont, &image_).horizontalAdvance(text) * kTwipsPerPixel;
}

double PictureBox::lineHeight() const {
    // Whole dots, so that every row stands the same distance below the one above it.
    return std::round(printFont.pointSizeF() * kPixelsPerPoint) * kTwipsPerPixel;
}

void PictureBox::print(const QString& text, bool endLine) {
    if (image_.isNull())
        cls();
    if (!text.isEmpty()) {
        QPainter painter(&image_);
        painter.setFont(printFont);
        painter.setPen(Qt::black);
        const QPointF baseline(CurrentX / kTwipsPerPixel, CurrentY / kTwipsPerPixel + painter.fontMetrics().ascent());
        painter.drawText(baseline, text);
        update();
    }
    if (endLine) {
        CurrentX = 0;
        CurrentY += lineHeight();
    } else {
        CurrentX += textWidth(text);
    }
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.drawImage(0, 0, image_);
}

// ---- Form1 ----

Form1::Form1(const tally::Tape& t, Outside& out, QWidget* parent) : QWidget(parent, Qt::Window), tape(t), outside(out) {
    setObjectName("Form1");
    setAttribute(Qt::WA_DeleteOnClose);
    // The main window decides when the program ends; an open preview does not keep it running.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle("Print Preview");
    setFont(design::fontOf("Terminal", 4.5));
    setFixedSize(design::twips(0, 0, kClientWidth, kClientHeight).size());

    // Creation order is tab order: Command1, Command2, Picture1, Text1.
    design::build(this, kButtons);
    Command1 = design::control<QPushButton>(this, "Command1");
    Command2 = design::control<QPushButton>(this, "Command2");
    Picture1 = new PictureBox(this);
    Picture1->setObjectName("Picture1");
    Picture1->setGeometry(design::twips(0, 30, 6120, 6810));
    Picture1->printFont = design::fontOf("Terminal", 9);
    Picture1->setAccessibleName("Page preview");
    design::build(this, kText);
    Text1 = design::control<QLineEdit>(this, "Text1");

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    placeOnScreen(*this, QApplication::activeWindow());
    if (parent)
        parent->window()->installEventFilter(this);
}

void Form1::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Command2_Click();
        return;
    }
    auto* button = qobject_cast<QAbstractButton*>(focusWidget());
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && button && button->isEnabled()) {
        button->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    // Closed, not minimised: a minimised calculator takes its preview along by itself.
    if (event->type() == QEvent::Hide && !event->spontaneous())
        close();
    return QWidget::eventFilter(watched, event);
}

void Form1::resizeEvent(QResizeEvent*) {
    drawpreview();
}

void Form1::Command2_Click() {
    close();
}

void Form1::drawpreview() {
    // Every drawing starts from a clean image at the top: a second resize shows the same page,
    // not a second one stacked below the first.
    Picture1->cls();
    Picture1->printFont = design::fontOf("Lucida Console", 5);
    const QDate today = outside.today();
    const QString date = QString::fromStdString(tally::dateText(today.year(), today.month(), today.day()));
    Picture1->print(date);
    Picture1->print(QString());

    // Six texts a row, right edges from the right half to the left; the sixth ends the line.
    const std::vector<tally::PlacedText> texts = tally::previewPage(tape);
    for (int r = 1; r <= tally::kPageRows; ++r) {
        for (const tally::PlacedText& t : texts) {
            if (t.row != r)
                continue;
            const QString text = QString::fromStdString(t.text);
            Picture1->CurrentX = t.right - Picture1->textWidth(text);
            Picture1->print(text, false);
        }
        Picture1->print(QString());
    }
    readPage(date, texts);
}

void Form1::readPage(const QString& date, const std::vector<tally::PlacedText>& texts) {
    // A tape line's three texts by the right edges of the page's two halves; the left half's lines
    // come first, as on the tape.
    const int rowHeight = static_cast<int>(Picture1->lineHeight() / kTwipsPerPixel);
    std::vector<ReadableLines::Line> lines{{date, QRect(0, 0, Picture1->width(), rowHeight)}};
    for (const tally::HalfEdges& half : {tally::kPreviewLeft, tally::kPreviewRight})
        for (int r = 1; r <= tally::kPageRows; ++r) {
            // Past the tape's end the page shows only the form of a line, which says nothing.
            const int line = half.lineNumber == tally::kPreviewLeft.lineNumber ? r : r + tally::kPageRows;
            if (line >= tape.nextline)
                continue;
            std::array<std::string, 3> cells;
            const std::array<int, 3> edges{half.lineNumber, half.entry, half.subtotal};
            for (const tally::PlacedText& t : texts)
                for (std::size_t c = 0; c < edges.size(); ++c)
                    if (t.row == r && t.right == edges[c])
                        cells[c] = t.text;
            const int left = line == r ? 0 : tally::kPreviewLeft.subtotal;
            lines.push_back({QString::fromStdString(tally::spokenLine(cells[0], cells[1], cells[2])),
                             QRect(static_cast<int>(left / kTwipsPerPixel), (r + 1) * rowHeight,
                                   static_cast<int>((half.subtotal - left) / kTwipsPerPixel), rowHeight)});
        }
    if (!pageLines)
        pageLines = new ReadableLines(Picture1, QStringLiteral("Page lines"));
    pageLines->setGeometry(Picture1->rect());
    pageLines->setLines(lines);
}
