// Correcting past tape lines on the real window: a click on an entry cell opens the row editor,
// its keys, the write-back with recalculation of the whole tape, and the redraw in place.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <memory>

#include "fixture.h"
#include "print/form1.h"

namespace {

QList<int> shownLines(const Calculator& w) {
    QList<int> lines;
    for (int r = 8; r >= 0; --r) lines << lineOnRow(w, r);
    return lines;
}

QStringList column(const std::array<std::string, tally::kTapeLines + 1>& texts, int lines) {
    QStringList list;
    for (int i = 1; i <= lines; ++i) list << QString::fromStdString(texts[i]);
    return list;
}

// Clicks the entry cell of the row that shows `line`.
void openLine(Calculator& w, int line) {
    for (int r = 0; r < 9; ++r)
        if (lineOnRow(w, r) == line) return QTest::mouseClick(w.Label11[r], Qt::LeftButton);
    QFAIL("the line is not on screen");
}

// The scrolled view with `value` on the bottom row, drawn even when the scroll bar is already there.
void scrollTo(Calculator& w, int value) {
    if (w.VScroll1->value() == value) w.VScroll1->setValue(value == 1 ? 2 : value - 1);
    w.VScroll1->setValue(value);
}

void typeInto(QLineEdit* box, const QString& keys) {
    for (QChar c : keys) QTest::keyClick(box, c.toLatin1());
}

} // namespace

class TestEditing : public QObject {
    Q_OBJECT

private slots:
    void opening_data();
    void opening();
    void openingEmptyRow();
    void commit_data();
    void commit();
    void keys_data();
    void keys();
    void exitKey();
    void storeKey();
    void previewKey();
    void arrows_data();
    void arrows();
    void scrollBarFocusDropsEdit();
    void wholeTapeRecomputed();
};

void TestEditing::opening_data() {
    QTest::addColumn<QString>("entry"); // line 2 of a two-line tape
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("editor");
    QTest::newRow("grouped") << "1234.5 +" << "1,234.50 +" << "1234.5";
    QTest::newRow("whole number") << "7 -" << "7.00 -" << "7";
    QTest::newRow("negative") << "-2.5 x" << "-2.50 x" << "-2.5";
    QTest::newRow("eight decimals open rounded to five") << "0.12345678 +" << ".12345678 +" << "0.12346";
}

void TestEditing::opening() {
    QFETCH(QString, entry);
    QFETCH(QString, cell);
    QFETCH(QString, editor);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    rig->state.entries[1] = "10  ";
    rig->state.entries[2] = entry.toStdString();
    rig->state.nextline = 3;
    w.printout();
    QCOMPARE(w.Label11[0]->text(), cell);

    QTest::mouseClick(w.Label11[0], Qt::LeftButton);
    QVERIFY(w.Text3->isVisible());
    QCOMPARE(w.Text3->pos(), w.Label11[0]->pos());
    QCOMPARE(w.editline, 2);
    QCOMPARE(w.Text3->text(), editor);
    QCOMPARE(w.Text3->selectedText(), editor);
    QVERIFY(w.Text3->hasFocus());
    QCOMPARE(rig->sounds.played, (QStringList{"\\calc1", "\\calc1"}));
    QTest::keyClick(w.Text3, '9'); // typing replaces the number
    QCOMPARE(w.Text3->text(), QString("9"));
}

void TestEditing::openingEmptyRow() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    QTest::keyClicks(w.Text2, "10+5+2*");
    QStringList before;
    for (int r = 0; r < 9; ++r) before << rowText(w, r);

    QTest::mouseClick(w.Label11[5], Qt::LeftButton);
    QCOMPARE(w.editline, 0);
    QCOMPARE(w.Text3->text(), QString("0"));
    typeInto(w.Text3, "9+");
    QVERIFY(w.Text3->isHidden());
    QStringList after;
    for (int r = 0; r < 9; ++r) after << rowText(w, r);
    QCOMPARE(after, before);
    QCOMPARE(column(rig->state.entries, 4), (QStringList{"10  ", "5 +", "2 x", ""}));
    QCOMPARE(column(rig->state.subtotals, 4), (QStringList{"10", "15", "30", ""}));
    QCOMPARE(rig->state.nextline, 4);
}

void TestEditing::commit_data() {
    QTest::addColumn<QString>("tape"); // typed into the entry box
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("typed"); // into the editor, replacing its number; empty: only the operator
    QTest::addColumn<QChar>("op");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("subtotals");
    QTest::addColumn<QStringList>("cells"); // "entry|subtotal" of lines 1.., as the rows show them
    QTest::newRow("line 2 to 7 +") << "10+5+2*" << 2 << "7" << QChar('+') << QStringList{"10  ", "7 +", "2 x"}
                                   << QStringList{"10", "17", "34"}
                                   << QStringList{"10.00  |10.00 =", "7.00 +|17.00 =", "2.00 x|34.00 ="};
    QTest::newRow("line 3 operator only") << "10+5+2*" << 3 << "" << QChar('-') << QStringList{"10  ", "5 +", "2 -"}
                                          << QStringList{"10", "15", "13"}
                                          << QStringList{"10.00  |10.00 =", "5.00 +|15.00 =", "2.00 -|13.00 ="};
    QTest::newRow("line 1 to 4 *") << "10+5+2*" << 1 << "4" << QChar('*') << QStringList{"4 x", "5 +", "2 x"}
                                   << QStringList{"4", "9", "18"}
                                   << QStringList{"4.00 x|4.00 =", "5.00 +|9.00 =", "2.00 x|18.00 ="};
    QTest::newRow("typed text kept as typed") << "10+5+2*" << 2 << "007.50" << QChar('+')
                                              << QStringList{"10  ", "007.50 +", "2 x"} << QStringList{"10", "17.5", "35"}
                                              << QStringList{"10.00  |10.00 =", "7.50 +|17.50 =", "2.00 x|35.00 ="};
    // No number for line 2: its subtotal stays empty and line 3 counts from 0.
    QTest::newRow("division by zero") << "10+5+2+" << 2 << "0" << QChar('/') << QStringList{"10  ", "0 /", "2 +"}
                                      << QStringList{"10", "", "2"}
                                      << QStringList{"10.00  |10.00 =", ".00 /| =", "2.00 +|2.00 ="};
}

void TestEditing::commit() {
    QFETCH(QString, tape);
    QFETCH(int, line);
    QFETCH(QString, typed);
    QFETCH(QChar, op);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, subtotals);
    QFETCH(QStringList, cells);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    QTest::keyClicks(w.Text2, tape);
    const QList<int> view = shownLines(w);
    const int value = w.VScroll1->value();
    const int scrollline = w.scrollline;
    const int viewmode = w.viewmode;
    openLine(w, line);
    rig->sounds.played.clear();

    typeInto(w.Text3, typed + op);
    QCOMPARE(column(rig->state.entries, 3), entries);
    QCOMPARE(column(rig->state.subtotals, 3), subtotals);
    QCOMPARE(shownLines(w), view);
    for (int n = 1; n <= 3; ++n)
        QCOMPARE(w.Label11[3 - n]->text() + '|' + w.Label12[3 - n]->text(), cells[n - 1]);
    QCOMPARE(w.VScroll1->value(), value);
    QCOMPARE(w.scrollline, scrollline);
    QCOMPARE(w.viewmode, viewmode);
    QVERIFY(w.Text3->isHidden());
    QVERIFY(w.Text2->hasFocus());
    QCOMPARE(rig->sounds.played, QStringList(typed.size(), "\\calc2") << "\\calc1");
    QCOMPARE(w.Text2->text(), QString());
    QCOMPARE(rig->state.nextline, 4);
}

void TestEditing::keys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("editor"); // the editor's text after "9" and the key
    QTest::addColumn<bool>("open");
    QTest::addColumn<QStringList>("sounds");
    QTest::newRow("Esc cancels silently") << int(Qt::Key_Escape) << "\x1b" << "9" << false << QStringList{};
    QTest::newRow("Enter does not commit") << int(Qt::Key_Return) << "\r" << "9" << true << QStringList{"\\calc1"};
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << "\b" << "" << true << QStringList{"\\calc2"};
    QTest::newRow("letter discarded") << int(Qt::Key_Q) << "q" << "9" << true << QStringList{"\\calc1"};
    QTest::newRow("= discarded") << int(Qt::Key_Equal) << "=" << "9" << true << QStringList{"\\calc1"};
    QTest::newRow("blank passes") << int(Qt::Key_Space) << " " << "9 " << true << QStringList{"\\calc1"};
}

void TestEditing::keys() {
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QString, editor);
    QFETCH(bool, open);
    QFETCH(QStringList, sounds);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    QTest::keyClicks(w.Text2, "10+5+2*");
    openLine(w, 2);
    QTest::keyClick(w.Text3, '9');
    rig->sounds.played.clear();

    QTest::sendKeyEvent(QTest::Click, w.Text3, Qt::Key(key), text, Qt::NoModifier);
    QCOMPARE(rig->sounds.played, sounds);
    QCOMPARE(w.Text3->isVisible(), open);
    if (open) QCOMPARE(w.Text3->text(), editor);
    else QVERIFY(w.Text2->hasFocus());
    QCOMPARE(column(rig->state.entries, 3), (QStringList{"10  ", "5 +", "2 x"}));
    QCOMPARE(column(rig->state.subtotals, 3), (QStringList{"10", "15", "30"}));
    QCOMPARE(rowText(w, 1), QString("2 #|5.00 +|15.00 ="));
    QCOMPARE(w.Text2->text(), QString());
}

void TestEditing::exitKey() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    QTest::keyClicks(rig->window.Text2, "10+5+");
    openLine(rig->window, 2);
    QTest::keyClicks(rig->window.Text3, "7X");
    QVERIFY(rig->ended);
    QCOMPARE(rig->state.entries[2], std::string("5 +"));
    QCOMPARE(rig->window.Text3->text(), QString("7"));
}

void TestEditing::storeKey() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    QTest::keyClicks(w.Text2, "10+5+2*");
    openLine(w, 2);
    QTest::keyClick(w.Text3, 's');
    QCOMPARE(rig->state.memcount, 1);
    QCOMPARE(rig->state.memlist[0], std::string("30")); // the newest line, not the edited one
    QCOMPARE(w.List1->count(), 1);
    QVERIFY(w.Text3->isVisible());
    QCOMPARE(w.Text3->text(), QString("5"));
    QCOMPARE(rig->state.entries[2], std::string("5 +"));
}

void TestEditing::previewKey() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    QTest::keyClicks(w.Text2, "10+5+");
    openLine(w, 1);
    QVERIFY(w.preview.isNull());
    QTest::keyClick(w.Text3, 'e');
    QVERIFY(!w.preview.isNull());
    QVERIFY(w.preview->isVisible());
    QVERIFY(w.Text3->isVisible());
    QCOMPARE(w.Text3->text(), QString("10"));
    w.preview->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(w.preview.isNull());
}

void TestEditing::arrows_data() {
    QTest::addColumn<int>("start"); // scroll value of a 20-line tape; the editor opens on its bottom row
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("moved");
    QTest::addColumn<QString>("entry"); // the clicked line after typing "7" into the editor and "+"
    QTest::addColumn<QString>("subtotal");
    // Where the focus stayed, the number is still selected and "7" replaces it.
    QTest::newRow("Up at the top") << 1 << int(Qt::Key_Up) << 1 << false << "7 +" << "7";
    QTest::newRow("Up at 5") << 5 << int(Qt::Key_Up) << 4 << true << "57 +" << "67";
    QTest::newRow("Down at 5") << 5 << int(Qt::Key_Down) << 6 << true << "57 +" << "67";
    QTest::newRow("Down at the end") << 20 << int(Qt::Key_Down) << 20 << false << "7 +" << "197";
}

void TestEditing::arrows() {
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, value);
    QFETCH(bool, moved);
    QFETCH(QString, entry);
    QFETCH(QString, subtotal);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    fillTape(rig->state, 20);
    w.VScroll1->setMaximum(20);
    scrollTo(w, start);
    QTest::mouseClick(w.Label11[0], Qt::LeftButton);
    QCOMPARE(w.editline, start);
    rig->sounds.played.clear();

    QTest::keyClick(w.Text3, Qt::Key(key));
    QCOMPARE(w.VScroll1->value(), value);
    QCOMPARE(lineOnRow(w, 0), value);
    QCOMPARE(rig->sounds.played, QStringList(moved ? 1 : 0, "\\calc1"));
    QVERIFY(w.Text3->isVisible());
    QCOMPARE(w.Text3->text(), QString::number(start));
    QCOMPARE(w.editline, start);
    QVERIFY(moved ? w.Text2->hasFocus() : w.Text3->hasFocus());

    // Back in the editor nothing typed is lost, and the commit writes the clicked line.
    w.Text3->setFocus();
    typeInto(w.Text3, "7+");
    QCOMPARE(QString::fromStdString(rig->state.entries[start]), entry);
    QCOMPARE(QString::fromStdString(rig->state.subtotals[start]), subtotal);
    QCOMPARE(lineOnRow(w, 0), value);
}

void TestEditing::scrollBarFocusDropsEdit() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    QTest::keyClicks(w.Text2, "10+5+2*");
    openLine(w, 2);
    QTest::keyClick(w.Text3, '9');
    w.VScroll1->setFocus(Qt::MouseFocusReason);
    QVERIFY(w.Text3->isHidden());
    QVERIFY(w.Text2->hasFocus());
    QTest::keyClicks(w.Text2, "1+");
    QCOMPARE(column(rig->state.entries, 4), (QStringList{"10  ", "5 +", "2 x", "1 +"}));
    QCOMPARE(column(rig->state.subtotals, 4), (QStringList{"10", "15", "30", "31"}));
}

void TestEditing::wholeTapeRecomputed() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    // Whole numbers only, so the expected subtotals are exact doubles; one division by zero.
    std::array<int, tally::kTapeLines + 1> number{};
    std::array<char, tally::kTapeLines + 1> op{};
    for (int k = 1; k <= tally::kTapeLines; ++k) {
        number[k] = k % 10 == 4 || k % 10 == 5 ? 3 : k == 500 ? 0 : k * 37 % 101;
        op[k] = k % 10 == 4 ? 'x' : k % 10 == 5 || k == 500 ? '/' : k % 2 ? '+' : '-';
        rig->state.entries[k] = std::to_string(number[k]) + ' ' + op[k];
        rig->state.subtotals[k] = "stale";
    }
    rig->state.entries[1] = "1  ";
    rig->state.nextline = tally::kTapeLines + 1;
    w.VScroll1->setMaximum(tally::kTapeLines);
    scrollTo(w, 1);
    QCOMPARE(lineOnRow(w, 0), 1);
    QTest::mouseClick(w.Label11[0], Qt::LeftButton);
    typeInto(w.Text3, "1000+");

    QStringList expected{"1000"};
    double s = 1000;
    for (int k = 2; k <= tally::kTapeLines; ++k) {
        const double e = number[k];
        const bool failed = op[k] == '/' && e == 0;
        s = failed ? 0 : op[k] == '+' ? s + e : op[k] == '-' ? s - e : op[k] == 'x' ? s * e : s / e;
        expected << (failed ? QString() : QString::number(s, 'g', 15));
    }
    QCOMPARE(rig->state.entries[1], std::string("1000 +"));
    QCOMPARE(column(rig->state.subtotals, tally::kTapeLines), expected);
    QCOMPARE(rowText(w, 0), QString("1 #|1,000.00 +|1,000.00 ="));
    QCOMPARE(w.VScroll1->value(), 1);
}

QTEST_MAIN(TestEditing)
#include "test_editing.moc"
