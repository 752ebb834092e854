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

#include "core/datalookup.h"
#include "help/helpdoc.h"
#include "help/helpwindow.h"

using namespace tally;
namespace fs = std::filesystem;

namespace {

// Directories as the viewer meets them: the current directory, the build tree with the program
// and its data/ folder, and an install prefix with bin/ and share/tallyroll/.
struct Layout {
    QTemporaryDir root;
    fs::path base() const { return fs::path(root.path().toStdString()); }
    fs::path cwd() const { return base() / "work"; }
    fs::path buildExeDir() const { return base() / "build"; }
    fs::path installExeDir() const { return base() / "prefix" / "bin"; }
    fs::path place(const QString& where) const {
        if (where == "cwd") return cwd();
        if (where == "build-data") return buildExeDir() / "data";
        return base() / "prefix" / "share" / "tallyroll";
    }
    Layout() {
        for (const char* where : {"cwd", "build-data", "share"}) fs::create_directories(place(where));
        fs::create_directories(installExeDir());
    }
    void put(const QString& where) const { std::ofstream(place(where) / "CALC1.hlp") << "# Manual\n"; }
};

QString shippedManual() {
    QFile file(TALLYROLL_MANUAL);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestHelpViewer : public QObject {
    Q_OBJECT
private slots:
    void lookupOrder_data();
    void lookupOrder();
    void lookupOfNameWithDirectory();
    void manualRendersWithItsSections();
    void contentsLeadToHeadings();
};

void TestHelpViewer::lookupOrder_data() {
    QTest::addColumn<QStringList>("present"); // where CALC1.hlp exists
    QTest::addColumn<bool>("installed");      // the program runs from prefix/bin, not the build tree
    QTest::addColumn<QString>("expected");    // where it must be found; "" for not found
    QTest::newRow("current dir before build data") << QStringList{"cwd", "build-data"} << false << "cwd";
    QTest::newRow("build data") << QStringList{"build-data"} << false << "build-data";
    QTest::newRow("current dir before installed data") << QStringList{"cwd", "share"} << true << "cwd";
    QTest::newRow("installed data") << QStringList{"share"} << true << "share";
    QTest::newRow("installed data is not the build tree's") << QStringList{"build-data"} << true << "";
    QTest::newRow("nowhere") << QStringList{} << true << "";
}

void TestHelpViewer::lookupOrder() {
    QFETCH(QStringList, present);
    QFETCH(bool, installed);
    QFETCH(QString, expected);
    Layout layout;
    QVERIFY(layout.root.isValid());
    for (const QString& where : present) layout.put(where);
    const fs::path exeDir = installed ? layout.installExeDir() : layout.buildExeDir();
    const DataLookup result = findDataFile("CALC1.hlp", layout.cwd(), exeDir);
    if (!expected.isEmpty()) {
        QCOMPARE(fs::canonical(result.found), fs::canonical(layout.place(expected) / "CALC1.hlp"));
        return;
    }
    // Not found: the message names the file and every place tried, in order.
    QVERIFY(result.found.empty());
    const std::vector<fs::path> tried{layout.cwd() / "CALC1.hlp", exeDir / "data" / "CALC1.hlp",
                                      layout.place("share") / "CALC1.hlp"};
    QCOMPARE(result.tried, tried);
    const QString text = QString::fromStdString(notFoundText("CALC1.hlp", result));
    QVERIFY(text.contains("\"CALC1.hlp\""));
    for (const fs::path& p : tried) QVERIFY2(text.contains(QString::fromStdString(p.string())), qPrintable(text));
}

void TestHelpViewer::lookupOfNameWithDirectory() {
    Layout layout;
    QVERIFY(layout.root.isValid());
    layout.put("build-data");
    // A directory that happens to carry the manual's name is not the manual.
    fs::create_directory(layout.cwd() / "CALC1.hlp");
    DataLookup result = findDataFile("CALC1.hlp", layout.cwd(), layout.buildExeDir());
    QCOMPARE(fs::canonical(result.found), fs::canonical(layout.place("build-data") / "CALC1.hlp"));
    // A name with a directory part is taken as given and never joined to the data directories.
    result = findDataFile("sub/CALC1.hlp", layout.cwd(), layout.buildExeDir());
    QVERIFY(result.found.empty());
    QCOMPARE(result.tried.size(), size_t(1));
}

void TestHelpViewer::manualRendersWithItsSections() {
    const QString markdown = shippedManual();
    QVERIFY2(!markdown.isEmpty(), TALLYROLL_MANUAL);
    QTextDocument doc;
    renderManual(doc, markdown);
    const QList<HelpHeading> headings = manualHeadings(doc);
    QVERIFY(!headings.isEmpty());
    QCOMPARE(headings.first().level, 1);
    QCOMPARE(headings.first().text, QString("Calculator Help"));
    QStringList texts;
    for (const HelpHeading& h : headings) texts << h.text;
    for (const char* h : {"The window", "The tape", "The keypad", "Decimal places", "The scroll bar", "Adding up",
                          "Keys of the entry box", "Correcting a past line", "The memory list", "Unit conversion",
                          "Tape files", "Printing", "Keypad quirks", "Limits", "Help and About"})
        QVERIFY2(texts.contains(h), qPrintable(QString(h) + " missing from " + texts.join(" | ")));
    // Markdown that failed to render leaves its marks in the text: a heading's hashes, a table's
    // rule row or bars, emphasis stars.
    static const QRegularExpression marks(R"(^#{1,6}\s+\S|^\||\|---|\*\*)");
    for (const QString& line : doc.toPlainText().split('\n'))
        QVERIFY2(!marks.match(line.trimmed()).hasMatch(), qPrintable(line));
}

// The contents list the sections under the manual's title; choosing one shows its heading.
void TestHelpViewer::contentsLeadToHeadings() {
    HelpWindow window(shippedManual());
    QCOMPARE(window.windowTitle(), QString("Calculator Help"));
    QCOMPARE(window.browser()->textCursor().position(), 0); // opens at the start of the manual
    QTreeWidget* contents = window.contents();
    QCOMPARE(contents->topLevelItemCount(), 1);
    const auto found = contents->findItems("Limits", Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0]->parent(), contents->topLevelItem(0));
    contents->setCurrentItem(found[0]);
    QCOMPARE(window.browser()->textCursor().block().text(), QString("Limits"));
}

QTEST_MAIN(TestHelpViewer)
#include "test_helpviewer.moc"
