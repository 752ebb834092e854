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
    void printoutRule_data();
    void printoutRule();
    void scrolling_data();
    void scrolling();
    void skipscrollConsumedByNextChange();
    void slider_data();
    void slider();
    void scrollBarFocus();
    void emptyTape();
    void arrows_data();
    void arrows();
    void emptySubtotal();
    void accessibleNamesFollowText();
};

void TestTapeView::printoutRule_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("bottomRow");
    QTest::newRow("3 lines") << 3 << "3 #|3.00 +|6.00 =";
    QTest::newRow("9 lines") << 9 << "9 #|9.00 +|45.00 =";
    QTest::newRow("10 lines") << 10 << "10 #|10.00 +|55.00 =";
    QTest::newRow("50 lines") << 50 << "50 #|50.00 +|1,275.00 =";
}

void TestTapeView::printoutRule() {
    QFETCH(int, lines);
    QFETCH(QString, bottomRow);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    rig->window.viewmode = 2;
    fillTape(rig->state, lines);
    rig->window.Command1[7]->setFocus();
    rig->window.printout();
    QVERIFY(rig->window.Text2->hasFocus());
    QCOMPARE(shownLines(rig->window), expectedLines(lines));
    QCOMPARE(rowText(rig->window, 0), bottomRow);
    if (lines <= 9) QCOMPARE(rowText(rig->window, lines - 1), QString("1 #|1.00  |1.00 ="));
    for (int r = lines; r < 9; ++r) QCOMPARE(rowText(rig->window, r), QString("||"));
    QCOMPARE(rig->window.viewmode, 0);
}

void TestTapeView::scrolling_data() {
    QTest::addColumn<int>("value");
    QTest::newRow("value 3: blank rows above line 1") << 3;
    QTest::newRow("value 20") << 20;
    QTest::newRow("value 50: the newest lines") << 50;
}

void TestTapeView::scrolling() {
    QFETCH(int, value);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    tapeOf(*rig, 50);
    w.printout();
    const QString newest = rowText(w, 8) + rowText(w, 0);
    w.Command1[5]->setFocus();

    w.VScroll1->setValue(value);
    QCOMPARE(shownLines(w), expectedLines(value));
    QCOMPARE(w.viewmode, 2);
    QCOMPARE(w.scrollline, value);
    QCOMPARE(rig->sounds.played, QStringList{"\\calc1"});
    QVERIFY(w.Text2->hasFocus());
    if (value == 50) QCOMPARE(rowText(w, 8) + rowText(w, 0), newest);
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
    QCOMPARE(w.VScroll1->value(), 2);
    // The change that moved the scroll bar to line 2 only took the flag: no scroll sound.
    QCOMPARE(rig->sounds.played, (QStringList{"calc2", "calc1", "calc2", "calc1"}));
    QCOMPARE(w.viewmode, 0);
    QCOMPARE(rowText(w, 0), QString("2 #|3.00 +|8.00 ="));
    QCOMPARE(rowText(w, 1), QString("1 #|5.00  |5.00 ="));
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
    QCOMPARE(w.viewmode, 2);
    rig->sounds.played.clear();

    w.Slider1->setValue(places);
    QCOMPARE(w.decplaces, places);
    QCOMPARE(w.viewmode, 0);
    QCOMPARE(shownLines(w), expectedLines(20));
    QCOMPARE(rowText(w, 0), bottomRow);
    QCOMPARE(rig->sounds.played, QStringList{"\\calc2"});
    QVERIFY(w.Text2->hasFocus());
}

void TestTapeView::scrollBarFocus() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    tapeOf(*rig, 20);
    w.VScroll1->setValue(10);
    w.printout();
    rig->sounds.played.clear();
    w.skipscroll = 1;
    w.Text3->show();

    w.VScroll1->setFocus(Qt::MouseFocusReason);
    QVERIFY(w.Text3->isHidden()); // an edit in progress is dropped
    QCOMPARE(w.skipscroll, 0);
    QCOMPARE(shownLines(w), expectedLines(10));
    QCOMPARE(w.scrollline, 10);
    QCOMPARE(w.viewmode, 2);
    QCOMPARE(rig->sounds.played, QStringList());
    QVERIFY(w.Text2->hasFocus());
}

void TestTapeView::emptyTape() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    w.Command1[7]->setFocus();
    w.printout();
    QVERIFY(w.Text2->hasFocus());

    w.viewmode = 2;
    w.VScroll1->setValue(5);
    QCOMPARE(w.viewmode, 0);

    w.Text3->show();
    w.VScroll1->setFocus(Qt::MouseFocusReason);
    QVERIFY(w.Text3->isVisible());
    QCOMPARE(shownLines(w), expectedLines(0));
    QCOMPARE(rig->sounds.played, QStringList());
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
