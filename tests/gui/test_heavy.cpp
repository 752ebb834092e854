// Heavy use of the real window: 1000 lines keyed as fast as the event loop takes the keys, and a
// correction of line 1 that recomputes every line (line 1001 is refused in test_hostile). Every
// subtotal is checked against a recomputation written here, independent of the program's number
// functions: doubles rounded to 15 significant digits after each step.
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <charconv>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "fixture.h"

namespace {

constexpr int kLines = 1000;
constexpr int kDivisionByZeroLine = 500;

struct KeyedLine {
    std::string number; // as typed, already in the form the entry keeps
    char key;           // '+', '-', '*' or '/'
};

// A varied, repeatable mix whose subtotal stays finite; line 500 divides by zero, keyed as "00"
// (a lone "0" locks the keypad).
std::vector<KeyedLine> keyedTape() {
    static const char* const sums[] = {"12.5", "3", "250", "7.25", "1000", "99.99", "-7", "1", "4.125", "33"};
    static const char* const scales[] = {"1.5", "2", "1.25", "0.5", "3", "0.25"}; // factors and divisors
    std::vector<KeyedLine> tape(kLines + 1);
    unsigned seed = 20240601;
    auto next = [&seed](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % range;
    };
    for (int i = 1; i <= kLines; ++i) {
        const unsigned pick = next(20);
        if (pick < 13) tape[i] = {sums[next(10)], pick < 8 ? '+' : '-'};
        else tape[i] = {scales[next(6)], pick < 17 ? '*' : '/'};
    }
    tape[kDivisionByZeroLine] = {"00", '/'};
    return tape;
}

double parse(const std::string& text) {
    double value = std::nan("");
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

double roundTo15(double value) {
    char buffer[40];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
    return parse(std::string(buffer, end));
}

// The first lines whose subtotal text differs from the recomputed one; a step with no finite result leaves
// its subtotal empty and the next line counts from 0.
QString wrongSubtotals(const tally::State& state, const std::vector<KeyedLine>& tape) {
    QStringList wrong;
    double s = 0;
    for (int i = 1; i <= kLines; ++i) {
        const double e = parse(tape[i].number);
        const char k = i == 1 ? '1' : tape[i].key; // line 1 is its own subtotal
        s = k == '1' ? e : k == '+' ? s + e : k == '-' ? s - e : k == '*' ? s * e : s / e;
        const bool finite = std::isfinite(s);
        s = finite ? roundTo15(s) : 0;
        const std::string& text = state.subtotals[i];
        if (finite ? text.empty() || parse(text) != s : !text.empty())
            wrong << QString("line %1: \"%2\"").arg(i).arg(QString::fromStdString(text));
    }
    return wrong.mid(0, 5).join("; ");
}

} // namespace

class TestHeavy : public QObject {
    Q_OBJECT

    std::unique_ptr<CalcRig> rig;
    std::vector<KeyedLine> tape = keyedTape();

private slots:
    void initTestCase();
    void everySubtotalKeyed();
    void correctingLineOneRecomputesAll();
};

void TestHeavy::initTestCase() {
    rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    for (int i = 1; i <= kLines; ++i) QTest::keyClicks(rig->window.Text2, QString::fromStdString(tape[i].number + tape[i].key));
}

void TestHeavy::everySubtotalKeyed() {
    const tally::State& state = rig->state;
    QCOMPARE(state.nextline, kLines + 1);
    QCOMPARE(rig->messages, QStringList());
    for (int i = 1; i <= kLines; ++i) {
        const char op = tape[i].key == '*' ? 'x' : tape[i].key;
        const std::string entry = i == 1 ? tape[i].number + "  " : (i == kDivisionByZeroLine ? "0" : tape[i].number) + ' ' + op;
        QVERIFY2(state.entries[i] == entry, qPrintable(QString("line %1: \"%2\"").arg(i).arg(QString::fromStdString(state.entries[i]))));
    }
    QVERIFY(state.subtotals[kDivisionByZeroLine].empty());
    QCOMPARE(wrongSubtotals(state, tape), QString());
    QCOMPARE(lineOnRow(rig->window, 0), kLines); // the newest line stands on the bottom row
}

void TestHeavy::correctingLineOneRecomputesAll() {
    Calculator& w = rig->window;
    w.VScroll1->setValue(1);
    QCOMPARE(lineOnRow(w, 0), 1);
    QTest::mouseClick(w.Label11[0], Qt::LeftButton);
    QCOMPARE(w.editline, 1);
    QCOMPARE(w.Text3->text(), QString::fromStdString(tape[1].number));
    QTest::keyClicks(w.Text3, "250+"); // the number is selected, so typing replaces it
    QVERIFY(!w.Text3->isVisible());
    QCOMPARE(rig->state.entries[1], std::string("250 +"));
    tape[1].number = "250";
    QCOMPARE(wrongSubtotals(rig->state, tape), QString());
    QCOMPARE(rig->state.nextline, kLines + 1);
    QCOMPARE(rowText(w, 0), QString("1 #|250.00 +|250.00 =")); // the view stays and shows the new figures
}

QTEST_MAIN(TestHeavy)
#include "test_heavy.moc"
