// The menu bar on the real window: every item reaches its action, Help starts the viewer through
// the recording seam (a real viewer would open a window), About shows its four lines.
#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <memory>

#include "fixture.h"
#include "print/form1.h"

namespace {

struct Start {
    QString program;
    QStringList args;
};

// A rig whose program starts are recorded and answered with `startWorks`.
struct MenuRig : CalcRig {
    QList<Start> starts;
    bool startWorks = true;
    QList<bool> fileQuestions; // forSaving of each file-name question

    MenuRig() {
        window.startProgram = [this](const QString& program, const QStringList& args) {
            starts.append({program, args});
            return startWorks;
        };
        window.askFileName = [this](bool forSaving) {
            fileQuestions << forSaving;
            return QString(); // the user cancels
        };
    }
};

QAction* actionNamed(Calculator& w, const QString& name) { return w.findChild<QAction*>(name); }

// Everything a menu item other than its own action could disturb.
QStringList snapshot(const Calculator& w) {
    QStringList s;
    s << QString::number(w.state.nextline) << QString::number(w.state.memcount) << w.Text2->text()
      << QString::number(w.scrollline) << QString::number(w.decplaces);
    for (int i = 1; i < w.state.nextline; ++i)
        s << QString::fromStdString(w.state.entries[i]) + '|' + QString::fromStdString(w.state.subtotals[i]);
    for (int r = 0; r < int(w.Label10.size()); ++r) s << rowText(w, r);
    return s;
}

const QString kViewer = "tallyroll-help";

} // namespace

class TestMenus : public QObject {
    Q_OBJECT

private slots:
    void captions_data();
    void captions();
    void fileItemsAskForAName_data();
    void fileItemsAskForAName();
    void printOpensPreview();
    void exitEnds();
    void helpStartsViewer();
    void helpTwiceStartsTwice();
    void helpThatCannotStartIsTold();
    void about();
};

void TestMenus::captions_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("item"); // empty: the menu's own title
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("accessKey");

    QTest::newRow("File") << "file" << "" << "&File" << "Alt+F";
    QTest::newRow("Open") << "file" << "mnuOpen" << "&Open" << "Alt+O";
    QTest::newRow("Save As") << "file" << "mnuSaveAs" << "&Save As" << "Alt+S";
    QTest::newRow("Print") << "file" << "mnuPrint" << "&Print" << "Alt+P";
    QTest::newRow("Exit") << "file" << "mnuExit" << "E&xit" << "Alt+X";
    QTest::newRow("Help menu") << "xhelp" << "" << "&Help" << "Alt+H";
    QTest::newRow("Help") << "xhelp" << "mnuHelp" << "Help" << "";
    QTest::newRow("About") << "xhelp" << "mnuAbout" << "&About" << "Alt+A";
}

void TestMenus::captions() {
    QFETCH(QString, menu);
    QFETCH(QString, item);
    QFETCH(QString, caption);
    QFETCH(QString, accessKey);
    MenuRig rig;
    QVERIFY(rig.ready);
    auto* m = rig.window.menuBar()->findChild<QMenu*>(menu);
    QVERIFY(m);
    QAction* action = item.isEmpty() ? m->menuAction() : actionNamed(rig.window, item);
    QVERIFY(action);
    if (!item.isEmpty()) QVERIFY(m->actions().contains(action));
    QCOMPARE(action->text(), caption);
    QCOMPARE(QKeySequence::mnemonic(action->text()), QKeySequence(accessKey));
    // No item has a shortcut beyond its access key.
    QVERIFY(action->shortcut().isEmpty());
}

void TestMenus::fileItemsAskForAName_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("forSaving");
    QTest::newRow("Open") << "mnuOpen" << false;
    QTest::newRow("Save As") << "mnuSaveAs" << true;
}

void TestMenus::fileItemsAskForAName() {
    QFETCH(QString, item);
    QFETCH(bool, forSaving);
    MenuRig rig;
    QVERIFY(rig.ready);
    fillTape(rig.state, 3);
    rig.window.printout();
    const QStringList before = snapshot(rig.window);
    actionNamed(rig.window, item)->trigger();
    QCOMPARE(rig.fileQuestions, QList<bool>{forSaving});
    // Cancelled: nothing read, nothing written, nothing said.
    QCOMPARE(snapshot(rig.window), before);
    QCOMPARE(rig.messages, QStringList());
    QVERIFY(rig.starts.isEmpty());
}

void TestMenus::printOpensPreview() {
    MenuRig rig;
    QVERIFY(rig.ready);
    fillTape(rig.state, 5);
    rig.window.mnuPrint->trigger();
    QPointer<Form1> preview = rig.window.preview;
    QVERIFY(preview);
    QVERIFY(QTest::qWaitForWindowExposed(preview));
    QVERIFY(preview->Picture1->isVisible());
    QVERIFY(!preview->Text1->isVisible());
    QVERIFY(rig.fileQuestions.isEmpty());
    preview->close();
    QTRY_VERIFY(!preview); // deleted on close
}

void TestMenus::exitEnds() {
    MenuRig rig;
    QVERIFY(rig.ready);
    rig.window.mnuExit->trigger();
    QVERIFY(rig.ended);
    QCOMPARE(rig.sounds.played, QStringList{"calc1"});
}

void TestMenus::helpStartsViewer() {
    MenuRig rig;
    QVERIFY(rig.ready);
    fillTape(rig.state, 2);
    rig.window.printout();
    const QStringList before = snapshot(rig.window);
    rig.window.mnuHelp->trigger();
    QCOMPARE(rig.starts.size(), 1);
    // The viewer beside the running program, not whatever a search path finds first.
    QCOMPARE(rig.starts[0].program, QCoreApplication::applicationDirPath() + '/' + kViewer);
    QCOMPARE(rig.starts[0].args, QStringList{"CALC1.hlp"});
    QCOMPARE(rig.messages, QStringList());
    QVERIFY(!rig.ended);
    QCOMPARE(snapshot(rig.window), before);
}

void TestMenus::helpTwiceStartsTwice() {
    MenuRig rig;
    QVERIFY(rig.ready);
    rig.window.mnuHelp->trigger();
    rig.window.mnuHelp->trigger();
    QCOMPARE(rig.starts.size(), 2);
    QCOMPARE(rig.starts[1].program, rig.starts[0].program);
    QCOMPARE(rig.starts[1].args, rig.starts[0].args);
}

void TestMenus::helpThatCannotStartIsTold() {
    MenuRig rig;
    QVERIFY(rig.ready);
    rig.startWorks = false;
    rig.window.mnuHelp->trigger();
    QCOMPARE(rig.starts.size(), 1);
    QCOMPARE(rig.messages.size(), 1);
    QVERIFY2(rig.messages[0].contains(kViewer), qPrintable(rig.messages[0]));
    // A second try starts it again: one failure does not disable the item.
    rig.window.mnuHelp->trigger();
    QCOMPARE(rig.starts.size(), 2);
    QCOMPARE(rig.messages.size(), 2);
}

void TestMenus::about() {
    MenuRig rig;
    QVERIFY(rig.ready);
    fillTape(rig.state, 4);
    rig.window.printout();
    QTest::keyClicks(rig.window.Text2, "12");
    const QStringList before = snapshot(rig.window);
    rig.sounds.played.clear();
    QStringList shown; // title, then text, of each box
    rig.window.showAbout = [&](const QString& title, const QString& text) { shown << title << text; }; // OK at once
    rig.window.mnuAbout->trigger();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0], QString("Tarvex Calculator"));
    const QStringList lines = shown[1].split("\r\n");
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], QString("Calculator 2.0"));
    for (const QString& line : lines) {
        QVERIFY2(!line.isEmpty(), qPrintable(shown[1]));
        // Each CR sits before an LF: no stray line ends inside a line.
        QVERIFY(!line.contains('\r') && !line.contains('\n'));
    }
    QVERIFY2(lines[2].contains('@'), qPrintable(lines[2]));
    QVERIFY2(lines[3].contains(QRegularExpression(
                 R"((January|February|March|April|May|June|July|August|September|October|November|December) \d{4})")),
             qPrintable(lines[3]));
    QCOMPARE(shown[1], Calculator::aboutText());
    // After OK the calculator is as it was, and the typed entry still waits in the box.
    QCOMPARE(snapshot(rig.window), before);
    QCOMPARE(rig.sounds.played, QStringList());
    QVERIFY(rig.starts.isEmpty() && rig.messages.isEmpty() && !rig.ended);
}

QTEST_MAIN(TestMenus)
#include "test_menus.moc"
