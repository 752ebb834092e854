// The memory lists on the real window: Store by button and by key, the row texts, scrolling of the
// value list, Remove, Clear Memory, recall by double click, and the stores that must store nothing.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <memory>

#include "fixture.h"

namespace {

// A row as the lists show it: right-aligned in 23 characters.
QString row(const QString& shown) { return QString(23 - shown.size(), ' ') + shown; }

QStringList rows(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
}

// A one-line tape whose subtotal is `subtotal`, so that Store takes exactly that text.
void tapeEndingIn(CalcRig& rig, const std::string& subtotal) {
    rig.state.entries[1] = subtotal + "  ";
    rig.state.subtotals[1] = subtotal;
    rig.state.nextline = 2;
}

void storeValue(CalcRig& rig, const std::string& subtotal) {
    tapeEndingIn(rig, subtotal);
    QTest::mouseClick(rig.window.store, Qt::LeftButton);
}

QPoint rowCentre(QListWidget* list, int r) { return list->visualItemRect(list->item(r)).center(); }

} // namespace

class TestMemory : public QObject {
    Q_OBJECT

private slots:
    void storeRow_data();
    void storeRow();
    void firstVisibleRow_data();
    void firstVisibleRow();
    void longValueKeptWhole();
    void removeRoundsToFourDecimals();
    void removeOnlyValue();
    void removeWithoutSelection();
    void recall_data();
    void recall();
    void storeWhileScrolled();
    void storeWhenFull();
    void storeNothing_data();
    void storeNothing();
    void clearMemory();
};

void TestMemory::storeRow_data() {
    QTest::addColumn<QString>("subtotal");
    QTest::addColumn<bool>("byKey"); // "s" typed into the entry box instead of the button
    QTest::addColumn<QString>("shown");
    QTest::newRow("1234.5, button") << "1234.5" << false << "1,234.5000";
    QTest::newRow("1234.5, s typed") << "1234.5" << true << "1,234.5000";
    QTest::newRow("-0.25: no digit before the point") << "-0.25" << false << "-.2500";
    QTest::newRow("zero") << "0" << true << ".0000";
    QTest::newRow("15 digits, wider than the field") << "123456789012345" << false << "123,456,789,012,345.0000";
}

void TestMemory::storeRow() {
    QFETCH(QString, subtotal);
    QFETCH(bool, byKey);
    QFETCH(QString, shown);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    tapeEndingIn(*rig, subtotal.toStdString());
    if (byKey) QTest::keyClick(w.Text2, 's');
    else QTest::mouseClick(w.store, Qt::LeftButton);

    QCOMPARE(rows(w.List1), QStringList{row(shown)});
    QCOMPARE(rows(w.List2), QStringList{row(shown)});
    QCOMPARE(rig->state.memcount, 1);
    QCOMPARE(QString::fromStdString(rig->state.memlist[0]), subtotal);
    // The key's own sound, then Store's.
    QCOMPARE(rig->sounds.played, QStringList(byKey ? 2 : 1, "\\calc1"));
    QCOMPARE(w.Text2->text(), QString()); // the "s" never reaches the box
    QCOMPARE(rig->state.nextline, 2);     // storing leaves the tape alone
}

void TestMemory::firstVisibleRow_data() {
    QTest::addColumn<int>("stores");
    QTest::addColumn<int>("firstRow");
    QTest::newRow("25 stores: no scrolling") << 25 << 0;
    QTest::newRow("26 stores") << 26 << 1;
    QTest::newRow("30 stores") << 30 << 5;
}

void TestMemory::firstVisibleRow() {
    QFETCH(int, stores);
    QFETCH(int, firstRow);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    for (int i = 1; i <= stores; ++i) storeValue(*rig, std::to_string(i));
    QCoreApplication::processEvents();
    QCOMPARE(w.List1->count(), stores);
    QCOMPARE(w.List1->indexAt(QPoint(1, 1)).row(), firstRow);
}

void TestMemory::longValueKeptWhole() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    const QString whole = "123,456,789,012,345.0000";
    storeValue(*rig, "123456789012345");
    storeValue(*rig, "1");
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, rowCentre(w.List1, 1));
    QTest::mouseClick(w.removelist, Qt::LeftButton);

    // Remove reads the values back from the rows: a cut row would turn into another number.
    QCOMPARE(rows(w.List1), QStringList{whole});
    QCOMPARE(rows(w.List2), QStringList{whole});
    QCOMPARE(rig->state.memcount, 1);
    QCOMPARE(rig->state.memlist[0], std::string("123456789012345.0000"));
    storeValue(*rig, "2");
    QCOMPARE(rows(w.List1), (QStringList{whole, row("2.0000")}));
    QCOMPARE(rows(w.List2), QStringList{"123,456,789,012,347.0000"});
}

void TestMemory::removeRoundsToFourDecimals() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    for (int i = 0; i < 4; ++i) storeValue(*rig, "0.33333");
    QCOMPARE(rows(w.List2), QStringList{row("1.3333")});
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, rowCentre(w.List1, 3));
    rig->sounds.played.clear();
    QTest::mouseClick(w.removelist, Qt::LeftButton);

    QCOMPARE(rows(w.List1), QStringList(3, row(".3333")));
    QCOMPARE(rows(w.List2), QStringList{row(".9999")}); // 0.99999 unrounded would show 1.0000
    QCOMPARE(rig->state.memcount, 3);
    for (int k = 0; k < 3; ++k) QCOMPARE(rig->state.memlist[k], std::string(".3333"));
    QCOMPARE(rig->sounds.played, QStringList{"\\calc1"});

    storeValue(*rig, "0.33333"); // the total now adds the rounded values: 1.33323
    QCOMPARE(rows(w.List1), (QStringList(3, row(".3333")) << row(".3333")));
    QCOMPARE(rows(w.List2), QStringList{row("1.3332")});
}

void TestMemory::removeOnlyValue() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    storeValue(*rig, "1234.5");
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, rowCentre(w.List1, 0));
    QTest::mouseClick(w.removelist, Qt::LeftButton);
    QCOMPARE(w.List1->count(), 0);
    QCOMPARE(rows(w.List2), QStringList{row(".0000")});
    QCOMPARE(rig->state.memcount, 0);
}

void TestMemory::removeWithoutSelection() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    storeValue(*rig, "1.23456");
    storeValue(*rig, "2");
    QVERIFY(w.List1->selectedItems().isEmpty());
    rig->sounds.played.clear();

    QTest::mouseClick(w.removelist, Qt::LeftButton);
    QCOMPARE(rig->sounds.played, QStringList{"\\calc1"});
    QCOMPARE(rows(w.List1), (QStringList{row("1.2346"), row("2.0000")}));
    QCOMPARE(rows(w.List2), QStringList{row("3.2346")});
    QCOMPARE(rig->state.memcount, 2);
    QCOMPARE(rig->state.memlist[0], std::string("1.23456")); // not rebuilt from the row
}

void TestMemory::recall_data() {
    QTest::addColumn<bool>("total");   // double click on List2 rather than List1
    QTest::addColumn<int>("rowIndex"); // -1: on empty space below the rows
    QTest::addColumn<QString>("box");
    QTest::newRow("List1 row 1,234.5000") << false << 0 << "1234.5";
    QTest::newRow("List1 second row") << false << 1 << "0.25";
    QTest::newRow("List2 total") << true << 0 << "1234.75";
    QTest::newRow("List1 empty space") << false << -1 << "0";
}

void TestMemory::recall() {
    QFETCH(bool, total);
    QFETCH(int, rowIndex);
    QFETCH(QString, box);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    storeValue(*rig, "1234.5");
    storeValue(*rig, "0.25");
    QListWidget* list = total ? w.List2 : w.List1;
    // A row selected earlier must not answer a double click on empty space.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 0));
    w.Text2->setText("99");
    rig->sounds.played.clear();

    const QPoint at = rowIndex >= 0 ? rowCentre(list, rowIndex) : QPoint(5, list->viewport()->height() - 3);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(w.Text2->text(), box);
    QCOMPARE(rig->sounds.played, QStringList{"\\calc1"});
    QCOMPARE(rig->state.memcount, 2);
    QCOMPARE(w.List1->count(), 2);
    QCOMPARE(rig->state.nextline, 2);
}

void TestMemory::storeWhileScrolled() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    fillTape(rig->state, 20);
    w.VScroll1->setMaximum(20);
    w.VScroll1->setValue(5);
    QCOMPARE(w.viewmode, 2);
    QTest::mouseClick(w.store, Qt::LeftButton);
    QCOMPARE(rig->state.memlist[0], std::string("15")); // line 5, not line 20's 210
    QCOMPARE(rows(w.List1), QStringList{row("15.0000")});

    w.printout(); // back to the newest lines
    QTest::keyClick(w.Text2, 's');
    QCOMPARE(rig->state.memlist[1], std::string("210"));
}

void TestMemory::storeWhenFull() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    const std::string one = "1";
    for (int k = 0; k < tally::kMemorySlots - 1; ++k) rig->state.memlist[k] = one;
    rig->state.memcount = tally::kMemorySlots - 1;
    storeValue(*rig, "2"); // the 1000th value still fits
    QCOMPARE(rig->state.memcount, 1000);
    QCOMPARE(w.List1->count(), 1000);
    QCOMPARE(rows(w.List2), QStringList{row("1,001.0000")});
    QCOMPARE(rig->messages, QStringList());
    rig->sounds.played.clear();

    storeValue(*rig, "3");
    QCOMPARE(rig->state.memcount, 1000);
    QCOMPARE(rig->state.memlist[999], std::string("2"));
    QCOMPARE(w.List1->count(), 1000);
    QCOMPARE(w.List1->item(999)->text(), row("2.0000"));
    QCOMPARE(rows(w.List2), QStringList{row("1,001.0000")});
    QCOMPARE(rig->messages.size(), 1);
    QCOMPARE(rig->sounds.played, QStringList{"\\calc1"});
}

void TestMemory::storeNothing_data() {
    QTest::addColumn<QString>("keys"); // typed into the entry box after the first tape is stored
    QTest::newRow("empty tape after Clear Entries") << "c";
    QTest::newRow("line divided by zero") << "00/";
    QTest::newRow("line that overflowed") << QString(300, '9') + "*" + QString(300, '9') + "*";
}

void TestMemory::storeNothing() {
    QFETCH(QString, keys);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    QTest::keyClicks(w.Text2, "5+s");
    QCOMPARE(rig->state.memcount, 1);
    QTest::keyClicks(w.Text2, keys);
    QCOMPARE(QString::fromStdString(rig->state.subtotals[rig->state.nextline - 1]), QString()); // nothing to store
    rig->sounds.played.clear();

    QTest::mouseClick(w.store, Qt::LeftButton);
    QCOMPARE(rig->sounds.played, QStringList{"\\calc1"});
    QCOMPARE(rig->state.memcount, 1);
    QCOMPARE(rows(w.List1), QStringList{row("5.0000")});
    QCOMPARE(rows(w.List2), QStringList{row("5.0000")});
    // Remove reads the rows back: an empty or repeated row would have become a real value.
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, rowCentre(w.List1, 0));
    QTest::mouseClick(w.removelist, Qt::LeftButton);
    QCOMPARE(rig->state.memcount, 0);
}

void TestMemory::clearMemory() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    storeValue(*rig, "7");
    storeValue(*rig, "8");
    rig->sounds.played.clear();
    QTest::mouseClick(w.clearlist, Qt::LeftButton);
    QCOMPARE(rig->sounds.played, QStringList{"\\calc1"});
    QCOMPARE(w.List1->count(), 0);
    QCOMPARE(w.List2->count(), 0);
    QCOMPARE(rig->state.memcount, 0);
    QCOMPARE(rig->state.memlist[1], std::string(" 0"));
    QCOMPARE(rig->state.nextline, 2); // the tape stays

    storeValue(*rig, "9");
    QCOMPARE(rows(w.List1), QStringList{row("9.0000")});
    QCOMPARE(rows(w.List2), QStringList{row("9.0000")});
}

QTEST_MAIN(TestMemory)
#include "test_memory.moc"
