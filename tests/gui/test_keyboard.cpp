// The entry box driven from the keyboard: command letters, the characters that are swallowed or
// reach the box, the numeric keypad's keys, and paste.
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <memory>

#include "fixture.h"

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void commands_data();
    void commands();
    void characters_data();
    void characters();
    void numericKeypad();
    void paste_data();
    void paste();
};

void TestKeyboard::commands_data() {
    QTest::addColumn<QString>("keys"); // typed after the tape 10 +, 5 +
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("constant");
    QTest::newRow("s stores") << "s" << 2 << 1 << "" << "";
    QTest::newRow("k keeps the entry") << "7k" << 2 << 0 << "7" << "7";
    QTest::newRow("k on an empty box recalls") << "7k\bk" << 2 << 0 << "7" << "7";
    QTest::newRow("c clears the tape") << "c" << 0 << 0 << "" << "";
    QTest::newRow("C clears the entry too") << "3C" << 0 << 0 << "" << "";
}

void TestKeyboard::commands() {
    QFETCH(QString, keys);
    QFETCH(int, lines);
    QFETCH(int, stored);
    QFETCH(QString, box);
    QFETCH(QString, constant);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    QTest::keyClicks(w.Text2, "10+5+");
    QTest::keyClicks(w.Text2, keys);

    QCOMPARE(rig->state.nextline - 1, lines);
    QCOMPARE(lineOnRow(w, 0), lines);
    QCOMPARE(rig->state.memcount, stored);
    if (stored) QCOMPARE(rig->state.memlist[0], std::string("15"));
    QCOMPARE(w.Text2->text(), box);
    QCOMPARE(QString::fromStdString(w.constval), constant);
    QVERIFY(w.Text2->hasFocus());
}

void TestKeyboard::characters_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("box"); // after "1" and the key
    QTest::addColumn<QString>("sound");
    const int none = Qt::NoModifier;
    QTest::newRow("= swallowed") << int(Qt::Key_Equal) << none << "=" << "1" << "\\calc1";
    QTest::newRow("letter swallowed") << int(Qt::Key_A) << none << "a" << "1" << "\\calc1";
    QTest::newRow("non-ASCII letter swallowed") << int(Qt::Key_Eacute) << none << QString(QChar(0xE9)) << "1" << "\\calc1";
    QTest::newRow("blank reaches the box") << int(Qt::Key_Space) << none << " " << "1 " << "\\calc1";
    QTest::newRow("main keyboard comma stays") << int(Qt::Key_Comma) << none << "," << "1," << "\\calc1";
    QTest::newRow("Backspace reaches the box") << int(Qt::Key_Backspace) << none << "\b" << "" << "\\calc1";
    QTest::newRow("keypad decimal key on a comma layout")
        << int(Qt::Key_Comma) << int(Qt::KeypadModifier) << "," << "1." << "\\calc2";
    QTest::newRow("keypad decimal key on a point layout")
        << int(Qt::Key_Period) << int(Qt::KeypadModifier) << "." << "1." << "\\calc2";
}

void TestKeyboard::characters() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(QString, box);
    QFETCH(QString, sound);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    QTest::keyClick(w.Text2, '1');
    rig->sounds.played.clear();

    QTest::sendKeyEvent(QTest::Click, w.Text2, Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(w.Text2->text(), box);
    QCOMPARE(rig->sounds.played, QStringList{sound});
    QVERIFY(rig->state.tapeEmpty());
    QCOMPARE(rig->state.memcount, 0);
}

void TestKeyboard::numericKeypad() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    // As a German layout sends it: the decimal key types ",", Enter is the keypad's own.
    QTest::keyClick(w.Text2, Qt::Key_1, Qt::KeypadModifier);
    QTest::keyClick(w.Text2, Qt::Key_Comma, Qt::KeypadModifier);
    QTest::keyClick(w.Text2, Qt::Key_5, Qt::KeypadModifier);
    QCOMPARE(w.Text2->text(), QString("1.5"));
    QTest::keyClick(w.Text2, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(w.Text2, Qt::Key_2, Qt::KeypadModifier);
    QTest::keyClick(w.Text2, Qt::Key_Asterisk, Qt::KeypadModifier);
    QCOMPARE(rig->state.entries[1], std::string("1.5  "));
    QCOMPARE(rig->state.entries[2], std::string("2 x"));
    QCOMPARE(rig->state.subtotals[2], std::string("3"));
}

void TestKeyboard::paste_data() {
    QTest::addColumn<QString>("text"); // what the key event carries with Ctrl+V
    QTest::newRow("control code, as a Latin layout sends it") << QString(QChar(0x16));
    QTest::newRow("plain letter, as test tools send it") << "v";
    QTest::newRow("Cyrillic letter on the V key") << QString(QChar(0x43C));
}

void TestKeyboard::paste() {
    QFETCH(QString, text);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("42.5");
    if (clipboard->text() != "42.5") QSKIP("no clipboard on this platform");
    QTest::keyClick(w.Text2, '1');
    QTest::sendKeyEvent(QTest::Click, w.Text2, Qt::Key_V, text, Qt::ControlModifier);
    QCOMPARE(w.Text2->text(), QString("142.5"));
    QTest::keyClick(w.Text2, '+');
    QCOMPARE(rig->state.entries[1], std::string("142.5  "));
}

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
