#include <QtTest>

#include "core/numbers.h"
#include "core/taperule.h"

using namespace tally;

class TestTapeRule : public QObject {
    Q_OBJECT
private slots:
    void combine_data();
    void combine();
    void failuresThrow_data();
    void failuresThrow();
};

void TestTapeRule::combine_data() {
    QTest::addColumn<QString>("previous");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("subtotal");
    QTest::newRow("add") << "5" << "3 +" << int(kAdd) << "8";
    QTest::newRow("multiply") << "5" << "3 x" << int(kMultiply) << "15";
    QTest::newRow("subtract is previous minus entry") << "15" << "4 -" << int(kSubtract) << "11";
    QTest::newRow("divide is previous over entry") << "11" << "2 /" << int(kDivide) << "5.5";
    QTest::newRow("empty previous reads 0") << "" << "5 +" << int(kAdd) << "5";
    QTest::newRow("rounded to 15 digits") << "0.1" << "0.2 +" << int(kAdd) << "0.3";
}

void TestTapeRule::combine() {
    QFETCH(QString, previous);
    QFETCH(QString, entry);
    QFETCH(int, code);
    QFETCH(QString, subtotal);
    QCOMPARE(QString::fromStdString(tally::combine(previous.toStdString(), entry.toStdString(),
                                                   operatorChar(code))),
             subtotal);
}

void TestTapeRule::failuresThrow_data() {
    QTest::addColumn<QString>("previous");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QChar>("op");
    QTest::newRow("division by zero") << "8" << "0 /" << QChar('/');
    QTest::newRow("zero over zero") << "0" << "0 /" << QChar('/');
    QTest::newRow("overflow") << "1E+308" << "1E+308 x" << QChar('x');
    QTest::newRow("entry too large") << "1" << "1e309 +" << QChar('+');
    QTest::newRow("no operator") << "1" << "2  " << QChar(' ');
}

void TestTapeRule::failuresThrow() {
    QFETCH(QString, previous);
    QFETCH(QString, entry);
    QFETCH(QChar, op);
    QVERIFY_THROWS_EXCEPTION(NumberFailure, tally::combine(previous.toStdString(), entry.toStdString(),
                                                           op.toLatin1()));
}

QTEST_GUILESS_MAIN(TestTapeRule)
#include "test_taperule.moc"
