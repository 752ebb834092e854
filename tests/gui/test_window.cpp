// The window's wiring: each control reaches its handler and each handler moves the right texts
// between the state and the controls (what the rules decide is the core tests' part); then the window
// as a desktop program: refused and failed files, tapes from outside, shortcuts, the kept tapes, a
// screen reader (the look is in the pictures).
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "fixture.h"
#include "print/form1.h"
#include "print/printing.h"
#include "shell/commandline.h"
#include "shell/metrics.h"
#include "table.h"
#include "tape/cells.h"
#include "tape/keeper.h"
#include "window/design.h"

namespace {
void choose(Calculator& w, const QString& category) { // as the user works the combo box
    w.conversion->setCurrentIndex(w.conversion->findText(category));
    emit w.conversion->activated(w.conversion->currentIndex());
}
QPoint rowCentre(QListWidget* list, int r) {
    return list->visualItemRect(list->item(r)).center();
}
void click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton);
}
QStringList shown(const Calculator& w) { // the rows and the scroll bar
    QStringList s{QString::number(w.VScroll1->value()), QString::number(w.VScroll1->maximum())};
    for (int r = 0; r < tally::kVisibleRows; ++r)
        s << rowText(w, r);
    return s;
}
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

    // Every keypad button by a click: digits and point into the box, operators write lines. A paste a
    // tape file could not carry back is refused whole, in the entry box and the editor; a good one arrives.
    void keypadButtons() {
        Calculator& w = rig->window;
        QVERIFY(w.Text3->isHidden() && w.ListView1->isHidden() && w.Text2->hasFocus());
        QTest::keyClicks(w.Text2, "12");
        w.Label6->setText(" ft");
        for (int i : {3, 4, 5, 6, 7, 8, 9, 0, 10})
            click(w.Command1[i]);
        QCOMPARE(w.Label6->text() + '|' + w.Text2->text(), QString("|1234567890.")); // a key empties the unit
        QCOMPARE(w.Text2->cursorPosition(), 10); // after what the keypad added, plus one
        for (int i :
             std::initializer_list<int>{tally::kAdd, 5, tally::kSubtract, 3, tally::kMultiply, 2, tally::kDivide})
            click(w.Command1[i]);
        QVERIFY(rig->state.entries[2] == "5 -" && rig->state.entries[4] == "2 /");
        QCOMPARE(rowText(w, 0), QString("4 #|2.00 /|1,851,851,827.50 ="));
        QVERIFY(rig->sounds.played == "222222222221212121" && w.Text2->text().isEmpty() && w.Text2->hasFocus());
        QTest::keyClicks(w.Text2, "12");
        click(w.Command1[3]); // a written line starts the keyed number afresh
        QCOMPARE(w.Text2->cursorPosition(), 2);
        for (auto [key, text] : {std::pair{Qt::Key_Comma, QString(",")}, {Qt::Key_Period, QString(QChar(0x66B))}}) {
            w.Text2->setText("1"); // the keypad's decimal key types a point whatever the layout sends
            QTest::sendKeyEvent(QTest::Click, w.Text2, key, text, Qt::KeypadModifier);
            QCOMPARE(w.Text2->text(), QString("1."));
        }
        // A paste over the selected "2": a grouped figure without its commas; a refused one changes nothing.
        for (QLineEdit* box : {w.Text2, w.Text3}) {
            for (auto [clip, after] :
                 {std::pair{QString::fromUtf8("\"5٣€"), "2|2"}, {"1,2345", "2|2"}, {"12,345.5", "12345.5|"}}) {
                if (box == w.Text3)
                    click(w.Label11[0]);
                else
                    w.Text2->setText("2"), w.Text2->selectAll();
                QGuiApplication::clipboard()->setText(clip);
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_V, QString(QChar(0x16)),
                                    Qt::ControlModifier); // no letter command
                QCOMPARE(box->text() + '|' + box->selectedText(), QString(after));
            }
        }
        QTest::keyClick(w.Text3, Qt::Key_Escape);
        click(w.clearit); // then the constant, Clear, a huge entry, the full tape and Exit
        w.Text2->setText("2.5");
        click(w.konst);
        QCOMPARE(w.knst->text(), QString("Constant = 2.5      "));
        w.Text2->clear();
        click(w.konst);                             // an empty box takes the constant back
        QTest::keyClicks(w.Text2, "1234567890123"); // a long constant is cut in its caption
        click(w.konst);
        QCOMPARE(w.knst->text(), QString("Constant = 2.5123456"));
        w.Text2->setText("2.5");
        click(w.Command1[tally::kAdd]);
        QCOMPARE(rowText(w, 0), QString("1 #|2.50  |2.50 ="));
        rig->sounds.played.clear();
        click(w.clearit);
        QVERIFY(rig->state.tapeEmpty() && rig->state.entries[1].empty() && w.Text2->hasFocus() &&
                rowText(w, 0) == "||");
        w.Text2->setText("1e309"); // too large for a number: the row shows it as it stands
        click(w.Command1[tally::kAdd]);
        QCOMPARE(rowText(w, 0), QString("1 #|1e309  |"));
        fillTape(rig->state, tally::kTapeLines);
        QTest::keyClicks(w.Text2, "7+"); // told, and the entry stays
        QVERIFY(rig->outside.messages.size() == 1 && w.Text2->text() == "7" &&
                rig->state.nextline == tally::kTapeLines + 1);
        click(w.Command2);
        QVERIFY(rig->outside.ended && rig->sounds.played == "21211");
    }

    // Characters typed into the entry box reach their commands through the key table; a shortcut after
    // them reaches its menu item and never a letter command (o exits, s stores, c clears) nor types.
    void entryBoxKeys_data() {
        // Keys typed, then a shortcut after the caret; the lines, box, memory and sounds after them; what the shortcut
        // reached.
        columns({"keys"}), columns<int>({"lines"}), columns({"box"}), columns<int>({"stored"}),
            columns({"sounds", "reached"});
        QTest::newRow("digits and +") << "12+" << 1 << "" << 0 << "2211"
                                      << "";
        QTest::newRow("Enter") << "12\r" << 1 << "" << 0 << "2211"
                               << "";
        QTest::newRow("- * / after a first line") << "8+2-3*4/" << 4 << "" << 0 << "211211211211"
                                                  << "";
        QTest::newRow("s stores") << "10+5+s" << 2 << "" << 1 << "221121111"
                                  << "";
        QTest::newRow("c clears the tape") << "10+5+c" << 0 << "" << 0 << "221121112"
                                           << "";
        QTest::newRow("k keeps a constant") << "7k" << 0 << "7" << 0 << "211"
                                            << "";
        QTest::newRow("letter swallowed") << "1a" << 0 << "1" << 0 << "21"
                                          << "";
        QTest::newRow("o exits") << "o" << 0 << "" << 0 << "11"
                                 << "";
        for (auto [keys, reached] :
             {std::pair{"Ctrl+O", "open"}, {"Ctrl+S", "save"}, {"Ctrl+P", "print"}, {"F1", "help"}, {"Ctrl+C", ""}})
            QTest::newRow(keys) << QString("5+12^") + keys << 1 << "12" << 0 << "21122" << reached;
    }
    void entryBoxKeys() {
        const QString keys = fetch("keys");
        Calculator& w = rig->window;
        QTest::keyClicks(w.Text2, keys.section('^', 0, 0));
        if (keys.contains('^')) {
            const QKeyCombination key = QKeySequence(keys.section('^', 1))[0];
            QTest::keyClick(w.Text2, key.key(), key.keyboardModifiers());
        }
        QStringList reached;
        for (auto kind : rig->outside.fileQuestions)
            reached << (kind == Outside::FileKind::OpenTape ? "open" : "save");
        if (w.preview)
            reached << "print";
        if (!rig->outside.started.isEmpty())
            reached << "help";
        delete w.preview;
        QTEST(reached.join(','), "reached");
        QTEST(rig->state.nextline - 1, "lines");
        QTEST(lineOnRow(w, 0), "lines");
        QTEST(w.Text2->text(), "box");
        QVERIFY(rig->state.memcount == fetch<int>("stored") && w.List1->count() == fetch<int>("stored"));
        QTEST(rig->sounds.played, "sounds");
        QCOMPARE(rig->outside.ended, keys == "o");
    }

    // Up and Down in the entry box, the scroll bar's change, drag and the slider. Then F2 opens the
    // editor on the bottom row's line; s stores, e previews, x ends, none writes the line; Up and Down
    // scroll the view while the edit stays on its line.
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
        for (int r = 0; r < 8; ++r)
            QCOMPARE(lineOnRow(w, r), 8 - r);
        QCOMPARE(rowText(w, 8), QString("||"));
        w.VScroll1->setSliderDown(true); // a drag reports once, when the handle is let go
        for (int v : {7, 6, 5})
            w.VScroll1->setSliderPosition(v);
        w.VScroll1->setSliderDown(false);
        QVERIFY(lineOnRow(w, 0) == 5 && rig->sounds.played == "11111");
        click(w.store);         // the scrolled view's line is stored
        w.Slider1->setValue(0); // back to the newest lines, with no decimals
        QVERIFY(rowText(w, 0) == "20 #|20.00 +|210 =" && rig->sounds.played == "1111112");
        QTest::keyClick(w.Text2, 's');
        QVERIFY(rig->state.memlist[0] == "15" && rig->state.memlist[1] == "210" && w.Text2->hasFocus());
        w.VScroll1->setValue(6);
        QTest::keyClick(w.Text2, Qt::Key_F2);
        QTest::keyClicks(w.Text3, "7s");
        QCOMPARE(rig->state.memlist[2], std::string("21"));
        QTest::keyClick(w.Text3, 'e');
        QVERIFY(w.preview && w.preview->isVisible());
        delete w.preview;
        QTest::keyClick(w.Text3, 'X');
        QVERIFY(rig->outside.ended && w.Text3->isVisible() && w.Text3->text() == "7" && rig->state.entries[6] == "6 +");
        QTest::keyClick(w.Text3, Qt::Key_Up);
        QVERIFY(w.VScroll1->value() == 5 && lineOnRow(w, 0) == 5);
        QTest::keyClick(w.Text3, Qt::Key_Down);
        w.Text3->setFocus();
        QTest::keyClicks(w.Text3, "1+");
        QVERIFY(w.VScroll1->value() == 6 && rig->state.entries[6] == "71 +");
    }

    // A click on an entry cell opens the editor over it; an operator writes the line back and the
    // rows are recomputed in place; Esc or the scroll bar taking focus drop the edit unwritten.
    void editor_data() {
        // The row clicked on the tape 10 + 0.123456789 + 2 x (line 3 on row 0), the keys typed into the editor
        // ('|': the scroll bar takes focus), line 2 after them, rows 2, 1, 0 as "entry|subtotal".
        columns<int>({"row"}), columns({"keys", "line2"}), columns<QStringList>({"rows"});
        const QStringList same{"10.00  |10.00 =", ".12345679 +|10.12 =", "2.00 x|20.25 ="};
        QTest::newRow("operator writes back")
            << 1 << "7-"
            << "7 -" << QStringList{"10.00  |10.00 =", "7.00 -|3.00 =", "2.00 x|6.00 ="};
        QTest::newRow("only the operator: the number stays whole")
            << 1 << "-"
            << "0.123456789 -" << QStringList{"10.00  |10.00 =", ".12345679 -|9.88 =", "2.00 x|19.75 ="};
        QTest::newRow("Esc cancels") << 1 << "7\x1b"
                                     << "0.123456789 +" << same;
        QTest::newRow("scroll bar focus drops the edit") << 1 << "7|"
                                                         << "0.123456789 +" << same;
        QTest::newRow("empty row edits nothing") << 5 << "9+"
                                                 << "0.123456789 +" << same;
    }
    void editor() {
        const int row = fetch<int>("row");
        const QString keys = fetch("keys"), line2 = fetch("line2");
        Calculator& w = rig->window;
        QTest::keyClicks(w.Text2, "10+0.123456789+2*");
        rig->sounds.played.clear();
        click(w.Label11[row]);
        QVERIFY(w.Text3->isVisible() && w.Text3->hasFocus() && rig->sounds.played == "11");
        QCOMPARE(w.Text3->text(), QString(row == 1 ? "0.12346" : "0"));
        QCOMPARE(w.Text3->selectedText(), w.Text3->text()); // typing replaces the number
        const QString typed = QString(keys).remove('|');
        for (QChar c : typed)
            QTest::sendKeyEvent(QTest::Click, w.Text3, c == '\x1b' ? Qt::Key_Escape : Qt::Key_unknown, c.toLatin1(),
                                Qt::NoModifier);
        if (keys.endsWith('|'))
            w.VScroll1->setFocus(Qt::MouseFocusReason);
        QVERIFY(w.Text3->isHidden() && w.Text2->hasFocus());
        QCOMPARE(QString::fromStdString(rig->state.entries[2]), line2);
        QStringList rows;
        for (int r = 2; r >= 0; --r)
            rows << w.Label11[r]->text() + '|' + w.Label12[r]->text();
        QTEST(rows, "rows");
        QTest::keyClicks(w.Text2, "1+"); // a dropped edit stays dropped
        QCOMPARE(QString::fromStdString(rig->state.entries[2]), line2);
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
        for (auto [list, at] : {std::pair{w.List1, rowCentre(w.List1, 1)},
                                {w.List2, rowCentre(w.List2, 0)},
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
        for (int i = 0; i < 30; ++i)
            click(w.store);
        QCoreApplication::processEvents();
        QCOMPARE(w.List1->indexAt(QPoint(1, 1)).row(), 5); // the newest value in sight
        rig->state.memcount = tally::kMemorySlots;
        click(w.store); // told
        QCOMPARE(rig->outside.messages.size(), 1);
    }

    void conversion() {
        Calculator& w = rig->window;
        choose(w, "Length");
        QVERIFY(w.ListView1->isVisible() && w.ListView1->hasFocus() &&
                rig->sounds.played.isEmpty()); // only a pick sounds
        QTest::mouseClick(w.ListView1->viewport(), Qt::LeftButton, {},
                          w.ListView1->visualItemRect(w.ListView1->topLevelItem(0)).center());
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
        QVERIFY2(rig->outside.messages[1].contains("area.txt") &&
                     rig->outside.messages[2].contains("could not be read"),
                 qPrintable(rig->outside.messages.join('|')));
    }

    // Save As and Open ask Outside for the name; cancelled, nothing happens (the walk reopens what it
    // saves). Print, Help, About, Exit.
    void menus() {
        QTemporaryDir dir;
        Calculator& w = rig->window;
        QTest::keyClicks(w.Text2, "5\r3*");
        rig->outside.fileAnswers << dir.filePath("t.cal");
        w.mnuSaveAs->trigger();
        click(w.clearit);
        w.mnuOpen->trigger();
        using Kind = Outside::FileKind;
        QVERIFY(rig->state.tapeEmpty() && w.Text2->hasFocus() &&
                rig->outside.fileQuestions == (QList<Kind>{Kind::SaveTape, Kind::OpenTape}));
        QVERIFY(QFile::exists(dir.filePath("t.cal")) && rig->outside.messages.isEmpty());
        rig->sounds.played.clear();
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
        QVERIFY(rig->outside.started == (QList<QStringList>{viewer, viewer}) &&
                rig->outside.messages.value(0).contains("tallyroll-help"));
        w.mnuAbout->trigger();
        QCOMPARE(rig->outside.about, (QStringList{"Tarvex Calculator", Calculator::aboutText()}));
        QVERIFY(rig->sounds.played.isEmpty() && !rig->outside.ended);
        w.mnuExit->trigger();
        QVERIFY(rig->outside.ended && rig->sounds.played == "1");
    }

    void refusedFiles_data() {
        columns({"name", "told"}); // in a fresh folder ("disk/" is a full 64 KiB disk); part of the one message
        QTest::newRow("open: a named pipe never blocks") << "pipe"
                                                         << "not changed";
        QTest::newRow("open: 1001 records") << "big.cal"
                                            << "not changed";
        QTest::newRow("open: a PDF is no tape") << "tape.pdf"
                                                << "holds a control character";
        QTest::newRow("save: a quote would not read back") << "kept.cal"
                                                           << "Line 7 holds a character";
        QTest::newRow("save: parent is a file") << "kept.cal/x.cal" << QString(strerror(ENOTDIR));
        QTest::newRow("save: a read-only file") << "kept.cal"
                                                << "read-only";
        QTest::newRow("save: full disk") << "disk/kept.cal" << QString(strerror(ENOSPC));
    }
    void refusedFiles() {
        const QString name = fetch("name"), told = fetch("told");
        Calculator& w = rig->window;
        QTemporaryDir dir;
        const bool disk = name.startsWith("disk/");
        const QString folder = dir.filePath(disk ? "disk" : "");
        const QByteArray old = "\"1  \",\"1\"\r\n";
        QVERIFY(QDir().mkpath(folder));
        if (disk) { // as root every permission passes; a full disk fails for root too
            if (geteuid() != 0)
                QSKIP("needs root to mount a small tmpfs as a full disk");
            QVERIFY(QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", folder}) == 0);
        }
        auto unmount = qScopeGuard([&] {
            if (disk)
                QProcess::execute("umount", {folder});
        });
        QVERIFY(writeFile(folder + "/kept.cal", old) &&
                (!disk || writeFile(folder + "/filler", QByteArray(56 * 1024, 'x'))));
        const QStringList files = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);
        rig->outside.fileAnswers << dir.filePath(name);
        if (QString(QTest::currentDataTag()).startsWith("open")) { // the tape and the view stay
            const QByteArray bytes = name == "big.cal" ? QByteArray("\"1 +\",\"1\"\r\n").repeated(1001)
                                                       : tapePdf(rig->state, QPageSize(QPageSize::A4), {});
            QVERIFY(name == "pipe" ? mkfifo(qPrintable(dir.filePath(name)), 0600) == 0
                                   : writeFile(dir.filePath(name), bytes));
            typeTape(w, 10);
            w.VScroll1->setValue(6);
            const QStringList before = shown(w);
            w.mnuOpen->trigger();
            QVERIFY(shown(w) == before && rig->state.nextline == 11 && rig->state.subtotals[10] == "55");
        } else {                        // the old file stays and no other is left
            fillTape(rig->state, 1000); // more than the full disk holds
            if (QString(QTest::currentDataTag()).contains("quote"))
                rig->state.entries[7] = "7\" +";
            QFile::setPermissions(folder + "/kept.cal", QString(QTest::currentDataTag()).contains("read-only")
                                                            ? QFile::ReadOwner | QFile::ReadGroup
                                                            : QFile::ReadOwner | QFile::WriteOwner);
            w.mnuSaveAs->trigger();
            QFile kept(folder + "/kept.cal");
            QVERIFY(kept.open(QIODevice::ReadOnly) && kept.readAll() == old &&
                    rig->outside.messages.value(0).contains("could not be saved"));
            QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden), files);
        }
        QVERIFY2(rig->outside.messages.size() == 1 && rig->outside.messages[0].contains(told),
                 qPrintable(rig->outside.messages.join('|')));
        QVERIFY(w.Text2->hasFocus());
    }

    // Copy Tape, Restore Cleared Tape and the tape kept by a session, offered once that session ended; then a tape
    // named on the command line, and one dropped on the window (its name is not typed).
    void tapesKeptAndFromOutside() {
        QTemporaryDir dir;
        qputenv("XDG_STATE_HOME", QFile::encodeName(dir.path()));
        Calculator& w = rig->window;
        TapeKeeper keeper(Calculator::keptFolder(), [this] { return tally::encodeTape(rig->state); });
        w.keepTape(&keeper);
        QTest::keyClicks(w.Text2, "5+7+2.5+");
        QVERIFY(keeper.flush(std::chrono::seconds(5))); // kept, but offered only once its session ends
        w.mnuCopyTape->trigger();
        const QString tape = QGuiApplication::clipboard()->text();
        QVERIFY2(tape.contains("14.50") && tape.count('\n') >= 3, qPrintable(tape)); // with the view's decimals
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QApplication::sendEvent(w.Label11[0], &rightClick);
        QVERIFY(w.tapeMenu->isVisible() && !w.mnuRestoreTape->isEnabled() && !w.mnuLastSession->isEnabled());
        w.tapeMenu->close();
        auto copied = [&] { return w.mnuCopyTape->trigger(), QGuiApplication::clipboard()->text(); };
        QTest::keyClicks(w.Text2, "cc"); // clearing the empty tape keeps the tape cleared before
        emit w.tapeMenu->aboutToShow();  // as the next right-click shows it
        w.mnuRestoreTape->trigger();
        QCOMPARE(copied(), tape);
        QVERIFY(w.Label10[0]->text() == "3 #" && w.VScroll1->value() == w.VScroll1->maximum());
        keeper.finish(); // what main() does when the program ends
        QTest::keyClick(w.Text2, 'c');
        emit w.tapeMenu->aboutToShow();
        QCOMPARE(w.earlierTapes->actions().value(0)->text().section(", ", 1), "3 lines, 14.5");
        w.mnuLastSession->trigger();
        QCOMPARE(copied(), tape);
        QVERIFY(rig->outside.messages.isEmpty() &&
                writeFile(dir.filePath("tape"), "\"1  \",\"1\"\r\n\"2 +\",\"3\"\r\n"));
        QTest::keyClicks(w.Text2, "1+"); // a fourth line on the tape a named file then replaces
        w.openTape(readCommandLine({"tallyroll", dir.filePath("tape")}).tape);
        QVERIFY(rig->state.nextline == 3 && w.Label10[0]->text() == "2 #");
        w.mnuRestoreTape->trigger(); // the tape an Open replaced comes back
        QCOMPARE(rig->state.nextline, 5);
        click(w.clearit);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(dir.filePath("tape"))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.Text2, &enter);
        QApplication::sendEvent(w.Text2, &drop);
        QCoreApplication::processEvents();
        QVERIFY(enter.isAccepted() && drop.isAccepted() && w.Text2->text().isEmpty() && rig->state.nextline == 3 &&
                w.Label10[0]->text() == "2 #");
        QMimeData figure; // dropped text goes by the paste rule
        figure.setText("12,345.5");
        QDragEnterEvent enterText(QPoint(5, 5), Qt::CopyAction, &figure, Qt::LeftButton, Qt::NoModifier);
        QDropEvent dropText(QPointF(5, 5), Qt::CopyAction, &figure, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.Text2, &enterText);
        QApplication::sendEvent(w.Text2, &dropText);
        QCOMPARE(w.Text2->text(), QString("12345.5"));
    }

    // A tape that cannot be kept is told once; Exit then asks (0 Save As, 1 Exit Anyway, 2 Cancel): Cancel stays,
    // Save As saves and ends, a cancelled Save As asks again. Result: saved or not, ended or not, messages and
    // questions.
    void tapeNotKept_data() {
        columns({"answers", "saved as", "result"});
        add("cancel", {"2", "", "unsaved, stays, 2"});
        add("save as, then end", {"0", "saved.cal", "saved, ended, 2"});
        add("save as cancelled, then end anyway", {"01", "", "unsaved, ended, 3"});
        add("window closed: cancel", {"2", "", "unsaved, stays, 2"});
    }
    void tapeNotKept() {
        QTemporaryDir dir;
        Calculator& w = rig->window;
        QVERIFY(writeFile(dir.filePath("tallyroll"), "")); // a file where the folder should be
        TapeKeeper keeper(dir.filePath("tallyroll").toStdString(), [this] { return tally::encodeTape(rig->state); });
        w.keepTape(&keeper);
        QTest::keyClicks(w.Text2, "1+2+");
        QVERIFY(!keeper.flush(std::chrono::seconds(5)));
        QTest::keyClicks(w.Text2, "3+");
        QTRY_COMPARE(rig->outside.messages.value(0).section('\n', 3, 3), "it is a file, not a folder.");
        for (QChar answer : fetch("answers"))
            rig->outside.endAnswers << Outside::EndChoice(answer.digitValue());
        rig->outside.fileAnswers << (fetch("saved as").isEmpty() ? QString() : dir.filePath(fetch("saved as")));
        if (QString(QTest::currentDataTag()).startsWith("window"))
            rig->outside.ended = w.close();
        else
            w.Command2_Click();
        QCOMPARE(QString("%1, %2, %3")
                     .arg(QFile::exists(dir.filePath("saved.cal")) ? "saved" : "unsaved",
                          rig->outside.ended ? "ended" : "stays")
                     .arg(rig->outside.messages.size()),
                 fetch("result"));
    }

    void accessibleNames_data() { // control, name|description
        columns({"heard"});
        for (auto [control, heard] : {std::pair{"Command1_12", "plus|"},
                                      {"conversion", "Convert Entry to|"},
                                      {"convert", "Conversion factor|None"},
                                      {"Label12_1", "5.00 =|line 1 subtotal"}})
            QTest::newRow(control) << heard;
    }
    void accessibleNames() {
        QTest::keyClicks(rig->window.Text2, "5+7+");
        QAccessibleInterface* a =
            QAccessible::queryAccessibleInterface(rig->window.body->findChild<QWidget*>(QTest::currentDataTag()));
        QVERIFY(a);
        // On Linux a combo box reads its value as name and is named by the label it is the buddy of.
        const auto labels = a->relations(QAccessible::Label);
        const QString name =
            labels.isEmpty() ? a->text(QAccessible::Name) : labels.front().first->text(QAccessible::Name);
        QTEST(name + '|' + a->text(QAccessible::Description), "heard");
    }

    void walk_data() {
        QTest::addColumn<unsigned>("seed");
        for (unsigned seed : {1u, 2u, 3u, 4u, 5u})
            QTest::addRow("seed %u", seed) << seed;
    }
    void walk() {
        rig.reset();
        QFETCH(unsigned, seed);
        randomWalk(seed);
    }
};

QTEST_MAIN(TestWindow)
#include "test_window.moc"
