#include <QtTest>

#include "files/lastsession.h"
#include "files/tapefile.h"
#include "tape/cells.h"
#include "tape/copytext.h"

class TestCopyTape : public QObject {
    Q_OBJECT
private slots:
    void copyText_data() {
        QTest::addColumn<QStringList>("lines"); // "entry|subtotal"
        QTest::addColumn<int>("places");
        QTest::addColumn<QString>("text");
        QTest::newRow("known tape") << QStringList{"1234.5  |1234.5", "2 +|1236.5", "3 x|3709.5"} << 2
                                    << "1\t1,234.50\t\t1,234.50\n2\t2.00\t+\t1,236.50\n3\t3.00\tx\t3,709.50\n";
        QTest::newRow("subtotal follows the places") << QStringList{"2.125  |2.125"} << 0 << "1\t2.125\t\t2\n";
        QTest::newRow("failed subtotal stays empty") << QStringList{"5  |5", "0 /|"} << 1 << "1\t5.00\t\t5.0\n2\t.00\t/\t\n";
        QTest::newRow("loaded tab keeps four columns") << QStringList{"5  |a\tb"} << 2 << "1\t5.00\t\ta b\n";
    }
    void copyText() {
        QFETCH(QStringList, lines);
        QFETCH(int, places);
        QFETCH(QString, text);
        std::vector<tally::TapeLine> tape;
        for (const QString& line : lines) tape.push_back({line.section('|', 0, 0).toStdString(), line.section('|', 1).toStdString()});
        tally::State state;
        tally::applyTape(state, tape);
        QCOMPARE(QString::fromStdString(tally::copyText(state, tally::kSubtotalPatterns.at(places))), text);
    }

    void stateFolder_data() { // XDG_STATE_HOME|HOME
        QTest::addColumn<QString>("folder");
        QTest::newRow("/var/st/|/home/u") << "/var/st/tallyroll";
        QTest::newRow("|/home/u") << "/home/u/.local/state/tallyroll";
        QTest::newRow("relative|/home/u") << "/home/u/.local/state/tallyroll";
        QTest::newRow("relative|u") << "";
    }
    void stateFolder() {
        QFETCH(QString, folder);
        const QStringList env = QString(QTest::currentDataTag()).split('|');
        QCOMPARE(QString::fromStdString(tally::stateFolder(env[0].toStdString(), env[1].toStdString())), folder);
    }
};

QTEST_APPLESS_MAIN(TestCopyTape)
#include "test_copytape.moc"
