// The help viewer: the manual found and read (or refused, and why, on standard error too), rendered
// with its sections, its contents tree, and where it opens (as pictures).
#include <QtTest>
#include <QtWidgets>
#include <filesystem>
#include <fstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "help/helpdoc.h"
#include "help/helpwindow.h"
#include "help/oneviewer.h"
#include "picture.h"
#include "table.h"
namespace fs = std::filesystem;

class TestHelpViewer : public QObject {
    Q_OBJECT
private slots:
    void loadManual_data() {
        // "kind folder": text, dir, pipe or big as CALC1.hlp there; the viewer runs from bin/
        columns<QStringList>({"put"});
        columns({"expected"}); // the manual's text, or a part of the message
        const QString cwd = "text work", data = "text bin/data", share = "text share/tallyroll";
        add("current dir first", {QStringList{cwd, data, share}, "# work"});
        add("the program's data/ next", {QStringList{data, share}, "# bin/data"});
        add("then the installed data", {QStringList{share}, "# share"});
        add("a folder is no manual", {QStringList{"dir work", data}, "# bin/data"});
        add("a pipe is not waited on", {QStringList{"pipe work"}, "share/tallyroll/CALC1.hlp"});
        add("oversized", {QStringList{"big work"}, "larger than 64 KiB"});
    }
    void loadManual() {
        const QStringList put = fetch<QStringList>("put");
        const QString expected = fetch("expected");
        const QTemporaryDir root;
        const fs::path base = root.path().toStdString();
        fs::create_directories(base / "work"); // the current directory
        for (const QString& p : put) {
            const QString kind = p.section(' ', 0, 0), where = p.section(' ', 1);
            const fs::path file = base / where.toStdString() / "CALC1.hlp";
            fs::create_directories(file.parent_path());
            if (kind == "dir")
                fs::create_directory(file);
            else if (kind == "pipe")
                QCOMPARE(mkfifo(file.c_str(), 0600), 0);
            else
                std::ofstream(file) << (kind == "big" ? std::string(tally::kLargestManual + 1, '#')
                                                      : "# " + where.toStdString());
        }
        const tally::Result<tally::ManualText> manual = tally::loadManual("CALC1.hlp", base / "work", base / "bin");
        const QString shown = manual ? manual->markdown : QString::fromStdString(manual.reason());
        QCOMPARE(manual.ok(), expected.startsWith("# "));
        QVERIFY2(shown.contains(expected), qPrintable(shown));
    }
    // A socket left by a viewer that died is taken over: the next viewer shows, and one started after it asks it to
    // come forward and shows nothing.
    void oneViewer() {
        const QTemporaryDir dir;
        const QString address = dir.filePath("help");
        sockaddr_un at{AF_UNIX, {}}; // bound, never listened on, closed: the file stays
        qstrncpy(at.sun_path, address.toLocal8Bit().constData(), sizeof at.sun_path);
        const int s = socket(AF_UNIX, SOCK_STREAM, 0);
        QCOMPARE(bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
        close(s);
        tally::OneViewer open(address);
        QSignalSpy raise(&open, &tally::OneViewer::raiseRequested);
        QCOMPARE(open.claim(), true);
        QCOMPARE(tally::OneViewer(address).claim(), false);
        QVERIFY(raise.wait(5000));
    }
    // A manual that cannot be shown is told on standard error as well, for a start from a terminal.
    void errorOutput() {
        QProcess viewer;
        QString told;
        connect(&viewer, &QProcess::readyReadStandardError, [&] { told += viewer.readAllStandardError(); });
        viewer.start(TALLYROLL_HELP_PROGRAM, {"missing.hlp"});
        QTRY_VERIFY_WITH_TIMEOUT(told.contains("\n  "), 20000); // the places looked in follow, on a busy machine too
        viewer.kill();                                          // the message box waits for the user
        viewer.waitForFinished();
        QCOMPARE(told.split('\n').filter("tallyroll-help"),
                 QStringList{"tallyroll-help: The file \"missing.hlp\" was not found."});
    }
    // The shipped manual: its title a heading, no Markdown mark left in the text (tables, bold, headings).
    void manualRenders() {
        QFile file(TALLYROLL_MANUAL);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTextDocument doc;
        tally::renderManual(doc, QString::fromUtf8(file.readAll()));
        QCOMPARE(tally::manualHeadings(doc).value(0).text, "Calculator Help");
        static const QRegularExpression marks(R"(^#{1,6}\s+\S|^\||\|---|\*\*)");
        for (const QString& line : doc.toPlainText().split('\n'))
            QVERIFY2(!marks.match(line.trimmed()).hasMatch(), qPrintable(line));
    }
    // A manual from the current folder is outside text: what would hold the viewer for long shows as plain text and
    // says why, HTML stays text, and pictures come only from the manual's folder, within a size.
    void manualShownSafely_data() {
        columns({"markdown", "shown"}); // shown: the text's start, or a picture's size
        const QString table = "|a|\n|-|\n" + QString("|x|\n").repeated(1000);
        add("a table of 1,000 rows", {table, "This manual is shown as plain text: a paragraph or table in it runs to"});
        add("a line of 2,000 characters", {QString(2000, 'x'), "This manual is shown as plain text: a line in it"});
        add("HTML", {"<b>x</b>", "<b>x</b>"});
        add("a picture in its folder", {"![p](pic.png)", "16x16"});
        add("a picture outside it", {"![p](../pic.png)", "none"});
        add("a device through a link", {"![p](zero.png)", "none"});
        add("too many pixels", {"![p](huge.png)", "none"});
    }
    void manualShownSafely() {
        const QString markdown = fetch("markdown");
        const QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkdir("manual"));
        const QString folder = root.filePath("manual");
        QImage(16, 16, QImage::Format_RGB32).save(folder + "/pic.png");
        QImage(16, 16, QImage::Format_RGB32).save(root.filePath("pic.png"));
        QImage(4100, 4100, QImage::Format_Mono).save(folder + "/huge.png");
        QVERIFY(QFile::link("/dev/zero", folder + "/zero.png"));
        tally::ManualDocument doc(folder);
        tally::renderManual(doc, markdown);
        const QImage picture =
            doc.resource(QTextDocument::ImageResource, QUrl(markdown.section('(', 1).chopped(1))).value<QImage>();
        const QString size = picture.isNull() ? "none" : QString("%1x%2").arg(picture.width()).arg(picture.height());
        QCOMPARE(markdown.startsWith("![") ? size : doc.toPlainText().left(fetch("shown").size()), fetch("shown"));
    }
    // The contents nest each heading under the nearest higher one before it; the manual opens at its
    // start, and a heading picked in the contents comes to the top of the view.
    void contents() {
        const QString text = QString("Text.\n\n").repeated(60);
        tally::HelpWindow window("# A\n\n" + text + "## B\n\n### C\n\n" + text + "## D\n\n" + text + "# E\n\n" + text);
        window.resize(360, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        COMPARE_PICTURE(window.grab().toImage(), "help-start");
        auto* tree = window.findChild<QTreeWidget*>("contents");
        tree->setCurrentItem(tree->findItems("D", Qt::MatchRecursive).value(0));
        COMPARE_PICTURE(window.grab().toImage(), "help-heading");
    }
};

QTEST_MAIN(TestHelpViewer)
#include "test_helpviewer.moc"
