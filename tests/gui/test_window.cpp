// The window's wiring: each control reaches its handler and each handler moves the right texts
// between the state and the controls (what the rules decide is the core tests' part); then the window
// as a desktop program: refused and failed files, tapes from outside, shortcuts, the kept tapes, a
// screen reader (the look is in the pictures).
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "fixture.h"
#include "print/printing.h"
#include "shell/commandline.h"
#include "table.h"
#include "tape/cells.h"
#include "tape/keeper.h"

namespace {
QPoint rowCentre(QListWidget* list, int r) {
    return list->visualItemRect(list->item(r)).center();
}
QString focusName() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString("<none>");
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

    // Keypad buttons by a click, on a tape of `lines` lines with `box` in the entry box: what the box,
    // the caret, the new tape lines, the bottom row, the sounds, the messages and the focus are after
    // them. Every press empties the unit of a converted entry.
    void keypad_data() {
        columns<int>({"lines"});
        columns({"box", "buttons", "after"});
        columns<int>({"caret"});
        columns({"written", "row0", "sounds"});
        columns<int>({"told"});
        columns({"focus"});
        add("digits and point", {0, "12", "3 4 5 6 7 8 9 0 10", "1234567890.", 10, "", "||", "222222222", 0, "Text2"});
        add("operators write lines", {0, "12", "3 4 5 6 7 8 9 0 10 12 5 13 3 14 2 16", "", 0,
                                      "1234567890  =1234567890|5 -=1234567885|3 x=3703703655|2 /=1851851827.5",
                                      "4 #|2.00 /|1,851,851,827.50 =", "2222222221212121", 0, "Text2"});
        add("a written line starts the keyed number afresh",
            {0, "", "5 12 =12 3", "123", 2, "5  =5", "1 #|5.00  |5.00 =", "212", 0, "Text2"});
        add("a lone minus locks the keypad", {0, "", "13 5", "-", 1, "", "||", "", 0, "Command1_5"});
        add("too large for a number: kept as typed",
            {0, "1e309", "12", "", 0, "1e309  =", "1 #|1e309  |", "1", 0, "Text2"});
        add("a full tape refuses and tells", {1000, "7", "12", "7", 1, "", "||", "", 1, "Text2"});
    }
    void keypad() {
        const int lines = fetch<int>("lines");
        rig->state.tape = tapeOf(lines);
        rig->box()->setText(fetch("box"));
        rig->find<QLabel>("Label6")->setText(" ft");
        for (const QString& press : fetch("buttons").split(' ')) { // "=12": 12 typed into the box
            if (press.startsWith('='))
                rig->box()->setText(press.mid(1));
            else
                rig->click("Command1_" + press);
        }
        QCOMPARE(rig->box()->text(), fetch("after"));
        QCOMPARE(rig->box()->cursorPosition(), fetch<int>("caret"));
        QCOMPARE(rig->tape().section('|', lines), fetch("written"));
        QCOMPARE(rig->row(0), fetch("row0"));
        QCOMPARE(rig->sounds.played, fetch("sounds"));
        QCOMPARE(int(rig->outside.told.size()), fetch<int>("told"));
        QCOMPARE(rig->find<QLabel>("Label6")->text(), QString());
        QCOMPARE(focusName(), fetch("focus"));
    }

    // The numeric keypad's decimal key types a point whatever the layout sends.
    void decimalKey_data() {
        columns<int>({"key"});
        columns({"text"});
        row("comma") << int(Qt::Key_Comma) << ",";
        row("Arabic decimal separator") << int(Qt::Key_Period) << QString(QChar(0x66B));
    }
    void decimalKey() {
        rig->box()->setText("1");
        QTest::sendKeyEvent(QTest::Click, rig->box(), Qt::Key(fetch<int>("key")), fetch("text"), Qt::KeypadModifier);
        QCOMPARE(rig->box()->text(), QString("1."));
    }

    // A paste over the selected "2" in the entry box and the editor: a grouped figure arrives without its
    // commas; one a tape file could not carry back, or a figure grouped wrongly, changes nothing.
    // Ctrl+V gives no letter command.
    void paste_data() {
        columns({"box", "clipboard", "after"}); // after: the text, "|", the selected text
        for (const char* box : {"Text2", "Text3"}) {
            add(qPrintable(QString(box) + ": refused"), {box, QString::fromUtf8("\"5٣€"), "2|2"});
            add(qPrintable(QString(box) + ": grouped wrongly"), {box, "1,2345", "2|2"});
            add(qPrintable(QString(box) + ": grouped"), {box, "12,345.5", "12345.5|"});
        }
    }
    void paste() {
        auto* box = rig->find<QLineEdit>(fetch("box"));
        rig->type("2+");
        if (box == rig->editor()) {
            rig->click("Label11_0");
        } else {
            box->setText("2");
            box->selectAll();
        }
        QGuiApplication::clipboard()->setText(fetch("clipboard"));
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_V, QString(QChar(0x16)), Qt::ControlModifier);
        QCOMPARE(box->text() + '|' + box->selectedText(), fetch("after"));
    }

    // K keeps the entry as the constant, shown cut to its caption; on an empty box it gives it back.
    void constant() {
        auto* caption = rig->find<QLabel>("knst");
        rig->box()->setText("2.5");
        rig->click("konst");
        QCOMPARE(caption->text(), QString("Constant = 2.5      "));
        rig->box()->clear();
        QTest::keyClick(rig->box(), 'k');
        QCOMPARE(rig->box()->text(), QString("2.5"));
        rig->type("1234567890123");
        rig->click("konst");
        QCOMPARE(caption->text(), QString("Constant = 2.5123456"));
        QCOMPARE(rig->tape(), QString());
        QCOMPARE(rig->sounds.played, "111" + QString(13, '2') + "1");
    }

    // Clear Entries empties the tape and its rows and the unit; the box keeps the focus.
    void clearEntries() {
        rig->type("10+5+7");
        rig->find<QLabel>("Label6")->setText(" ft");
        rig->sounds.played.clear();
        rig->click("clearit");
        const QStringList after{rig->tape(), rig->row(0), rig->row(1), rig->find<QLabel>("Label6")->text()};
        QCOMPARE(after, (QStringList{"", "||", "||", ""}));
        QCOMPARE(rig->state.tape.entries[1], std::string());
        QCOMPARE(rig->sounds.played, QString("2"));
        QCOMPARE(focusName(), QString("Text2"));
    }

    // Characters typed into the entry box reach their commands through the key table; a shortcut after
    // them reaches its menu item and never a letter command (o exits, s stores, c clears) nor types.
    void entryBoxKeys_data() {
        // Keys typed, then a shortcut after the caret; the lines, box, memory and sounds after them; what
        // the shortcut reached.
        columns({"keys"});
        columns<int>({"lines"});
        columns({"box"});
        columns<int>({"stored"});
        columns({"sounds", "reached"});
        add("digits and +", {"12+", 1, "", 0, "2211", ""});
        add("Enter", {"12\r", 1, "", 0, "2211", ""});
        add("- * / after a first line", {"8+2-3*4/", 4, "", 0, "211211211211", ""});
        add("s stores", {"10+5+s", 2, "", 1, "221121111", ""});
        add("c clears the tape", {"10+5+c", 0, "", 0, "221121112", ""});
        add("k keeps a constant", {"7k", 0, "7", 0, "211", ""});
        add("letter swallowed", {"1a", 0, "1", 0, "21", ""});
        add("o exits", {"o", 0, "", 0, "11", ""});
        for (auto [keys, reached] :
             {std::pair{"Ctrl+O", "open"}, {"Ctrl+S", "save"}, {"Ctrl+P", "print"}, {"F1", "help"}, {"Ctrl+C", ""}})
            add(keys, {QString("5+12^") + keys, 1, "12", 0, "21122", reached});
    }
    void entryBoxKeys() {
        const QString keys = fetch("keys");
        rig->type(keys.section('^', 0, 0));
        if (keys.contains('^')) {
            const QKeyCombination key = QKeySequence(keys.section('^', 1))[0];
            QTest::keyClick(rig->box(), key.key(), key.keyboardModifiers());
        }
        QStringList reached;
        for (auto kind : rig->outside.fileQuestions)
            reached << (kind == Outside::FileKind::OpenTape ? "open" : "save");
        if (!CalcRig::previews().isEmpty())
            reached << "print";
        qDeleteAll(CalcRig::previews());
        if (!rig->outside.started.isEmpty())
            reached << "help";
        QCOMPARE(reached.join(','), fetch("reached"));
        QCOMPARE(rig->state.tape.nextline - 1, fetch<int>("lines"));
        QCOMPARE(rig->lineOnRow(0), fetch<int>("lines"));
        QCOMPARE(rig->box()->text(), fetch("box"));
        QCOMPARE(int(rig->memory().size()), fetch<int>("stored"));
        QCOMPARE(rig->list("List1")->count(), fetch<int>("stored"));
        QCOMPARE(rig->sounds.played, fetch("sounds"));
        QCOMPARE(rig->outside.ended, keys == "o");
    }

    // Up and Down in the entry box, the scroll bar's change, drag and the slider. Then F2 opens the
    // editor on the bottom row's line; s stores, e previews, x ends, none writes the line; Up and Down
    // scroll the view while the edit stays on its line.
    void scrolling() {
        for (int i = 1; i <= 20; ++i)
            rig->type(QString::number(i) + '+');
        QCOMPARE(rig->row(8), QString("12 #|12.00 +|78.00 ="));
        rig->box()->setText("12");
        rig->box()->setCursorPosition(1);
        rig->sounds.played.clear();
        QTest::keyClick(rig->box(), Qt::Key_Down); // at the end: nothing, and the key never reaches the box
        QCOMPARE(rig->box()->cursorPosition(), 1);
        QTest::keyClick(rig->box(), Qt::Key_Up); // the bar's change draws line 19, Up's own redraw 18
        QCOMPARE(rig->place(), QString("19/18"));
        QTest::keyClick(rig->box(), Qt::Key_Down);
        QCOMPARE(rig->lineOnRow(0), 20);
        QCOMPARE(rig->sounds.played, QString("111"));
        rig->bar()->setValue(8); // row 8 would show line 0: it is blanked, not left at line 12
        for (int r = 0; r < 8; ++r)
            QCOMPARE(rig->lineOnRow(r), 8 - r);
        QCOMPARE(rig->row(8), QString("||"));
        rig->bar()->setSliderDown(true); // a drag reports once, when the handle is let go
        for (int v : {7, 6, 5})
            rig->bar()->setSliderPosition(v);
        rig->bar()->setSliderDown(false);
        QCOMPARE(rig->lineOnRow(0), 5);
        QCOMPARE(rig->sounds.played, QString("11111"));
        rig->click("store");                        // the scrolled view's line is stored
        rig->find<QSlider>("Slider1")->setValue(0); // back to the newest lines, with no decimals
        QCOMPARE(rig->row(0), QString("20 #|20.00 +|210 ="));
        QCOMPARE(rig->sounds.played, QString("1111112"));
        QTest::keyClick(rig->box(), 's');
        QCOMPARE(rig->memory(), (QStringList{"15", "210"}));
        QCOMPARE(focusName(), QString("Text2"));
        rig->bar()->setValue(6);
        QTest::keyClick(rig->box(), Qt::Key_F2);
        QTest::keyClicks(rig->editor(), "7s");
        QCOMPARE(rig->memory().value(2), QString("21"));
        QTest::keyClick(rig->editor(), 'e');
        QCOMPARE(int(CalcRig::previews().size()), 1);
        qDeleteAll(CalcRig::previews());
        QTest::keyClick(rig->editor(), 'X');
        QCOMPARE(rig->outside.ended, true); // the edit stays open and unwritten
        QCOMPARE((QStringList{rig->editor()->isVisible() ? rig->editor()->text() : "<hidden>",
                              rig->tape().section('|', 5, 5)}),
                 (QStringList{"7", "6 +=21"}));
        QTest::keyClick(rig->editor(), Qt::Key_Up);
        QCOMPARE(rig->place(), QString("5/5"));
        QTest::keyClick(rig->editor(), Qt::Key_Down);
        rig->editor()->setFocus();
        QTest::keyClicks(rig->editor(), "1+");
        QCOMPARE(rig->bar()->value(), 6);
        QCOMPARE(rig->tape().section('|', 5, 5), QString("71 +=86"));
    }

    // A click on an entry cell opens the editor over it; an operator writes the line back and the
    // rows are recomputed in place; Esc or the scroll bar taking focus drop the edit unwritten.
    void editor_data() {
        // The row clicked on the tape 10 + 0.123456789 + 2 x (line 3 on row 0), the keys typed into the editor
        // ('|': the scroll bar takes focus), line 2 after them, rows 2, 1, 0 as "entry|subtotal", '/' between.
        columns<int>({"row"});
        columns({"keys", "line2", "rows"});
        const QString same = "10.00  |10.00 =/.12345679 +|10.12 =/2.00 x|20.25 =";
        add("operator writes back", {1, "7-", "7 -", "10.00  |10.00 =/7.00 -|3.00 =/2.00 x|6.00 ="});
        add("only the operator: the number stays whole",
            {1, "-", "0.123456789 -", "10.00  |10.00 =/.12345679 -|9.88 =/2.00 x|19.75 ="});
        add("Esc cancels", {1, "7\x1b", "0.123456789 +", same});
        add("scroll bar focus drops the edit", {1, "7|", "0.123456789 +", same});
        add("empty row edits nothing", {5, "9+", "0.123456789 +", same});
    }
    void editor() {
        const int r = fetch<int>("row");
        const QString keys = fetch("keys");
        rig->type("10+0.123456789+2*");
        rig->sounds.played.clear();
        QLabel* cell = rig->cell("Label11", r);
        QTest::mouseClick(cell, Qt::LeftButton);
        QCOMPARE(rig->editor()->isVisible(), true);
        QCOMPARE(focusName(), QString("Text3"));
        QCOMPARE(rig->sounds.played, QString("11"));
        QCOMPARE(rig->editor()->text(), QString(r == 1 ? "0.12346" : "0"));
        QCOMPARE(rig->editor()->selectedText(), rig->editor()->text()); // typing replaces the number
        const QString typed = QString(keys).remove('|');
        for (QChar c : typed)
            QTest::sendKeyEvent(QTest::Click, rig->editor(), c == '\x1b' ? Qt::Key_Escape : Qt::Key_unknown,
                                c.toLatin1(), Qt::NoModifier);
        if (keys.endsWith('|'))
            rig->bar()->setFocus(Qt::MouseFocusReason);
        QCOMPARE(rig->editor()->isHidden(), true);
        QCOMPARE(focusName(), QString("Text2"));
        QCOMPARE(QString::fromStdString(rig->state.tape.entries[2]), fetch("line2"));
        QStringList rows;
        for (int k = 2; k >= 0; --k)
            rows << rig->cell("Label11", k)->text() + '|' + rig->cell("Label12", k)->text();
        QCOMPARE(rows.join('/'), fetch("rows"));
        rig->type("1+"); // a dropped edit stays dropped
        QCOMPARE(QString::fromStdString(rig->state.tape.entries[2]), fetch("line2"));
    }

    void memory() {
        QListWidget* values = rig->list("List1");
        QListWidget* total = rig->list("List2");
        rig->type("10+5+");
        rig->click("store");
        rig->bar()->setValue(1);
        rig->click("store");
        QCOMPARE(values->count(), 2);
        QCOMPARE(total->item(0)->text(), QString("25.0000").rightJustified(23));
        // Recall by double click; on empty space a row selected before does not answer.
        QStringList recalled;
        for (auto [list, at] : {std::pair{values, rowCentre(values, 1)},
                                {total, rowCentre(total, 0)},
                                {values, QPoint(5, values->viewport()->height() - 3)}}) {
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            recalled << rig->box()->text();
        }
        QCOMPARE(recalled, (QStringList{"10", "25", "0"}));
        rig->click("removelist"); // nothing selected: nothing goes
        QCOMPARE(rig->memory(), (QStringList{"15", "10"}));
        QTest::mouseClick(values->viewport(), Qt::LeftButton, {}, rowCentre(values, 0));
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) { // the keyboard's double click
            rig->box()->clear();
            QTest::keyClick(values, key);
            QCOMPARE(rig->box()->text(), QString("15"));
        }
        rig->click("removelist");
        QCOMPARE(rig->memory(), QStringList{"10.0000"}); // read back from the row left
        rig->click("clearlist");
        QCOMPARE(values->count() + total->count(), 0);
        QCOMPARE(rig->memory(), QStringList());
        QCOMPARE(rig->state.tape.nextline, 3);
        for (int i = 0; i < 30; ++i)
            rig->click("store");
        QCoreApplication::processEvents();
        QCOMPARE(values->indexAt(QPoint(1, 1)).row(), 5); // the newest value in sight
        rig->state.memcount = tally::kMemorySlots;
        rig->click("store"); // told
        QCOMPARE(int(rig->outside.told.size()), 1);
    }

    // Each category opens its own shipped factor table.
    void factorTables_data() {
        columns({"first"});
        row("Area") << "Square inches";
        row("Concentration") << "Percent";
        row("Length") << "Inches";
        row("Volume") << "US gallons";
        row("Weight") << "Pounds";
    }
    void factorTables() {
        rig->choose(QTest::currentDataTag());
        auto* list = rig->find<QTreeWidget>("ListView1");
        QCOMPARE(list->isVisible(), true);
        QCOMPARE(list->topLevelItem(0)->text(0), fetch("first"));
        QCOMPARE(rig->outside.told, QStringList());
    }

    void conversion() {
        auto* list = rig->find<QTreeWidget>("ListView1");
        auto* button = rig->find<QPushButton>("convert");
        auto* unit = rig->find<QLabel>("Label6");
        rig->choose("Length");
        QCOMPARE(list->isVisible(), true);
        QCOMPARE(focusName(), QString("ListView1"));
        QCOMPARE(rig->sounds.played, QString()); // only a pick sounds
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(0)).center());
        QCOMPARE(button->text(), QString("in > cm"));
        QCOMPARE(list->isHidden(), true);
        QCOMPARE(focusName(), QString("convert"));
        QCOMPARE(rig->sounds.played, QString("1"));
        rig->box()->setText("2");
        rig->click("convert");
        rig->click("convert"); // not again until a key empties the unit
        QCOMPARE((QStringList{rig->box()->text(), unit->text()}), (QStringList{"5.08", " cm"}));
        // Esc leaves the list without a pick: "None" shows, the factor picked before stays.
        rig->choose("Length");
        QTest::keyClick(list, Qt::Key_Escape);
        QCOMPARE(list->isHidden(), true);
        QCOMPARE(focusName(), QString("convert"));
        QCOMPARE(rig->find<QComboBox>("conversion")->currentText(), QString("None"));
        unit->clear();
        rig->box()->setText("10");
        rig->click("convert");
        QCOMPARE(rig->box()->text(), QString("25.4"));
        rig->choose("Length");
        rig->choose("None");
        QCOMPARE(list->isHidden(), true);
        QCOMPARE(button->text(), QString("None"));
        unit->clear(); // refusals are told and change nothing
        rig->box()->setText("12abc");
        rig->click("convert");
        QCOMPARE((QStringList{rig->box()->text(), unit->text()}), (QStringList{"12abc", ""}));
        QTemporaryDir here; // a data folder with only an oversized length table
        QVERIFY(writeFile(here.filePath("length.txt"), QByteArray(64 * 1024 + 1, ',')));
        rig->choose("Length"); // its list must not stay up over the tape when Area fails
        rig->outside.dataFolder = here.path();
        rig->choose("Area");
        QCOMPARE(list->isHidden(), true);
        QCOMPARE(focusName(), QString("Text2"));
        rig->choose("Length");
        QCOMPARE(int(rig->outside.told.size()), 3);
        QCOMPARE(rig->outside.told[1].contains("\"area.txt\" could not be found"), true);
        QCOMPARE(rig->outside.told[2].contains("could not be read"), true);
    }

    // Save As and Open ask the desktop for the name; cancelled, nothing happens (the walk reopens what
    // it saves). Print, Help, About, Exit.
    void menus() {
        QTemporaryDir dir;
        rig->type("5\r3*");
        rig->outside.fileAnswers << dir.filePath("t.cal");
        rig->trigger("mnuSaveAs");
        rig->click("clearit");
        rig->trigger("mnuOpen");
        using Kind = Outside::FileKind;
        QCOMPARE(rig->outside.fileQuestions, (QList<Kind>{Kind::SaveTape, Kind::OpenTape}));
        QCOMPARE(rig->tape(), QString());
        QCOMPARE(focusName(), QString("Text2"));
        QCOMPARE(QFile::exists(dir.filePath("t.cal")), true);
        QCOMPARE(rig->outside.told, QStringList());
        rig->sounds.played.clear();
        rig->trigger("mnuPrint");
        rig->trigger("mnuPrint"); // one preview at a time
        QCOMPARE(int(CalcRig::previews().size()), 1);
        qDeleteAll(CalcRig::previews());
        // Help starts the viewer beside the program each time; one that cannot start is told.
        rig->trigger("mnuHelp");
        rig->outside.startWorks = false;
        rig->trigger("mnuHelp");
        const QStringList viewer{QCoreApplication::applicationDirPath() + "/tallyroll-help", "CALC1.hlp"};
        QCOMPARE(rig->outside.started, (QList<QStringList>{viewer, viewer}));
        QCOMPARE(rig->outside.told.value(0).contains("tallyroll-help"), true);
        rig->trigger("mnuAbout");
        QCOMPARE(rig->outside.about, (QStringList{"Tarvex Calculator", QString::fromUtf8("Calculator 2.0\r\n"
                                                                                         "tallyroll developers\r\n"
                                                                                         "tallyroll@example.org\r\n"
                                                                                         "© December 2026 tallyroll "
                                                                                         "developers. All rights "
                                                                                         "reserved.")}));
        QCOMPARE(rig->sounds.played, QString());
        QCOMPARE(rig->outside.ended, false);
        rig->trigger("mnuExit");
        QCOMPARE(rig->outside.ended, true);
        QCOMPARE(rig->sounds.played, QString("1"));
        rig->outside.ended = false;
        rig->click("Command2");
        QCOMPARE(rig->outside.ended, true);
    }

    void refusedFiles_data() {
        columns({"name", "told"}); // in a fresh folder ("disk/" is a full 64 KiB disk); part of the one message
        add("open: a named pipe never blocks", {"pipe", "not changed"});
        add("open: 1001 records", {"big.cal", "not changed"});
        add("open: a PDF is no tape", {"tape.pdf", "holds a control character"});
        add("save: a quote would not read back", {"kept.cal", "Line 7 holds a character"});
        add("save: parent is a file", {"kept.cal/x.cal", QString(strerror(ENOTDIR))});
        add("save: a read-only file", {"kept.cal", "read-only"});
        add("save: full disk", {"disk/kept.cal", QString(strerror(ENOSPC))});
    }
    void refusedFiles() {
        const QString name = fetch("name");
        QTemporaryDir dir;
        const bool disk = name.startsWith("disk/");
        const QString folder = dir.filePath(disk ? "disk" : "");
        const QByteArray old = "\"1  \",\"1\"\r\n";
        QVERIFY(QDir().mkpath(folder));
        if (disk) { // as root every permission passes; a full disk fails for root too
            if (geteuid() != 0)
                QSKIP("needs root to mount a small tmpfs as a full disk");
            QCOMPARE(QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", folder}), 0);
        }
        auto unmount = qScopeGuard([&] {
            if (disk)
                QProcess::execute("umount", {folder});
        });
        QVERIFY(writeFile(folder + "/kept.cal", old));
        if (disk)
            QVERIFY(writeFile(folder + "/filler", QByteArray(56 * 1024, 'x')));
        const QStringList files = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);
        rig->outside.fileAnswers << dir.filePath(name);
        const QString tag = QTest::currentDataTag();
        if (tag.startsWith("open")) { // the tape and the view stay
            if (name == "pipe")
                QCOMPARE(mkfifo(qPrintable(dir.filePath(name)), 0600), 0);
            else if (name == "big.cal")
                QVERIFY(writeFile(dir.filePath(name), QByteArray("\"1 +\",\"1\"\r\n").repeated(1001)));
            else
                QVERIFY(writeFile(dir.filePath(name), tapePdf(rig->state.tape, QPageSize(QPageSize::A4), {}, {})));
            for (int i = 1; i <= 10; ++i)
                rig->type(QString::number(i) + '+');
            rig->bar()->setValue(6);
            auto shown = [&] {
                QStringList s{QString::number(rig->bar()->value()), QString::number(rig->bar()->maximum())};
                for (int r = 0; r < tally::kVisibleRows; ++r)
                    s << rig->row(r);
                return s;
            };
            const QStringList before = shown();
            const QString tape = rig->tape();
            rig->trigger("mnuOpen");
            QCOMPARE(shown(), before);
            QCOMPARE(rig->tape(), tape);
        } else {                            // the old file stays and no other is left
            rig->state.tape = tapeOf(1000); // more than the full disk holds
            if (tag.contains("quote"))
                rig->state.tape.entries[7] = "7\" +";
            QFile::setPermissions(folder + "/kept.cal", tag.contains("read-only")
                                                            ? QFile::ReadOwner | QFile::ReadGroup
                                                            : QFile::ReadOwner | QFile::WriteOwner);
            rig->trigger("mnuSaveAs");
            QFile kept(folder + "/kept.cal");
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QCOMPARE(kept.readAll(), old);
            QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden), files);
            QCOMPARE(rig->outside.told.value(0).contains("could not be saved"), true);
        }
        QCOMPARE(int(rig->outside.told.size()), 1);
        QVERIFY2(rig->outside.told[0].contains(fetch("told")), qPrintable(rig->outside.told[0]));
        QCOMPARE(focusName(), QString("Text2"));
    }

    // Copy Tape, Restore Cleared Tape and the tape kept by a session, offered once that session ended; then a tape
    // named on the command line, and one dropped on the window (its name is not typed).
    void tapesKeptAndFromOutside() {
        QTemporaryDir dir;
        rig->outside.folder = dir.filePath("state/tallyroll");
        TapeKeeper keeper(rig->outside.folder.toStdString(), [this] { return tally::encodeTape(rig->state.tape); });
        rig->window.keepTape(&keeper);
        rig->type("5+7+2.5+");
        QVERIFY(keeper.flush(std::chrono::seconds(5))); // kept, but offered only once its session ends
        auto copied = [&] {
            rig->trigger("mnuCopyTape");
            return rig->outside.clipboard;
        };
        const QString tape = copied(); // with the view's decimals
        QCOMPARE(tape, QString("1\t5.00\t\t5.00\n2\t7.00\t+\t12.00\n3\t2.50\t+\t14.50\n"));
        auto* menu = rig->find<QMenu>("tapeMenu");
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QApplication::sendEvent(rig->cell("Label11", 0), &rightClick);
        QCOMPARE(menu->isVisible(), true);
        QCOMPARE(rig->find<QAction>("mnuRestoreTape")->isEnabled(), false);
        QCOMPARE(rig->find<QAction>("mnuLastSession")->isEnabled(), false);
        menu->close();
        rig->type("cc");          // clearing the empty tape keeps the tape cleared before
        emit menu->aboutToShow(); // as the next right-click shows it
        rig->trigger("mnuRestoreTape");
        QCOMPARE(copied(), tape);
        QCOMPARE(rig->cell("Label10", 0)->text(), QString("3 #"));
        QCOMPARE(rig->bar()->value(), rig->bar()->maximum());
        keeper.finish(); // what main() does when the program ends
        QTest::keyClick(rig->box(), 'c');
        emit menu->aboutToShow();
        QCOMPARE(rig->find<QMenu>("earlierTapes")->actions().value(0)->text().section(", ", 1),
                 QString("3 lines, 14.5"));
        rig->trigger("mnuLastSession");
        QCOMPARE(copied(), tape);
        QCOMPARE(rig->outside.told, QStringList());
        QVERIFY(writeFile(dir.filePath("tape"), "\"1  \",\"1\"\r\n\"2 +\",\"3\"\r\n"));
        rig->type("1+"); // a fourth line on the tape a named file then replaces
        rig->window.openTape(readCommandLine({"tallyroll", dir.filePath("tape")}).tape);
        QCOMPARE(rig->tape(), QString("1  =1|2 +=3"));
        QCOMPARE(rig->cell("Label10", 0)->text(), QString("2 #"));
        rig->trigger("mnuRestoreTape"); // the tape an Open replaced comes back
        QCOMPARE(rig->state.tape.nextline, 5);
        rig->click("clearit");
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(dir.filePath("tape"))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(rig->box(), &enter);
        QApplication::sendEvent(rig->box(), &drop);
        QCoreApplication::processEvents();
        QCOMPARE(enter.isAccepted(), true);
        QCOMPARE(drop.isAccepted(), true);
        QCOMPARE(rig->box()->text(), QString());
        QCOMPARE(rig->tape(), QString("1  =1|2 +=3"));
        QCOMPARE(rig->cell("Label10", 0)->text(), QString("2 #"));
        QMimeData figure; // dropped text goes by the paste rule
        figure.setText("12,345.5");
        QDragEnterEvent enterText(QPoint(5, 5), Qt::CopyAction, &figure, Qt::LeftButton, Qt::NoModifier);
        QDropEvent dropText(QPointF(5, 5), Qt::CopyAction, &figure, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(rig->box(), &enterText);
        QApplication::sendEvent(rig->box(), &dropText);
        QCOMPARE(rig->box()->text(), QString("12345.5"));
    }

    // A tape that cannot be kept is told once; Exit then asks (0 Save As, 1 Exit Anyway, 2 Cancel):
    // Cancel stays, Save As saves and ends, a cancelled Save As asks again. Result: saved or not, ended
    // or not, messages and questions.
    void tapeNotKept_data() {
        columns({"answers", "saved as", "result"});
        add("cancel", {"2", "", "unsaved, stays, 2"});
        add("save as, then end", {"0", "saved.cal", "saved, ended, 2"});
        add("save as cancelled, then end anyway", {"01", "", "unsaved, ended, 3"});
        add("window closed: cancel", {"2", "", "unsaved, stays, 2"});
    }
    void tapeNotKept() {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("tallyroll"), "")); // a file where the folder should be
        TapeKeeper keeper(dir.filePath("tallyroll").toStdString(),
                          [this] { return tally::encodeTape(rig->state.tape); });
        rig->window.keepTape(&keeper);
        rig->type("1+2+");
        QVERIFY(!keeper.flush(std::chrono::seconds(5)));
        rig->type("3+");
        QTRY_COMPARE(rig->outside.told.value(0).section('\n', 3, 3), "it is a file, not a folder.");
        for (QChar answer : fetch("answers"))
            rig->outside.endAnswers << Outside::EndChoice(answer.digitValue());
        rig->outside.fileAnswers << (fetch("saved as").isEmpty() ? QString() : dir.filePath(fetch("saved as")));
        if (QString(QTest::currentDataTag()).startsWith("window"))
            rig->outside.ended = rig->window.close();
        else
            rig->click("Command2");
        QCOMPARE(QString("%1, %2, %3")
                     .arg(QFile::exists(dir.filePath("saved.cal")) ? "saved" : "unsaved",
                          rig->outside.ended ? "ended" : "stays")
                     .arg(rig->outside.told.size()),
                 fetch("result"));
    }

    void accessibleNames_data() { // control, name|description
        columns({"heard"});
        for (auto [control, heard] : {std::pair{"Command1_12", "plus|"},
                                      {"conversion", "Convert Entry to|"},
                                      {"convert", "Conversion factor|None"},
                                      {"Label12_1", "5.00 =|line 1 subtotal"}})
            row(control) << heard;
    }
    void accessibleNames() {
        rig->type("5+7+");
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(rig->find(QTest::currentDataTag()));
        QVERIFY(a);
        // On Linux a combo box reads its value as name and is named by the label it is the buddy of.
        const auto labels = a->relations(QAccessible::Label);
        const QString name =
            labels.isEmpty() ? a->text(QAccessible::Name) : labels.front().first->text(QAccessible::Name);
        QCOMPARE(name + '|' + a->text(QAccessible::Description), fetch("heard"));
    }

    void walk_data() {
        QTest::addColumn<unsigned>("seed");
        for (unsigned seed : {1u, 2u, 3u, 4u, 5u})
            QTest::addRow("seed %u", seed) << seed;
    }
    void walk() {
        rig.reset();
        randomWalk(fetch<unsigned>("seed"));
    }
};

QTEST_MAIN(TestWindow)
#include "test_window.moc"
