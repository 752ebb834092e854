// The window's wiring: each control reaches its handler, which moves the right texts between the state and
// the controls (the rules are the core tests' part); then the window as a desktop program: refused files,
// tapes from outside, shortcuts and keys, the kept tapes, a screen reader (the look is in the pictures).
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "fixture.h"
#include "shell/commandline.h"
#include "table.h"
#include "tape/keeper.h"

namespace {
QPoint rowCentre(QListWidget* list, int r) {
    return list->visualItemRect(list->item(r)).center();
}
QString focusName() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString("<none>");
}
// What `name` shows: a menu its highlighted item, a box or label its text, a window whether it is open;
// "desktop": what the desktop was asked to do.
QString readBack(const CalcRig& rig, const QString& name) {
    if (name == "desktop") {
        QStringList asked;
        for (auto kind : rig.outside.fileQuestions)
            asked << (kind == Outside::FileKind::OpenTape ? "open" : "save");
        if (!rig.outside.started.isEmpty())
            asked << "help";
        if (rig.outside.ended)
            asked << "exit";
        return asked.join(',');
    }
    QWidget* w = rig.window.findChild<QWidget*>(name);
    if (auto* menu = qobject_cast<QMenu*>(w))
        return menu->isVisible() && menu->activeAction() ? menu->activeAction()->text().remove('&') : "closed";
    if (auto* box = qobject_cast<QLineEdit*>(w))
        return box->text();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    return w && w->isVisible() ? "open" : "closed";
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

    // Buttons by a click ("=12": 12 set in the entry box first), on a tape of `lines` lines with `box`
    // in the entry box: what the box, the caret, the new tape lines, the bottom row, the sounds, the
    // messages and the focus are after them. Every press empties the unit of a converted entry.
    void keypad_data() {
        columns<int>({"lines"});
        columns({"box", "buttons", "after"});
        columns<int>({"caret"});
        columns({"written", "row0", "sounds"});
        columns<int>({"told"});
        columns({"focus"});
        add("operators write lines", {0, "12", "3 4 5 6 7 8 9 0 10 12 5 13 3 14 2 16", "", 0,
                                      "1234567890  =1234567890|5 -=1234567885|3 x=3703703655|2 /=1851851827.5",
                                      "4 #|2.00 /|1,851,851,827.50 =", "2222222221212121", 0, "Text2"});
        add("a written line starts the keyed number afresh",
            {0, "", "5 12 =12 3", "123", 2, "5  =5", "1 #|5.00  |5.00 =", "212", 0, "Text2"});
        add("a lone minus locks the keypad", {0, "", "13 5", "-", 1, "", "||", "", 0, "Command1_5"});
        add("a full tape refuses and tells", {1000, "7", "12", "7", 1, "", "||", "", 1, "Text2"});
        add("Clear Entries empties the tape and its rows", {0, "5", "12 clearit", "", 0, "", "||", "12", 0, "Text2"});
    }
    void keypad() {
        const int lines = fetch<int>("lines");
        rig->state.tape = tapeOf(lines);
        rig->box()->setText(fetch("box"));
        for (const QString& press : fetch("buttons").split(' ')) {
            rig->find<QLabel>("Label6")->setText(" ft");
            if (press.startsWith('='))
                rig->box()->setText(press.mid(1));
            else
                rig->click(press.front().isDigit() ? "Command1_" + press : press);
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

    // A key into the entry box or the editor, over its selected "2". A paste (Ctrl+V, never a letter command; a
    // middle click takes the selection, none here, not the clipboard) brings a grouped figure without its commas,
    // and one a tape file could not carry back changes nothing; the keypad's decimal key types a point always.
    void typedText_data() {
        columns({"box", "key", "text", "clipboard", "after"}); // after: the text, "|", the selected text
        for (const char* box : {"Text2", "Text3"}) {
            add(qPrintable(QString(box) + ": paste refused"), {box, "Ctrl+V", "\x16", "\"5٣€", "2|2"});
            add(qPrintable(QString(box) + ": paste grouped"), {box, "Ctrl+V", "\x16", "12,345.5", "12345.5|"});
        }
        add("middle click", {"Text2", "middle click", "", "7", "2|"});
        add("keypad comma", {"Text2", "Num+,", ",", "", ".|"});
        add("keypad Arabic decimal separator", {"Text2", "Num+.", QString(QChar(0x66B)), "", ".|"});
    }
    void typedText() {
        auto* box = rig->find<QLineEdit>(fetch("box"));
        rig->type("2+");
        if (box == rig->editor()) {
            rig->click("Label11_0");
        } else {
            box->setText("2");
            box->selectAll();
        }
        QGuiApplication::clipboard()->setText(fetch("clipboard"));
        const QKeyCombination key = QKeySequence(fetch("key"))[0];
        if (fetch("key") == "middle click")
            QTest::mouseClick(box, Qt::MiddleButton);
        else
            QTest::sendKeyEvent(QTest::Click, box, key.key(), fetch("text"), key.keyboardModifiers());
        QCOMPARE(box->text() + '|' + box->selectedText(), fetch("after"));
    }

    // K keeps the entry as the constant, shown cut to its caption; on an empty box it gives it back.
    void constant() {
        rig->type("2.5123456789");
        rig->click("konst");
        rig->box()->clear();
        QTest::keyClick(rig->box(), 'k');
        QCOMPARE(rig->box()->text(), QString("2.5123456789"));
        QCOMPARE(rig->find<QLabel>("knst")->text(), QString("Constant = 2.5123456"));
        QCOMPARE(rig->tape(), QString());
        QCOMPARE(rig->sounds.played, QString(12, '2') + "111");
    }

    // Keys reach their commands through the key table, and the keys beyond the design's work; a shortcut reaches its
    // menu item, never a letter command (o exits, s stores, c clears). Row: typed into the entry box first | the keys,
    // each to what has the keyboard | the control that had it last | the control read back | what it shows.
    void keys_data() {
        columns({"path"});
        row("o exits") << " | O | Text2 | desktop | exit";
        row("a letter is swallowed") << "1 | A | Text2 | Text2 | 1";
        row("Ctrl+O: Open") << "5+12 | Ctrl+O | Text2 | desktop | open";
        row("Ctrl+S: Save As") << "5+12 | Ctrl+S | Text2 | desktop | save";
        row("F1: the manual") << "5+12 | F1 | Text2 | desktop | help";
        row("Ctrl+C copies") << "5+12 | Ctrl+C | Text2 | Label10_0 | 1 #";
        row("Menu key, entry box: the tape's menu") << " | Menu | Text2 | tapeMenu | Copy Tape";
        row("Menu key, the tape's row editor") << "5+ | F2, Menu | Text3 | tapeMenu | Copy Tape";
        row("access letter R: Restore Cleared Tape") << "5+7+c | Shift+F10, R | tapeMenu | Label11_0 | 7.00 +";
        row("Ctrl+A, Delete") << "123 | Ctrl+A, Del | Text2 | Text2 | ";
        row("Home, End, Shift+arrows") << "1234 | Home, Shift+Right, Del, End, Shift+Left, Del | Text2 | Text2 | 23";
        row("Delete, row editor") << "25+ | F2, Del, 7 | Text3 | Text3 | 7";
        row("Esc, preview: Cancel") << " | Ctrl+P, Esc | Command1 | Form1 | closed";
        row("Enter, preview: the focused button") << " | Ctrl+P, Tab, Return | Command2 | Form1 | closed";
    }
    void keys() {
        const QStringList path = fetch("path").split(" | ");
        rig->type(path[0].trimmed());
        QString where;
        for (const QString& key : path[1].split(", ")) {
            QTest::qWait(1); // a window just opened takes the keyboard
            QWidget* to = QApplication::activePopupWidget();
            if (!to)
                QTRY_VERIFY((to = QApplication::focusWidget()));
            where = to->objectName();
            const QKeyCombination k = QKeySequence(key)[0];
            if (k.key() == Qt::Key_Delete) // as X sends it: with the code 127 as its text
                QTest::sendKeyEvent(QTest::Click, to, k.key(), QString(QChar(0x7f)), k.keyboardModifiers());
            else
                QTest::keyClick(to, k.key(), k.keyboardModifiers());
        }
        QCOMPARE(where, path[2]);
        QTRY_COMPARE(readBack(*rig, path[3]), path[4].trimmed());
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }
    // Up and Down in the entry box, the scroll bar's change, drag and the slider. Then F2 opens the
    // editor on the bottom row's line; s stores, e previews, x ends, none writes the line; Up and Down
    // scroll the view while the edit stays on its line.
    void scrolling() {
        for (int i = 1; i <= 20; ++i)
            rig->type(QString::number(i) + '+');
        rig->sounds.played.clear();
        QTest::keyClick(rig->box(), Qt::Key_Down); // at the end: nothing
        QTest::keyClick(rig->box(), Qt::Key_Up);   // the bar's change draws line 19, Up's own redraw 18
        QCOMPARE(rig->place(), QString("19/18"));
        QTest::keyClick(rig->box(), Qt::Key_Down);
        QCOMPARE(rig->lineOnRow(0), 20);
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
        QCOMPARE(rig->window.findChildren<Form1*>().size(), 1);
        qDeleteAll(rig->window.findChildren<Form1*>());
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
        QCOMPARE(focusName(), QString("Text3")); // shown, or it could not have the focus
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
        QListWidget* values = rig->find<QListWidget>("List1");
        QListWidget* total = rig->find<QListWidget>("List2");
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
        for (auto [key, modifier] : {std::pair{Qt::Key_Return, Qt::NoModifier},
                                     {Qt::Key_Enter, Qt::KeypadModifier},
                                     {Qt::Key_Space, Qt::NoModifier}}) { // the keyboard's double click
            rig->box()->clear();
            QTest::keyClick(values, key, modifier);
            QCOMPARE(rig->box()->text(), QString("15"));
        }
        rig->click("removelist");
        QCOMPARE(rig->memory(), QStringList{"10.0000"}); // read back from the row left
        rig->click("clearlist");
        QCOMPARE(values->count() + total->count(), 0);
        for (int i = 0; i < 30; ++i)
            rig->click("store");
        QCoreApplication::processEvents();
        QCOMPARE(values->indexAt(QPoint(1, 1)).row(), 5); // the newest value in sight
        rig->state.memcount = tally::kMemorySlots;
        rig->click("store"); // told
        QCOMPARE(int(rig->outside.told.size()), 1);
    }

    // Each category opens its own shipped factor table; a pick sets the factor, Convert multiplies once.
    void conversion() {
        auto* list = rig->find<QTreeWidget>("ListView1");
        auto* button = rig->find<QPushButton>("convert");
        auto* unit = rig->find<QLabel>("Label6");
        QStringList firstRows;
        for (const char* category : {"Area", "Concentration", "Length", "Volume", "Weight"}) {
            rig->choose(category);
            firstRows << list->topLevelItem(0)->text(0);
        }
        QCOMPARE(firstRows, (QStringList{"Square inches", "Percent", "Inches", "US gallons", "Pounds"}));
        rig->choose("Length");
        QCOMPARE(focusName(), QString("ListView1")); // a hidden list could not have it
        QCOMPARE(rig->sounds.played, QString());     // only a pick sounds
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
    // it saves). Print, Help, About, Exit; the preview stays above the calculator and closes with it.
    void menus() {
        QTemporaryDir dir;
        rig->type("5\r3*");
        rig->outside.fileAnswers << dir.filePath("t.cal");
        rig->trigger("mnuSaveAs");
        rig->click("clearit");
        rig->trigger("mnuOpen");
        QCOMPARE(readBack(*rig, "desktop"), QString("save,open"));
        QCOMPARE(rig->tape(), QString());
        QCOMPARE(focusName(), QString("Text2"));
        QCOMPARE(QFile::exists(dir.filePath("t.cal")), true);
        QCOMPARE(rig->outside.told, QStringList());
        rig->sounds.played.clear();
        rig->trigger("mnuPrint");
        rig->trigger("mnuPrint"); // one preview at a time, a window of the calculator's
        QCOMPARE(rig->window.findChildren<Form1*>().size(), 1);
        QPointer<Form1> preview = rig->window.findChild<Form1*>();
        QCOMPARE(preview->windowHandle()->transientParent(), rig->window.windowHandle());
        // Help starts the viewer beside the program each time; one that cannot start is told.
        rig->trigger("mnuHelp");
        rig->outside.startWorks = false;
        rig->trigger("mnuHelp");
        const QStringList viewer{QCoreApplication::applicationDirPath() + "/tallyroll-help", "CALC1.hlp"};
        QCOMPARE(rig->outside.started, (QList<QStringList>{viewer, viewer}));
        QCOMPARE(rig->outside.told.value(0).contains("tallyroll-help"), true);
        rig->trigger("mnuAbout");
        QCOMPARE(rig->outside.told.value(1).section('\n', 0, 0), QString("Tarvex Calculator"));
        QCOMPARE(rig->outside.told.value(1).split("\r\n").size(), 4);
        QCOMPARE(rig->sounds.played, QString());
        QCOMPARE(rig->outside.ended, false);
        rig->trigger("mnuExit");
        QCOMPARE(rig->outside.ended, true);
        QCOMPARE(rig->sounds.played, QString("1"));
        rig->window.close(); // the preview closes with the calculator
        QTRY_VERIFY(!preview || !preview->isVisible());
    }

    // A refused Save As leaves the old file and nothing beside it, and is told once. The full disk
    // (64 KiB) needs root to mount it.
    void refusedSave_data() {
        columns({"folder", "told"}); // part of the one message
        add("a quote would not read back", {"", "Line 7 holds a character"});
        add("full disk", {"disk", QString(strerror(ENOSPC))});
    }
    void refusedSave() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(fetch("folder"));
        const bool disk = !fetch("folder").isEmpty();
        QVERIFY(QDir().mkpath(folder));
        if (disk) { // as root every permission passes; a full disk fails for root too
            if (geteuid() != 0)
                QSKIP("needs root to mount a small tmpfs as a full disk");
            QCOMPARE(QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", folder}), 0);
            QVERIFY(writeFile(folder + "/filler", QByteArray(56 * 1024, 'x')));
        }
        auto unmount = qScopeGuard([&] {
            if (disk)
                QProcess::execute("umount", {folder});
        });
        const QByteArray old = "\"1  \",\"1\"\r\n";
        QVERIFY(writeFile(folder + "/kept.cal", old));
        const QStringList files = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);
        rig->state.tape = tapeOf(1000); // more than the full disk holds
        if (!disk)
            rig->state.tape.entries[7] = "7\" +";
        rig->outside.fileAnswers << folder + "/kept.cal";
        rig->trigger("mnuSaveAs");
        QFile kept(folder + "/kept.cal");
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), old);
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden), files);
        QCOMPARE(int(rig->outside.told.size()), 1);
        QCOMPARE(rig->outside.told[0].contains("could not be saved"), true);
        QVERIFY2(rig->outside.told[0].contains(fetch("told")), qPrintable(rig->outside.told[0]));
        QCOMPARE(focusName(), QString("Text2"));
    }

    // Copy Tape, Restore Cleared Tape (of any tape, one line too) and the tape kept by a session, offered once
    // that session ended; then a refused tape, a tape named on the command line, and one dropped on the
    // window (its name is not typed).
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
        QCOMPARE(mkfifo(qPrintable(dir.filePath("pipe")), 0600), 0); // refused at once, and nothing changes
        QCOMPARE(rig->window.openTape(dir.filePath("pipe")), false);
        QCOMPARE(rig->outside.told.value(0).contains("The tape was not changed."), true);
        QCOMPARE(rig->cell("Label10", 0)->text(), QString("4 #"));
        rig->window.openTape(readCommandLine({"tallyroll", dir.filePath("tape")}).tape);
        QCOMPARE(rig->tape(), QString("1  =1|2 +=3"));
        QCOMPARE(rig->cell("Label10", 0)->text(), QString("2 #"));
        rig->trigger("mnuRestoreTape"); // the tape an Open replaced comes back, and a second restore swaps again
        QCOMPARE(rig->state.tape.nextline, 5);
        rig->trigger("mnuRestoreTape");
        QCOMPARE(rig->tape(), QString("1  =1|2 +=3"));
        rig->type("c9+c"); // a tape of one line is kept for a restore too
        rig->trigger("mnuRestoreTape");
        QCOMPARE(rig->tape(), QString("9  =9"));
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

    void accessibleNames_data() { // control: name|description
        columns({"heard"});
        row("Command1_12") << "plus|";
        row("conversion") << "Convert Entry to|";
        row("convert") << "Conversion factor|None";
        row("Label12_1") << "5.00 =|line 1 subtotal";
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
