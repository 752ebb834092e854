// The keypad and the entry box on the real window: clicks on the buttons, keys typed into Text2,
// the tape, the rows and the sounds read back.
#include <QLabel>
#include <QLineEdit>
#include <QAction>
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

QStringList tapeColumn(const std::array<std::string, tally::kTapeLines + 1>& column, int lines) {
    QStringList texts;
    for (int i = 1; i <= lines; ++i) texts << QString::fromStdString(column[i]);
    return texts;
}

const QString kKeypad = "0123456789.+-x/";

} // namespace

class TestKeypad : public QObject {
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void emptyBox_data();
    void emptyBox();
    void loneSignLocks_data();
    void loneSignLocks();
    void caretAfterTypedDigits();
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
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("subtotals");
    QTest::addColumn<QStringList>("rows"); // rows L-1 .. 0, oldest line first: "entry|subtotal"

    QTest::newRow("running subtotal") << "5+3x4-2/" << QStringList{"5  ", "3 x", "4 -", "2 /"}
                                      << QStringList{"5", "15", "11", "5.5"}
                                      << QStringList{"5.00  |5.00 =", "3.00 x|15.00 =", "4.00 -|11.00 =", "2.00 /|5.50 ="};
    // 8 / 0 has no result: the line is written without a subtotal, the next line counts from 0.
    QTest::newRow("division by zero") << "8+{00/}5+" << QStringList{"8  ", "0 /", "5 +"}
                                      << QStringList{"8", "", "5"}
                                      << QStringList{"8.00  |8.00 =", ".00 /|", "5.00 +|5.00 ="};
    QTest::newRow("second point ends the number") << "1.2.3+" << QStringList{"1.2  "} << QStringList{"1.2"}
                                                  << QStringList{"1.20  |1.20 ="};
    QTest::newRow("first line ignores /") << "9/" << QStringList{"9  "} << QStringList{"9"} << QStringList{"9.00  |9.00 ="};
    QTest::newRow("first line ignores -") << "7-" << QStringList{"7  "} << QStringList{"7"} << QStringList{"7.00  |7.00 ="};
    QTest::newRow("typed minus starts a number") << "{-5\r}" << QStringList{"-5  "} << QStringList{"-5"}
                                                 << QStringList{"-5.00  |-5.00 ="};
    QTest::newRow("typed minus after a digit subtracts") << "{7-2+}" << QStringList{"7  ", "2 +"}
                                                         << QStringList{"7", "9"}
                                                         << QStringList{"7.00  |7.00 =", "2.00 +|9.00 ="};
    QTest::newRow("typed blank is ignored") << "{1 2*}" << QStringList{"12  "} << QStringList{"12"}
                                            << QStringList{"12.00  |12.00 ="};
}

void TestKeypad::lines() {
    QFETCH(QString, keys);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, subtotals);
    QFETCH(QStringList, rows);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    drive(*rig, keys);

    const int n = static_cast<int>(entries.size());
    QCOMPARE(rig->state.nextline, n + 1);
    QCOMPARE(tapeColumn(rig->state.entries, n), entries);
    QCOMPARE(tapeColumn(rig->state.subtotals, n), subtotals);
    for (int line = 1; line <= n; ++line) {
        const int r = n - line;
        QCOMPARE(rig->window.Label10[r]->text(), QString("%1 #").arg(line));
        QCOMPARE(rig->window.Label11[r]->text() + '|' + rig->window.Label12[r]->text(), rows[line - 1]);
    }
    QCOMPARE(rig->window.Text2->text(), QString());
    QVERIFY(rig->window.Text2->hasFocus());
}

void TestKeypad::emptyBox_data() {
    QTest::addColumn<QChar>("key");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QStringList>("sounds");
    QTest::newRow("+") << QChar('+') << "" << QStringList{};
    QTest::newRow("x") << QChar('x') << "" << QStringList{};
    QTest::newRow("/") << QChar('/') << "" << QStringList{};
    QTest::newRow("- starts a negative number") << QChar('-') << "-" << QStringList{};
    QTest::newRow("0") << QChar('0') << "0" << QStringList{"calc2"};
    QTest::newRow("point") << QChar('.') << "." << QStringList{"calc2"};
}

void TestKeypad::emptyBox() {
    QFETCH(QChar, key);
    QFETCH(QString, box);
    QFETCH(QStringList, sounds);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    QTest::mouseClick(keypadButton(rig->window, key), Qt::LeftButton);
    QCOMPARE(rig->window.Text2->text(), box);
    QCOMPARE(rig->sounds.played, sounds);
    QCOMPARE(rig->state.nextline, 1);
}

void TestKeypad::loneSignLocks_data() {
    QTest::addColumn<QString>("keys");
    QTest::newRow("lone minus from the keypad") << "-";
    QTest::newRow("lone zero from the keypad") << "0";
    QTest::newRow("lone zero typed") << "{0}";
    QTest::newRow("lone minus typed") << "{-}";
}

void TestKeypad::loneSignLocks() {
    QFETCH(QString, keys);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    drive(*rig, keys);
    const QString box = rig->window.Text2->text();
    rig->sounds.played.clear();
    for (QChar c : kKeypad) {
        rig->window.Label6->setText("ft");
        QTest::mouseClick(keypadButton(rig->window, c), Qt::LeftButton);
        QCOMPARE(rig->window.Label6->text(), QString()); // the unit label empties all the same
        QCOMPARE(rig->window.Text2->text(), box);
    }
    QCOMPARE(rig->sounds.played, QStringList());
    QCOMPARE(rig->state.nextline, 1);
    QVERIFY(rig->state.tapeEmpty());
}

void TestKeypad::caretAfterTypedDigits() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    drive(*rig, "{12}3");
    QCOMPARE(rig->window.Text2->text(), QString("123"));
    QCOMPARE(rig->window.Text2->cursorPosition(), 2);
    QVERIFY(rig->window.Text2->hasFocus());
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

    drive(*rig, "K"); // nothing stored yet: recalls the empty text
    QCOMPARE(w.Text2->text(), QString());
    QCOMPARE(w.knst->text(), QString("Constant = "));

    drive(*rig, "{" + typed + "}K");
    QCOMPARE(w.Text2->text(), typed);
    QCOMPARE(w.knst->text(), caption);
    QCOMPARE(w.knst->text().size(), 20);

    w.Text2->clear();
    drive(*rig, "K");
    QCOMPARE(w.Text2->text(), typed);
    QCOMPARE(rig->sounds.played.count("calc1"), 3);
    QCOMPARE(rig->state.nextline, 1);
}

void TestKeypad::clearEntries() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    drive(*rig, "1+2+3+");
    QCOMPARE(w.VScroll1->maximum(), 3);
    w.Label6->setText("ft");

    QTest::mouseClick(w.clearit, Qt::LeftButton);
    QCOMPARE(rig->state.nextline, 1);
    for (int line = 1; line <= 4; ++line) {
        QCOMPARE(rig->state.entries[line], std::string());
        QCOMPARE(rig->state.subtotals[line], std::string());
    }
    for (int r = 0; r < 9; ++r) QCOMPARE(rowText(w, r), QString("||"));
    QCOMPARE(w.VScroll1->maximum(), 3);
    QCOMPARE(w.Label6->text(), QString());
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
    QCOMPARE(w.Text2->text(), QString());
    QCOMPARE(rig->state.subtotals[n], std::string());

    // The typed text is kept; line 1 carries two blanks instead of an operator.
    QCOMPARE(QString::fromStdString(rig->state.entries[n]), huge + (n == 1 ? "  " : " +"));
    // The row shows the line's own text, never another line's entry.
    QCOMPARE(w.Label11[0]->text(), huge + (n == 1 ? "  " : " +"));
    QCOMPARE(w.Label10[0]->text(), QString("%1 #").arg(n));

    drive(*rig, "6+"); // the empty subtotal counts as 0
    QCOMPARE(rig->state.subtotals[n + 1], std::string("6"));
}

void TestKeypad::fullTape() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    fillTape(rig->state, 999);
    QCOMPARE(rig->state.nextline, 1000);
    int highest = 0;
    connect(w.VScroll1, &QScrollBar::rangeChanged, this, [&](int, int max) { highest = std::max(highest, max); });

    drive(*rig, "5+");
    QCOMPARE(rig->state.nextline, 1001);
    QCOMPARE(rig->state.entries[1000], std::string("5 +"));
    QCOMPARE(rig->state.subtotals[1000], std::string("499505"));
    QCOMPARE(rowText(w, 0), QString("1000 #|5.00 +|499,505.00 ="));
    QCOMPARE(rig->messages, QStringList());

    drive(*rig, "7+");
    QCOMPARE(rig->state.nextline, 1001);
    QCOMPARE(w.Text2->text(), QString("7"));
    QCOMPARE(rig->state.entries[1000], std::string("5 +"));
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
    QTest::newRow("menu") << "menu";
    QTest::newRow("o typed") << "o";
    QTest::newRow("O typed") << "O";
}

void TestKeypad::exit() {
    QFETCH(QString, how);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    if (how == "button") QTest::mouseClick(rig->window.Command2, Qt::LeftButton);
    else if (how == "menu") rig->window.mnuExit->trigger();
    else QTest::keyClicks(rig->window.Text2, how);
    QVERIFY(rig->ended);
    QCOMPARE(rig->sounds.played.last(), QString("calc1"));
    QCOMPARE(rig->window.Text2->text(), QString());
}

QTEST_MAIN(TestKeypad)
#include "test_keypad.moc"
