// The menu bar on the real window: every item reaches its action, Help starts the viewer through
// the recording seam (a real viewer would open a window), About shows its four lines.
#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include "fixture.h"
#include "print/form1.h"

namespace {

// A rig whose program starts are recorded and answered with `startWorks`.
struct MenuRig : CalcRig {
    QList<QStringList> starts; // program, then its arguments
    bool startWorks = true;
    QList<bool> fileQuestions; // forSaving of each file-name question

    MenuRig() {
        window.startProgram = [this](const QString& program, const QStringList& args) {
            starts.append(QStringList{program} + args);
            return startWorks;
        };
        window.askFileName = [this](bool forSaving) {
            fileQuestions << forSaving;
            return QString(); // the user cancels
        };
    }
};

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
    void captions();
    void fileItemsAskForAName_data();
    void fileItemsAskForAName();
    void printAndExit();
    void helpStartsViewer_data();
    void helpStartsViewer();
    void about();
};

// Each item sits in its menu under its caption, with no shortcut beyond the access key.
void TestMenus::captions() {
    MenuRig rig;
    QVERIFY(rig.ready);
    const char* rows[][3] = {{"file", "", "&File"},          {"file", "mnuOpen", "&Open"},
                             {"file", "mnuSaveAs", "&Save As"}, {"file", "mnuPrint", "&Print"},
                             {"file", "mnuExit", "E&xit"},      {"xhelp", "", "&Help"},
                             {"xhelp", "mnuHelp", "Help"},      {"xhelp", "mnuAbout", "&About"}};
    for (const auto& [menu, item, caption] : rows) {
        auto* m = rig.window.menuBar()->findChild<QMenu*>(menu);
        QVERIFY2(m, menu);
        QAction* action = *item ? rig.window.findChild<QAction*>(item) : m->menuAction();
        QVERIFY2(action && (!*item || m->actions().contains(action)), item);
        QCOMPARE(action->text(), QString(caption));
        QVERIFY(action->shortcut().isEmpty());
    }
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
    rig.window.findChild<QAction*>(item)->trigger();
    QCOMPARE(rig.fileQuestions, QList<bool>{forSaving});
    // Cancelled: nothing read, nothing written, nothing said.
    QCOMPARE(snapshot(rig.window), before);
    QCOMPARE(rig.messages, QStringList());
}

void TestMenus::printAndExit() {
    MenuRig rig;
    QVERIFY(rig.ready);
    rig.window.mnuPrint->trigger();
    QPointer<Form1> preview = rig.window.preview;
    QVERIFY(preview && preview->isVisible());
    delete preview;
    QVERIFY(!rig.ended);
    rig.window.mnuExit->trigger();
    QVERIFY(rig.ended);
    QCOMPARE(rig.sounds.played, QStringList{"calc1"});
}

void TestMenus::helpStartsViewer_data() {
    QTest::addColumn<bool>("startWorks");
    QTest::newRow("viewer starts") << true;
    QTest::newRow("viewer cannot start") << false;
}

// Each Help starts the viewer beside the running program, not whatever a search path finds
// first; one that cannot start is told, and does not disable the item.
void TestMenus::helpStartsViewer() {
    QFETCH(bool, startWorks);
    MenuRig rig;
    QVERIFY(rig.ready);
    rig.startWorks = startWorks;
    fillTape(rig.state, 2);
    rig.window.printout();
    const QStringList before = snapshot(rig.window);
    rig.window.mnuHelp->trigger();
    rig.window.mnuHelp->trigger();
    QCOMPARE(rig.starts.size(), 2);
    for (const QStringList& s : rig.starts)
        QCOMPARE(s, (QStringList{QCoreApplication::applicationDirPath() + '/' + kViewer, "CALC1.hlp"}));
    QCOMPARE(rig.messages.size(), startWorks ? 0 : 2);
    for (const QString& m : rig.messages) QVERIFY2(m.contains(kViewer), qPrintable(m));
    QVERIFY(!rig.ended);
    QCOMPARE(snapshot(rig.window), before);
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
    // Four lines, each ended by CR LF: no stray line ends inside a line.
    const QStringList lines = shown[1].split("\r\n");
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0], QString("Calculator 2.0"));
    for (const QString& line : lines) QVERIFY2(!line.isEmpty() && !line.contains('\r') && !line.contains('\n'), qPrintable(shown[1]));
    QVERIFY2(lines[2].contains('@'), qPrintable(lines[2]));
    QVERIFY2(lines[3].contains(QRegularExpression(
                 R"((January|February|March|April|May|June|July|August|September|October|November|December) \d{4})")),
             qPrintable(lines[3]));
    // After OK the calculator is as it was, and the typed entry still waits in the box.
    QCOMPARE(snapshot(rig.window), before);
    QCOMPARE(rig.sounds.played, QStringList());
    QVERIFY(rig.starts.isEmpty() && rig.messages.isEmpty() && !rig.ended);
}

QTEST_MAIN(TestMenus)
#include "test_menus.moc"
