// Correcting past tape lines on the real window: a click on an entry cell opens the row editor,
// its keys, the write-back, and the redraw in place. The arithmetic of the recalculation is the
// core's test; the 1000-line correction is test_heavy's.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <memory>

#include "fixture.h"
#include "print/form1.h"

namespace {

QStringList column(const std::array<std::string, tally::kTapeLines + 1>& texts, int lines) {
    QStringList list;
    for (int i = 1; i <= lines; ++i) list << QString::fromStdString(texts[i]);
    return list;
}

// Clicks the entry cell of the row that shows `line`; line 0, an empty row below the tape.
void openLine(Calculator& w, int line) {
    for (int r = 0; r < 9; ++r)
        if (lineOnRow(w, r) == line) return QTest::mouseClick(w.Label11[r], Qt::LeftButton);
    QFAIL("the line is not on screen");
}

void typeInto(QLineEdit* box, const QString& keys) {
    for (QChar c : keys) QTest::keyClick(box, c.toLatin1());
}

const QStringList kEntries{"10  ", "5 +", "2 x"}; // "10+5+2*" as keyed
const QStringList kSubtotals{"10", "15", "30"};

} // namespace

class TestEditing : public QObject {
    Q_OBJECT

private slots:
    void opening_data();
    void opening();
    void commit_data();
    void commit();
    void keys_data();
    void keys();
    void exitStorePreviewKeys();
    void arrows_data();
    void arrows();
};

void TestEditing::opening_data() {
    QTest::addColumn<QString>("entry"); // line 2 of a two-line tape
    QTest::addColumn<QString>("editor");
    QTest::newRow("grouped on the tape") << "1234.5 +" << "1234.5";
    QTest::newRow("eight decimals open rounded to five") << "0.12345678 +" << "0.12346";
}

void TestEditing::opening() {
    QFETCH(QString, entry);
    QFETCH(QString, editor);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    rig->state.entries[1] = "10  ";
    rig->state.entries[2] = entry.toStdString();
    rig->state.nextline = 3;
    w.printout();
    QTest::mouseClick(w.Label11[0], Qt::LeftButton);
    QVERIFY(w.Text3->isVisible() && w.Text3->hasFocus());
    QCOMPARE(w.Text3->pos(), w.Label11[0]->pos());
    QCOMPARE(w.editline, 2);
    QCOMPARE(w.Text3->text(), editor);
    QCOMPARE(w.Text3->selectedText(), editor); // the whole text is selected
    QCOMPARE(rig->sounds.played, (QStringList{"\\calc1", "\\calc1"}));
    QTest::keyClick(w.Text3, '9'); // so typing replaces the number
    QCOMPARE(w.Text3->text(), QString("9"));
}

void TestEditing::commit_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("typed"); // into the editor, replacing its number; empty: only the operator
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("cells"); // "entry|subtotal" of lines 1..3, as the rows show them
    QTest::newRow("line 2 to 7 +") << 2 << "7+" << QStringList{"10  ", "7 +", "2 x"}
                                   << QStringList{"10.00  |10.00 =", "7.00 +|17.00 =", "2.00 x|34.00 ="};
    QTest::newRow("line 3 operator only") << 3 << "-" << QStringList{"10  ", "5 +", "2 -"}
                                          << QStringList{"10.00  |10.00 =", "5.00 +|15.00 =", "2.00 -|13.00 ="};
    QTest::newRow("line 1 to 4 *") << 1 << "4*" << QStringList{"4 x", "5 +", "2 x"}
                                   << QStringList{"4.00 x|4.00 =", "5.00 +|9.00 =", "2.00 x|18.00 ="};
    QTest::newRow("empty row edits nothing") << 0 << "9+" << kEntries
                                             << QStringList{"10.00  |10.00 =", "5.00 +|15.00 =", "2.00 x|30.00 ="};
    // No number for line 2: its subtotal stays empty and line 3 counts from 0.
    QTest::newRow("division by zero") << 2 << "0/" << QStringList{"10  ", "0 /", "2 x"}
                                      << QStringList{"10.00  |10.00 =", ".00 /| =", "2.00 x|.00 ="};
}

void TestEditing::commit() {
    QFETCH(int, line);
    QFETCH(QString, typed);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, cells);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    QTest::keyClicks(w.Text2, "10+5+2*");
    const int value = w.VScroll1->value();
    openLine(w, line);
    rig->sounds.played.clear();

    typeInto(w.Text3, typed);
    QCOMPARE(column(rig->state.entries, 4), QStringList(entries) << "");
    QStringList shown;
    for (int n = 1; n <= 3; ++n) {
        QCOMPARE(lineOnRow(w, 3 - n), n); // redrawn in place
        shown << w.Label11[3 - n]->text() + '|' + w.Label12[3 - n]->text();
    }
    QCOMPARE(shown, cells);
    QCOMPARE(w.VScroll1->value(), value);
    QVERIFY(w.Text3->isHidden() && w.Text2->hasFocus());
    QCOMPARE(rig->sounds.played, QStringList(typed.size() - 1, "\\calc2") << "\\calc1");
    QCOMPARE(rig->state.nextline, 4);
}

void TestEditing::keys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("editor"); // the editor's text after "9" and the key
    QTest::addColumn<bool>("open");
    QTest::addColumn<QStringList>("sounds");
    QTest::newRow("Esc cancels silently") << int(Qt::Key_Escape) << "\x1b" << "9" << false << QStringList{};
    QTest::newRow("Enter only sounds") << int(Qt::Key_Return) << "\r" << "9" << true << QStringList{"\\calc1"};
    QTest::newRow("letter discarded") << int(Qt::Key_Q) << "q" << "9" << true << QStringList{"\\calc1"};
    QTest::newRow("blank passes") << int(Qt::Key_Space) << " " << "9 " << true << QStringList{"\\calc1"};
    QTest::newRow("scroll bar taking focus drops the edit") << 0 << "" << "9" << false << QStringList{};
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

    if (key) QTest::sendKeyEvent(QTest::Click, w.Text3, Qt::Key(key), text, Qt::NoModifier);
    else w.VScroll1->setFocus(Qt::MouseFocusReason);
    QCOMPARE(rig->sounds.played, sounds);
    QCOMPARE(w.Text3->isVisible(), open);
    QVERIFY(open ? w.Text3->text() == editor : w.Text2->hasFocus());
    QCOMPARE(column(rig->state.entries, 3), kEntries);
    QCOMPARE(column(rig->state.subtotals, 3), kSubtotals);
    QCOMPARE(rowText(w, 1), QString("2 #|5.00 +|15.00 ="));
}

// x ends the program, s stores the newest line, e opens the preview; none is typed or writes the line.
void TestEditing::exitStorePreviewKeys() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    QTest::keyClicks(w.Text2, "10+5+2*");
    openLine(w, 2);
    QTest::keyClicks(w.Text3, "7X");
    QVERIFY(rig->ended);
    QTest::keyClick(w.Text3, 's');
    QCOMPARE(rig->state.memcount, 1);
    QCOMPARE(rig->state.memlist[0], std::string("30"));
    QCOMPARE(w.List1->count(), 1);
    QTest::keyClick(w.Text3, 'e');
    QVERIFY(!w.preview.isNull() && w.preview->isVisible());
    w.preview->close();
    QVERIFY(w.Text3->isVisible());
    QCOMPARE(w.Text3->text(), QString("7"));
    QCOMPARE(column(rig->state.entries, 3), kEntries);
}

void TestEditing::arrows_data() {
    QTest::addColumn<int>("start"); // scroll value of a 20-line tape; the editor opens on its bottom row
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("entry"); // the clicked line after typing "7" into the editor and "+"
    // Where the focus stayed, the number is still selected and "7" replaces it.
    QTest::newRow("Up at the top") << 1 << int(Qt::Key_Up) << 1 << "7 +";
    QTest::newRow("Up at 5") << 5 << int(Qt::Key_Up) << 4 << "57 +";
    QTest::newRow("Down at 5") << 5 << int(Qt::Key_Down) << 6 << "57 +";
    QTest::newRow("Down at the end") << 20 << int(Qt::Key_Down) << 20 << "7 +";
}

void TestEditing::arrows() {
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, value);
    QFETCH(QString, entry);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    fillTape(rig->state, 20);
    w.VScroll1->setMaximum(20);
    w.VScroll1->setValue(start == 1 ? 2 : 1); // so that the next line redraws
    w.VScroll1->setValue(start);
    QTest::mouseClick(w.Label11[0], Qt::LeftButton);
    QCOMPARE(w.editline, start);
    rig->sounds.played.clear();

    const bool moved = value != start;
    QTest::keyClick(w.Text3, Qt::Key(key));
    QCOMPARE(lineOnRow(w, 0), value);
    QCOMPARE(rig->sounds.played, QStringList(moved ? 1 : 0, "\\calc1"));
    QVERIFY(w.Text3->isVisible());
    QCOMPARE(w.Text3->text(), QString::number(start));
    QVERIFY(moved ? w.Text2->hasFocus() : w.Text3->hasFocus());

    // Back in the editor no typed character is discarded, and the commit writes the clicked line.
    w.Text3->setFocus();
    typeInto(w.Text3, "7+");
    QCOMPARE(QString::fromStdString(rig->state.entries[start]), entry);
    QCOMPARE(lineOnRow(w, 0), value);
}

QTEST_MAIN(TestEditing)
#include "test_editing.moc"
