// The memory lists on the real window: Store by button and by key, what the lists show and how
// they scroll, Remove, Clear Memory, recall by double click, and the stores that must store
// nothing. The values and row texts themselves are checked in tests/core/test_memory.cpp.
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

// Stores `subtotal` from a one-line tape ending in it, by the Store button or by "s" typed.
void storeValue(CalcRig& rig, const QString& subtotal, bool byKey = false) {
    rig.state.entries[1] = subtotal.toStdString() + "  ";
    rig.state.subtotals[1] = subtotal.toStdString();
    rig.state.nextline = 2;
    if (byKey) QTest::keyClick(rig.window.Text2, 's');
    else QTest::mouseClick(rig.window.store, Qt::LeftButton);
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
    void remove();
    void recall_data();
    void recall();
    void storeWhileScrolled();
    void storeWhenFull();
    void storeNothing();
    void clearMemory();
};

void TestMemory::storeRow_data() {
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("byKey"); // "s" typed into the entry box instead of the button
    QTest::addColumn<QString>("total");
    QTest::newRow("1234.5, button") << QStringList{"1234.5"} << false << "1,234.5000";
    QTest::newRow("-0.25, s typed") << QStringList{"-0.25"} << true << "-.2500";
    QTest::newRow("zero total") << QStringList{"5", "-5"} << false << ".0000";
}

void TestMemory::storeRow() {
    QFETCH(QStringList, values);
    QFETCH(bool, byKey);
    QFETCH(QString, total);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    for (const QString& v : values) storeValue(*rig, v, byKey);
    QCOMPARE(w.List1->count(), values.size());
    QCOMPARE(rows(w.List2), QStringList{row(total)});
    // The key's own sound, then Store's; the "s" never reaches the box.
    QCOMPARE(rig->sounds.played, QStringList((byKey ? 2 : 1) * values.size(), "\\calc1"));
    QCOMPARE(w.Text2->text(), QString());
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
    for (int i = 1; i <= stores; ++i) storeValue(*rig, QString::number(i));
    QCoreApplication::processEvents();
    QCOMPARE(rig->window.List1->indexAt(QPoint(1, 1)).row(), firstRow);
}

// Rounding to four decimals is checked on the memory functions themselves.
void TestMemory::remove() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    const QString whole = "123,456,789,012,345.0000";
    storeValue(*rig, "123456789012345");
    storeValue(*rig, "1");
    QTest::mouseClick(w.removelist, Qt::LeftButton); // no row selected: nothing goes
    QCOMPARE(rig->state.memcount, 2);
    QCOMPARE(w.List1->count(), 2);
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, rowCentre(w.List1, 1));
    rig->sounds.played.clear();
    QTest::mouseClick(w.removelist, Qt::LeftButton);
    // Remove reads the values back from the rows: a cut row would turn into another number.
    QCOMPARE(rows(w.List1), QStringList{whole});
    QCOMPARE(rows(w.List2), QStringList{whole});
    QCOMPARE(rig->state.memlist[0], std::string("123456789012345.0000"));
    QCOMPARE(rig->sounds.played, QStringList{"\\calc1"});
}

void TestMemory::recall_data() {
    QTest::addColumn<bool>("total");   // double click on List2 rather than List1
    QTest::addColumn<int>("rowIndex"); // -1: on empty space below the rows
    QTest::addColumn<QString>("box");
    QTest::newRow("List1 row") << false << 0 << "1234.5";
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
}

void TestMemory::storeWhileScrolled() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    fillTape(rig->state, 20);
    w.VScroll1->setMaximum(20);
    w.VScroll1->setValue(5);
    QTest::mouseClick(w.store, Qt::LeftButton);
    QCOMPARE(rig->state.memlist[0], std::string("15")); // line 5, not line 20's 210
    w.printout(); // back to the newest lines
    QTest::keyClick(w.Text2, 's');
    QCOMPARE(rig->state.memlist[1], std::string("210"));
}

void TestMemory::storeWhenFull() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    const std::string one = "1"; // assigning the literal itself trips a false GCC 12 warning
    for (int k = 0; k < tally::kMemorySlots - 1; ++k) rig->state.memlist[k] = one;
    rig->state.memcount = tally::kMemorySlots - 1;
    storeValue(*rig, "2"); // the 1000th value still fits
    QCOMPARE(w.List1->count(), 1000);
    QCOMPARE(rig->messages, QStringList());

    storeValue(*rig, "3");
    QCOMPARE(rig->state.memcount, 1000);
    QCOMPARE(w.List1->count(), 1000);
    QCOMPARE(w.List1->item(999)->text(), row("2.0000"));
    QCOMPARE(rows(w.List2), QStringList{row("1,001.0000")});
    QCOMPARE(rig->messages.size(), 1);
}

void TestMemory::storeNothing() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    QTest::keyClicks(w.Text2, "5+s00/"); // the newest line, divided by zero, has no subtotal
    rig->sounds.played.clear();

    QTest::mouseClick(w.store, Qt::LeftButton);
    QCOMPARE(rig->sounds.played, QStringList{"\\calc1"});
    QCOMPARE(rig->state.memcount, 1);
    // An empty or repeated row would become a real value when Remove reads the rows back.
    QCOMPARE(rows(w.List1), QStringList{row("5.0000")});
    QCOMPARE(rows(w.List2), QStringList{row("5.0000")});
}

void TestMemory::clearMemory() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    storeValue(*rig, "7");
    storeValue(*rig, "8");
    QTest::mouseClick(w.clearlist, Qt::LeftButton);
    QCOMPARE(w.List1->count(), 0);
    QCOMPARE(w.List2->count(), 0);
    QCOMPARE(rig->state.nextline, 2); // the tape stays
}

QTEST_MAIN(TestMemory)
#include "test_memory.moc"
