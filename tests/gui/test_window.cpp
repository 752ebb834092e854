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

// The combo box as the user works it: the item becomes current and is activated.
void choose(Calculator& w, const QString& category) {
    w.conversion->setCurrentIndex(w.conversion->findText(category));
    emit w.conversion->activated(w.conversion->currentIndex());
}

QPoint rowCentre(QListWidget* list, int r) { return list->visualItemRect(list->item(r)).center(); }

void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

} // namespace

class TestWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<CalcRig> rig;

private slots:
    void init() {
        rig = std::make_unique<CalcRig>();
        QVERIFY(rig->ready);
    }
    void cleanup() { rig.reset(); }

    // Every keypad button by a click: digits and point into the box, operators write lines.
    void keypadButtons() {
        Calculator& w = rig->window;
        QVERIFY(w.Text3->isHidden() && w.ListView1->isHidden() && w.Text2->hasFocus());
        QTest::keyClicks(w.Text2, "12");
        w.Label6->setText(" ft");
        for (int i : {3, 4, 5, 6, 7, 8, 9, 0, 10}) click(w.Command1[i]);
        QCOMPARE(w.Label6->text(), QString()); // a key empties the converted unit
        QCOMPARE(w.Text2->text(), QString("1234567890."));
        QCOMPARE(w.Text2->cursorPosition(), 10); // after what the keypad added, plus one
        for (int i : std::initializer_list<int>{tally::kAdd, 5, tally::kSubtract, 3, tally::kMultiply, 2, tally::kDivide})
            click(w.Command1[i]);
        QCOMPARE(entries(rig->state), (QStringList{"1234567890  ", "5 -", "3 x", "2 /"}));
        QCOMPARE(rowText(w, 0), QString("4 #|2.00 /|1,851,851,827.50 ="));
        QCOMPARE(rowText(w, 3), QString("1 #|1,234,567,890.00  |1,234,567,890.00 ="));
        QCOMPARE(rig->sounds.played, QString("22222222222") + "1212121");
        QVERIFY(w.Text2->text().isEmpty() && w.Text2->hasFocus());
        QTest::keyClicks(w.Text2, "12");
        click(w.Command1[3]); // a written line starts the keyed number afresh
        QCOMPARE(w.Text2->cursorPosition(), 2);
    }

    void constantClearExit() {
        Calculator& w = rig->window;
        QTest::keyClicks(w.Text2, "2.5");
        click(w.konst);
        QCOMPARE(w.knst->text(), QString("Constant = 2.5      "));
        w.Text2->clear();
        click(w.konst); // an empty box takes the constant back
        QCOMPARE(w.Text2->text(), QString("2.5"));
        QTest::keyClicks(w.Text2, "1234567890123"); // a long constant is cut in its caption
        click(w.konst);
        QCOMPARE(w.knst->text(), QString("Constant = 2.5123456"));
        w.Text2->setText("2.5");
        click(w.Command1[tally::kAdd]);
        rig->sounds.played.clear();
        click(w.clearit);
        QVERIFY(rig->state.tapeEmpty() && rig->state.entries[1].empty() && w.Text2->hasFocus());
        QCOMPARE(rowText(w, 0), QString("||"));
        click(w.Command2);
        QVERIFY(rig->outside.ended);
        QCOMPARE(rig->sounds.played, QString("21"));
    }

    // Characters typed into the entry box reach their commands through the key table.
    void entryBoxKeys_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("sounds");
        QTest::newRow("digits and +") << "12+" << 1 << "" << 0 << "2211";
        QTest::newRow("Enter") << "12\r" << 1 << "" << 0 << "2211";
        QTest::newRow("- * / after a first line") << "8+2-3*4/" << 4 << "" << 0 << "211211211211";
        QTest::newRow("s stores") << "10+5+s" << 2 << "" << 1 << "221121111";
        QTest::newRow("c clears the tape") << "10+5+c" << 0 << "" << 0 << "221121112";
        QTest::newRow("k keeps a constant") << "7k" << 0 << "7" << 0 << "211";
        QTest::newRow("letter swallowed") << "1a" << 0 << "1" << 0 << "21";
        QTest::newRow("o exits") << "o" << 0 << "" << 0 << "11";
    }
    void entryBoxKeys() {
        QFETCH(QString, keys);
        QFETCH(int, stored);
        Calculator& w = rig->window;
        QTest::keyClicks(w.Text2, keys);
        QTEST(rig->state.nextline - 1, "lines");
        QTEST(lineOnRow(w, 0), "lines");
        QTEST(w.Text2->text(), "box");
        QCOMPARE(rig->state.memcount, stored);
        QCOMPARE(w.List1->count(), stored);
        QTEST(rig->sounds.played, "sounds");
        QCOMPARE(rig->outside.ended, keys == "o");
    }

    // The key preview: the keypad's decimal key types a point; Ctrl with a letter is a shortcut.
    void filteredKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("box"); // after "5+1" and the key
        QTest::addColumn<int>("lines");
        const int keypad = Qt::KeypadModifier, ctrl = Qt::ControlModifier;
        QTest::newRow("keypad decimal key sending a comma") << int(Qt::Key_Comma) << keypad << "," << "1." << 1;
        QTest::newRow("keypad period key, other separator") << int(Qt::Key_Period) << keypad << QString(QChar(0x66B)) << "1." << 1;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << keypad << "\r" << "" << 2;
        QTest::newRow("Ctrl+C does not clear the tape") << int(Qt::Key_C) << ctrl << "c" << "1" << 1;
        QTest::newRow("Ctrl+S does not store") << int(Qt::Key_S) << ctrl << "s" << "1" << 1;
        QTest::newRow("Ctrl+O does not exit") << int(Qt::Key_O) << ctrl << "o" << "1" << 1;
    }
    void filteredKeys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        Calculator& w = rig->window;
        QTest::keyClicks(w.Text2, "5+1");
        QTest::sendKeyEvent(QTest::Click, w.Text2, Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));
        QTEST(w.Text2->text(), "box");
        QTEST(rig->state.nextline - 1, "lines");
        QVERIFY(rig->state.memcount == 0 && !rig->outside.ended);
    }

    void fullTapeAndHugeEntry() {
        Calculator& w = rig->window;
        // A text too large for a number is written as typed and its row shows it as it stands.
        w.Text2->setText("1e309");
        click(w.Command1[tally::kAdd]);
        QCOMPARE(rowText(w, 0), QString("1 #|1e309  |"));
        fillTape(rig->state, tally::kTapeLines);
        QTest::keyClicks(w.Text2, "7+");
        // The full tape is told, the entry stays.
        QVERIFY(rig->outside.messages.size() == 1 && w.Text2->text() == "7" && rig->state.nextline == tally::kTapeLines + 1);
    }

    // Up and Down in the entry box, the scroll bar's change, drag and the slider.
    void scrolling() {
        Calculator& w = rig->window;
        typeTape(w, 20);
        QCOMPARE(rowText(w, 8), QString("12 #|12.00 +|78.00 ="));
        w.Text2->setText("12");
        w.Text2->setCursorPosition(1);
        rig->sounds.played.clear();
        QTest::keyClick(w.Text2, Qt::Key_Down); // at the end: nothing, and the key never reaches the box
        QCOMPARE(w.Text2->cursorPosition(), 1);
        QTest::keyClick(w.Text2, Qt::Key_Up); // the bar's change draws line 19, Up's own redraw 18
        QVERIFY(w.VScroll1->value() == 19 && lineOnRow(w, 0) == 18);
        QTest::keyClick(w.Text2, Qt::Key_Down);
        QCOMPARE(lineOnRow(w, 0), 20);
        QCOMPARE(rig->sounds.played, QString("111"));
        w.VScroll1->setValue(8); // row 8 would show line 0: it is blanked, not left at line 12
        for (int r = 0; r < 8; ++r) QCOMPARE(lineOnRow(w, r), 8 - r);
        QCOMPARE(rowText(w, 8), QString("||"));
        w.VScroll1->setSliderDown(true); // a drag reports once, when the handle is let go
        for (int v : {7, 6, 5}) w.VScroll1->setSliderPosition(v);
        w.VScroll1->setSliderDown(false);
        QCOMPARE(lineOnRow(w, 0), 5);
        QCOMPARE(rig->sounds.played, QString("11111"));
        click(w.store); // the scrolled view's line is stored
        QCOMPARE(rig->state.memlist[0], std::string("15"));
        w.Slider1->setValue(0); // back to the newest lines, with no decimals
        QCOMPARE(rowText(w, 0), QString("20 #|20.00 +|210 ="));
        QCOMPARE(rig->sounds.played, QString("1111112"));
        QTest::keyClick(w.Text2, 's');
        QCOMPARE(rig->state.memlist[1], std::string("210"));
        QVERIFY(w.Text2->hasFocus());
    }

    // A click on an entry cell opens the editor over it; an operator writes the line back and the
    // rows are recomputed in place; Esc or the scroll bar taking focus drop the edit unwritten.
    void editor_data() {
        QTest::addColumn<int>("row"); // of the tape 10 + 1234.5 + 2 x, line 3 on row 0
        QTest::addColumn<QString>("keys"); // typed into the editor; '|': the scroll bar takes focus
        QTest::addColumn<QString>("line2");
        QTest::addColumn<QStringList>("rows"); // rows 2, 1, 0 as "entry|subtotal"
        const QStringList same{"10.00  |10.00 =", "1,234.50 +|1,244.50 =", "2.00 x|2,489.00 ="};
        QTest::newRow("operator writes back") << 1 << "7-" << "7 -" << QStringList{"10.00  |10.00 =", "7.00 -|3.00 =", "2.00 x|6.00 ="};
        QTest::newRow("Esc cancels") << 1 << "7\x1b" << "1234.5 +" << same;
        QTest::newRow("scroll bar focus drops the edit") << 1 << "7|" << "1234.5 +" << same;
        QTest::newRow("empty row edits nothing") << 5 << "9+" << "1234.5 +" << same;
    }
    void editor() {
        QFETCH(int, row);
        QFETCH(QString, keys);
        QFETCH(QString, line2);
        Calculator& w = rig->window;
        QTest::keyClicks(w.Text2, "10+1234.5+2*");
        rig->sounds.played.clear();
        click(w.Label11[row]);
        QVERIFY(w.Text3->isVisible() && w.Text3->hasFocus());
        QCOMPARE(w.Text3->pos(), w.Label11[row]->pos());
        QCOMPARE(w.Text3->text(), QString(row == 1 ? "1234.5" : "0"));
        QCOMPARE(w.Text3->selectedText(), w.Text3->text()); // typing replaces the number
        QCOMPARE(rig->sounds.played, QString("11"));
        const QString typed = QString(keys).remove('|');
        for (QChar c : typed)
            QTest::sendKeyEvent(QTest::Click, w.Text3, c == '\x1b' ? Qt::Key_Escape : Qt::Key_unknown, c.toLatin1(), Qt::NoModifier);
        if (keys.endsWith('|')) w.VScroll1->setFocus(Qt::MouseFocusReason);
        QVERIFY(w.Text3->isHidden() && w.Text2->hasFocus());
        QCOMPARE(QString::fromStdString(rig->state.entries[2]), line2);
        QStringList rows;
        for (int r = 2; r >= 0; --r) rows << w.Label11[r]->text() + '|' + w.Label12[r]->text();
        QTEST(rows, "rows");
        QVERIFY(rig->state.nextline == 4 && rig->state.entries[0].empty());
        QTest::keyClicks(w.Text2, "1+"); // a dropped edit stays dropped
        QCOMPARE(QString::fromStdString(rig->state.entries[2]), line2);
    }

    // s stores, e previews, x ends, none writes the line; Up and Down in the editor scroll the
    // view while the edit stays on its line.
    void editorCommandsAndArrows() {
        Calculator& w = rig->window;
        typeTape(w, 20);
        w.VScroll1->setValue(5);
        click(w.Label11[0]);
        QTest::keyClicks(w.Text3, "7s");
        QCOMPARE(rig->state.memlist[0], std::string("15"));
        QTest::keyClick(w.Text3, 'e');
        QVERIFY(w.preview && w.preview->isVisible());
        delete w.preview;
        QTest::keyClick(w.Text3, 'X');
        QVERIFY(rig->outside.ended && w.Text3->isVisible() && w.Text3->text() == "7" && rig->state.entries[5] == "5 +");
        QTest::keyClick(w.Text3, Qt::Key_Up);
        QVERIFY(w.VScroll1->value() == 4 && lineOnRow(w, 0) == 4);
        QTest::keyClick(w.Text3, Qt::Key_Down);
        QCOMPARE(w.VScroll1->value(), 5);
        w.Text3->setFocus();
        QTest::keyClicks(w.Text3, "1+");
        QCOMPARE(rig->state.entries[5], std::string("71 +"));
    }

    void memory() {
        Calculator& w = rig->window;
        QTest::keyClicks(w.Text2, "10+5+");
        rig->sounds.played.clear();
        click(w.store);
        w.VScroll1->setValue(1);
        click(w.store);
        QCOMPARE(w.List1->count(), 2);
        QCOMPARE(w.List2->item(0)->text(), QString(23 - 7, ' ') + "25.0000");
        // Recall by double click; on empty space a row selected before does not answer.
        QStringList recalled;
        for (auto [list, at] : {std::pair{w.List1, rowCentre(w.List1, 1)}, {w.List2, rowCentre(w.List2, 0)},
                                {w.List1, QPoint(5, w.List1->viewport()->height() - 3)}}) {
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            recalled << w.Text2->text();
        }
        QCOMPARE(recalled, (QStringList{"10", "25", "0"}));
        QCOMPARE(rig->sounds.played, QString("111111"));
        click(w.removelist); // nothing selected: nothing goes
        QCOMPARE(w.List1->count(), 2);
        QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, rowCentre(w.List1, 0));
        click(w.removelist);
        QVERIFY(rig->state.memcount == 1 && rig->state.memlist[0] == "10.0000"); // read back from the row left
        QCOMPARE(w.List2->item(0)->text().trimmed(), QString("10.0000"));
        click(w.clearlist);
        QVERIFY(w.List1->count() == 0 && w.List2->count() == 0 && rig->state.memcount == 0);
        QCOMPARE(rig->state.nextline, 3); // the tape stays
        for (int i = 0; i < 30; ++i) click(w.store);
        QCoreApplication::processEvents();
        QCOMPARE(w.List1->indexAt(QPoint(1, 1)).row(), 5); // the newest value in sight
        rig->state.memcount = tally::kMemorySlots;
        click(w.store);
        QCOMPARE(rig->outside.messages.size(), 1);
    }

    void conversion() {
        Calculator& w = rig->window;
        choose(w, "Length");
        QVERIFY(w.ListView1->isVisible() && w.ListView1->hasFocus());
        QCOMPARE(rig->sounds.played, QString()); // only a pick sounds
        const QTreeWidgetItem* first = w.ListView1->topLevelItem(0);
        QTest::mouseClick(w.ListView1->viewport(), Qt::LeftButton, {}, w.ListView1->visualItemRect(first).center());
        QCOMPARE(w.convert->text(), QString("in > cm")); // the shipped table's first row
        QVERIFY(w.ListView1->isHidden() && w.convert->hasFocus());
        QCOMPARE(rig->sounds.played, QString("1"));
        w.Text2->setText("2");
        click(w.convert);
        click(w.convert); // not again until a key empties the unit
        QCOMPARE((QStringList{w.Text2->text(), w.Label6->text()}), (QStringList{"5.08", " cm"}));
        QCOMPARE(rig->state.nextline, 1);
        // Esc leaves the list without a pick: "None" shows, the factor picked before stays.
        choose(w, "Length");
        QTest::keyClick(w.ListView1, Qt::Key_Escape);
        QVERIFY(w.ListView1->isHidden() && w.convert->hasFocus());
        QCOMPARE(w.conversion->currentText(), QString("None"));
        w.Label6->clear();
        w.Text2->setText("10");
        click(w.convert);
        QCOMPARE(w.Text2->text(), QString("25.4"));
        choose(w, "Length");
        choose(w, "None");
        QVERIFY(w.ListView1->isHidden());
        QCOMPARE(w.convert->text(), QString("None"));
        // Refusals are told and change nothing.
        w.Label6->clear();
        w.Text2->setText("12abc");
        click(w.convert);
        QCOMPARE((QStringList{w.Text2->text(), w.Label6->text()}), (QStringList{"12abc", ""}));
        QTemporaryDir empty;
        const QString home = QDir::currentPath();
        choose(w, "Length"); // its list must not stay up over the tape when Area fails
        QDir::setCurrent(empty.path()); // the shipped tables lie beside the program's data, not here
        choose(w, "Area");
        QDir::setCurrent(home);
        QVERIFY(w.ListView1->isHidden() && w.Text2->hasFocus());
        QCOMPARE(rig->outside.messages.size(), 2);
        QVERIFY2(rig->outside.messages[1].contains("area.txt"), qPrintable(rig->outside.messages[1]));
    }

    // Save As and Open go through Outside; the file holds the tape and brings it back whole.
    void saveAndOpen() {
        QTemporaryDir dir;
        const QString path = dir.filePath("tape.cal");
        Calculator& w = rig->window;
        QTest::keyClicks(w.Text2, "5\r3*2-.5/");
        const tally::State keyed = rig->state;
        rig->outside.fileAnswers << path;
        w.mnuSaveAs->trigger();
        QVERIFY(w.Text2->hasFocus());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\"5  \",\"5\"\r\n\"3 x\",\"15\"\r\n\"2 -\",\"13\"\r\n\"0.5 /\",\"26\"\r\n"));
        click(w.clearit);
        w.mnuOpen->trigger(); // cancelled: nothing happens
        QVERIFY(rig->state.tapeEmpty());
        rig->outside.fileAnswers << path;
        w.mnuOpen->trigger();
        QVERIFY(rig->state.entries == keyed.entries && rig->state.subtotals == keyed.subtotals);
        QVERIFY(rig->state.nextline == 5 && w.VScroll1->value() == 4 && w.Text2->hasFocus());
        QCOMPARE((QStringList{rowText(w, 0), rowText(w, 3), rowText(w, 4)}),
                 (QStringList{"4 #|.50 /|26.00 =", "1 #|5.00  |5.00 =", "||"}));
        using Kind = Outside::FileKind;
        QVERIFY(rig->outside.fileQuestions == (QList<Kind>{Kind::SaveTape, Kind::OpenTape, Kind::OpenTape}));
        QCOMPARE(rig->outside.messages, QStringList());
    }

    void menus() {
        Calculator& w = rig->window;
        w.mnuPrint->trigger();
        QPointer<Form1> preview = w.preview;
        QVERIFY(preview && preview->isVisible());
        w.mnuPrint->trigger(); // one preview at a time
        int previews = 0;
        for (QWidget* top : QApplication::topLevelWidgets()) previews += qobject_cast<Form1*>(top) && top->isVisible();
        QCOMPARE(previews, 1);
        delete preview;
        // Help starts the viewer beside the program each time; one that cannot start is told.
        w.mnuHelp->trigger();
        rig->outside.startWorks = false;
        w.mnuHelp->trigger();
        const QStringList viewer{QCoreApplication::applicationDirPath() + "/tallyroll-help", "CALC1.hlp"};
        QCOMPARE(rig->outside.started, (QList<QStringList>{viewer, viewer}));
        QVERIFY(rig->outside.messages.size() == 1 && rig->outside.messages[0].contains("tallyroll-help"));
        w.mnuAbout->trigger();
        QCOMPARE(rig->outside.about.value(0), QString("Tarvex Calculator"));
        const QStringList lines = rig->outside.about.value(1).split("\r\n");
        QCOMPARE(lines.size(), 4); // CR LF between the lines, no stray line end inside one
        for (const QString& line : lines) QVERIFY(!line.isEmpty() && !line.contains('\r') && !line.contains('\n'));
        QVERIFY(rig->sounds.played.isEmpty() && !rig->outside.ended);
        w.mnuExit->trigger();
        QVERIFY(rig->outside.ended);
        QCOMPARE(rig->sounds.played, QString("1"));
    }
};

GUI_TEST(TestWindow)

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);
    int failed = 0;
    for (const auto& make : guiTests()) failed += QTest::qExec(make().get(), argc, argv);
    return failed;
}

#include "test_window.moc"
