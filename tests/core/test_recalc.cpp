#include <QtTest>

#include "core/state.h"
#include "tape/recalc.h"

using namespace tally;

class TestRecalc : public QObject {
    Q_OBJECT
private slots:
    void recalculate_data();
    void recalculate();
};

void TestRecalc::recalculate_data() {
    // Entries separated by "|", expected subtotals likewise.
    QTest::addColumn<QString>("entries");
    QTest::addColumn<QString>("subtotals");
    QTest::newRow("as keyed") << "10  |5 +|2 x" << "10|15|30";
    QTest::newRow("line 2 edited to 7 +") << "10  |7 +|2 x" << "10|17|34";
    QTest::newRow("operator changed to -") << "10  |5 +|2 -" << "10|15|13";
    QTest::newRow("line 1 ignores an operator") << "4 x|5 +|2 x" << "4|9|18";
    QTest::newRow("typed text kept, read to the first non-digit") << "1,250 +|5 +" << "1|6";
    QTest::newRow("a lone point, a bare exponent, a double minus") << "2  |. +|1e +|-- +" << "2|2|3|3";
    QTest::newRow("division by zero leaves it empty; next restarts from 0") << "8  |0 /|5 +" << "8||5";
    QTest::newRow("0/0") << "0  |0 /|2 +" << "0||2";
    QTest::newRow("overflow") << "1E+308  |10 x|1 +" << "1E+308||1";
    QTest::newRow("too large an entry") << "1e309 +|1 +" << "|1";
    QTest::newRow("15-digit rounding per step") << "0.1  |0.2 +|0.3 -" << "0.1|0.3|0";
}

void TestRecalc::recalculate() {
    QFETCH(QString, entries);
    QFETCH(QString, subtotals);
    State state;
    const QStringList e = entries.split('|');
    for (int i = 0; i < e.size(); ++i) {
        state.entries[i + 1] = e[i].toStdString();
        state.subtotals[i + 1] = "stale";
    }
    state.nextline = static_cast<int>(e.size()) + 1;
    state.subtotals[state.nextline] = "beyond the tape";
    tally::recalculate(state);
    QStringList got;
    for (int i = 1; i < state.nextline; ++i) got << QString::fromStdString(state.subtotals[i]);
    QCOMPARE(got.join('|'), subtotals);
    QCOMPARE(state.subtotals[state.nextline], std::string("beyond the tape"));
}

QTEST_GUILESS_MAIN(TestRecalc)
#include "test_recalc.moc"
