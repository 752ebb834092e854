// The window as a desktop program: tapes from the command line and by a drop, the usual shortcuts,
// the tape's menu and the kept tape, keyboard paths and what a screen reader hears.
#include <QtTest>
#include <QtWidgets>

#include "core/taperule.h"
#include "print/form1.h"
#include "shell/commandline.h"
#include "shell/sounds.h"
#include "tape/cells.h"
#include "tape/copytext.h"
#include "window/calculator.h"
#include "fixture.h"

namespace {
struct DeskOutside : Outside {
    QStringList told, asked, started;
    int quits = 0;
    void tell(QWidget*, const QString&, const QString& text, bool) override { told << text; }
    QString askFileName(QWidget*, FileKind kind) override { return asked << (kind == FileKind::OpenTape ? "open" : "save"), QString(); }
    bool startProgram(const QString& program, const QStringList&) override { return started << program, true; }
    void showAbout(QWidget*, const QString&, const QString&) override {}
    QPrinterInfo findPrinter() override { return {}; }
    void quit() override { ++quits; }
};

struct DeskRig {
    tally::State state;
    SilentPlayer sounds;
    DeskOutside outside;
    Calculator w{state, sounds, outside};
    DeskRig(std::initializer_list<const char*> numbers = {}) {
        w.show(), w.activateWindow();
        for (const char* n : numbers) w.Text2->setText(n), w.Command1_Click(tally::kAdd);
    }
    QString tape() const { return QString::fromStdString(tally::copyText(state, tally::kSubtotalPatterns[2])); }
};
} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void openFromOutside_data() {
        QTest::addColumn<bool>("drop");        // else from the command line
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("lines");        // 0: refused and told
        const QByteArray tape = "\"5  \",\"5\"\r\n\"7 +\",\"12\"\r\n";
        QTest::newRow("command line") << false << tape << 2;
        QTest::newRow("drop") << true << tape << 2;
        QTest::newRow("drop, file cut short") << true << QByteArray("\"5 +\"\r\n") << 0;
    }
    void openFromOutside() {
        QFETCH(bool, drop);
        QFETCH(QByteArray, bytes);
        QFETCH(int, lines);
        QTemporaryDir dir;
        QFile file(dir.filePath("tape"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        DeskRig rig;
        if (drop) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(file.fileName())});
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(rig.w.Text2, &enter);
            QApplication::sendEvent(rig.w.Text2, &event);
            QVERIFY(enter.isAccepted() && event.isAccepted());
            QCoreApplication::processEvents();
            QCOMPARE(rig.w.Text2->text(), QString()); // the file opened, its name was not typed
        } else {
            rig.w.openTape(readCommandLine({"tallyroll", file.fileName()}).tape);
        }
        QCOMPARE(rig.state.nextline, lines + 1);
        QCOMPARE(rig.outside.told.size(), lines ? 0 : 1);
        if (lines) QCOMPARE(rig.w.Label10[0]->text(), "2 #");
    }
    void shortcuts_data() { // the row's name is the key pressed in the entry box
        QTest::addColumn<QString>("reached");
        for (auto [keys, reached] : {std::pair{"Ctrl+O", "open"}, {"Ctrl+S", "save"}, {"Ctrl+P", "print"}, {"F1", "help"}})
            QTest::newRow(keys) << reached;
    }
    void shortcuts() {
        QFETCH(QString, reached);
        DeskRig rig{"5"};
        QVERIFY(QTest::qWaitForWindowActive(&rig.w));
        rig.w.Text2->setText("12");
        const QKeyCombination key = QKeySequence(QTest::currentDataTag())[0];
        QTest::keyClick(rig.w.Text2, key.key(), key.keyboardModifiers());
        QStringList got = rig.outside.asked;
        if (rig.w.preview) got << "print";
        if (!rig.outside.started.isEmpty()) got << "help";
        delete rig.w.preview;
        QCOMPARE(got.join(','), reached);
        // No letter command: not Exit (o), not Store (s), nothing typed or written.
        QVERIFY(rig.outside.quits == 0 && rig.w.List1->count() == 0 && rig.state.nextline == 2);
        QCOMPARE(rig.w.Text2->text(), "12");
    }
    void tapeNeverLost() {
        QTemporaryDir stateHome;
        qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome.path()));
        DeskRig rig{"5", "7", "2.5"};
        const QString before = rig.tape();
        rig.w.mnuCopyTape->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), before);
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QApplication::sendEvent(rig.w.Label11[0], &rightClick);
        QVERIFY(rig.w.tapeMenu->isVisible() && !rig.w.mnuRestoreTape->isEnabled() && !rig.w.mnuLastSession->isEnabled());
        rig.w.tapeMenu->close();

        QTest::keyClick(rig.w.Text2, 'c');
        QTest::keyClick(rig.w.Text2, 'c'); // clearing the empty tape keeps the tape cleared before
        QCOMPARE(rig.state.nextline, 1);
        emit rig.w.tapeMenu->aboutToShow(); // the menu as the next right-click shows it
        rig.w.mnuRestoreTape->trigger();
        QCOMPARE(rig.tape(), before);
        QCOMPARE(rig.w.Label10[0]->text(), "3 #"); // the view at its end
        QCOMPARE(rig.w.VScroll1->value(), rig.w.VScroll1->maximum());

        rig.w.keepLastSession(); // what main() does when the program ends
        QTest::keyClick(rig.w.Text2, 'c');
        emit rig.w.tapeMenu->aboutToShow();
        rig.w.mnuLastSession->trigger();
        QCOMPARE(rig.tape(), before);

        // A state folder that cannot be made is only logged: the program still ends.
        qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome.filePath("tallyroll/last-session.cal")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("could not be kept"));
        rig.w.keepLastSession();
        QVERIFY(rig.outside.told.isEmpty());
    }
    void keyboardPaths() {
        DeskRig rig{"5", "7"};
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
        QCOMPARE(rig.w.Text3->pos(), rig.w.Label11[0]->pos());
        QTest::keyClicks(rig.w.Text3, "9+");
        QCOMPARE(rig.state.entries[2], "9 +");
    }
    void accessibleNames_data() { // control, name|description
        QTest::addColumn<QString>("heard");
        for (auto [control, heard] :
             {std::pair{"Command1_12", "plus|"}, {"Command1_13", "minus|"}, {"Command1_14", "multiply|"},
              {"Command1_16", "divide|"}, {"Command1_10", "decimal point|"}, {"konst", "constant|"}, {"store", "store|"},
              {"conversion", "Convert Entry to|"}, {"convert", "Conversion factor|None"},
              {"Label11_0", "7.00 +|line 2 entry"}, {"Label12_1", "5.00 =|line 1 subtotal"}})
            QTest::newRow(control) << heard;
    }
    void accessibleNames() {
        QFETCH(QString, heard);
        DeskRig rig{"5", "7"};
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(rig.w.body->findChild<QWidget*>(QTest::currentDataTag()));
        QVERIFY(a);
        // On Linux a combo box reads its value as name and is named by the label it is the buddy of.
        const auto labels = a->relations(QAccessible::Label);
        const QString name = labels.isEmpty() ? a->text(QAccessible::Name) : labels.front().first->text(QAccessible::Name);
        QCOMPARE(name + '|' + a->text(QAccessible::Description), heard);
    }
};

GUI_TEST(TestDesktop)
#include "test_desktop.moc"
