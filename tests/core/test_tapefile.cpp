#include <QtTest>

#include "files/tapefile.h"

using namespace tally;

namespace {

std::string_view viewOf(const QByteArray& b) { return {b.constData(), std::size_t(b.size())}; }

State tapeOf(const std::vector<TapeLine>& lines) {
    State s;
    applyTape(s, lines);
    return s;
}

QByteArray records(int count) {
    QByteArray out;
    for (int i = 1; i <= count; ++i) out += "\"" + QByteArray::number(i) + " +\",\"" + QByteArray::number(i) + "\"\r\n";
    return out;
}

} // namespace

class TestTapeFile : public QObject {
    Q_OBJECT
private slots:
    void encode_data();
    void encode();
    void roundTrip();
    void decode_data();
    void decode();
    void applyEmptiesOldLines();
};

void TestTapeFile::encode_data() {
    QTest::addColumn<QString>("entry"); // one line; empty: an empty tape
    QTest::addColumn<QString>("subtotal");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("known tape") << "3 +" << "15.5" << QByteArray("\"3 +\",\"15.5\"\r\n");
    QTest::newRow("empty tape, empty file") << "" << "" << QByteArray("");
    QTest::newRow("Latin-1 on disk") << "\u00b5 x" << "\u20ac" << QByteArray("\"\xb5 x\",\"?\"\r\n");
}

void TestTapeFile::encode() {
    QFETCH(QString, entry);
    QFETCH(QString, subtotal);
    QFETCH(QByteArray, bytes);
    const State s = entry.isEmpty() ? State{} : tapeOf({{entry.toStdString(), subtotal.toStdString()}});
    QCOMPARE(QByteArray::fromStdString(encodeTape(s)), bytes);
}

// Save, open, save: the same bytes and the same subtotals; Save As checks that by reading back.
void TestTapeFile::roundTrip() {
    // Trailing blanks, failed (empty) subtotals, a comma, a Latin-1 letter and a full tape come back exactly.
    std::vector<TapeLine> lines = {{"5  ", "5"}, {"0 /", ""}, {"1.5E+20 x  ", ""}, {"1,234 +", "1,239"},
                                   {"caf\u00e9 +", " "}};
    for (int i = 0; i < 995; ++i) lines.push_back({std::to_string(i) + " +", std::to_string(i * 3)});
    const State saved = tapeOf(lines);
    const std::string bytes = encodeTape(saved);
    QVERIFY(QByteArray::fromStdString(bytes).startsWith("\"5  \",\"5\"\r\n\"0 /\",\"\"\r\n"));

    const TapeDecode loaded = decodeTape(bytes);
    QVERIFY2(loaded.ok(), loaded.error.c_str());
    QVERIFY(loaded.lines == lines);
    State restored = tapeOf({{"9 +", "9"}});
    applyTape(restored, loaded.lines);
    QCOMPARE(restored.nextline, 1001);
    QCOMPARE(encodeTape(restored), bytes);
    QVERIFY(restored.subtotals == saved.subtotals);
    QCOMPARE(readBackProblem(saved, bytes), std::string());
    State quoted = saved; // a quote would end the field early and shift the line's texts
    quoted.entries[2] = "7\" +";
    QVERIFY(readBackProblem(quoted, encodeTape(quoted)).starts_with("Line 2 "));
}

void TestTapeFile::decode_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("lines"); // -1: refused
    QTest::addColumn<QString>("lastEntry");
    QTest::newRow("1000 records") << records(1000) << 1000 << "1000 +";
    QTest::newRow("1001 records refused") << records(1001) << -1 << "";
    QTest::newRow("one-field last record refused") << records(3) + "\"4 +\"\r\n" << -1 << "";
    QTest::newRow("empty file") << QByteArray() << 0 << "";
    QTest::newRow("blank lines at end ignored") << records(2) + "\r\n  \r\n" << 2 << "2 +";
    QTest::newRow("LF, bare fields, no last line end") << QByteArray("5  ,5\n2 +,7") << 2 << "2 +";
    QTest::newRow("one record per field line") << QByteArray("\"5  \"\r\n\"5\"\r\n") << 1 << "5  ";
    QTest::newRow("binary junk refused") << QByteArray("\x01\x02\x03", 3) << -1 << "";
}

void TestTapeFile::decode() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, lines);
    QFETCH(QString, lastEntry);
    const TapeDecode result = decodeTape(viewOf(bytes));
    QCOMPARE(result.ok(), lines >= 0);
    QCOMPARE(int(result.lines.size()), std::max(lines, 0));
    if (lines > 0) QCOMPARE(QString::fromStdString(result.lines.back().entry), lastEntry);
}

void TestTapeFile::applyEmptiesOldLines() {
    std::vector<TapeLine> ten;
    for (int i = 1; i <= 10; ++i) ten.push_back({std::to_string(i) + " +", std::to_string(i)});
    State s = tapeOf(ten);
    applyTape(s, {{"7  ", "7"}, {"1 +", "8"}, {"2 x", "16"}});
    QCOMPARE(s.nextline, 4);
    QCOMPARE(QString::fromStdString(s.subtotals[3]), QString("16"));
    for (int i = 4; i <= 10; ++i) QVERIFY(s.entries[std::size_t(i)].empty() && s.subtotals[std::size_t(i)].empty());
    applyTape(s, {});
    QCOMPARE(s.nextline, 1);
    QVERIFY(s.tapeEmpty());
}

QTEST_GUILESS_MAIN(TestTapeFile)
#include "test_tapefile.moc"
