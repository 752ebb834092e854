// The window as a desktop program: tapes opened from the command line and by a drop, the usual
// shortcuts, the tape's menu and the kept tape, keyboard paths and what a screen reader hears.
#include <QAccessible>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include "core/taperule.h"
#include "print/form1.h"
#include "shell/commandline.h"
#include "shell/sounds.h"
#include "tape/cells.h"
#include "tape/copytext.h"
#include "window/calculator.h"

namespace {
class RecordingOutside : public Outside {
public:
    QStringList told, asked, started;
    int quits = 0;
    void tell(QWidget*, const QString&, const QString& text, bool) override { told << text; }
    QString askFileName(QWidget*, FileKind kind) override { return asked << (kind == FileKind::OpenTape ? "open" : "save"), QString(); }
    bool startProgram(const QString& program, const QStringList&) override { return started << program, true; }
    void showAbout(QWidget*, const QString&, const QString&) override {}
    QPrinterInfo findPrinter() override { return {}; }
    void quit() override { ++quits; }
};

struct Rig {
    tally::State state;
    SilentPlayer sounds;
    RecordingOutside outside;
    Calculator w{state, sounds, outside};
    Rig() {
        w.show();
        w.activateWindow();
    }
    void type(std::initializer_list<const char*> numbers) {
        for (const char* n : numbers) w.Text2->setText(n), w.Command1_Click(tally::kAdd);
    }
    QString tape() const { return QString::fromStdString(tally::copyText(state, tally::kSubtotalPatterns[2])); }
};
} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void commandLine_data();
    void commandLine();
    void openFromOutside_data();
    void openFromOutside();
    void shortcuts_data();
    void shortcuts();
    void tapeNeverLost();
    void keyboardPaths();
    void accessibleNames_data();
    void accessibleNames();
};

void TestDesktop::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode"); // -1: the program runs
    QTest::addColumn<QString>("tape");
    QTest::newRow("a tape") << QStringList{"t.cal"} << -1 << "t.cal";
    QTest::newRow("none") << QStringList{} << -1 << "";
    QTest::newRow("help") << QStringList{"--help"} << 0 << "";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "";
    QTest::newRow("two tapes") << QStringList{"a.cal", "b.cal"} << 1 << "";
    QTest::newRow("unknown option") << QStringList{"--bogus"} << 1 << "";
}

void TestDesktop::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    const CommandLine line = readCommandLine(QStringList{"tallyroll"} + args);
    QCOMPARE(line.exitCode.value_or(-1), exitCode);
    QFETCH(QString, tape);
    QCOMPARE(line.tape, tape);
    QCOMPARE(line.output.isEmpty(), exitCode == -1);
}

void TestDesktop::openFromOutside_data() {
    QTest::addColumn<bool>("drop"); // else from the command line
    QTest::addColumn<QByteArray>("bytes"); // "missing": no file
    QTest::addColumn<int>("lines");
    const QByteArray tape = "\"5  \",\"5\"\r\n\"7 +\",\"12\"\r\n";
    QTest::newRow("command line") << false << tape << 2;
    QTest::newRow("command line, missing file") << false << QByteArray("missing") << 0;
    QTest::newRow("drop") << true << tape << 2;
    QTest::newRow("drop, file cut short") << true << QByteArray("\"5 +\"\r\n") << 0;
}

void TestDesktop::openFromOutside() {
    QFETCH(bool, drop);
    QFETCH(QByteArray, bytes);
    QFETCH(int, lines);
    QTemporaryDir dir;
    const QString name = dir.filePath("tape");
    QFile file(name);
    QVERIFY(bytes == "missing" || (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()));
    file.close();
    Rig rig;
    if (drop) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(name)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(rig.w.Text2, &enter);
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(rig.w.Text2, &event);
        QVERIFY(enter.isAccepted() && event.isAccepted());
        QCoreApplication::processEvents();
        QCOMPARE(rig.w.Text2->text(), QString()); // the file opened, its name was not typed
    } else {
        rig.w.openTape(readCommandLine({"tallyroll", name}).tape);
    }
    QCOMPARE(rig.state.nextline, lines + 1);
    QCOMPARE(rig.outside.told.size(), lines ? 0 : 1); // a refused file is told
    if (lines) QCOMPARE(rig.w.Label10[0]->text(), "2 #");
}

void TestDesktop::shortcuts_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("reached");
    QTest::newRow("Ctrl+O") << int(Qt::Key_O) << int(Qt::ControlModifier) << "open";
    QTest::newRow("Ctrl+S") << int(Qt::Key_S) << int(Qt::ControlModifier) << "save";
    QTest::newRow("Ctrl+P") << int(Qt::Key_P) << int(Qt::ControlModifier) << "print";
    QTest::newRow("F1") << int(Qt::Key_F1) << 0 << "help";
}

void TestDesktop::shortcuts() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, reached);
    Rig rig;
    QVERIFY(QTest::qWaitForWindowActive(&rig.w));
    rig.type({"5"});
    rig.w.Text2->setText("12");
    QTest::keyClick(rig.w.Text2, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QStringList got = rig.outside.asked;
    if (rig.w.preview) got << "print";
    if (!rig.outside.started.isEmpty()) got << "help";
    delete rig.w.preview;
    QCOMPARE(got.join(','), reached);
    // No letter command: not Exit (o), Store (s), nor anything typed or written.
    QCOMPARE(rig.outside.quits, 0);
    QCOMPARE(rig.w.List1->count(), 0);
    QCOMPARE(rig.w.Text2->text(), "12");
    QCOMPARE(rig.state.nextline, 2);
}

void TestDesktop::tapeNeverLost() {
    QTemporaryDir stateHome;
    qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome.path()));
    Rig rig;
    rig.type({"5", "7", "2.5"});
    const QString before = rig.tape();
    rig.w.mnuCopyTape->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), before);

    auto rightClick = [&rig] { // true when the tape's menu showed
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QApplication::sendEvent(rig.w.Label11[0], &event);
        const bool shown = rig.w.tapeMenu->isVisible();
        rig.w.tapeMenu->close();
        return shown;
    };
    QVERIFY(rightClick());
    QVERIFY(!rig.w.mnuRestoreTape->isEnabled() && !rig.w.mnuLastSession->isEnabled());

    QTest::keyClick(rig.w.Text2, 'c');
    QTest::keyClick(rig.w.Text2, 'c'); // clearing the empty tape keeps the tape cleared before
    QCOMPARE(rig.state.nextline, 1);
    QVERIFY(rightClick());
    rig.w.mnuRestoreTape->trigger();
    QCOMPARE(rig.tape(), before);
    QCOMPARE(rig.w.Label10[0]->text(), "3 #"); // the view at its end
    QCOMPARE(rig.w.VScroll1->value(), rig.w.VScroll1->maximum());

    rig.w.keepLastSession(); // what main() does when the program ends
    QTest::keyClick(rig.w.Text2, 'c');
    QVERIFY(rightClick());
    rig.w.mnuLastSession->trigger();
    QCOMPARE(rig.tape(), before);
    QVERIFY(rig.outside.told.isEmpty());

    // A state folder that cannot be made is only logged: the program still ends.
    qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome.filePath("tallyroll/last-session.cal")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("could not be kept"));
    rig.w.keepLastSession();
    QVERIFY(rig.outside.told.isEmpty());
}

void TestDesktop::keyboardPaths() {
    Rig rig;
    rig.type({"5", "7"});
    rig.w.store_Click();
    rig.w.List1->setCurrentRow(0);
    rig.w.List1_DblClick();
    const QString recalled = rig.w.Text2->text();
    QVERIFY(!recalled.isEmpty());
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        rig.w.Text2->clear();
        QTest::keyClick(rig.w.List1, key);
        QCOMPARE(rig.w.Text2->text(), recalled);
    }

    QTest::keyClick(rig.w.Text2, Qt::Key_F2); // the editor over the bottom row's line, line 2
    QVERIFY(rig.w.Text3->isVisible());
    QCOMPARE(rig.w.Text3->pos(), rig.w.Label11[0]->pos());
    QTest::keyClicks(rig.w.Text3, "9+");
    QCOMPARE(rig.state.entries[2], "9 +");
}

void TestDesktop::accessibleNames_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    for (auto [control, name] : {std::pair{"Command1_12", "plus"}, {"Command1_13", "minus"}, {"Command1_14", "multiply"},
                                 {"Command1_16", "divide"}, {"Command1_10", "decimal point"}, {"konst", "constant"},
                                 {"store", "store"}, {"conversion", "Convert Entry to"}})
        QTest::newRow(control) << control << name << "";
    QTest::newRow("factor button") << "convert" << "Conversion factor" << "None";
    QTest::newRow("entry cell") << "Label11_0" << "7.00 +" << "line 2 entry";
    QTest::newRow("subtotal cell") << "Label12_1" << "5.00 =" << "line 1 subtotal";
}

void TestDesktop::accessibleNames() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, description);
    Rig rig;
    rig.type({"5", "7"});
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(rig.w.body->findChild<QWidget*>(control));
    QVERIFY(a);
    // On Linux a combo box reads its value as name and is named by the label it is the buddy of.
    const auto labels = a->relations(QAccessible::Label);
    QCOMPARE(labels.isEmpty() ? a->text(QAccessible::Name) : labels.front().first->text(QAccessible::Name), name);
    QCOMPARE(a->text(QAccessible::Description), description);
}

QTEST_MAIN(TestDesktop)
#include "test_desktop.moc"
