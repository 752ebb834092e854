// The help viewer: where it finds the manual, and that the shipped manual renders as a manual.
// A missing manual makes the viewer print to standard error and show a modal message box; a box
// in another process cannot be closed from here, so the failure path is tested through the lookup
// and its message text rather than by running the program.
#include <QtTest>

#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

#include "help/helpdoc.h"
#include "core/datalookup.h"
#include "help/helpwindow.h"

using namespace tally;
namespace fs = std::filesystem;

class TestHelpViewer : public QObject {
    Q_OBJECT
private slots:
    void lookupOrder_data();
    void lookupOrder();
    void lookupOfNameWithDirectory();
    void missingFileNamesEveryPlace();
    void manualHasItsSections_data();
    void manualHasItsSections();
    void manualRendersCleanly();
    void contentsLeadToHeadings();
    void escapeClosesWindow();
};

namespace {

// A layout of directories as the viewer meets it: the current directory, the build tree with the
// program and its data/ folder, and an install prefix with bin/ and share/tallyroll/.
struct Layout {
    QTemporaryDir root;
    fs::path base() const { return fs::path(root.path().toStdString()); }
    fs::path cwd() const { return base() / "work"; }
    fs::path buildExeDir() const { return base() / "build"; }
    fs::path installExeDir() const { return base() / "prefix" / "bin"; }
    fs::path place(const QString& where) const {
        if (where == "cwd")
            return cwd();
        if (where == "build-data")
            return buildExeDir() / "data";
        return base() / "prefix" / "share" / "tallyroll";
    }
    Layout() {
        for (const fs::path& p : {cwd(), buildExeDir() / "data", installExeDir(),
                                  base() / "prefix" / "share" / "tallyroll"})
            fs::create_directories(p);
    }
    void put(const QString& where, const std::string& name) const {
        std::ofstream(place(where) / name) << "# Manual\n";
    }
};

} // namespace

void TestHelpViewer::lookupOrder_data() {
    QTest::addColumn<QStringList>("present"); // where CALC1.hlp exists
    QTest::addColumn<bool>("installed");      // the program runs from prefix/bin, not the build tree
    QTest::addColumn<QString>("expected");    // where it must be found; "" for not found
    QTest::newRow("current dir before build data")
        << QStringList{"cwd", "build-data"} << false << "cwd";
    QTest::newRow("build data") << QStringList{"build-data"} << false << "build-data";
    QTest::newRow("current dir before installed data")
        << QStringList{"cwd", "share"} << true << "cwd";
    QTest::newRow("installed data") << QStringList{"share"} << true << "share";
    QTest::newRow("installed data is not the build tree's")
        << QStringList{"build-data"} << true << "";
    QTest::newRow("nowhere") << QStringList{} << false << "";
}

void TestHelpViewer::lookupOrder() {
    QFETCH(QStringList, present);
    QFETCH(bool, installed);
    QFETCH(QString, expected);
    Layout layout;
    QVERIFY(layout.root.isValid());
    for (const QString& where : present)
        layout.put(where, "CALC1.hlp");
    const fs::path exeDir = installed ? layout.installExeDir() : layout.buildExeDir();

    const DataLookup result = findDataFile("CALC1.hlp", layout.cwd(), exeDir);
    if (expected.isEmpty()) {
        QVERIFY(result.found.empty());
    } else {
        QCOMPARE(fs::canonical(result.found), fs::canonical(layout.place(expected) / "CALC1.hlp"));
    }
}

void TestHelpViewer::lookupOfNameWithDirectory() {
    Layout layout;
    QVERIFY(layout.root.isValid());
    layout.put("build-data", "CALC1.hlp");
    // A directory that happens to carry the manual's name is not the manual.
    fs::create_directory(layout.cwd() / "CALC1.hlp");
    DataLookup result = findDataFile("CALC1.hlp", layout.cwd(), layout.buildExeDir());
    QCOMPARE(fs::canonical(result.found), fs::canonical(layout.place("build-data") / "CALC1.hlp"));

    // A name with a directory part is taken as given and never joined to the data directories.
    result = findDataFile("../data/CALC1.hlp", layout.buildExeDir() / "data", layout.buildExeDir());
    QCOMPARE(result.tried.size(), size_t(1));
    QCOMPARE(fs::canonical(result.found), fs::canonical(layout.place("build-data") / "CALC1.hlp"));
    result = findDataFile("sub/CALC1.hlp", layout.cwd(), layout.buildExeDir());
    QVERIFY(result.found.empty());
    QCOMPARE(result.tried.size(), size_t(1));
}

void TestHelpViewer::missingFileNamesEveryPlace() {
    Layout layout;
    QVERIFY(layout.root.isValid());
    const DataLookup result = findDataFile("CALC1.hlp", layout.cwd(), layout.installExeDir());
    QVERIFY(result.found.empty());
    QCOMPARE(result.tried.size(), size_t(3));
    QCOMPARE(result.tried[0], layout.cwd() / "CALC1.hlp");
    QCOMPARE(result.tried[1], layout.installExeDir() / "data" / "CALC1.hlp");
    QCOMPARE(result.tried[2], layout.place("share") / "CALC1.hlp");

    const QString text = QString::fromStdString(notFoundText("CALC1.hlp", result));
    QVERIFY(text.contains("\"CALC1.hlp\""));
    for (const fs::path& p : result.tried)
        QVERIFY2(text.contains(QString::fromStdString(p.string())), qPrintable(text));
}

static QString shippedManual() {
    QFile file(QStringLiteral(TALLYROLL_MANUAL));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void TestHelpViewer::manualHasItsSections_data() {
    QTest::addColumn<QString>("heading");
    for (const char* h : {"The window", "The tape", "The keypad", "Decimal places", "The scroll bar",
                          "Adding up", "Keys of the entry box", "Correcting a past line",
                          "The memory list", "Unit conversion", "Tape files", "Printing",
                          "Keypad quirks", "Limits", "Help and About"})
        QTest::newRow(h) << QString::fromLatin1(h);
}

void TestHelpViewer::manualHasItsSections() {
    QFETCH(QString, heading);
    const QString markdown = shippedManual();
    QVERIFY2(!markdown.isEmpty(), TALLYROLL_MANUAL);
    QTextDocument doc;
    renderManual(doc, markdown);
    QStringList texts;
    for (const HelpHeading& h : manualHeadings(doc))
        texts << h.text;
    QVERIFY2(texts.contains(heading), qPrintable(texts.join(" | ")));
}

void TestHelpViewer::manualRendersCleanly() {
    QTextDocument doc;
    renderManual(doc, shippedManual());
    const QList<HelpHeading> headings = manualHeadings(doc);
    QVERIFY(!headings.isEmpty());
    QCOMPARE(headings.first().level, 1);
    QCOMPARE(headings.first().text, QStringLiteral("Calculator Help"));
    // Markdown that failed to render leaves its marks in the text: a heading's hashes, a table's
    // rule row or bars, emphasis stars.
    const QRegularExpression headingMarks(QStringLiteral("^#{1,6}\\s+\\S"));
    const QStringList lines = doc.toPlainText().split('\n');
    for (const QString& line : lines) {
        QVERIFY2(!headingMarks.match(line.trimmed()).hasMatch(), qPrintable(line));
        QVERIFY2(!line.contains("|---"), qPrintable(line));
        QVERIFY2(!line.trimmed().startsWith('|'), qPrintable(line));
        QVERIFY2(!line.contains("**"), qPrintable(line));
    }
}

void TestHelpViewer::contentsLeadToHeadings() {
    HelpWindow window(shippedManual());
    QCOMPARE(window.windowTitle(), QStringLiteral("Calculator Help"));
    QCOMPARE(window.browser()->textCursor().position(), 0); // opens at the start of the manual
    QTreeWidget* contents = window.contents();
    // One top-level entry, the manual's title, with the sections under it.
    QCOMPARE(contents->topLevelItemCount(), 1);
    QTreeWidgetItem* top = contents->topLevelItem(0);
    QVERIFY(top->childCount() >= 10);
    QTreeWidgetItem* windowSection = nullptr;
    for (int i = 0; i < top->childCount(); ++i)
        if (top->child(i)->text(0) == "The window")
            windowSection = top->child(i);
    QVERIFY(windowSection);
    QVERIFY(windowSection->childCount() > 0); // "The tape", "The keypad", ... nest under it

    // Choosing an entry puts the cursor on that heading.
    QTreeWidgetItem* limits = nullptr;
    for (int i = 0; i < top->childCount(); ++i)
        if (top->child(i)->text(0) == "Limits")
            limits = top->child(i);
    QVERIFY(limits);
    contents->setCurrentItem(limits);
    QCOMPARE(window.browser()->textCursor().block().text(), QStringLiteral("Limits"));
}

void TestHelpViewer::escapeClosesWindow() {
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        HelpWindow window(shippedManual());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keySequence(&window, key);
        QVERIFY2(!window.isVisible(), qPrintable(key.toString()));
    }
}

QTEST_MAIN(TestHelpViewer)
#include "test_helpviewer.moc"
