// Heavy use of the real window: a whole tape of 1000 lines keyed as fast as the event loop takes
// the keys, the refusal of line 1001, and a correction of line 1 that recomputes every line.
// Every subtotal is checked against a recomputation written here, independent of the program's
// number functions: doubles rounded to 15 significant digits after each step.
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fixture.h"

namespace {

constexpr int kLines = 1000;
constexpr int kDivisionByZeroLine = 500;

// One keyed line: the number as typed (already in its canonical form, so the entry shows it
// unchanged) and the operator key.
struct KeyedLine {
    std::string number;
    char key; // '+', '-', '*' or '/'
};

char tapeOperator(char key) { return key == '*' ? 'x' : key; }

// A varied, repeatable mix. Factors and divisors are small, so the running subtotal stays finite
// over the whole tape; line 500 divides by zero, keyed as "00" (a lone "0" locks the keypad).
std::vector<KeyedLine> keyedTape() {
    static const char* const sums[] = {"12.5", "3", "250", "7.25", "1000", "99.99", "-7", "1", "4.125", "33"};
    static const char* const factors[] = {"1.5", "2", "1.25", "3", "1.1", "0.5"};
    static const char* const divisors[] = {"2", "3", "7", "1.5", "4", "9", "0.25"};
    std::vector<KeyedLine> tape(kLines + 1);
    unsigned seed = 20240601;
    auto next = [&seed](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % range;
    };
    for (int i = 1; i <= kLines; ++i) {
        const unsigned pick = next(20);
        if (i == 1) tape[i] = {"12.5", '+'};
        else if (i == kDivisionByZeroLine) tape[i] = {"00", '/'};
        else if (pick < 8) tape[i] = {sums[next(10)], '+'};
        else if (pick < 13) tape[i] = {sums[next(10)], '-'};
        else if (pick < 17) tape[i] = {factors[next(6)], '*'};
        else tape[i] = {divisors[next(7)], '/'};
    }
    return tape;
}

double parse(const std::string& text) {
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nan("");
    return value;
}

// What a subtotal text holds: the double written with 15 significant digits and read back.
double roundTo15(double value) {
    char buffer[40];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return ec == std::errc() ? parse(std::string(buffer, end)) : std::nan("");
}

// The running subtotals of a tape, none where a step has no finite result; such a line counts
// as 0 for the next one.
std::vector<std::optional<double>> expectedSubtotals(const std::vector<KeyedLine>& tape) {
    std::vector<std::optional<double>> subtotals(tape.size());
    for (std::size_t i = 1; i < tape.size(); ++i) {
        const double e = parse(tape[i].number);
        const double p = i == 1 ? 0 : subtotals[i - 1].value_or(0);
        double s = 0;
        switch (i == 1 ? '1' : tape[i].key) {
        case '1': s = e; break; // line 1 is its own subtotal whatever its operator
        case '+': s = p + e; break;
        case '-': s = p - e; break;
        case '*': s = p * e; break;
        case '/': s = p / e; break;
        }
        if (std::isfinite(s)) subtotals[i] = roundTo15(s);
    }
    return subtotals;
}

// Every line whose subtotal text differs from the expected value, as "line: got, expected".
QStringList subtotalMismatches(const tally::State& state, const std::vector<std::optional<double>>& expected) {
    QStringList wrong;
    for (int i = 1; i <= kLines; ++i) {
        const std::string& text = state.subtotals[i];
        const bool right = expected[i] ? !text.empty() && parse(text) == *expected[i] : text.empty();
        if (!right) {
            char want[40] = "(empty)";
            if (expected[i]) std::snprintf(want, sizeof want, "%.17g", *expected[i]);
            wrong << QString("line %1: \"%2\", expected %3").arg(i).arg(QString::fromStdString(text), QString::fromLatin1(want));
        }
    }
    return wrong;
}

// Empty when every subtotal is right; else how many are wrong and the first few of them.
QString wrongSubtotals(const tally::State& state, const std::vector<std::optional<double>>& expected) {
    const QStringList wrong = subtotalMismatches(state, expected);
    return wrong.isEmpty() ? QString() : QString("%1 wrong, first: %2").arg(wrong.size()).arg(wrong.mid(0, 5).join("; "));
}

} // namespace

class TestHeavy : public QObject {
    Q_OBJECT

    std::unique_ptr<CalcRig> rig;
    std::vector<KeyedLine> tape = keyedTape();

private slots:
    void initTestCase();
    void everySubtotalKeyed();
    void lineAfterTheLastRefused();
    void correctingLineOneRecomputesAll();
};

void TestHeavy::initTestCase() {
    rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    QElapsedTimer clock;
    clock.start();
    for (int i = 1; i <= kLines; ++i) QTest::keyClicks(rig->window.Text2, QString::fromStdString(tape[i].number + tape[i].key));
    qInfo("keyed %d lines in %lld ms", kLines, static_cast<long long>(clock.elapsed()));
}

void TestHeavy::everySubtotalKeyed() {
    const tally::State& state = rig->state;
    QCOMPARE(state.nextline, kLines + 1);
    QCOMPARE(rig->messages, QStringList());
    QVERIFY(rig->window.Text2->text().isEmpty());
    for (int i = 1; i <= kLines; ++i) {
        const std::string entry =
            i == 1 ? tape[i].number + "  " : (i == kDivisionByZeroLine ? "0" : tape[i].number) + ' ' + tapeOperator(tape[i].key);
        QVERIFY2(state.entries[i] == entry, qPrintable(QString("line %1: \"%2\"").arg(i).arg(QString::fromStdString(state.entries[i]))));
    }
    const auto expected = expectedSubtotals(tape);
    QVERIFY(!expected[kDivisionByZeroLine]);
    QVERIFY(expected[kDivisionByZeroLine + 1]); // the next line counts from 0 again
    QCOMPARE(wrongSubtotals(state, expected), QString());
    // The newest line stands on the bottom row.
    QCOMPARE(lineOnRow(rig->window, 0), kLines);
}

void TestHeavy::lineAfterTheLastRefused() {
    Calculator& w = rig->window;
    const tally::State before = rig->state;
    QTest::keyClicks(w.Text2, "5+");
    QCOMPARE(rig->messages.size(), 1); // the user is told why nothing happened
    QCOMPARE(rig->state.nextline, kLines + 1);
    QVERIFY(rig->state.entries == before.entries);
    QVERIFY(rig->state.subtotals == before.subtotals);
    QCOMPARE(w.VScroll1->maximum(), kLines);
    QCOMPARE(w.Text2->text(), QString("5")); // the entry is kept, not lost
    w.Text2->clear();
}

void TestHeavy::correctingLineOneRecomputesAll() {
    Calculator& w = rig->window;
    w.VScroll1->setValue(1);
    int row = -1;
    for (int r = 0; r < 9; ++r)
        if (lineOnRow(w, r) == 1) row = r;
    QVERIFY2(row >= 0, "line 1 is not on the scrolled view");
    QTest::mouseClick(w.Label11[row], Qt::LeftButton);
    QVERIFY(w.Text3->isVisible());
    QCOMPARE(w.editline, 1);
    QCOMPARE(w.Text3->text(), QString::fromStdString(tape[1].number));

    // The editor's number is selected, so typing replaces it; "+" writes it back.
    QTest::keyClicks(w.Text3, "250+");
    QVERIFY(!w.Text3->isVisible());
    QCOMPARE(rig->state.entries[1], std::string("250 +"));
    tape[1].number = "250";
    const auto expected = expectedSubtotals(tape);
    QCOMPARE(wrongSubtotals(rig->state, expected), QString());
    QCOMPARE(rig->state.nextline, kLines + 1);
    // The view stays where it was and shows the new figures.
    QCOMPARE(lineOnRow(w, row), 1);
    QVERIFY(w.Label12[row]->text().startsWith("250.00"));
}

QTEST_MAIN(TestHeavy)
#include "test_heavy.moc"
