// The window as a desktop program: refused opens and failed saves (their rules are the core's; each
// path shows it uses them), tapes from outside, shortcuts, the kept tapes, a screen reader, the look.
#include <QtTest>
#include <QtWidgets>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "fixture.h"
#include "print/form1.h"
#include "shell/commandline.h"
#include "tape/cells.h"
#include "shell/metrics.h"
#include "window/design.h"

namespace {
QByteArray records(int count) {
    QByteArray out;
    for (int i = 1; i <= count; ++i) out += "\"" + QByteArray::number(i) + " +\",\"" + QByteArray::number(i) + "\"\r\n";
    return out;
}
QStringList shown(const Calculator& w) { // the rows and the scroll bar
    QStringList s{QString::number(w.VScroll1->value()), QString::number(w.VScroll1->maximum())};
    for (int r = 0; r < tally::kVisibleRows; ++r) s << rowText(w, r);
    return s;
}
} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
    std::unique_ptr<CalcRig> rig;

private slots:
    void init() {
        rig = std::make_unique<CalcRig>();
        QVERIFY(rig->ready);
    }
    void cleanup() { rig.reset(); }

    void refusedFiles_data() {
        QTest::addColumn<QString>("name"); // in a fresh folder; "disk/" is a full 64 KiB disk
        QTest::addColumn<QString>("told"); // part of the one message
        QTest::newRow("open: a named pipe never blocks") << "pipe" << "not changed";
        QTest::newRow("open: 1001 records") << "big.cal" << "not changed";
        QTest::newRow("save: a quote would not read back") << "kept.cal" << "Line 7 holds a character";
        QTest::newRow("save: parent is a file") << "kept.cal/x.cal" << QString(strerror(ENOTDIR));
        QTest::newRow("save: full disk") << "disk/kept.cal" << QString(strerror(ENOSPC));
    }
    void refusedFiles() {
        QFETCH(QString, name);
        QFETCH(QString, told);
        Calculator& w = rig->window;
        QTemporaryDir dir;
        const QString folder = dir.filePath(name.startsWith("disk/") ? "disk" : "");
        QVERIFY(QDir().mkpath(folder));
        if (name.startsWith("disk/")) { // as root every permission passes; a full disk fails for root too
            if (geteuid() != 0) QSKIP("needs root to mount a small tmpfs as a full disk");
            QVERIFY(QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", folder}) == 0 && writeFile(folder + "/filler", QByteArray(56 * 1024, 'x')));
        }
        QVERIFY(writeFile(folder + "/kept.cal", "\"1  \",\"1\"\r\n"));
        auto unmount = qScopeGuard([&] { if (name.startsWith("disk/")) QProcess::execute("umount", {folder}); });
        const QStringList files = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);
        rig->outside.fileAnswers << dir.filePath(name); // open: the tape and view stay; save: the old file and no other
        if (QString(QTest::currentDataTag()).startsWith("open")) {
            QVERIFY(name == "pipe" ? mkfifo(qPrintable(dir.filePath(name)), 0600) == 0 : writeFile(dir.filePath(name), records(1001)));
            typeTape(w, 10);
            w.VScroll1->setValue(6);
            const QStringList before = shown(w);
            w.mnuOpen->trigger();
            QVERIFY(shown(w) == before && rig->state.nextline == 11 && rig->state.subtotals[10] == "55");
        } else {
            fillTape(rig->state, 1000); // more than the full disk holds
            if (QString(QTest::currentDataTag()).contains("quote")) rig->state.entries[7] = "7\" +";
            w.mnuSaveAs->trigger();
            QFile kept(folder + "/kept.cal");
            QVERIFY(kept.open(QIODevice::ReadOnly) && kept.readAll() == "\"1  \",\"1\"\r\n" && rig->outside.messages.value(0).contains("could not be saved"));
            QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden), files);
        }
        QCOMPARE(rig->outside.messages.size(), 1);
        QVERIFY2(rig->outside.messages[0].contains(told), qPrintable(rig->outside.messages[0]));
        QVERIFY(w.Text2->hasFocus());
    }

    void openFromOutside_data() {
        QTest::addColumn<bool>("drop"); // else from the command line
        QTest::newRow("command line") << false;
        QTest::newRow("drop") << true;
    }
    void openFromOutside() {
        QFETCH(bool, drop);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("tape"), records(2)));
        Calculator& w = rig->window;
        if (drop) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(dir.filePath("tape"))});
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(w.Text2, &enter);
            QApplication::sendEvent(w.Text2, &event);
            QVERIFY(enter.isAccepted() && event.isAccepted());
            QCoreApplication::processEvents();
            QCOMPARE(w.Text2->text(), QString()); // the file opened, its name was not typed
        } else {
            w.openTape(readCommandLine({"tallyroll", dir.filePath("tape")}).tape);
        }
        QVERIFY(rig->state.nextline == 3 && w.Label10[0]->text() == "2 #");
    }

    // Shortcuts in the entry box reach their menu item and never a letter command (o exits,
    // s stores, c clears), nor type their letter.
    void shortcuts_data() {
        QTest::addColumn<QString>("reached");
        for (auto [keys, reached] : {std::pair{"Ctrl+O", "open"}, {"Ctrl+S", "save"}, {"Ctrl+P", "print"}, {"F1", "help"}, {"Ctrl+C", ""}})
            QTest::newRow(keys) << reached;
    }
    void shortcuts() {
        Calculator& w = rig->window;
        QTest::keyClicks(w.Text2, "5+12");
        const QKeyCombination key = QKeySequence(QTest::currentDataTag())[0];
        QTest::keyClick(w.Text2, key.key(), key.keyboardModifiers());
        QStringList got;
        for (auto kind : rig->outside.fileQuestions) got << (kind == Outside::FileKind::OpenTape ? "open" : "save");
        if (w.preview) got << "print";
        if (!rig->outside.started.isEmpty()) got << "help";
        delete w.preview;
        QTEST(got.join(','), "reached");
        QVERIFY(!rig->outside.ended && w.List1->count() == 0 && rig->state.nextline == 2 && w.Text2->text() == "12");
    }

    // Copy Tape, Restore Cleared Tape and the last session's tape, kept at exit.
    void tapeNeverLost() {
        QTemporaryDir stateHome;
        qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome.path()));
        Calculator& w = rig->window;
        QTest::keyClicks(w.Text2, "5+7+2.5+");
        w.mnuCopyTape->trigger();
        const QString tape = QGuiApplication::clipboard()->text();
        QVERIFY2(tape.contains("14.50") && tape.count('\n') >= 3, qPrintable(tape)); // with the view's decimals
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QApplication::sendEvent(w.Label11[0], &rightClick);
        QVERIFY(w.tapeMenu->isVisible() && !w.mnuRestoreTape->isEnabled() && !w.mnuLastSession->isEnabled());
        w.tapeMenu->close();
        auto copied = [&] { return w.mnuCopyTape->trigger(), QGuiApplication::clipboard()->text(); };
        QTest::keyClicks(w.Text2, "cc"); // clearing the empty tape keeps the tape cleared before
        emit w.tapeMenu->aboutToShow(); // as the next right-click shows it
        w.mnuRestoreTape->trigger();
        QCOMPARE(copied(), tape);
        QVERIFY(w.Label10[0]->text() == "3 #" && w.VScroll1->value() == w.VScroll1->maximum());
        w.keepLastSession(); // what main() does when the program ends
        QTest::keyClick(w.Text2, 'c');
        emit w.tapeMenu->aboutToShow();
        w.mnuLastSession->trigger();
        QCOMPARE(copied(), tape);
        QVERIFY(rig->outside.messages.isEmpty());
    }

    void accessibleNames_data() { // control, name|description
        QTest::addColumn<QString>("heard");
        for (auto [control, heard] : {std::pair{"Command1_12", "plus|"}, {"conversion", "Convert Entry to|"},
                                      {"convert", "Conversion factor|None"}, {"Label12_1", "5.00 =|line 1 subtotal"}})
            QTest::newRow(control) << heard;
    }
    void accessibleNames() {
        QTest::keyClicks(rig->window.Text2, "5+7+");
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(rig->window.body->findChild<QWidget*>(QTest::currentDataTag()));
        QVERIFY(a);
        // On Linux a combo box reads its value as name and is named by the label it is the buddy of.
        const auto labels = a->relations(QAccessible::Label);
        const QString name = labels.isEmpty() ? a->text(QAccessible::Name) : labels.front().first->text(QAccessible::Name);
        QTEST(name + '|' + a->text(QAccessible::Description), "heard");
    }

    // Classic look whatever the desktop's palette: digit faces the tooltip colour, other keys grey,
    // light top-left and dark bottom-right edges, an opaque slider, black cell borders.
    void look_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light desktop") << false;
        QTest::newRow("dark desktop") << true;
    }
    void look() {
        QFETCH(bool, dark);
        const QPalette desktop = QApplication::palette();
        auto restore = qScopeGuard([&] { QApplication::setPalette(desktop); });
        if (dark) {
            QPalette p(QColor(0x353535), QColor(0x202020));
            for (auto r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) p.setColor(r, QColor(0xF0F0F0));
            for (auto r : {QPalette::Base, QPalette::ToolTipBase, QPalette::Light}) p.setColor(r, QColor(0x2A2A2A));
            QApplication::setPalette(p);
            rig = std::make_unique<CalcRig>();
            QVERIFY(rig->ready);
        }
        Calculator& w = rig->window;
        typeTape(w, 1);
        const QImage image = w.body->grab().toImage();
        const qreal dpr = image.devicePixelRatio();
        auto at = [&](QPoint p) { return image.pixelColor(p * dpr); };
        const QColor tip = QApplication::style()->standardPalette().color(QPalette::ToolTipBase);
        QList<const QPushButton*> keys(w.Command1.begin(), w.Command1.begin() + 11); // the digits and the point
        keys << w.Command1[12] << w.Command1[13] << w.Command1[14] << w.Command1[16] << w.konst << w.store << w.clearit
             << w.Command2 << w.removelist << w.clearlist;
        for (const QPushButton* key : keys) {
            const QColor face = keys.indexOf(key) <= 10 ? tip : QColor(0xC0C0C0);
            const QRect g = key->geometry(), in = g.adjusted(3, 3, -3, -3), d(g.topLeft() * dpr, g.size() * dpr);
            for (QPoint p : {in.topLeft(), in.bottomRight(), QPoint(in.left(), g.center().y())}) QVERIFY2(at(p) == face, qPrintable(key->objectName()));
            const int light = face.lightness(); // the edges are a device pixel wide
            QVERIFY2(image.pixelColor(d.left(), d.center().y()).lightness() > light && image.pixelColor(d.center().x(), d.top()).lightness() > light &&
                     image.pixelColor(d.right(), d.center().y()).lightness() < light && image.pixelColor(d.center().x(), d.bottom()).lightness() < light,
                     qPrintable(key->objectName()));
        }
        const auto shadow = *std::find_if(design::rectangles().begin(), design::rectangles().end(),
                                          [](const auto& r) { return qstrcmp(r.name, "Shape20") == 0; });
        const QRect under = w.Slider1->geometry() & design::twips(shadow.left, shadow.top, shadow.width, shadow.height);
        QVERIFY(!under.isEmpty());
        for (int y = under.top(); y <= under.bottom(); ++y)
            for (int x = under.left(); x <= under.right(); ++x) QVERIFY(at({x, y}) != QColor::fromRgb(shadow.colour));
        for (const auto* column : {&w.Label10, &w.Label11, &w.Label12}) // the bottom row's borders
            for (QPoint p : {(*column)[0]->geometry().topLeft(), (*column)[0]->geometry().bottomRight()}) QCOMPARE(at(p), QColor(Qt::black));
    }
};

GUI_TEST(TestDesktop)
#include "test_desktop.moc"
