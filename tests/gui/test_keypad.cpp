// The keypad and the entry box on the real window: clicks on the buttons, keys typed into Text2,
// the tape, the rows and the sounds read back.
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <clocale>
#include <memory>

#include "fixture.h"

namespace {

QPushButton* keypadButton(Calculator& w, QChar c) {
    if (c == 'K') return w.konst;
    const int index = c == '.' ? 10 : c == '+' ? 12 : c == '-' ? 13 : c == 'x' ? 14 : c == '/' ? 16 : c.digitValue();
    return w.Command1[index];
}

// Clicks keypad buttons; what stands in braces is typed into the entry box: "8+{00/}5+".
void drive(CalcRig& rig, const QString& keys) {
    bool typing = false;
    for (QChar c : keys) {
        if (c == '{' || c == '}') typing = c == '{';
        else if (typing) QTest::keyClick(rig.window.Text2, c.toLatin1());
        else QTest::mouseClick(keypadButton(rig.window, c), Qt::LeftButton);
    }
}

const QString kKeypad = "0123456789.+-x/";

} // namespace

class TestKeypad : public QObject {
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void entryBox_data();
    void entryBox();
    void constant_data();
    void constant();
    void clearEntries();
    void entryTooLarge_data();
    void entryTooLarge();
    void fullTape();
    void commaLocale();
    void soundsOfTypedLine();
    void exit_data();
    void exit();
};

void TestKeypad::lines_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("subtotals");
    QTest::addColumn<QStringList>("rows"); // rows L-1 .. 0, oldest line first: "entry|subtotal"
    QTest::newRow("running subtotal") << "5+3x4-2/" << QStringList{"5", "15", "11", "5.5"}
                                      << QStringList{"5.00  |5.00 =", "3.00 x|15.00 =", "4.00 -|11.00 =", "2.00 /|5.50 ="};
    // 8 / 0 has no result: the line is written without a subtotal, the next line counts from 0.
    QTest::newRow("division by zero") << "8+{00/}5+" << QStringList{"8", "", "5"}
                                      << QStringList{"8.00  |8.00 =", ".00 /|", "5.00 +|5.00 ="};
    QTest::newRow("second point ends the number") << "1.2.3+" << QStringList{"1.2"} << QStringList{"1.20  |1.20 ="};
    QTest::newRow("first line ignores its operator") << "9/" << QStringList{"9"} << QStringList{"9.00  |9.00 ="};
    QTest::newRow("typed minus starts a number") << "{-5\r}" << QStringList{"-5"} << QStringList{"-5.00  |-5.00 ="};
    QTest::newRow("typed minus after a digit subtracts") << "{7-2+}" << QStringList{"7", "9"}
                                                         << QStringList{"7.00  |7.00 =", "2.00 +|9.00 ="};
    QTest::newRow("typed blank is ignored") << "{1 2*}" << QStringList{"12"} << QStringList{"12.00  |12.00 ="};
}

void TestKeypad::lines() {
    QFETCH(QString, keys);
    QFETCH(QStringList, subtotals);
    QFETCH(QStringList, rows);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    drive(*rig, keys);
    const int n = static_cast<int>(rows.size());
    QCOMPARE(rig->state.nextline, n + 1);
    QStringList tape, shown;
    for (int line = 1; line <= n; ++line) {
        tape << QString::fromStdString(rig->state.subtotals[line]);
        shown << QString("%1 #|").arg(line) + rows[line - 1];
    }
    QCOMPARE(tape, subtotals);
    for (int line = 1; line <= n; ++line) QCOMPARE(rowText(rig->window, n - line), shown[line - 1]);
    QCOMPARE(rig->window.Text2->text(), QString());
    QVERIFY(rig->window.Text2->hasFocus());
}

void TestKeypad::entryBox_data() {
    QTest::addColumn<QString>("before"); // driven first; the sounds are counted after it
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QStringList>("sounds");
    QTest::addColumn<int>("caret"); // -1: not checked
    QTest::newRow("+ on an empty box") << "" << "+" << "" << QStringList{} << -1;
    QTest::newRow("- starts a negative number") << "" << "-" << "-" << QStringList{} << -1;
    QTest::newRow("point") << "" << "." << "." << QStringList{"calc2"} << -1;
    QTest::newRow("lone minus locks the keypad") << "-" << kKeypad << "-" << QStringList{} << -1;
    QTest::newRow("lone zero locks the keypad") << "0" << kKeypad << "0" << QStringList{} << -1;
    QTest::newRow("typed lone zero locks") << "{0}" << kKeypad << "0" << QStringList{} << -1;
    QTest::newRow("typed lone minus locks") << "{-}" << kKeypad << "-" << QStringList{} << -1;
    QTest::newRow("caret after typed digits") << "{12}" << "3" << "123" << QStringList{"calc2"} << 2;
}

void TestKeypad::entryBox() {
    QFETCH(QString, before);
    QFETCH(QString, keys);
    QFETCH(QString, box);
    QFETCH(QStringList, sounds);
    QFETCH(int, caret);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    drive(*rig, before);
    rig->sounds.played.clear();
    rig->window.Label6->setText("ft");
    drive(*rig, keys);
    QCOMPARE(rig->window.Label6->text(), QString()); // every key empties the unit label
    QCOMPARE(rig->window.Text2->text(), box);
    QCOMPARE(rig->sounds.played, sounds);
    if (caret >= 0) {
        QCOMPARE(rig->window.Text2->cursorPosition(), caret);
        QVERIFY(rig->window.Text2->hasFocus());
    }
    QCOMPARE(rig->state.nextline, 1);
}

void TestKeypad::constant_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("caption");
    QTest::newRow("short") << "2.5" << "Constant = 2.5      ";
    QTest::newRow("long entry cut") << "123456789012345" << "Constant = 123456789";
}

void TestKeypad::constant() {
    QFETCH(QString, typed);
    QFETCH(QString, caption);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;

    drive(*rig, "{" + typed + "}K");
    QCOMPARE(w.knst->text(), caption);
    w.Text2->clear();
    drive(*rig, "K"); // an empty box recalls the constant
    QCOMPARE(w.Text2->text(), typed);
    QCOMPARE(rig->state.nextline, 1);
}

void TestKeypad::clearEntries() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    drive(*rig, "1+2+3+");
    QTest::mouseClick(w.clearit, Qt::LeftButton);
    QVERIFY(rig->state.tapeEmpty());
    QCOMPARE(rig->state.entries[3], std::string());
    for (int r = 0; r < 3; ++r) QCOMPARE(rowText(w, r), QString("||"));
    QCOMPARE(rig->sounds.played.last(), QString("calc2"));
    QVERIFY(w.Text2->hasFocus());

    drive(*rig, "4+"); // the next line is line 1 again
    QCOMPARE(rowText(w, 0), QString("1 #|4.00  |4.00 ="));
}

void TestKeypad::entryTooLarge_data() {
    QTest::addColumn<QString>("before");
    QTest::newRow("as line 1") << "";
    QTest::newRow("as line 2") << "5+";
}

void TestKeypad::entryTooLarge() {
    QFETCH(QString, before);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    const QString huge = "1" + QString(309, '0'); // 1E+309, beyond a double
    drive(*rig, before + "{" + huge + "+}");
    const int n = rig->state.nextline - 1;
    QCOMPARE(n, before.isEmpty() ? 1 : 2);
    QCOMPARE(rig->state.subtotals[n], std::string());
    // The typed text is kept, and the row shows it rather than another line's entry; line 1
    // carries two blanks instead of an operator.
    QVERIFY(rowText(w, 0).startsWith(QString("%1 #|").arg(n) + huge + (n == 1 ? "  |" : " +|")));

    drive(*rig, "6+"); // the empty subtotal counts as 0
    QCOMPARE(rig->state.subtotals[n + 1], std::string("6"));
}

void TestKeypad::fullTape() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    fillTape(rig->state, 999);
    int highest = 0;
    connect(w.VScroll1, &QScrollBar::rangeChanged, this, [&](int, int max) { highest = std::max(highest, max); });

    drive(*rig, "5+"); // line 1000 still fits
    QCOMPARE(rig->messages, QStringList());
    drive(*rig, "7+");
    QCOMPARE(rig->state.nextline, 1001);
    QCOMPARE(w.Text2->text(), QString("7"));
    QCOMPARE(rowText(w, 0), QString("1000 #|5.00 +|499,505.00 ="));
    QCOMPARE(rig->messages.size(), 1);
    QCOMPARE(w.VScroll1->maximum(), 1000);
    QVERIFY(highest <= 1000);
}

void TestKeypad::commaLocale() {
    const QLocale savedLocale;
    const std::string savedC = std::setlocale(LC_ALL, nullptr);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // Without the C locale installed the Qt side of the comma locale is still worth running.
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) qInfo("de_DE.UTF-8 is not installed: only Qt's locale is German");
    auto rig = std::make_unique<CalcRig>();
    const bool ready = rig->ready;
    drive(*rig, "1.5+{2.25+}");
    const QString subtotal = QString::fromStdString(rig->state.subtotals[2]);
    const QString cell = rig->window.Label12[0]->text();
    rig.reset();
    QLocale::setDefault(savedLocale);
    std::setlocale(LC_ALL, savedC.c_str());

    QVERIFY(ready);
    QCOMPARE(subtotal, QString("3.75"));
    QCOMPARE(cell, QString("3.75 ="));
}

void TestKeypad::soundsOfTypedLine() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    drive(*rig, "{12+}");
    QCOMPARE(rig->sounds.played, (QStringList{"\\calc2", "\\calc2", "\\calc1", "calc1"}));
    QCOMPARE(rig->state.entries[1], std::string("12  "));
}

void TestKeypad::exit_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("button") << "button";
    QTest::newRow("O typed") << "O";
}

void TestKeypad::exit() {
    QFETCH(QString, how);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    if (how == "button") QTest::mouseClick(rig->window.Command2, Qt::LeftButton);
    else QTest::keyClicks(rig->window.Text2, how);
    QVERIFY(rig->ended);
    QCOMPARE(rig->window.Text2->text(), QString());
}

QTEST_MAIN(TestKeypad)
#include "test_keypad.moc"
