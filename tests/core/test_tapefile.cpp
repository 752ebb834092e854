#include <QtTest>

#include "files/tapefile.h"

using namespace tally;

namespace {

QByteArray bytesOf(const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); }
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
    void knownBytes();
    void emptyTapeIsEmptyFile();
    void roundTrip();
    void decode_data();
    void decode();
    void applyEmptiesOldLines();
    void latin1Texts();
};

void TestTapeFile::knownBytes() {
    const State s = tapeOf({{"3 +", "15.5"}});
    const QByteArray bytes = bytesOf(encodeTape(s));
    QCOMPARE(bytes, QByteArray("\"3 +\",\"15.5\"\r\n"));
    QCOMPARE(bytes.size(), 12 + 2);
}

void TestTapeFile::emptyTapeIsEmptyFile() {
    State s;
    QCOMPARE(encodeTape(s), std::string());
    s = tapeOf({{"5  ", "5"}, {"2 +", "7"}});
    const TapeDecode loaded = decodeTape("");
    QVERIFY(loaded.ok());
    QVERIFY(loaded.lines.empty());
    applyTape(s, loaded.lines);
    QCOMPARE(s.nextline, 1);
    QVERIFY(s.tapeEmpty());
    QVERIFY(s.entries[2].empty());
}

void TestTapeFile::roundTrip() {
    // Line 1's trailing blanks, a failed (empty) subtotal and a long tape must come back exactly.
    std::vector<TapeLine> lines = {{"5  ", "5"}, {"0 /", ""}, {"1.5E+20 x", ""}, {"-0.001 -", "-12.25"}};
    for (int i = 0; i < 996; ++i) lines.push_back({std::to_string(i) + " +", std::to_string(i * 3)});
    const State saved = tapeOf(lines);
    const std::string bytes = encodeTape(saved);
    QVERIFY(QByteArray::fromStdString(bytes).startsWith("\"5  \",\"5\"\r\n\"0 /\",\"\"\r\n"));

    const TapeDecode loaded = decodeTape(bytes);
    QVERIFY2(loaded.ok(), loaded.error.c_str());
    QVERIFY(loaded.lines == lines);
    State restored = tapeOf({{"9 +", "9"}});
    applyTape(restored, loaded.lines);
    QCOMPARE(restored.nextline, 1001);
    QVERIFY(restored.entries == saved.entries);
    QVERIFY(restored.subtotals == saved.subtotals);
    QCOMPARE(encodeTape(restored), bytes);
}

void TestTapeFile::decode_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("lines"); // -1: refused
    QTest::addColumn<QString>("lastEntry");
    QTest::newRow("1000 records") << records(1000) << 1000 << "1000 +";
    QTest::newRow("1001 records refused") << records(1001) << -1 << "";
    QTest::newRow("one-field last record refused") << records(3) + "\"4 +\"\r\n" << -1 << "";
    QTest::newRow("one empty field refused") << records(2) + "\"\"" << -1 << "";
    QTest::newRow("blank line at end ignored") << records(2) + "\r\n  \r\n" << 2 << "2 +";
    QTest::newRow("no line end after last") << QByteArray("\"5  \",\"5\"") << 1 << "5  ";
    QTest::newRow("LF and bare fields") << QByteArray("5  ,5\n2 +,7\n") << 2 << "2 +";
    QTest::newRow("one record per field line") << QByteArray("\"5  \"\r\n\"5\"\r\n") << 1 << "5  ";
    QTest::newRow("unterminated quote refused") << QByteArray("\"5  \",\"5\r\n") << 1 << "5  ";
    QTest::newRow("binary junk refused") << QByteArray("\x01\x02\x03", 3) << -1 << "";
}

void TestTapeFile::decode() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, lines);
    QFETCH(QString, lastEntry);
    const TapeDecode result = decodeTape(viewOf(bytes));
    if (lines < 0) {
        QVERIFY(!result.ok());
        QVERIFY(result.lines.empty());
        return;
    }
    QVERIFY2(result.ok(), result.error.c_str());
    QCOMPARE(int(result.lines.size()), lines);
    QCOMPARE(QString::fromStdString(result.lines.back().entry), lastEntry);
}

void TestTapeFile::applyEmptiesOldLines() {
    std::vector<TapeLine> ten;
    for (int i = 1; i <= 10; ++i) ten.push_back({std::to_string(i) + " +", std::to_string(i)});
    State s = tapeOf(ten);
    QCOMPARE(s.nextline, 11);
    applyTape(s, {{"7  ", "7"}, {"1 +", "8"}, {"2 x", "16"}});
    QCOMPARE(s.nextline, 4);
    QCOMPARE(QString::fromStdString(s.entries[3]), QString("2 x"));
    QCOMPARE(QString::fromStdString(s.subtotals[3]), QString("16"));
    for (int i = 4; i <= 10; ++i) {
        QVERIFY(s.entries[std::size_t(i)].empty());
        QVERIFY(s.subtotals[std::size_t(i)].empty());
    }
}

void TestTapeFile::latin1Texts() {
    const State s = tapeOf({{"\xc2\xb5 x", "\xe2\x82\xac"}});
    const std::string bytes = encodeTape(s);
    QCOMPARE(bytesOf(bytes), QByteArray("\"\xb5 x\",\"?\"\r\n"));
    const TapeDecode loaded = decodeTape(bytes);
    QVERIFY(loaded.ok());
    QCOMPARE(loaded.lines[0].entry, std::string("\xc2\xb5 x"));
}

QTEST_GUILESS_MAIN(TestTapeFile)
#include "test_tapefile.moc"
