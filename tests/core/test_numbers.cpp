// The three number functions. Every row runs under a comma-decimal locale when the machine has
// one: "." stays the point and "," the group separator whatever the process locale says.
#include <QtTest>

#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <random>

#include "core/numbers.h"
#include "tapes.h"

using namespace tally;

static const double kNone = qQNaN(); // no number: a failure, not a value
static const double kMax = std::numeric_limits<double>::max();

class TestNumbers : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8"))
            qInfo("no comma-decimal locale here: the rows run in the locale the test started with");
    }

    void numbertext_data() {
        columns<double>({"value"});
        columns({"text"});
        QTest::newRow("0.1+0.2 at 15 digits") << 0.1 + 0.2 << "0.3";
        QTest::newRow("15 digits plain") << 123456789012345.0 << "123456789012345";
        QTest::newRow("1e15 in exponent form") << 1e15 << "1E+15";
        QTest::newRow("0.0001 plain") << 0.0001 << "0.0001";
        QTest::newRow("0.00001, two exponent digits") << 0.00001 << "1E-05";
        QTest::newRow("negative") << -2.5 << "-2.5";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("2/3 rounds up") << 2.0 / 3 << "0.666666666666667";
        QTest::newRow("three exponent digits") << -2.25e-100 << "-2.25E-100";
        QTest::newRow("largest double") << kMax << "1.79769313486232E+308";
        QTest::newRow("inf") << qInf() << "<none>";
        QTest::newRow("NaN") << qQNaN() << "<none>";
    }
    void numbertext() { QCOMPARE(q(tally::numbertext(fetch<double>("value"))), fetch("text")); }

    void textvalue_data() {
        columns({"text"});
        columns<double>({"value"});
        QTest::newRow("entry with blanks around the sign") << "  -3 x" << -3.0;
        QTest::newRow("line 1's two blanks") << "12.5  " << 12.5;
        QTest::newRow("blanks, tab, line feed inside") << "1 2\t3\n4" << 1234.0;
        QTest::newRow("carriage return stops") << "1\r2" << 1.0;
        QTest::newRow("comma stops") << "1,234" << 1.0;
        QTest::newRow("leading comma: no number") << ",5" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("lone minus") << "-" << 0.0;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("plus sign") << "+7" << 7.0;
        QTest::newRow("hex prefix is no number") << "&H10" << 0.0;
        QTest::newRow("exponent letter d") << "2d3" << 2000.0;
        QTest::newRow("exponent without digits") << "4e+x" << 4.0;
        QTest::newRow("negative exponent") << "5E-3" << 0.005;
        QTest::newRow("leading zeros") << "00012.50" << 12.5;
        QTest::newRow("underflow reads 0") << "1e-999" << 0.0;
        QTest::newRow("largest double in full") << "1.7976931348623157e308" << kMax;
        QTest::newRow("text of the largest double") << "1.79769313486232E+308" << kMax;
        QTest::newRow("text of the lowest double") << "-1.79769313486232E+308 -" << -kMax;
        QTest::newRow("just above that text") << "1.797693134862321E+308" << kNone;
        QTest::newRow("1e309") << "1e309 +" << kNone;
        QTest::newRow("400 nines") << QString(400, '9') << kNone;
        QTest::newRow("exponent beyond any integer") << "1e99999999999999999999" << kNone;
    }
    void textvalue() { QCOMPARE(tally::textvalue(str("text")).value_or(kNone), fetch<double>("value")); }

    // A text as a whole: exactly one number, or too large a number, or anything else; the text
    // form of formatnumber shows the number and leaves any other text as it stands.
    void wholeNumber_data() {
        columns({"text"});
        columns<bool>({"holds"});
        columns<double>({"value"});
        columns({"shown"}); // with "###,###,###.0000"
        QTest::newRow("negative") << "-2.5" << true << -2.5 << "-2.5000";
        QTest::newRow("row of the memory list") << "   1,234.5000\t" << true << 1234.5 << "1,234.5000";
        QTest::newRow("negative fraction") << "-.2500" << true << -0.25 << "-.2500";
        QTest::newRow("plus sign, point at the end") << "+5." << true << 5.0 << "5.0000";
        QTest::newRow("exponent") << "1.5E+20" << true << 1.5e20 << "150,000,000,000,000,000,000.0000";
        QTest::newRow("too large") << "1e309" << true << kNone << "1e309";
        QTest::newRow("leading comma") << ",5" << false << kNone << ",5";
        QTest::newRow("entry with its operator") << "12.5 +" << false << kNone << "12.5 +";
        QTest::newRow("two numbers") << "1 2" << false << kNone << "1 2";
        QTest::newRow("two points") << "1.2.3" << false << kNone << "1.2.3";
        QTest::newRow("lone point") << "." << false << kNone << ".";
        QTest::newRow("exponent without digits") << "1e" << false << kNone << "1e";
        QTest::newRow("empty") << "" << false << kNone << "";
        QTest::newRow("letters") << "abc" << false << kNone << "abc";
    }
    void wholeNumber() {
        const std::string t = str("text");
        QCOMPARE(holdsOneNumber(t), fetch<bool>("holds"));
        QCOMPARE(tally::wholeNumber(t).value_or(kNone), fetch<double>("value"));
        QCOMPARE(q(tally::formatnumber(t, "###,###,###.0000")), fetch("shown"));
    }

    void formatnumber_data() {
        columns<double>({"value"});
        columns({"pattern", "text"});
        QTest::newRow("negative grouped") << -1234.5 << "###,###,###.00" << "-1,234.50";
        QTest::newRow("no decimals") << 1234567.891 << "###,###,###" << "1,234,568";
        QTest::newRow("zero, two places") << 0.0 << "###,###,###.00" << ".00";
        QTest::newRow("zero, no places") << 0.0 << "###,###,###" << "";
        QTest::newRow("half away from zero") << 2.5 << "###,###,###" << "3";
        QTest::newRow("negative half away from zero") << -2.5 << "###,###,###" << "-3";
        QTest::newRow("binary tie") << 0.125 << "#.##" << ".13";
        QTest::newRow("below half rounds down") << 0.004 << "###,###,###.00" << ".00";
        QTest::newRow("point without digits") << 12.0 << "#####.#####" << "12.";
        QTest::newRow("carry into the integer") << 9.999 << "###,###,###.00" << "10.00";
        QTest::newRow("carry into a new group") << 999999.996 << "###,###,###.00" << "1,000,000.00";
        QTest::newRow("zero placeholders pad") << 5.0 << "00.00" << "05.00";
        QTest::newRow("wider than the pattern") << 1e20 << "###,###,###" << "100,000,000,000,000,000,000";
        QTest::newRow("empty pattern is general") << 2.5 << "" << "2.5";
        QTest::newRow("no digit beyond the tape's 15") << 12345678901234567890.0 << "###,###,###.00" << "12,345,678,901,234,600,000.00";
        QTest::newRow("inf") << qInf() << "###,###,###" << "";
    }
    void formatnumber() { QCOMPARE(q(tally::formatnumber(fetch<double>("value"), str("pattern"))), fetch("text")); }

    // A figure too wide for its cell takes the exponent form with as many digits as fit.
    void fitFigure_data() {
        columns<double>({"value"});
        columns<int>({"room"});
        columns({"text"});
        QTest::newRow("fits") << 1234.5 << 10 << "1,234.50 +";
        QTest::newRow("all 15 digits") << 12345678901234567890.0 << 22 << "1.23456789012346E+19 +";
        QTest::newRow("fewer digits") << 12345678901234567890.0 << 12 << "1.2346E+19 +";
        QTest::newRow("one digit at least") << -1.5e300 << 3 << "-2E+300 +";
    }
    void fitFigure() {
        const double v = fetch<double>("value");
        const auto room = static_cast<std::size_t>(fetch<int>("room"));
        const std::string text = tally::fitFigure(tally::formatnumber(v, "###,###,###.00"), v, " +",
                                                  [room](std::string_view t) { return t.size() <= room; });
        QCOMPARE(q(text), fetch("text"));
    }

    // numbertext reads back as exactly the double its 15 digits name, and writes the same again.
    void roundTrip() {
        std::mt19937_64 rng(20261207);
        for (int i = 0; i < 20000; ++i) {
            const double x = std::uniform_real_distribution(-10.0, 10.0)(rng) * std::pow(10.0, int(rng() % 601) - 300);
            char buf[64];
            const auto end = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 14).ptr;
            double expected = 0;
            std::from_chars(buf, end, expected);
            const std::string text = tally::numbertext(x).value();
            QVERIFY2(tally::textvalue(text) == expected && tally::numbertext(expected) == text, text.c_str());
        }
    }

    void hostileTextNeverHangs() {
        const std::string huge(2'000'000, '7'), bytes("\xff\x00\x80", 3);
        QVERIFY(!tally::textvalue(huge));
        QCOMPARE(tally::textvalue("0." + huge).value_or(kNone), 0.7777777777777778);
        QCOMPARE(tally::textvalue(std::string(1'000'000, ' ') + "5").value_or(kNone), 5.0);
        QCOMPARE(q(tally::formatnumber(huge + "x", "#")), q(huge + "x"));
        QCOMPARE(tally::formatnumber(1.0, std::string(5000, '0') + "." + std::string(5000, '#')).size(), 5001u);
        QCOMPARE(q(tally::formatnumber(bytes, "#")), q(bytes));
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "test_numbers.moc"
