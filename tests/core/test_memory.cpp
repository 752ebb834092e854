// The memory of stored subtotals: which line a Store takes, the rows and total the two lists show,
// Remove's rebuild from the shown rows, Clear, and the entry text a recalled row gives.
#include <QtTest>

#include "memory/memory.h"
#include "tapes.h"

using namespace tally;

static QString pad(int blanks, const char* text) { return QString(blanks, ' ') + text; }

static QStringList list(const std::vector<std::string>& texts) {
    QStringList l;
    for (const auto& t : texts) l << q(t);
    return l;
}

static QStringList memoryOf(const State& s) { return list({s.memlist.begin(), s.memlist.begin() + s.memcount}); }

// Writes a tape line with each subtotal, as the keypad does, and stores it from the newest line.
static StoreOutcome storeAll(State& s, const QStringList& values) {
    StoreOutcome last;
    for (const auto& v : values) {
        s.entries[s.nextline] = "1 +";
        s.subtotals[s.nextline++] = v.toStdString();
        last = storeSubtotal(s, 0, 0);
    }
    return last;
}

class TestMemory : public QObject {
    Q_OBJECT
private slots:
    void store_data() {
        columns<QStringList>({"values", "rows"}); // no rows listed: not compared
        columns({"total"});
        QTest::newRow("grouped") << QStringList{"1234.5"} << QStringList{pad(13, "1,234.5000")} << pad(13, "1,234.5000");
        QTest::newRow("no digit before the point") << QStringList{"-0.25"} << QStringList{pad(17, "-.2500")} << pad(17, "-.2500");
        QTest::newRow("total 0") << QStringList{"5", "-5"} << QStringList{pad(17, "5.0000"), pad(16, "-5.0000")} << pad(18, ".0000");
        // A row wider than its 23 characters takes the exponent form rather than losing its front.
        QTest::newRow("23 characters grouped") << QStringList{"12345678901234"} << QStringList{pad(0, "12,345,678,901,234.0000")} << pad(0, "12,345,678,901,234.0000");
        QTest::newRow("15 digits in exponent form") << QStringList{"123456789012345"} << QStringList{pad(3, "1.23456789012345E+14")} << pad(3, "1.23456789012345E+14");
        QTest::newRow("exponent form") << QStringList{"1.5E+20", "-1.5E+20"} << QStringList{pad(16, "1.5E+20"), pad(15, "-1.5E+20")} << pad(18, ".0000");
        QTest::newRow("total too large: List2 stays empty") << QStringList{"1.7E+308", "1.7E+308"} << QStringList{} << "<none>";
    }
    void store() {
        const QStringList values = fetch<QStringList>("values"), rows = fetch<QStringList>("rows");
        State s;
        const StoreOutcome out = storeAll(s, values);
        QCOMPARE(out.result, StoreResult::Stored);
        QCOMPARE(out.lists.rows.size(), std::size_t(values.size()));
        if (!rows.isEmpty()) QCOMPARE(list(out.lists.rows), rows);
        QCOMPARE(q(out.lists.total), fetch("total"));
        QCOMPARE(memoryOf(s), values); // stored as the tape holds them
    }

    void storeChoosesLine_data() {
        columns<QStringList>({"tape"});
        columns<int>({"viewmode", "scrollline"});
        columns({"stored"}); // "" when nothing is stored
        const QStringList tape{"10", "30", "", "60"};
        QTest::newRow("newest") << tape << 0 << 2 << "60";
        QTest::newRow("scrolled") << tape << 2 << 2 << "30";
        QTest::newRow("scrolled to line 1") << tape << 2 << 1 << "10";
        QTest::newRow("scrolled to a failed line") << tape << 2 << 3 << "";
        QTest::newRow("empty tape") << QStringList{} << 0 << 0 << "";
        QTest::newRow("scrolled past the end") << tape << 2 << 5 << "";
        QTest::newRow("scrolled to line 0") << tape << 2 << 0 << "";
    }
    void storeChoosesLine() {
        const QString stored = fetch("stored");
        State s;
        for (const auto& t : fetch<QStringList>("tape")) {
            s.entries[s.nextline] = "1 +";
            s.subtotals[s.nextline++] = t.toStdString();
        }
        s.subtotals[0] = s.subtotals[5] = "99"; // not lines of the tape
        const StoreOutcome out = storeSubtotal(s, fetch<int>("viewmode"), fetch<int>("scrollline"));
        QCOMPARE(out.result, stored.isEmpty() ? StoreResult::NothingToStore : StoreResult::Stored);
        QCOMPARE(memoryOf(s), stored.isEmpty() ? QStringList{} : QStringList{stored});
    }

    void remove_data() {
        columns<QStringList>({"values"});
        columns<int>({"selected"});
        columns<QStringList>({"memory"});
        columns({"total"}); // "" when nothing is removed
        QTest::newRow("15 digits survive") << QStringList{"123456789012345", "1.5"} << 1 << QStringList{"123456789012345.0000"} << pad(3, "1.23456789012345E+14");
        // Memory keeps the rounded values, so later totals add those.
        QTest::newRow("rounded to four decimals") << QStringList{"1.00004", "1.00004", "5"} << 2 << QStringList{"1.0000", "1.0000"} << pad(17, "2.0000");
        QTest::newRow("first of three") << QStringList{"1", "-2.5", "3"} << 0 << QStringList{"-2.5000", "3.0000"} << pad(18, ".5000");
        QTest::newRow("only value") << QStringList{"7"} << 0 << QStringList{} << pad(18, ".0000");
        QTest::newRow("nothing selected") << QStringList{"1", "2"} << -1 << QStringList{"1", "2"} << "";
        QTest::newRow("past the last row") << QStringList{"1", "2"} << 2 << QStringList{"1", "2"} << "";
    }
    void remove() {
        const int selected = fetch<int>("selected");
        const QString total = fetch("total");
        State s;
        const std::vector<std::string> rows = storeAll(s, fetch<QStringList>("values")).lists.rows;
        QStringList expectedRows = list(rows);
        if (!total.isEmpty()) expectedRows.removeAt(selected);
        const RemoveOutcome out = removeStored(s, rows, selected);
        QCOMPARE(out.result, total.isEmpty() ? RemoveResult::NothingSelected : RemoveResult::Removed);
        QCOMPARE(list(out.lists.rows), expectedRows); // the others keep their texts
        QCOMPARE(memoryOf(s), fetch<QStringList>("memory"));
        if (!total.isEmpty()) QCOMPARE(q(out.lists.total), total);
    }

    // List1 scrolls to keep the newest 25 rows in sight; a store into a full memory is refused;
    // Clear empties it and the next store is the first row again.
    void manyStores() {
        State s;
        QList<int> first;
        for (int k = 1; k <= 30; ++k) first << storeAll(s, {QString::number(k)}).firstVisibleRow;
        QCOMPARE(first.mid(23), (QList<int>{0, 0, 1, 2, 3, 4, 5}));
        s.memcount = kMemorySlots - 1;
        QCOMPARE(storeAll(s, {"7"}).result, StoreResult::Stored);
        QCOMPARE(storeAll(s, {"8"}).result, StoreResult::Full);
        QCOMPARE(s.memcount, kMemorySlots);
        QCOMPARE(q(s.memlist[kMemorySlots - 1]), QString("7"));
        clearMemory(s);
        QCOMPARE(q(s.memlist[2]), QString(" 0"));
        QCOMPARE(list(storeAll(s, {"4"}).lists.rows), QStringList{pad(17, "4.0000")});
    }

    void recall_data() {
        columns({"row", "entry"});
        QTest::newRow("grouped, four decimals") << "   1,234.5678" << "1234.5678";
        QTest::newRow("no row selected") << "" << "0";
        QTest::newRow("negative fraction") << pad(17, "-.2500") << "-0.25";
        QTest::newRow("15 digits") << "123,456,789,012,345.0000" << "123456789012345";
    }
    void recall() { QCOMPARE(q(recallText(str("row"))), fetch("entry")); }
};

QTEST_GUILESS_MAIN(TestMemory)
#include "test_memory.moc"
