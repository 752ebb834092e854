// The nine tape rows on the real window: which lines show where after printout, after scrolling,
// after the slider and the arrow keys of the entry box.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <memory>

#include "core/taperule.h"
#include "fixture.h"

namespace {

// Lines shown on rows 8..0, top row first; 0 for an empty row.
QList<int> shownLines(const Calculator& w) {
    QList<int> lines;
    for (int r = 8; r >= 0; --r) lines << lineOnRow(w, r);
    return lines;
}

// The window rule: row r shows line bottom - r, or nothing below line 1.
QList<int> expectedLines(int bottom) {
    QList<int> lines;
    for (int r = 8; r >= 0; --r) lines << std::max(bottom - r, 0);
    return lines;
}

// A tape of `lines` lines whose scroll bar reaches its last line, as keying them leaves it.
void tapeOf(CalcRig& rig, int lines) {
    fillTape(rig.state, lines);
    rig.window.VScroll1->setMaximum(lines);
}

} // namespace

class TestTapeView : public QObject {
    Q_OBJECT

private slots:
    void windowRule_data();
    void windowRule();
    void skipscrollConsumedByNextChange();
    void slider_data();
    void slider();
    void scrollBarFocus_data();
    void scrollBarFocus();
    void arrows_data();
    void arrows();
    void emptySubtotal();
    void accessibleNamesFollowText();
};

void TestTapeView::windowRule_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("scrollTo"); // 0: printout, the newest lines; else the scroll bar's value
    QTest::addColumn<QString>("bottomRow");
    QTest::newRow("printout, 3 lines") << 3 << 0 << "3 #|3.00 +|6.00 =";
    QTest::newRow("printout, 9 lines") << 9 << 0 << "9 #|9.00 +|45.00 =";
    QTest::newRow("printout, 10 lines") << 10 << 0 << "10 #|10.00 +|55.00 =";
    QTest::newRow("printout, 50 lines") << 50 << 0 << "50 #|50.00 +|1,275.00 =";
    QTest::newRow("scrolled to 3: blank rows above line 1") << 50 << 3 << "3 #|3.00 +|6.00 =";
    QTest::newRow("scrolled to 50: the newest lines") << 50 << 50 << "50 #|50.00 +|1,275.00 =";
}

void TestTapeView::windowRule() {
    QFETCH(int, lines);
    QFETCH(int, scrollTo);
    QFETCH(QString, bottomRow);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    tapeOf(*rig, lines);
    w.printout();
    rig->sounds.played.clear();
    w.viewmode = 2;
    w.Command1[7]->setFocus();
    if (scrollTo) w.VScroll1->setValue(scrollTo);
    else w.printout();
    const int bottom = scrollTo ? scrollTo : lines;
    QCOMPARE(shownLines(w), expectedLines(bottom));
    QCOMPARE(rowText(w, 0), bottomRow);
    if (bottom <= 9) QCOMPARE(rowText(w, bottom - 1), QString("1 #|1.00  |1.00 ="));
    for (int r = bottom; r < 9; ++r) QCOMPARE(rowText(w, r), QString("||"));
    QCOMPARE(w.viewmode, scrollTo ? 2 : 0);
    if (scrollTo) QCOMPARE(w.scrollline, scrollTo);
    QCOMPARE(rig->sounds.played, QStringList(scrollTo ? 1 : 0, "\\calc1"));
    QVERIFY(w.Text2->hasFocus());
}

void TestTapeView::skipscrollConsumedByNextChange() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    // Line 1 leaves the scroll bar where it was, so no change event takes the flag.
    QTest::mouseClick(w.Command1[5], Qt::LeftButton);
    QTest::mouseClick(w.Command1[tally::kAdd], Qt::LeftButton);
    QCOMPARE(w.skipscroll, 1);
    QTest::mouseClick(w.Command1[3], Qt::LeftButton);
    QTest::mouseClick(w.Command1[tally::kAdd], Qt::LeftButton);
    QCOMPARE(w.skipscroll, 0);
    // The change that moved the scroll bar to line 2 only took the flag: no scroll sound.
    QCOMPARE(rig->sounds.played, (QStringList{"calc2", "calc1", "calc2", "calc1"}));
    QCOMPARE(w.viewmode, 0);
}

void TestTapeView::slider_data() {
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("bottomRow");
    QTest::newRow("0 decimals") << 0 << "20 #|20.00 +|210 =";
    QTest::newRow("4 decimals") << 4 << "20 #|20.00 +|210.0000 =";
}

void TestTapeView::slider() {
    QFETCH(int, places);
    QFETCH(QString, bottomRow);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    tapeOf(*rig, 20);
    w.VScroll1->setValue(5);
    rig->sounds.played.clear();
    w.Slider1->setValue(places); // redraws the newest lines
    QCOMPARE(w.viewmode, 0);
    QCOMPARE(shownLines(w), expectedLines(20));
    QCOMPARE(rowText(w, 0), bottomRow);
    QCOMPARE(rig->sounds.played, QStringList{"\\calc2"});
    QVERIFY(w.Text2->hasFocus());
}

void TestTapeView::scrollBarFocus_data() {
    QTest::addColumn<int>("lines");
    QTest::newRow("20 lines") << 20;
    QTest::newRow("empty tape") << 0;
}

void TestTapeView::scrollBarFocus() {
    QFETCH(int, lines);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    if (lines) {
        tapeOf(*rig, lines);
        w.VScroll1->setValue(10);
        w.printout();
        w.skipscroll = 1;
    } else {
        w.viewmode = 2;
        w.VScroll1->setValue(5); // nothing to scroll through
        QCOMPARE(w.viewmode, 0);
    }
    rig->sounds.played.clear();
    w.Text3->show();

    w.VScroll1->setFocus(Qt::MouseFocusReason);
    // On a tape an edit in progress is dropped and the view goes back to the scroll bar's line.
    QCOMPARE(w.Text3->isHidden(), lines > 0);
    QCOMPARE(w.skipscroll, 0);
    QCOMPARE(shownLines(w), expectedLines(lines ? 10 : 0));
    QCOMPARE(w.viewmode, lines ? 2 : 0);
    QCOMPARE(rig->sounds.played, QStringList());
    if (lines) QVERIFY(w.Text2->hasFocus());
}

void TestTapeView::arrows_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("start");     // scroll value before the key; at the last line, the newest view
    QTest::addColumn<int>("skipscroll");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("sounds");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("scrollline");
    QTest::addColumn<int>("bottom");
    // The nested change draws line 19, the Up key's own redraw then line 18.
    QTest::newRow("Up from the newest") << 20 << 20 << 0 << int(Qt::Key_Up) << 2 << 19 << 18 << 18;
    QTest::newRow("Up only clears skipscroll") << 20 << 20 << 1 << int(Qt::Key_Up) << 0 << 20 << 20 << 20;
    QTest::newRow("Down back to the end") << 20 << 19 << 0 << int(Qt::Key_Down) << 1 << 20 << 20 << 20;
    QTest::newRow("Down at the end") << 20 << 20 << 0 << int(Qt::Key_Down) << 0 << 20 << 20 << 20;
    QTest::newRow("Up on an empty tape") << 0 << 1 << 0 << int(Qt::Key_Up) << 0 << 1 << 0 << 0;
    QTest::newRow("Down on an empty tape") << 0 << 1 << 0 << int(Qt::Key_Down) << 0 << 1 << 0 << 0;
}

void TestTapeView::arrows() {
    QFETCH(int, lines);
    QFETCH(int, start);
    QFETCH(int, skipscroll);
    QFETCH(int, key);
    QFETCH(int, sounds);
    QFETCH(int, value);
    QFETCH(int, scrollline);
    QFETCH(int, bottom);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    if (lines) {
        tapeOf(*rig, lines);
        w.VScroll1->setValue(start);
        if (start == lines) w.printout();
    }
    w.skipscroll = skipscroll;
    w.Text2->setText("12");
    w.Text2->setCursorPosition(1);
    rig->sounds.played.clear();

    QTest::keyClick(w.Text2, Qt::Key(key));
    QCOMPARE(rig->sounds.played, QStringList(sounds, "\\calc1"));
    QCOMPARE(w.VScroll1->value(), value);
    QCOMPARE(w.scrollline, scrollline);
    QCOMPARE(lineOnRow(w, 0), bottom);
    QCOMPARE(w.skipscroll, 0);
    if (key == Qt::Key_Down) QCOMPARE(w.Text2->cursorPosition(), 1); // the key never reaches the box
}

void TestTapeView::emptySubtotal() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    tapeOf(*rig, 3);
    rig->state.subtotals[2].clear(); // a failed computation
    w.printout();
    QCOMPARE(rowText(w, 1), QString("2 #|2.00 +|"));
    w.VScroll1->setValue(3);
    QCOMPARE(rowText(w, 1), QString("2 #|2.00 +| ="));
}

void TestTapeView::accessibleNamesFollowText() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    tapeOf(*rig, 12);
    auto check = [&w] {
        for (auto* column : {&w.Label10, &w.Label11, &w.Label12})
            for (QLabel* cell : *column)
                if (cell->accessibleName() != cell->text()) return cell->objectName();
        return QString();
    };
    w.printout();
    QCOMPARE(check(), QString());
    w.VScroll1->setValue(3); // rows above line 1 are emptied
    QCOMPARE(check(), QString());
    QTest::mouseClick(w.clearit, Qt::LeftButton);
    QCOMPARE(check(), QString());
}

QTEST_MAIN(TestTapeView)
#include "test_tapeview.moc"
