#include <QtTest>

#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <random>

#include "core/numbers.h"

using namespace tally;

class TestNumbers : public QObject {
    Q_OBJECT
private slots:
    void numbertextExamples_data();
    void numbertextExamples();
    void numbertextRejectsNonFinite();
    void textvalueExamples_data();
    void textvalueExamples();
    void textvalueOverflowFails();
    void formatnumberExamples_data();
    void formatnumberExamples();
    void formatnumberTexts_data();
    void formatnumberTexts();
    void roundTripRandomDoubles();
    void independentOfCommaLocale();
    void hostileTextNeverHangs();
};

void TestNumbers::numbertextExamples_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("15.5") << 15.5 << "15.5";
    QTest::newRow("0.1+0.2") << 0.1 + 0.2 << "0.3";
    QTest::newRow("15 digits") << 123456789012345.0 << "123456789012345";
    QTest::newRow("1e15") << 1e15 << "1E+15";
    QTest::newRow("0.0001") << 0.0001 << "0.0001";
    QTest::newRow("0.00001") << 0.00001 << "1E-05";
    QTest::newRow("-2.5") << -2.5 << "-2.5";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("1/3") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("2/3 rounds") << 2.0 / 3 << "0.666666666666667";
    QTest::newRow("big exponent") << 1.5e300 << "1.5E+300";
    QTest::newRow("small exponent") << -2.25e-100 << "-2.25E-100";
    QTest::newRow("whole") << 30.0 << "30";
}

void TestNumbers::numbertextExamples() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(numbertext(value)), text);
}

void TestNumbers::numbertextRejectsNonFinite() {
    QVERIFY_THROWS_EXCEPTION(NumberFailure, numbertext(std::numeric_limits<double>::infinity()));
    QVERIFY_THROWS_EXCEPTION(NumberFailure, numbertext(std::nan("")));
}

void TestNumbers::textvalueExamples_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("entry +") << "12.5 +" << 12.5;
    QTest::newRow("entry x") << "-3 x" << -3.0;
    QTest::newRow("entry exp") << "1.5E+20 /" << 1.5e20;
    QTest::newRow("first line") << "12.5  " << 12.5;
    QTest::newRow("blanks around sign") << "  -3 x" << -3.0;
    QTest::newRow("blanks between digits") << "1 2 3" << 123.0;
    QTest::newRow("tab and line feed") << "\t1\n2" << 12.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("comma stops") << "1,234" << 1.0;
    QTest::newRow("leading fraction") << ".5" << 0.5;
    QTest::newRow("lone minus") << "-" << 0.0;
    QTest::newRow("lone point") << "." << 0.0;
    QTest::newRow("two points") << "1.2.3" << 1.2;
    QTest::newRow("plus sign") << "+7" << 7.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("exponent d") << "2d3" << 2000.0;
    QTest::newRow("exponent without digits") << "4e" << 4.0;
    QTest::newRow("text of the largest double") << "1.79769313486232E+308" << std::numeric_limits<double>::max();
    QTest::newRow("text of the lowest double") << "-1.79769313486232E+308 -" << std::numeric_limits<double>::lowest();
    QTest::newRow("exponent sign without digits") << "4e+x" << 4.0;
    QTest::newRow("negative exponent") << "5E-3" << 0.005;
    QTest::newRow("leading zeros") << "00012.50" << 12.5;
    QTest::newRow("underflow reads 0") << "1e-999" << 0.0;
    QTest::newRow("many digits") << QString(400, '1').prepend("0.") << 0.1111111111111111;
    QTest::newRow("hex prefix is no number") << "&H10" << 0.0;
    QTest::newRow("carriage return stops") << "1\r2" << 1.0;
}

void TestNumbers::textvalueExamples() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(textvalue(text.toStdString()), value);
}

void TestNumbers::textvalueOverflowFails() {
    QVERIFY_THROWS_EXCEPTION(NumberFailure, textvalue("1e309"));
    QVERIFY_THROWS_EXCEPTION(NumberFailure, textvalue(std::string(400, '9')));
    QVERIFY_THROWS_EXCEPTION(NumberFailure, textvalue("1e99999999999999999999"));
    QCOMPARE(textvalue("1.7976931348623157e308"), std::numeric_limits<double>::max());
    QVERIFY_THROWS_EXCEPTION(NumberFailure, textvalue("1.797693134862321E+308"));
}

void TestNumbers::formatnumberExamples_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::newRow("grouped") << 1234.5 << "###,###,###.00" << "1,234.50";
    QTest::newRow("negative grouped") << -1234.5 << "###,###,###.00" << "-1,234.50";
    QTest::newRow("no decimals") << 1234567.891 << "###,###,###" << "1,234,568";
    QTest::newRow("zero two places") << 0.0 << "###,###,###.00" << ".00";
    QTest::newRow("short pattern") << 7.0 << "####" << "7";
    QTest::newRow("integer part in full") << 123456.0 << "####" << "123456";
    QTest::newRow("min decimals") << 1.5 << "##,###.00######" << "1.50";
    QTest::newRow("max decimals") << 0.123456789 << "##,###.00######" << ".12345679";
    QTest::newRow("half away from zero") << 2.5 << "###,###,###" << "3";
    QTest::newRow("negative half away") << -2.5 << "###,###,###" << "-3";
    QTest::newRow("binary tie") << 0.125 << "#.##" << ".13";
    QTest::newRow("zero, no placeholder 0") << 0.0 << "###,###,###" << "";
    QTest::newRow("small rounds to zero") << 0.004 << "###,###,###.00" << ".00";
    QTest::newRow("point without digits") << 12.0 << "#####.#####" << "12.";
    QTest::newRow("half below 1") << 0.5 << "##,###.00" << ".50";
    QTest::newRow("carry into integer") << 9.999 << "###,###,###.00" << "10.00";
    QTest::newRow("carry into new group") << 999999.996 << "###,###,###.00" << "1,000,000.00";
    QTest::newRow("zero placeholder pads") << 5.0 << "00.00" << "05.00";
    QTest::newRow("memory row") << 123456789012345.0 << "####,###,###,###,###.0000"
                                << "123,456,789,012,345.0000";
    QTest::newRow("big value in full") << 1e20 << "###,###,###" << "100,000,000,000,000,000,000";
    QTest::newRow("empty pattern is general") << 2.5 << "" << "2.5";
    QTest::newRow("four places") << 1234.56 << "###,###,###.0000" << "1,234.5600";
    QTest::newRow("no grouping") << 1234.5 << "#################.0000" << "1234.5000";
}

void TestNumbers::formatnumberExamples() {
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(formatnumber(value, pattern.toStdString())), text);
}

void TestNumbers::formatnumberTexts_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::newRow("number text") << "-2.5" << "###,###,###.0000" << "-2.5000";
    QTest::newRow("not a number") << "abc" << "###,###,###.00" << "abc";
    QTest::newRow("empty") << "" << "###,###,###.00" << "";
    QTest::newRow("exponent text") << "1.5E+20" << "###,###,###" << "150,000,000,000,000,000,000";
    QTest::newRow("group commas and blanks") << "   1,234.5000" << "###############.0000" << "1234.5000";
    QTest::newRow("entry with operator is no number") << "12.5 +" << "##,###.00" << "12.5 +";
    QTest::newRow("two numbers") << "1 2" << "####" << "1 2";
    QTest::newRow("lone point") << "." << "####" << ".";
    QTest::newRow("exponent needs digits") << "1e" << "####" << "1e";
    QTest::newRow("negative fraction") << "-.2500" << "####.0000" << "-.2500";
}

void TestNumbers::formatnumberTexts() {
    QFETCH(QString, input);
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(formatnumber(input.toStdString(), pattern.toStdString())), text);
}

void TestNumbers::roundTripRandomDoubles() {
    std::mt19937_64 rng(20261207);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-300, 300);
    for (int i = 0; i < 20000; ++i) {
        const double x = mantissa(rng) * std::pow(10.0, exponent(rng));
        const double back = textvalue(numbertext(x));
        // Exactly the double that 15 significant digits name.
        char buf[64];
        auto end = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 14).ptr;
        double expected = 0;
        std::from_chars(buf, end, expected);
        QCOMPARE(back, expected);
        QCOMPARE(numbertext(back), numbertext(x));
    }
}

void TestNumbers::independentOfCommaLocale() {
    // Qt sets the process locale from the environment; a comma locale must change nothing.
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8"))
        QSKIP("no comma-decimal locale on this machine");
    QCOMPARE(QString::fromStdString(numbertext(15.5)), QString("15.5"));
    QCOMPARE(textvalue("12.5 +"), 12.5);
    QCOMPARE(textvalue("12,5"), 12.0);
    QCOMPARE(QString::fromStdString(formatnumber(1234.5, "###,###,###.00")), QString("1,234.50"));
    std::setlocale(LC_ALL, saved.c_str());
}

void TestNumbers::hostileTextNeverHangs() {
    const std::string huge(2'000'000, '7');
    QVERIFY_THROWS_EXCEPTION(NumberFailure, textvalue(huge));
    QCOMPARE(textvalue("0." + huge), 0.7777777777777778);
    QCOMPARE(textvalue(std::string(1'000'000, ' ') + "5"), 5.0);
    QCOMPARE(formatnumber(std::string(100000, '1') + "x", "#"), std::string(100000, '1') + "x");
    QCOMPARE(formatnumber(1.0, std::string(5000, '0') + "." + std::string(5000, '#')).size(), 5001u);
    QCOMPARE(QString::fromStdString(formatnumber(std::string("\xff\x00\x80", 3), "#")),
             QString::fromStdString(std::string("\xff\x00\x80", 3)));
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "test_numbers.moc"
