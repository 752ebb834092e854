#include <QtTest>

#include "core/state.h"
#include "memory/memory.h"

using namespace tally;

Q_DECLARE_METATYPE(tally::StoreResult)

namespace {

QString pad(int blanks, const char* text) { return QString(blanks, ' ') + text; }

QStringList toList(const std::vector<std::string>& texts) {
    QStringList list;
    for (const auto& t : texts) list << QString::fromStdString(t);
    return list;
}

QStringList memoryOf(const State& s) {
    QStringList list;
    for (int k = 0; k < s.memcount; ++k) list << QString::fromStdString(s.memlist[k]);
    return list;
}

// Writes a tape line with the given subtotal, as the keypad does, and stores the newest line.
StoreOutcome storeValue(State& s, const QString& subtotal) {
    s.entries[s.nextline] = "1 +";
    s.subtotals[s.nextline] = subtotal.toStdString();
    ++s.nextline;
    return storeSubtotal(s, 0, 0);
}

StoreOutcome storeAll(State& s, const QStringList& values) {
    StoreOutcome last;
    for (const auto& v : values) last = storeValue(s, v);
    return last;
}

} // namespace

class TestMemory : public QObject {
    Q_OBJECT
private slots:
    void storeShowsRows_data();
    void storeShowsRows();
    void firstVisibleRow_data();
    void firstVisibleRow();
    void storeChoosesLine_data();
    void storeChoosesLine();
    void storeRefusedWhenFull();
    void totalTooLargeLeavesListEmpty();
    void remove_data();
    void remove();
    void clearEmptiesMemory();
    void recall_data();
    void recall();
};

void TestMemory::storeShowsRows_data() {
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("total");
    QTest::newRow("1234.5") << QStringList{"1234.5"} << QStringList{pad(13, "1,234.5000")}
                            << pad(13, "1,234.5000");
    QTest::newRow("no digit before the point")
        << QStringList{"-0.25"} << QStringList{pad(17, "-.2500")} << pad(17, "-.2500");
    QTest::newRow("total 0") << QStringList{"5", "-5"}
                             << QStringList{pad(17, "5.0000"), pad(16, "-5.0000")} << pad(18, ".0000");
    QTest::newRow("15 digits shown whole")
        << QStringList{"123456789012345"} << QStringList{"123,456,789,012,345.0000"}
        << "123,456,789,012,345.0000";
    QTest::newRow("exponent form")
        << QStringList{"1.5E+20", "-1.5E+20"}
        << QStringList{"150,000,000,000,000,000,000.0000", "-150,000,000,000,000,000,000.0000"}
        << pad(18, ".0000");
}

void TestMemory::storeShowsRows() {
    QFETCH(QStringList, values);
    QFETCH(QStringList, rows);
    QFETCH(QString, total);
    State s;
    const StoreOutcome out = storeAll(s, values);
    QCOMPARE(out.result, StoreResult::Stored);
    QCOMPARE(toList(out.lists.rows), rows);
    QVERIFY(out.lists.total);
    QCOMPARE(QString::fromStdString(*out.lists.total), total);
    QCOMPARE(memoryOf(s), values); // stored as the tape holds them
}

void TestMemory::firstVisibleRow_data() {
    QTest::addColumn<int>("stores");
    QTest::addColumn<int>("first");
    QTest::newRow("25") << 25 << 0;
    QTest::newRow("26") << 26 << 1;
    QTest::newRow("30") << 30 << 5;
}

void TestMemory::firstVisibleRow() {
    QFETCH(int, stores);
    QFETCH(int, first);
    State s;
    StoreOutcome out;
    for (int i = 0; i < stores; ++i) out = storeValue(s, QString::number(i));
    QCOMPARE(out.firstVisibleRow, first);
}

void TestMemory::storeChoosesLine_data() {
    QTest::addColumn<QStringList>("tape");
    QTest::addColumn<int>("viewmode");
    QTest::addColumn<int>("scrollline");
    QTest::addColumn<StoreResult>("result");
    QTest::addColumn<QString>("stored");
    const QStringList tape{"10", "30", "", "60"};
    QTest::newRow("newest") << tape << 0 << 2 << StoreResult::Stored << "60";
    QTest::newRow("scrolled") << tape << 2 << 2 << StoreResult::Stored << "30";
    QTest::newRow("scrolled to a failed line") << tape << 2 << 3 << StoreResult::NothingToStore << "";
    QTest::newRow("newest line failed")
        << QStringList{"10", ""} << 0 << 0 << StoreResult::NothingToStore << "";
    QTest::newRow("empty tape") << QStringList{} << 0 << 0 << StoreResult::NothingToStore << "";
    QTest::newRow("scrolled past the end") << tape << 2 << 5 << StoreResult::NothingToStore << "";
}

void TestMemory::storeChoosesLine() {
    QFETCH(QStringList, tape);
    QFETCH(int, viewmode);
    QFETCH(int, scrollline);
    QFETCH(StoreResult, result);
    QFETCH(QString, stored);
    State s;
    for (const auto& t : tape) {
        s.entries[s.nextline] = "1 +";
        s.subtotals[s.nextline++] = t.toStdString();
    }
    s.subtotals[5] = "99"; // left over beyond the tape's end
    const StoreOutcome out = storeSubtotal(s, viewmode, scrollline);
    QCOMPARE(out.result, result);
    QCOMPARE(memoryOf(s), stored.isEmpty() ? QStringList{} : QStringList{stored});
}

void TestMemory::storeRefusedWhenFull() {
    State s;
    storeValue(s, "1");
    s.memcount = kMemorySlots - 1;
    s.memlist.fill("1");
    QCOMPARE(storeValue(s, "7").result, StoreResult::Stored);
    QCOMPARE(s.memlist[kMemorySlots - 1], std::string("7"));
    QCOMPARE(storeValue(s, "8").result, StoreResult::Full);
    QCOMPARE(s.memcount, kMemorySlots);
    QCOMPARE(s.memlist[kMemorySlots - 1], std::string("7"));
}

void TestMemory::totalTooLargeLeavesListEmpty() {
    State s;
    const StoreOutcome out = storeAll(s, {"1.7E+308", "1.7E+308"});
    QCOMPARE(out.lists.rows.size(), std::size_t(2));
    QVERIFY(!out.lists.total);
}

void TestMemory::remove_data() {
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("removed");
    QTest::addColumn<QStringList>("memory");
    QTest::addColumn<QString>("total");
    QTest::newRow("15 digits survive") << QStringList{"123456789012345", "1.5"} << 1 << true
                                       << QStringList{"123456789012345.0000"}
                                       << "123,456,789,012,345.0000";
    // Memory keeps the rounded values, so later totals add those.
    QTest::newRow("rounded to four decimals")
        << QStringList{"1.00004", "1.00004", "5"} << 2 << true << QStringList{"1.0000", "1.0000"}
        << pad(17, "2.0000");
    QTest::newRow("only value") << QStringList{"7"} << 0 << true << QStringList{} << pad(18, ".0000");
    QTest::newRow("nothing selected") << QStringList{"1", "2"} << -1 << false
                                      << QStringList{"1", "2"} << "";
    QTest::newRow("past the last row") << QStringList{"1", "2"} << 2 << false
                                       << QStringList{"1", "2"} << "";
}

void TestMemory::remove() {
    QFETCH(QStringList, values);
    QFETCH(int, selected);
    QFETCH(bool, removed);
    QFETCH(QStringList, memory);
    QFETCH(QString, total);
    State s;
    std::vector<std::string> rows = storeAll(s, values).lists.rows;
    std::vector<std::string> expectedRows = rows;
    if (removed) expectedRows.erase(expectedRows.begin() + selected);

    const RemoveOutcome out = removeStored(s, rows, selected);
    QCOMPARE(out.result, removed ? RemoveResult::Removed : RemoveResult::NothingSelected);
    QCOMPARE(toList(out.lists.rows), toList(expectedRows)); // the others keep their texts
    QCOMPARE(memoryOf(s), memory);
    if (removed) QCOMPARE(QString::fromStdString(out.lists.total.value_or("none")), total);
}

void TestMemory::clearEmptiesMemory() {
    State s;
    storeAll(s, {"1", "2", "3"});
    clearMemory(s);
    QCOMPARE(s.memcount, 0);
    QCOMPARE(s.memlist[2], std::string(" 0"));
    QCOMPARE(toList(storeValue(s, "4").lists.rows), QStringList{pad(17, "4.0000")});
}

void TestMemory::recall_data() {
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("entry");
    QTest::newRow("grouped") << "   1,234.5000" << "1234.5";
    QTest::newRow("no row selected") << "" << "0";
    QTest::newRow("negative fraction") << pad(17, "-.2500") << "-0.25";
    QTest::newRow("zero total") << pad(18, ".0000") << "0";
    QTest::newRow("15 digits") << "123,456,789,012,345.0000" << "123456789012345";
}

void TestMemory::recall() {
    QFETCH(QString, row);
    QFETCH(QString, entry);
    QCOMPARE(QString::fromStdString(recallText(row.toStdString())), entry);
}

QTEST_GUILESS_MAIN(TestMemory)
#include "test_memory.moc"
