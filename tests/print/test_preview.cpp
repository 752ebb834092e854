#include <QtTest>

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include "print/form1.h"
#include "print/pagelayout.h"
#include "shell/sounds.h"
#include "window/calculator.h"

using namespace tally;

namespace {

constexpr double kTwipsPerPixel = 15.0;

// Entries and subtotals of many lengths, so that right alignment shows in every column.
void fillTape(State& state, int lines) {
    const char* entries[] = {"5 +", "1234567.125 x", ".5 -", "98765 /", "12.5 +"};
    const char* subtotals[] = {"5", "", "1234567.5", "-3", "0.125"};
    state.entries[1] = "15  ";
    state.subtotals[1] = "15";
    for (int k = 2; k <= lines; ++k) {
        state.entries[k] = entries[k % 5];
        state.subtotals[k] = subtotals[k % 5];
    }
    state.nextline = lines + 1;
}

// The rightmost dark pixel in a band of the image, -1 when the band is blank.
int inkRight(const QImage& image, const QRect& band) {
    const QRect r = band.intersected(image.rect());
    for (int x = r.right(); x >= r.left(); --x)
        for (int y = r.top(); y <= r.bottom(); ++y)
            if (qGray(image.pixel(x, y)) < 128) return x;
    return -1;
}

int rowPitch(const Form1& form) { return qRound(form.Picture1->lineHeight() / kTwipsPerPixel); }

// The page as it should look, drawn straight from the layout with a painter of its own.
QImage expectedPage(const Form1& form, State state) {
    const QImage& shown = form.Picture1->image();
    QImage page(shown.size(), shown.format());
    page.setDevicePixelRatio(shown.devicePixelRatio());
    page.fill(form.Picture1->palette().color(QPalette::Window));
    QPainter painter(&page);
    painter.setFont(form.Picture1->printFont);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(form.Picture1->printFont, &page);
    const double pitch = rowPitch(form);
    const QDate d = QDate::currentDate();
    painter.drawText(QPointF(0, metrics.ascent()), QString::fromStdString(dateText(d.year(), d.month(), d.day())));
    for (const PlacedText& t : previewPage(state)) {
        const QString text = QString::fromStdString(t.text);
        const double x = t.right / kTwipsPerPixel - metrics.horizontalAdvance(text);
        painter.drawText(QPointF(x, (t.row + 1) * pitch + metrics.ascent()), text);
    }
    return page;
}

} // namespace

class TestPreview : public QObject {
    Q_OBJECT
private slots:
    void imageFollowsLayout();
    void rightEdgesLineUp();
    void resizeAndExposeKeepTheImage();
    void openTwiceBringsSameWindowAndOldImage();
};

// The texts stand where the layout puts them, the date on top; all 60 rows fit the picture.
void TestPreview::imageFollowsLayout() {
    State state;
    fillTape(state, 130);
    state.subtotals[7] = std::string(1 << 20, 'x'); // no number: only what a page can show is measured and drawn
    Form1 form(state);
    form.show();
    QCOMPARE(form.windowTitle(), QString("Print Preview"));
    QCOMPARE(form.Picture1->image(), expectedPage(form, state));
    for (const PlacedText& t : previewPage(state)) QVERIFY(t.text.size() <= 200);
    const QImage& image = form.Picture1->image();
    const int pitch = rowPitch(form);
    QVERIFY(inkRight(image, QRect(0, 61 * pitch, image.width(), pitch)) >= 0);
    QCOMPARE(inkRight(image, QRect(0, 62 * pitch, image.width(), image.height())), -1);
}

// Texts of different lengths end at the same pixel, at their column's edge.
void TestPreview::rightEdgesLineUp() {
    State state;
    fillTape(state, 120);
    Form1 form(state);
    form.show();
    const QImage& image = form.Picture1->image();
    const int pitch = rowPitch(form);
    for (const HalfEdges& half : {kPreviewLeft, kPreviewRight}) {
        for (int edge : {half.lineNumber, half.entry, half.subtotal}) {
            const int edgePx = qRound(edge / kTwipsPerPixel);
            QSet<int> ends;
            for (int r = 2; r <= kPageRows; ++r) {
                const int end = inkRight(image, QRect(edgePx - 30, (r + 1) * pitch, 31, pitch));
                QVERIFY2(end > edgePx - 4, qPrintable(QString("row %1 ends at %2, edge %3").arg(r).arg(end).arg(edgePx)));
                ends.insert(end);
            }
            // Operator signs differ in width by a pixel at most.
            QVERIFY2(ends.size() <= 2, qPrintable(QString("edge %1: %2 right ends").arg(edge).arg(ends.size())));
        }
    }
}

// A resize draws nothing over the image, and an expose paints the image itself.
void TestPreview::resizeAndExposeKeepTheImage() {
    State state;
    fillTape(state, 20);
    Form1 form(state);
    form.show();
    const QImage first = form.Picture1->image();
    QResizeEvent resize(form.size(), form.size());
    QApplication::sendEvent(&form, &resize);
    QCOMPARE(form.Picture1->image(), first);
    QCOMPARE(form.Picture1->grab().toImage().convertToFormat(QImage::Format_RGB32),
             first.convertToFormat(QImage::Format_RGB32));
}

// One preview at a time, keeping its image; Cancel closes and discards it.
void TestPreview::openTwiceBringsSameWindowAndOldImage() {
    State state;
    SilentPlayer sounds;
    Calculator calc(state, sounds);
    fillTape(state, 3);
    calc.mnuPrint->trigger();
    QPointer<Form1> form = calc.preview;
    QVERIFY(form && form->isVisible());
    QVERIFY(form->parentWidget() == nullptr); // modeless, no owner
    QVERIFY(form->Picture1->isVisible());
    QVERIFY(!form->Text1->isVisible());
    const QImage before = form->Picture1->image();

    // Lines added while the preview is open do not change it, nor does opening it again.
    state.entries[4] = "7 +";
    state.subtotals[4] = "777";
    state.nextline = 5;
    calc.mnuPrint->trigger();
    calc.showpreview(); // the editor's way in
    QCOMPARE(calc.preview, form);
    int previews = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) previews += qobject_cast<Form1*>(w) != nullptr;
    QCOMPARE(previews, 1);
    QCOMPARE(form->Picture1->image(), before);
    form->drawpreview(); // a fresh drawing does show line 4, so the comparison above can tell
    QVERIFY(form->Picture1->image() != before);
    QTest::mouseClick(form->Command2, Qt::LeftButton); // Cancel: closed and discarded
    QVERIFY(!form->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(form.isNull() && calc.preview.isNull());
}

QTEST_MAIN(TestPreview)
#include "test_preview.moc"
