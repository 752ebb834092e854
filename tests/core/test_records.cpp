#include <QtTest>

#include "files/records.h"

using namespace tally;

namespace {

QByteArray bytesOf(const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); }
std::string_view viewOf(const QByteArray& b) { return {b.constData(), std::size_t(b.size())}; }

} // namespace

class TestRecords : public QObject {
    Q_OBJECT
private slots:
    void fields_data();
    void fields();
    void latin1_data();
    void latin1();
    void latin1RoundTrip();
};

void TestRecords::fields_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QList<QByteArray>>("expected");
    using L = QList<QByteArray>;
    QTest::newRow("quoted field holds commas") << QByteArray("\"a,b\",\"c\"\r\n") << L{"a,b", "c"};
    QTest::newRow("bare fields keep trailing blanks") << QByteArray("3 +  ,15.5\r\n") << L{"3 +  ", "15.5"};
    QTest::newRow("blanks before a field skipped") << QByteArray("  \"x\",\t y\r\n") << L{"x", "y"};
    QTest::newRow("blanks inside quotes kept") << QByteArray("\"5  \",\"5\"") << L{"5  ", "5"};
    QTest::newRow("CRLF, LF and CR end lines") << QByteArray("a\r\nb\nc\rd") << L{"a", "b", "c", "d"};
    QTest::newRow("after closing quote skip to separator") << QByteArray("\"a\" junk,b\r\nc")
                                                         << L{"a", "b", "c"};
    QTest::newRow("unterminated quote runs to end") << QByteArray("\"abc,def\r\nghi")
                                                    << L{"abc,def\r\nghi"};
    QTest::newRow("lone quote at end") << QByteArray("a,\"") << L{"a", ""};
    QTest::newRow("empty quoted fields") << QByteArray("\"\",\"\"\r\n") << L{"", ""};
    QTest::newRow("comma at end promises a field") << QByteArray("a,") << L{"a", ""};
    QTest::newRow("two line ends, two fields") << QByteArray("\n\n") << L{"", ""};
    QTest::newRow("only blanks: no field") << QByteArray("   ") << L{};
    QTest::newRow("leading UTF-8 byte-order mark skipped") << QByteArray("\xEF\xBB\xBF\"12.5  \",\xEF\xBB\xBF")
                                                            << L{"12.5  ", "\xEF\xBB\xBF"};
    QTest::newRow("NUL bytes are plain bytes") << QByteArray("a\0b,c", 5)
                                               << L{QByteArray("a\0b", 3), "c"};
}

void TestRecords::fields() {
    QFETCH(QByteArray, input);
    QFETCH(QList<QByteArray>, expected);
    RecordReader reader(viewOf(input));
    QList<QByteArray> fields;
    while (auto field = reader.nextField()) fields << bytesOf(*field);
    QCOMPARE(fields, expected);
}

void TestRecords::latin1_data() {
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<QByteArray>("latin1");
    QTest::newRow("micro sign") << QByteArray("\xc2\xb5g/L") << QByteArray("\xb5g/L");
    QTest::newRow("euro is not Latin-1") << QByteArray("\xe2\x82\xac" "5") << QByteArray("?5");
    QTest::newRow("stray byte") << QByteArray("a\xff" "b") << QByteArray("a?b");
    QTest::newRow("truncated at end") << QByteArray("a\xc3") << QByteArray("a?");
    QTest::newRow("truncated before ascii") << QByteArray("\xe2\x82" "b") << QByteArray("??b");
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << QByteArray("??");
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << QByteArray("???");
}

void TestRecords::latin1() {
    QFETCH(QByteArray, utf8);
    QFETCH(QByteArray, latin1);
    QCOMPARE(bytesOf(tally::utf8ToLatin1(viewOf(utf8))), latin1);
}

void TestRecords::latin1RoundTrip() {
    std::string all;
    for (int c = 0; c < 256; ++c) all += char(c);
    const std::string utf8 = latin1ToUtf8(all);
    QCOMPARE(QString::fromUtf8(bytesOf(utf8)), QString::fromLatin1(bytesOf(all)));
    QCOMPARE(bytesOf(tally::utf8ToLatin1(utf8)), bytesOf(all));
}

QTEST_GUILESS_MAIN(TestRecords)
#include "test_records.moc"
