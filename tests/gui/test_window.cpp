// The window's wiring: each control reaches its handler and each handler moves the right texts
// between the state and the controls. What the rules themselves decide is the core tests' part.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "fixture.h"
#include "print/form1.h"

namespace {

QStringList entries(const tally::State& s) {
    QStringList list;
    for (int i = 1; i < s.nextline; ++i) list << QString::fromStdString(s.entries[i]);
    return list;
}

// Rows 2, 1, 0 (lines 1..3 of a three-line tape) as "entry|subtotal".
QStringList threeRows(const Calculator& w) {
    QStringList rows;
    for (int r = 2; r >= 0; --r) rows << w.Label11[r]->text() + '|' + w.Label12[r]->text();
    return rows;
}

// The combo box as the user works it: the item becomes current and is activated.
void choose(Calculator& w, const QString& category) {
    w.conversion->setCurrentIndex(w.conversion->findText(category));
    emit w.conversion->activated(w.conversion->currentIndex());
}

void clickItem(QTreeWidget* tree, int row) {
    tree->scrollToItem(tree->topLevelItem(row));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(tree->topLevelItem(row)).center());
}

QPoint rowCentre(QListWidget* list, int r) { return list->visualItemRect(list->item(r)).center(); }

// Keys typed into a line edit; Esc goes with its character, as a keyboard sends it.
void typeKeys(QLineEdit* box, const QString& keys) {
    for (QChar c : keys)
        if (c == '\x1b') QTest::sendKeyEvent(QTest::Click, box, Qt::Key_Escape, QString(c), Qt::NoModifier);
        else QTest::keyClick(box, c.toLatin1());
}

} // namespace

class TestWindow : public QObject {
    Q_OBJECT

private slots:
    void startsUp();
    void keypadButtons();
    void constantAndExit();
    void entryBoxKeys_data();
    void entryBoxKeys();
    void filteredKeys_data();
    void filteredKeys();
    void fullTapeAndHugeEntry();
    void arrows_data();
    void arrows();
    void scrollBarAndSlider();
    void editor_data();
    void editor();
    void editorCommandsAndArrows();
    void memory();
    void conversion();
    void saveAndOpen();
    void menus();
};

// Size, the hidden editor and list, focus in the entry box, no focusable controls overlapping.
void TestWindow::startsUp() {
    CalcRig rig;
    QVERIFY(rig.ready);
    const Calculator& w = rig.window;
    QCOMPARE(w.body->size(), QSize(680, 471));
    QVERIFY(w.Text3->isHidden() && w.ListView1->isHidden());
    QCOMPARE(QApplication::focusWidget(), w.Text2);
    QList<QWidget*> controls;
    for (QWidget* c : w.body->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (c->isVisible() && c->focusPolicy() != Qt::NoFocus) controls << c;
    QVERIFY(controls.size() >= 25);
    QStringList overlaps;
    for (qsizetype i = 0; i < controls.size(); ++i)
        for (qsizetype j = i + 1; j < controls.size(); ++j)
            if (controls[i]->geometry().intersects(controls[j]->geometry()))
                overlaps << controls[i]->objectName() + '/' + controls[j]->objectName();
    QCOMPARE(overlaps, QStringList());
    QCOMPARE(rig.sounds.played, QString());
}

// Every keypad button by a click: digits and point into the box, operators write lines.
void TestWindow::keypadButtons() {
    CalcRig rig;
    QVERIFY(rig.ready);
    Calculator& w = rig.window;
    QTest::keyClicks(w.Text2, "12");
    w.Label6->setText(" ft");
    for (int i : {3, 4, 5, 6, 7, 8, 9, 0, 10}) QTest::mouseClick(w.Command1[i], Qt::LeftButton);
    QCOMPARE(w.Label6->text(), QString()); // a key empties the converted unit
    QCOMPARE(w.Text2->text(), QString("1234567890."));
    QCOMPARE(w.Text2->cursorPosition(), 10); // after what the keypad added, plus one
    for (int i : std::initializer_list<int>{tally::kAdd, 5, tally::kSubtract, 3, tally::kMultiply, 2, tally::kDivide})
        QTest::mouseClick(w.Command1[i], Qt::LeftButton);
    QCOMPARE(entries(rig.state), (QStringList{"1234567890  ", "5 -", "3 x", "2 /"}));
    QCOMPARE(QString::fromStdString(rig.state.subtotals[4]), QString("1851851827.5"));
    QCOMPARE(rowText(w, 0), QString("4 #|2.00 /|1,851,851,827.50 ="));
    QCOMPARE(rowText(w, 3), QString("1 #|1,234,567,890.00  |1,234,567,890.00 ="));
    QCOMPARE(rig.sounds.played, QString("22222222222") + "1212121");
    QVERIFY(w.Text2->text().isEmpty() && w.Text2->hasFocus());
}

void TestWindow::constantAndExit() {
    CalcRig rig;
    QVERIFY(rig.ready);
    Calculator& w = rig.window;
    QTest::keyClicks(w.Text2, "2.5");
    QTest::mouseClick(w.konst, Qt::LeftButton);
    QCOMPARE(w.knst->text(), QString("Constant = 2.5      "));
    w.Text2->clear();
    QTest::mouseClick(w.konst, Qt::LeftButton); // an empty box takes the constant back
    QCOMPARE(w.Text2->text(), QString("2.5"));
    QTest::mouseClick(w.Command1[tally::kAdd], Qt::LeftButton);
    rig.sounds.played.clear();
    QTest::mouseClick(w.clearit, Qt::LeftButton);
    QVERIFY(rig.state.tapeEmpty() && rig.state.entries[1].empty());
    QCOMPARE(rowText(w, 0), QString("||"));
    QVERIFY(w.Text2->hasFocus());
    QVERIFY(!rig.outside.ended);
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    QVERIFY(rig.outside.ended);
    QCOMPARE(rig.sounds.played, QString("21"));
}

// Characters typed into the entry box reach their commands through the key table.
void TestWindow::entryBoxKeys_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("sounds");
    QTest::addColumn<bool>("ended");
    QTest::newRow("digits and +") << "12+" << 1 << "" << 0 << "2211" << false;
    QTest::newRow("Enter") << "12\r" << 1 << "" << 0 << "2211" << false;
    QTest::newRow("- * / after a first line") << "8+2-3*4/" << 4 << "" << 0 << "211211211211" << false;
    QTest::newRow("s stores") << "10+5+s" << 2 << "" << 1 << "221121111" << false;
    QTest::newRow("c clears the tape") << "10+5+c" << 0 << "" << 0 << "221121112" << false;
    QTest::newRow("k keeps a constant") << "7k" << 0 << "7" << 0 << "211" << false;
    QTest::newRow("letter swallowed") << "1a" << 0 << "1" << 0 << "21" << false;
    QTest::newRow("o exits") << "o" << 0 << "" << 0 << "11" << true;
}

void TestWindow::entryBoxKeys() {
    QFETCH(QString, keys);
    QFETCH(int, lines);
    QFETCH(QString, box);
    QFETCH(int, stored);
    QFETCH(QString, sounds);
    QFETCH(bool, ended);
    CalcRig rig;
    QVERIFY(rig.ready);
    Calculator& w = rig.window;
    QTest::keyClicks(w.Text2, keys);
    QCOMPARE(rig.state.nextline - 1, lines);
    QCOMPARE(lineOnRow(w, 0), lines);
    QCOMPARE(w.Text2->text(), box);
    QCOMPARE(rig.state.memcount, stored);
    QCOMPARE(w.List1->count(), stored);
    QCOMPARE(rig.sounds.played, sounds);
    QCOMPARE(rig.outside.ended, ended);
}

// The key preview: the keypad's decimal key types a point; Ctrl with a letter is a shortcut.
void TestWindow::filteredKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("box"); // after "5+1" and the key
    QTest::addColumn<int>("lines");
    const int keypad = Qt::KeypadModifier, ctrl = Qt::ControlModifier;
    QTest::newRow("keypad decimal key, comma layout") << int(Qt::Key_Comma) << keypad << "," << "1." << 1;
    QTest::newRow("keypad decimal key, point layout") << int(Qt::Key_Period) << keypad << "." << "1." << 1;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << keypad << "\r" << "" << 2;
    QTest::newRow("Ctrl+C does not clear the tape") << int(Qt::Key_C) << ctrl << "c" << "1" << 1;
    QTest::newRow("Ctrl+S does not store") << int(Qt::Key_S) << ctrl << "s" << "1" << 1;
    QTest::newRow("Ctrl+O does not exit") << int(Qt::Key_O) << ctrl << "o" << "1" << 1;
}

void TestWindow::filteredKeys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(QString, box);
    QFETCH(int, lines);
    CalcRig rig;
    QVERIFY(rig.ready);
    Calculator& w = rig.window;
    QTest::keyClicks(w.Text2, "5+1");
    QTest::sendKeyEvent(QTest::Click, w.Text2, Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(w.Text2->text(), box);
    QCOMPARE(rig.state.nextline - 1, lines);
    QCOMPARE(rig.state.memcount, 0);
    QVERIFY(!rig.outside.ended);
}

void TestWindow::fullTapeAndHugeEntry() {
    CalcRig rig;
    QVERIFY(rig.ready);
    Calculator& w = rig.window;
    // A text too large for a number is written as typed and its row shows it as it stands.
    w.Text2->setText("1e309");
    QTest::mouseClick(w.Command1[tally::kAdd], Qt::LeftButton);
    QCOMPARE(rowText(w, 0), QString("1 #|1e309  |"));
    fillTape(rig.state, tally::kTapeLines);
    QTest::keyClicks(w.Text2, "7+");
    QCOMPARE(rig.outside.messages.size(), 1); // the full tape is told, the entry stays
    QCOMPARE(w.Text2->text(), QString("7"));
    QCOMPARE(rig.state.nextline, tally::kTapeLines + 1);
    QVERIFY(w.VScroll1->maximum() <= tally::kTapeLines);
}

void TestWindow::arrows_data() {
    QTest::addColumn<QString>("keys"); // U: Up, D: Down, typed into the entry box of a 20-line tape
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("bottom");
    QTest::addColumn<QString>("sounds");
    // The scroll bar's change draws line 19, Up's own redraw then line 18.
    QTest::newRow("Up") << "U" << 19 << 18 << "11";
    QTest::newRow("Up, Down") << "UD" << 20 << 20 << "111";
    QTest::newRow("Down at the end") << "D" << 20 << 20 << "";
}

void TestWindow::arrows() {
    QFETCH(QString, keys);
    QFETCH(int, value);
    QFETCH(int, bottom);
    QFETCH(QString, sounds);
    CalcRig rig;
    QVERIFY(rig.ready);
    Calculator& w = rig.window;
    typeTape(w, 20);
    w.Text2->setText("12");
    w.Text2->setCursorPosition(1);
    rig.sounds.played.clear();
    for (QChar k : keys) QTest::keyClick(w.Text2, k == 'U' ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(w.VScroll1->value(), value);
    QCOMPARE(lineOnRow(w, 0), bottom);
    QCOMPARE(rig.sounds.played, sounds);
    if (!keys.contains('U')) QCOMPARE(w.Text2->cursorPosition(), 1); // Down never reaches the box
}

void TestWindow::scrollBarAndSlider() {
    CalcRig rig;
    QVERIFY(rig.ready);
    Calculator& w = rig.window;
    typeTape(w, 20);
    QCOMPARE(rowText(w, 8), QString("12 #|12.00 +|78.00 ="));
    rig.sounds.played.clear();
    w.VScroll1->setValue(8); // row 8 would show line 0: it is blanked, not left at line 12
    for (int r = 0; r < 8; ++r) QCOMPARE(lineOnRow(w, r), 8 - r);
    QCOMPARE(rowText(w, 8), QString("||"));
    QCOMPARE(rig.sounds.played, QString("1"));
    // A drag reports once, when the handle is let go.
    w.VScroll1->setSliderDown(true);
    for (int v : {7, 6, 5}) w.VScroll1->setSliderPosition(v);
    w.VScroll1->setSliderDown(false);
    QCOMPARE(lineOnRow(w, 0), 5);
    QCOMPARE(rig.sounds.played, QString("11"));
    QTest::mouseClick(w.store, Qt::LeftButton); // the scrolled view's line is stored
    QCOMPARE(rig.state.memlist[0], std::string("15"));
    w.Slider1->setValue(0); // back to the newest lines, with no decimals
    QCOMPARE(rowText(w, 0), QString("20 #|20.00 +|210 ="));
    QCOMPARE(rig.sounds.played, QString("1112"));
    QTest::keyClick(w.Text2, 's');
    QCOMPARE(rig.state.memlist[1], std::string("210"));
    QVERIFY(w.Text2->hasFocus());
}

// A click on an entry cell opens the editor over it; an operator writes the line back and the
// rows are recomputed in place, Esc or the scroll bar taking focus drop the edit unwritten.
void TestWindow::editor_data() {
    QTest::addColumn<int>("row"); // of the tape 10 + 1234.5 + 2 x, line 3 on row 0
    QTest::addColumn<QString>("keys"); // typed into the editor; '|': the scroll bar takes focus
    QTest::addColumn<QString>("line2");
    QTest::addColumn<QStringList>("rows");
    const QStringList unchanged{"10.00  |10.00 =", "1,234.50 +|1,244.50 =", "2.00 x|2,489.00 ="};
    QTest::newRow("operator writes back") << 1 << "7-" << "7 -" << QStringList{"10.00  |10.00 =", "7.00 -|3.00 =", "2.00 x|6.00 ="};
    QTest::newRow("Esc cancels") << 1 << "7\x1b" << "1234.5 +" << unchanged;
    QTest::newRow("scroll bar focus drops the edit") << 1 << "7|" << "1234.5 +" << unchanged;
    QTest::newRow("empty row edits nothing") << 5 << "9+" << "1234.5 +" << unchanged;
}

void TestWindow::editor() {
    QFETCH(int, row);
    QFETCH(QString, keys);
    QFETCH(QString, line2);
    QFETCH(QStringList, rows);
    CalcRig rig;
    QVERIFY(rig.ready);
    Calculator& w = rig.window;
    QTest::keyClicks(w.Text2, "10+1234.5+2*");
    rig.sounds.played.clear();
    QTest::mouseClick(w.Label11[row], Qt::LeftButton);
    QVERIFY(w.Text3->isVisible() && w.Text3->hasFocus());
    QCOMPARE(w.Text3->pos(), w.Label11[row]->pos());
    QCOMPARE(w.Text3->text(), QString(row == 1 ? "1234.5" : "0"));
    QCOMPARE(w.Text3->selectedText(), w.Text3->text()); // typing replaces the number
    QCOMPARE(rig.sounds.played, QString("11"));
    typeKeys(w.Text3, QString(keys).remove('|'));
    if (keys.endsWith('|')) w.VScroll1->setFocus(Qt::MouseFocusReason);
    QVERIFY(w.Text3->isHidden() && w.Text2->hasFocus());
    QCOMPARE(QString::fromStdString(rig.state.entries[2]), line2);
    QCOMPARE(threeRows(w), rows);
    QCOMPARE(rig.state.nextline, 4);
    QTest::keyClicks(w.Text2, "1+"); // a dropped edit stays dropped
    QCOMPARE(QString::fromStdString(rig.state.entries[2]), line2);
}

// x ends, s stores, e previews, none writes the line; Up and Down in the editor scroll the view
// while the edit stays on its line.
void TestWindow::editorCommandsAndArrows() {
    CalcRig rig;
    QVERIFY(rig.ready);
    Calculator& w = rig.window;
    typeTape(w, 20);
    w.VScroll1->setValue(5);
    QTest::mouseClick(w.Label11[0], Qt::LeftButton);
    QTest::keyClicks(w.Text3, "7s");
    QCOMPARE(rig.state.memlist[0], std::string("15"));
    QTest::keyClick(w.Text3, 'e');
    QVERIFY(w.preview && w.preview->isVisible());
    delete w.preview;
    QTest::keyClick(w.Text3, 'X');
    QVERIFY(rig.outside.ended);
    QVERIFY(w.Text3->isVisible());
    QCOMPARE(w.Text3->text(), QString("7"));
    QCOMPARE(rig.state.entries[5], std::string("5 +"));
    QTest::keyClick(w.Text3, Qt::Key_Up);
    QCOMPARE(w.VScroll1->value(), 4);
    QCOMPARE(lineOnRow(w, 0), 4);
    QTest::keyClick(w.Text3, Qt::Key_Down);
    QCOMPARE(w.VScroll1->value(), 5);
    QVERIFY(w.Text3->isVisible());
    w.Text3->setFocus();
    QTest::keyClicks(w.Text3, "1+");
    QCOMPARE(rig.state.entries[5], std::string("71 +"));
}

void TestWindow::memory() {
    CalcRig rig;
    QVERIFY(rig.ready);
    Calculator& w = rig.window;
    QTest::keyClicks(w.Text2, "10+5+");
    rig.sounds.played.clear();
    QTest::mouseClick(w.store, Qt::LeftButton);
    w.VScroll1->setValue(1);
    QTest::mouseClick(w.store, Qt::LeftButton);
    QCOMPARE(rig.state.memcount, 2);
    QCOMPARE(w.List1->count(), 2);
    QCOMPARE(w.List2->item(0)->text(), QString(23 - 7, ' ') + "25.0000");
    // Recall by double click; on empty space a row selected before does not answer.
    QTest::mouseDClick(w.List1->viewport(), Qt::LeftButton, {}, rowCentre(w.List1, 1));
    QCOMPARE(w.Text2->text(), QString("10"));
    QTest::mouseDClick(w.List2->viewport(), Qt::LeftButton, {}, rowCentre(w.List2, 0));
    QCOMPARE(w.Text2->text(), QString("25"));
    QTest::mouseDClick(w.List1->viewport(), Qt::LeftButton, {}, {5, w.List1->viewport()->height() - 3});
    QCOMPARE(w.Text2->text(), QString("0"));
    QCOMPARE(rig.sounds.played, QString("111111"));
    QTest::mouseClick(w.removelist, Qt::LeftButton); // nothing selected: nothing goes
    QCOMPARE(w.List1->count(), 2);
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, rowCentre(w.List1, 0));
    QTest::mouseClick(w.removelist, Qt::LeftButton);
    QCOMPARE(rig.state.memcount, 1);
    QCOMPARE(rig.state.memlist[0], std::string("10.0000")); // read back from the row left
    QCOMPARE(w.List2->item(0)->text().trimmed(), QString("10.0000"));
    QTest::mouseClick(w.clearlist, Qt::LeftButton);
    QVERIFY(w.List1->count() == 0 && w.List2->count() == 0 && rig.state.memcount == 0);
    QCOMPARE(rig.state.nextline, 3); // the tape stays
    for (int i = 0; i < 30; ++i) QTest::mouseClick(w.store, Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(w.List1->indexAt(QPoint(1, 1)).row(), 5); // the newest value in sight
    rig.state.memcount = tally::kMemorySlots;
    QTest::mouseClick(w.store, Qt::LeftButton);
    QCOMPARE(rig.outside.messages.size(), 1);
}

void TestWindow::conversion() {
    CalcRig rig;
    QVERIFY(rig.ready);
    Calculator& w = rig.window;
    choose(w, "Length");
    QVERIFY(w.ListView1->isVisible() && w.ListView1->hasFocus());
    const QTreeWidgetItem* first = w.ListView1->topLevelItem(0);
    QCOMPARE((QStringList{first->text(0), first->text(1), first->text(2), first->text(3)}),
             (QStringList{"Inches", "2.54", "Centimetres", "in > cm"}));
    QCOMPARE(rig.sounds.played, QString());
    clickItem(w.ListView1, 0);
    QCOMPARE(w.convert->text(), QString("in > cm"));
    QVERIFY(w.ListView1->isHidden() && w.convert->hasFocus());
    QCOMPARE(rig.sounds.played, QString("1"));
    w.Text2->setText("2");
    QTest::mouseClick(w.convert, Qt::LeftButton);
    QCOMPARE(w.Text2->text(), QString("5.08"));
    QCOMPARE(w.Label6->text(), QString(" cm"));
    QTest::mouseClick(w.convert, Qt::LeftButton); // not again until a key empties the unit
    QCOMPARE(w.Text2->text(), QString("5.08"));
    QCOMPARE(rig.state.nextline, 1);
    // Esc leaves the list without a pick: "None" shows, the factor picked before stays.
    choose(w, "Length");
    QTest::keyClick(w.ListView1, Qt::Key_Escape);
    QVERIFY(w.ListView1->isHidden() && w.convert->hasFocus());
    QCOMPARE(w.conversion->currentText(), QString("None"));
    w.Label6->clear();
    w.Text2->setText("10");
    QTest::mouseClick(w.convert, Qt::LeftButton);
    QCOMPARE(w.Text2->text(), QString("25.4"));
    QCOMPARE(w.convert->text(), QString("None"));
    choose(w, "Length");
    choose(w, "None");
    QVERIFY(w.ListView1->isHidden());
    // Refusals are told and change nothing.
    w.Label6->clear();
    w.Text2->setText("12abc");
    QTest::mouseClick(w.convert, Qt::LeftButton);
    QCOMPARE(w.Text2->text(), QString("12abc"));
    QCOMPARE(w.Label6->text(), QString());
    QTemporaryDir empty;
    const QString home = QDir::currentPath();
    choose(w, "Length"); // its list must not stay up over the tape when Area fails
    QDir::setCurrent(empty.path()); // the shipped tables lie beside the program's data, not here
    choose(w, "Area");
    QDir::setCurrent(home);
    QVERIFY(w.ListView1->isHidden());
    QCOMPARE(rig.outside.messages.size(), 2);
    QVERIFY2(rig.outside.messages[1].contains("area.txt"), qPrintable(rig.outside.messages[1]));
    QVERIFY(w.Text2->hasFocus());
}

// Save As and Open go through Outside; the file holds the tape and brings it back whole.
void TestWindow::saveAndOpen() {
    QTemporaryDir dir;
    const QString path = dir.filePath("tape.cal");
    CalcRig rig;
    QVERIFY(rig.ready);
    Calculator& w = rig.window;
    QTest::keyClicks(w.Text2, "5\r3*2-.5/");
    const tally::State keyed = rig.state;
    rig.outside.fileAnswers << path;
    w.mnuSaveAs->trigger();
    QVERIFY(w.Text2->hasFocus());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\"5  \",\"5\"\r\n\"3 x\",\"15\"\r\n\"2 -\",\"13\"\r\n\"0.5 /\",\"26\"\r\n"));
    QTest::mouseClick(w.clearit, Qt::LeftButton);
    w.mnuOpen->trigger(); // cancelled: nothing happens
    QVERIFY(rig.state.tapeEmpty());
    rig.outside.fileAnswers << path;
    w.mnuOpen->trigger();
    QVERIFY(rig.state.entries == keyed.entries && rig.state.subtotals == keyed.subtotals);
    QCOMPARE(rig.state.nextline, 5);
    QCOMPARE(w.VScroll1->maximum(), 4);
    QCOMPARE(w.VScroll1->value(), 4);
    QCOMPARE(rowText(w, 0), QString("4 #|.50 /|26.00 ="));
    QCOMPARE(lineOnRow(w, 3), 1);
    QCOMPARE(rowText(w, 4), QString("||"));
    QVERIFY(w.Text2->hasFocus());
    using Kind = Outside::FileKind;
    QVERIFY(rig.outside.fileQuestions == (QList<Kind>{Kind::SaveTape, Kind::OpenTape, Kind::OpenTape}));
    QCOMPARE(rig.outside.messages, QStringList());
}

void TestWindow::menus() {
    CalcRig rig;
    QVERIFY(rig.ready);
    Calculator& w = rig.window;
    w.mnuPrint->trigger();
    QPointer<Form1> preview = w.preview;
    QVERIFY(preview && preview->isVisible());
    w.mnuPrint->trigger(); // one preview at a time
    int previews = 0;
    for (QWidget* top : QApplication::topLevelWidgets()) previews += qobject_cast<Form1*>(top) && top->isVisible();
    QCOMPARE(previews, 1);
    QCOMPARE(w.preview, preview);
    delete preview;
    // Help starts the viewer beside the program each time; one that cannot start is told.
    w.mnuHelp->trigger();
    rig.outside.startWorks = false;
    w.mnuHelp->trigger();
    const QStringList viewer{QCoreApplication::applicationDirPath() + "/tallyroll-help", "CALC1.hlp"};
    QCOMPARE(rig.outside.started, (QList<QStringList>{viewer, viewer}));
    QCOMPARE(rig.outside.messages.size(), 1);
    QVERIFY(rig.outside.messages[0].contains("tallyroll-help"));
    w.mnuAbout->trigger();
    QCOMPARE(rig.outside.about.value(0), QString("Tarvex Calculator"));
    const QStringList lines = rig.outside.about.value(1).split("\r\n");
    QCOMPARE(lines.size(), 4); // CR LF between the lines, no stray line end inside one
    for (const QString& line : lines) QVERIFY(!line.isEmpty() && !line.contains('\r') && !line.contains('\n'));
    QCOMPARE(rig.sounds.played, QString());
    QVERIFY(!rig.outside.ended);
    w.mnuExit->trigger();
    QVERIFY(rig.outside.ended);
    QCOMPARE(rig.sounds.played, QString("1"));
}

GUI_TEST(TestWindow)

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);
    int failed = 0;
    for (const auto& make : guiTests()) failed += QTest::qExec(make().get(), argc, argv);
    return failed;
}

#include "test_window.moc"
