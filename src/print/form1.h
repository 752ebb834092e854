#pragma once
// The print-preview window: the first 120 tape lines as a small two-column page image, with
// "Print" (the whole tape on paper, then close) and "Cancel".
#include <QImage>
#include <QPrinterInfo>
#include <QWidget>

#include "core/tape.h"
#include "print/pagelayout.h"
#include "shell/outside.h"

class QLineEdit;
class ReadableLines;
class QPushButton;

// A picture box: an image with a print position, written line by line in its print font.
// Positions are twips from the top-left corner; the widget paints the image, so covering and
// uncovering it never loses a line.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent);

    QFont printFont;
    // The print position in twips.
    double CurrentX = 0;
    double CurrentY = 0;

    // A clean image of the paper colour, print position at the top-left corner.
    void cls();
    // Width of `text` in the print font as the image draws it, in twips.
    double textWidth(const QString& text) const;
    // One line of the print font, in twips: its size in whole dots (a line of Lucida Console is
    // one em high; the taller line boxes of its substitutes would push the last rows off the
    // picture).
    double lineHeight() const;
    // Draws `text` with its top-left corner at the print position and moves the position past
    // it; `endLine` moves it to the start of the next line instead.
    void print(const QString& text, bool endLine = true);

    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
};

class Form1 : public QWidget {
    Q_OBJECT

public:
    // With a parent, the preview is a window of the parent's: it stays above it and closes with it.
    Form1(const tally::Tape& tape, Outside& outside, QWidget* parent = nullptr);

    // Draws the page image from the tape as it is now.
    void drawpreview();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Esc is Cancel; Enter presses the focused button, as in any dialog.
    void keyPressEvent(QKeyEvent* event) override;
    // A preview of the calculator's tape closes with the calculator.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const tally::Tape& tape;
    Outside& outside;

    // ---- controls, by design name ----
    QPushButton* Command1 = nullptr; // "Print"
    QPushButton* Command2 = nullptr; // "Cancel"
    PictureBox* Picture1 = nullptr;
    QLineEdit* Text1 = nullptr;

    // ---- buttons ----
    // Prints the whole tape, then closes the window (print/printing.cpp).
    void Command1_Click();
    void Command2_Click();

    ReadableLines* pageLines = nullptr;
    // The page's lines for a screen reader, as the tape view's: the date, then each tape line.
    void readPage(const QString& date, const std::vector<tally::PlacedText>& texts);
    void tellUser(const QString& title, const QString& text) { outside.tell(this, title, text, true); }
    QPrinterInfo findPrinter() { return outside.findPrinter(); }
    QString askPdfName() { return outside.askFileName(this, Outside::FileKind::SavePdf); }
};
