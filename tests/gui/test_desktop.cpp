// Where the program meets the desktop: the sound files, the command line as a shell sees it, the
// file dialogs, and Num Lock in a real X server.
#include "fixture.h"
#include "table.h"
#ifdef TALLYROLL_HAVE_XKB
#include <X11/XKBlib.h> // after Qt: Xlib's macros clash with its names
#include <X11/keysym.h>
#endif

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void sounds() {
        const EffectPlayer player;
        QCOMPARE(player.source(tally::Sound::Calc1).fileName() + ' ' + player.source(tally::Sound::Calc2).fileName(),
                 QString("calc1.wav calc2.wav"));
    }

    void commandLine_data() {
        columns({"arguments"});
        columns<int>({"exit"});
        columns({"out", "err"}); // the first line of each
        const QString usage = QString("Usage: %1 [options] [FILE]").arg(TALLYROLL_PROGRAM);
        add("--help", {"--help", 0, usage, ""});
        add("--version", {"--version", 0, "tallyroll " TALLYROLL_VERSION, ""});
        add("two tapes", {"a.cal b.cal", 1, "", "Only one tape can be opened at a time."});
        add("unknown option", {"--bogus", 1, "", "Unknown option 'bogus'."});
    }
    void commandLine() { // none of these opens a window
        QProcess program;
        program.start(TALLYROLL_PROGRAM, fetch("arguments").split(' '));
        QVERIFY(program.waitForFinished());
        QCOMPARE(program.exitCode(), fetch<int>("exit"));
        QCOMPARE(QString::fromLocal8Bit(program.readAllStandardOutput()).section('\n', 0, 0), fetch("out"));
        QCOMPARE(QString::fromLocal8Bit(program.readAllStandardError()).section('\n', 0, 0), fetch("err"));
    }

    void fileDialogs_data() {
        QTest::addColumn<Outside::FileKind>("kind");
        columns({"dialog"}); // title | filters | open or save | the suffix it adds to a bare name
        QTest::newRow("Open") << Outside::FileKind::OpenTape << "Open|Calc Files (*.cal);;All Files (*)|open|";
        QTest::newRow("Save As") << Outside::FileKind::SaveTape << "Save As|Calc Files (*.cal)|save|";
        QTest::newRow("PDF") << Outside::FileKind::SavePdf << "Save the Print as PDF|PDF Files (*.pdf)|save|pdf";
    }
    void fileDialogs() {
        QString seen;
        QTimer answer; // reads the dialog once it is up, then cancels it
        connect(&answer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                const bool save = dialog->acceptMode() == QFileDialog::AcceptSave;
                seen = dialog->windowTitle() + '|' + dialog->nameFilters().join(";;") + (save ? "|save|" : "|open|") +
                       dialog->defaultSuffix();
                dialog->reject();
            }
        });
        answer.start(20);
        Desktop desktop;
        QCOMPARE(desktop.askFileName(nullptr, fetch<Outside::FileKind>("kind")), QString());
        QCOMPARE(seen, fetch("dialog"));
    }

    // The program keeps Num Lock on: at start, and at any key after something turned it off.
    void numLock() {
#ifdef TALLYROLL_HAVE_XKB
        if (QGuiApplication::platformName() != "xcb")
            QSKIP("Num Lock lives in an X server: run under xvfb-run with QT_QPA_PLATFORM=xcb");
        Display* display = qApp->nativeInterface<QNativeInterface::QX11Application>()->display();
        const unsigned mask = XkbKeysymToModifiers(display, XK_Num_Lock);
        auto state = [&] {
            XkbStateRec now;
            XkbGetState(display, XkbUseCoreKbd, &now);
            return QString(now.locked_mods & mask ? "on" : "off");
        };
        auto turnOff = [&] {
            XkbLockModifiers(display, XkbUseCoreKbd, mask, 0);
            XSync(display, False);
        };
        turnOff();
        CalcRig rig;
        QVERIFY(rig.ready);
        const QString atStart = state();
        turnOff();
        QTest::keyClick(rig.window.findChild<QWidget*>("Text2"), '5');
        QCOMPARE(atStart + ' ' + state(), QString("on on"));
#else
        QSKIP("built without XKB");
#endif
    }
};

QTEST_MAIN(TestDesktop)
#include "test_desktop.moc"
