// The window's wiring: each control reaches its handler and each handler moves the right texts
// between the state and the controls. What the rules themselves decide is the core tests' part.
#include <QtWidgets>

#include "fixture.h"
#include "print/form1.h"

namespace {
void choose(Calculator& w, const QString& category) { // as the user works the combo box
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
        QCOMPARE(w.Label6->text() + '|' + w.Text2->text(), QString("|1234567890.")); // a key empties the unit
        QCOMPARE(w.Text2->cursorPosition(), 10); // after what the keypad added, plus one
        for (int i : std::initializer_list<int>{tally::kAdd, 5, tally::kSubtract, 3, tally::kMultiply, 2, tally::kDivide})
            click(w.Command1[i]);
        QVERIFY(rig->state.entries[2] == "5 -" && rig->state.entries[4] == "2 /");
        QCOMPARE(rowText(w, 0), QString("4 #|2.00 /|1,851,851,827.50 ="));
        QVERIFY(rig->sounds.played == "222222222221212121" && w.Text2->text().isEmpty() && w.Text2->hasFocus());
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
        QTest::keyClicks(w.Text2, "1234567890123"); // a long constant is cut in its caption
        click(w.konst);
        QCOMPARE(w.knst->text(), QString("Constant = 2.5123456"));
        w.Text2->setText("2.5");
        click(w.Command1[tally::kAdd]);
        QCOMPARE(rowText(w, 0), QString("1 #|2.50  |2.50 ="));
        rig->sounds.played.clear();
        click(w.clearit);
        QVERIFY(rig->state.tapeEmpty() && rig->state.entries[1].empty() && w.Text2->hasFocus() && rowText(w, 0) == "||");
        click(w.Command2);
        QVERIFY(rig->outside.ended && rig->sounds.played == "21");
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
        QVERIFY(rig->state.memcount == stored && w.List1->count() == stored);
        QTEST(rig->sounds.played, "sounds");
        QCOMPARE(rig->outside.ended, keys == "o");
    }

    // The keypad's decimal key types a point whatever the layout sends. (Ctrl+letter: desktop shortcuts.)
    void keypadDecimalKey() {
        for (auto [key, text] : {std::pair{Qt::Key_Comma, QString(",")}, {Qt::Key_Period, QString(QChar(0x66B))}}) {
            rig->window.Text2->setText("1");
            QTest::sendKeyEvent(QTest::Click, rig->window.Text2, key, text, Qt::KeypadModifier);
            QCOMPARE(rig->window.Text2->text(), QString("1."));
        }
    }

    // A paste a tape file could not carry back is refused whole, in the entry box and the editor;
    // a good one arrives (Ctrl+V is no letter command).
    void paste() {
        Calculator& w = rig->window;
        QTest::keyClicks(w.Text2, "1+");
        for (QLineEdit* box : {w.Text2, w.Text3}) {
            if (box == w.Text3) click(w.Label11[0]);
            for (const QString& text : {QString::fromUtf8("\"5٣€"), QString("42")}) {
                box->clear();
                QGuiApplication::clipboard()->setText(text);
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_V, QString(QChar(0x16)), Qt::ControlModifier);
                QCOMPARE(box->text(), text == "42" ? text : QString());
            }
        }
    }

    void fullTapeAndHugeEntry() {
        Calculator& w = rig->window;
        w.Text2->setText("1e309"); // too large for a number: the row shows it as it stands
        click(w.Command1[tally::kAdd]);
        QCOMPARE(rowText(w, 0), QString("1 #|1e309  |"));
        fillTape(rig->state, tally::kTapeLines);
        QTest::keyClicks(w.Text2, "7+"); // told, and the entry stays
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
        QVERIFY(lineOnRow(w, 0) == 20 && rig->sounds.played == "111");
        w.VScroll1->setValue(8); // row 8 would show line 0: it is blanked, not left at line 12
        for (int r = 0; r < 8; ++r) QCOMPARE(lineOnRow(w, r), 8 - r);
        QCOMPARE(rowText(w, 8), QString("||"));
        w.VScroll1->setSliderDown(true); // a drag reports once, when the handle is let go
        for (int v : {7, 6, 5}) w.VScroll1->setSliderPosition(v);
        w.VScroll1->setSliderDown(false);
        QVERIFY(lineOnRow(w, 0) == 5 && rig->sounds.played == "11111");
        click(w.store); // the scrolled view's line is stored
        w.Slider1->setValue(0); // back to the newest lines, with no decimals
        QVERIFY(rowText(w, 0) == "20 #|20.00 +|210 =" && rig->sounds.played == "1111112");
        QTest::keyClick(w.Text2, 's');
        QVERIFY(rig->state.memlist[0] == "15" && rig->state.memlist[1] == "210" && w.Text2->hasFocus());
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
        QVERIFY(w.Text3->isVisible() && w.Text3->hasFocus() && w.Text3->pos() == w.Label11[row]->pos() && rig->sounds.played == "11");
        QCOMPARE(w.Text3->text(), QString(row == 1 ? "1234.5" : "0"));
        QCOMPARE(w.Text3->selectedText(), w.Text3->text()); // typing replaces the number
        const QString typed = QString(keys).remove('|');
        for (QChar c : typed)
            QTest::sendKeyEvent(QTest::Click, w.Text3, c == '\x1b' ? Qt::Key_Escape : Qt::Key_unknown, c.toLatin1(), Qt::NoModifier);
        if (keys.endsWith('|')) w.VScroll1->setFocus(Qt::MouseFocusReason);
        QVERIFY(w.Text3->isHidden() && w.Text2->hasFocus());
        QCOMPARE(QString::fromStdString(rig->state.entries[2]), line2);
        QStringList rows;
        for (int r = 2; r >= 0; --r) rows << w.Label11[r]->text() + '|' + w.Label12[r]->text();
        QTEST(rows, "rows");
        QTest::keyClicks(w.Text2, "1+"); // a dropped edit stays dropped
        QCOMPARE(QString::fromStdString(rig->state.entries[2]), line2);
    }

    // F2 opens the editor on the bottom row's line; s stores, e previews, x ends, none writes the
    // line; Up and Down scroll the view while the edit stays on its line.
    void editorCommandsAndArrows() {
        Calculator& w = rig->window;
        typeTape(w, 20);
        w.VScroll1->setValue(5);
        QTest::keyClick(w.Text2, Qt::Key_F2);
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
        w.Text3->setFocus();
        QTest::keyClicks(w.Text3, "1+");
        QVERIFY(w.VScroll1->value() == 5 && rig->state.entries[5] == "71 +");
    }

    void memory() {
        Calculator& w = rig->window;
        QTest::keyClicks(w.Text2, "10+5+");
        rig->sounds.played.clear();
        click(w.store);
        w.VScroll1->setValue(1);
        click(w.store);
        QVERIFY(w.List1->count() == 2 && w.List2->item(0)->text() == QString(23 - 7, ' ') + "25.0000");
        // Recall by double click; on empty space a row selected before does not answer.
        QStringList recalled;
        for (auto [list, at] : {std::pair{w.List1, rowCentre(w.List1, 1)}, {w.List2, rowCentre(w.List2, 0)},
                                {w.List1, QPoint(5, w.List1->viewport()->height() - 3)}}) {
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            recalled << w.Text2->text();
        }
        QCOMPARE(recalled, (QStringList{"10", "25", "0"}));
        click(w.removelist); // nothing selected: nothing goes
        QCOMPARE(rig->state.memcount, 2);
        QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, rowCentre(w.List1, 0));
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) { // the keyboard's double click
            w.Text2->clear();
            QTest::keyClick(w.List1, key);
            QCOMPARE(w.Text2->text(), QString("15"));
        }
        click(w.removelist);
        QVERIFY(rig->state.memcount == 1 && rig->state.memlist[0] == "10.0000"); // read back from the row left
        click(w.clearlist);
        QVERIFY(w.List1->count() == 0 && w.List2->count() == 0 && rig->state.memcount == 0 && rig->state.nextline == 3);
        for (int i = 0; i < 30; ++i) click(w.store);
        QCoreApplication::processEvents();
        QCOMPARE(w.List1->indexAt(QPoint(1, 1)).row(), 5); // the newest value in sight
        rig->state.memcount = tally::kMemorySlots;
        click(w.store); // told
        QCOMPARE(rig->outside.messages.size(), 1);
    }

    void conversion() {
        Calculator& w = rig->window;
        choose(w, "Length");
        QVERIFY(w.ListView1->isVisible() && w.ListView1->hasFocus());
        QCOMPARE(rig->sounds.played, QString()); // only a pick sounds
        QTest::mouseClick(w.ListView1->viewport(), Qt::LeftButton, {}, w.ListView1->visualItemRect(w.ListView1->topLevelItem(0)).center());
        QCOMPARE(w.convert->text(), QString("in > cm")); // the shipped table's first row
        QVERIFY(w.ListView1->isHidden() && w.convert->hasFocus() && rig->sounds.played == "1");
        w.Text2->setText("2");
        click(w.convert);
        click(w.convert); // not again until a key empties the unit
        QCOMPARE((QStringList{w.Text2->text(), w.Label6->text()}), (QStringList{"5.08", " cm"}));
        // Esc leaves the list without a pick: "None" shows, the factor picked before stays.
        choose(w, "Length");
        QTest::keyClick(w.ListView1, Qt::Key_Escape);
        QVERIFY(w.ListView1->isHidden() && w.convert->hasFocus() && w.conversion->currentText() == "None");
        w.Label6->clear();
        w.Text2->setText("10");
        click(w.convert);
        QCOMPARE(w.Text2->text(), QString("25.4"));
        choose(w, "Length");
        choose(w, "None");
        QVERIFY(w.ListView1->isHidden() && w.convert->text() == "None");
        w.Label6->clear(); // refusals are told and change nothing
        w.Text2->setText("12abc");
        click(w.convert);
        QCOMPARE((QStringList{w.Text2->text(), w.Label6->text()}), (QStringList{"12abc", ""}));
        QTemporaryDir here; // the shipped tables lie beside the program's data, not here
        QVERIFY(writeFile(here.filePath("length.txt"), QByteArray(64 * 1024 + 1, ','))); // refused unread
        const QString home = QDir::currentPath();
        choose(w, "Length"); // its list must not stay up over the tape when Area fails
        QDir::setCurrent(here.path());
        choose(w, "Area");
        QVERIFY(w.ListView1->isHidden() && w.Text2->hasFocus());
        choose(w, "Length");
        QDir::setCurrent(home);
        QCOMPARE(rig->outside.messages.size(), 3);
        QVERIFY2(rig->outside.messages[1].contains("area.txt") && rig->outside.messages[2].contains("could not be read"),
                 qPrintable(rig->outside.messages.join('|')));
    }

    // Save As and Open ask Outside for the name; cancelled, nothing happens.
    void saveAndOpen() {
        QTemporaryDir dir;
        Calculator& w = rig->window;
        QTest::keyClicks(w.Text2, "5\r3*");
        rig->outside.fileAnswers << dir.filePath("t.cal");
        w.mnuSaveAs->trigger();
        click(w.clearit);
        w.mnuOpen->trigger();
        QVERIFY(rig->state.tapeEmpty() && w.Text2->hasFocus());
        rig->outside.fileAnswers << dir.filePath("t.cal");
        w.mnuOpen->trigger();
        QVERIFY(rig->state.entries[2] == "3 x" && w.VScroll1->value() == 2 && rowText(w, 0) == "2 #|3.00 x|15.00 =" && w.Text2->hasFocus());
        using Kind = Outside::FileKind;
        QVERIFY(rig->outside.fileQuestions == (QList<Kind>{Kind::SaveTape, Kind::OpenTape, Kind::OpenTape}) && rig->outside.messages.isEmpty());
    }

    void menus() {
        Calculator& w = rig->window;
        w.mnuPrint->trigger();
        QPointer<Form1> preview = w.preview;
        w.mnuPrint->trigger(); // one preview at a time
        QVERIFY(preview && preview->isVisible() && w.preview == preview);
        delete preview;
        // Help starts the viewer beside the program each time; one that cannot start is told.
        w.mnuHelp->trigger();
        rig->outside.startWorks = false;
        w.mnuHelp->trigger();
        const QStringList viewer{QCoreApplication::applicationDirPath() + "/tallyroll-help", "CALC1.hlp"};
        QVERIFY(rig->outside.started == (QList<QStringList>{viewer, viewer}) && rig->outside.messages.value(0).contains("tallyroll-help"));
        w.mnuAbout->trigger();
        QCOMPARE(rig->outside.about, (QStringList{"Tarvex Calculator", Calculator::aboutText()}));
        QVERIFY(rig->sounds.played.isEmpty() && !rig->outside.ended);
        w.mnuExit->trigger();
        QVERIFY(rig->outside.ended && rig->sounds.played == "1");
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
