#include <QtTest>

#include "files/lastsession.h"
#include "files/tapefile.h"
#include "tape/cells.h"
#include "tape/copytext.h"

class TestCopyTape : public QObject {
    Q_OBJECT
private slots:
    void copyText_data();
    void copyText();
    void stateFolder_data();
    void stateFolder();
};

void TestCopyTape::copyText_data() {
    QTest::addColumn<QStringList>("lines"); // "entry|subtotal"
    QTest::addColumn<int>("places");
    QTest::addColumn<QString>("text");
    QTest::newRow("known tape") << QStringList{"1234.5  |1234.5", "2 +|1236.5", "3 x|3709.5"} << 2
                                << "1\t1,234.50\t\t1,234.50\n2\t2.00\t+\t1,236.50\n3\t3.00\tx\t3,709.50\n";
    QTest::newRow("subtotal follows the places") << QStringList{"2.125  |2.125"} << 0 << "1\t2.125\t\t2\n";
    QTest::newRow("failed subtotal stays empty") << QStringList{"5  |5", "0 /|"} << 1 << "1\t5.00\t\t5.0\n2\t.00\t/\t\n";
    QTest::newRow("loaded tab keeps four columns") << QStringList{"5  |a\tb"} << 2 << "1\t5.00\t\ta b\n";
    QTest::newRow("empty tape") << QStringList{} << 2 << "";
}

void TestCopyTape::copyText() {
    QFETCH(QStringList, lines);
    QFETCH(int, places);
    QFETCH(QString, text);
    std::vector<tally::TapeLine> tape;
    for (const QString& line : lines) tape.push_back({line.section('|', 0, 0).toStdString(), line.section('|', 1).toStdString()});
    tally::State state;
    tally::applyTape(state, tape);
    QCOMPARE(QString::fromStdString(tally::copyText(state, tally::kSubtotalPatterns.at(places))), text);
}

void TestCopyTape::stateFolder_data() {
    QTest::addColumn<QString>("xdgStateHome");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("folder");
    QTest::newRow("XDG_STATE_HOME set") << "/var/st/" << "/home/u" << "/var/st/tallyroll";
    QTest::newRow("unset: under home") << "" << "/home/u" << "/home/u/.local/state/tallyroll";
    QTest::newRow("relative is ignored") << "st" << "/home/u" << "/home/u/.local/state/tallyroll";
    QTest::newRow("no absolute folder at all") << "st" << "u" << "";
}

void TestCopyTape::stateFolder() {
    QFETCH(QString, xdgStateHome);
    QFETCH(QString, home);
    QFETCH(QString, folder);
    QCOMPARE(QString::fromStdString(tally::stateFolder(xdgStateHome.toStdString(), home.toStdString())), folder);
}

QTEST_APPLESS_MAIN(TestCopyTape)
#include "test_copytape.moc"
