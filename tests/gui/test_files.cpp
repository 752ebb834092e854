// Saving and loading ".cal" tape files through the File menu handlers of the real window: the exact
// bytes written, what a load leaves on the tape and the screen, and the files that must be refused.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <csignal>
#include <memory>
#include <tuple>
#include <sys/resource.h>

#include "fixture.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// `count` records as the keypad writes them: line i holds i, line n's subtotal is n(n+1)/2.
QByteArray records(int count, const char* lineEnd = "\r\n") {
    QByteArray out;
    for (int i = 1; i <= count; ++i)
        out += "\"" + QByteArray::number(i) + (i == 1 ? "  " : " +") + "\",\"" + QByteArray::number(i * (i + 1) / 2) +
               "\"" + lineEnd;
    return out;
}

// The file dialog answers `path`; like a real dialog it takes the focus away from the entry box.
void answer(CalcRig& rig, const QString& path, bool* forSaving = nullptr) {
    rig.window.askFileName = [&rig, path, forSaving](bool saving) {
        if (forSaving) *forSaving = saving;
        rig.window.Command1[7]->setFocus();
        return path;
    };
}

// Everything a refused load or save must leave as it was.
struct Snapshot {
    tally::State state;
    int nextline, maximum, value, scrollline, viewmode;
    QStringList rows;
    explicit Snapshot(const CalcRig& rig)
        : state(rig.state), nextline(rig.state.nextline), maximum(rig.window.VScroll1->maximum()),
          value(rig.window.VScroll1->value()), scrollline(rig.window.scrollline), viewmode(rig.window.viewmode) {
        for (int r = 0; r < 9; ++r) rows << rowText(rig.window, r);
    }
    bool operator==(const Snapshot& o) const {
        return state.entries == o.state.entries && state.subtotals == o.state.subtotals &&
               std::tie(nextline, maximum, value, scrollline, viewmode, rows) ==
                   std::tie(o.nextline, o.maximum, o.value, o.scrollline, o.viewmode, o.rows);
    }
};

// A 10-line tape shown as the keypad leaves it, to load over.
void tenLines(CalcRig& rig) {
    fillTape(rig.state, 10);
    for (int i = 1; i <= 10; ++i) rig.state.entries[i] = std::to_string(i * 100) + (i == 1 ? "  " : " -");
    rig.window.skipscroll = 1;
    rig.window.VScroll1->setMaximum(10);
    rig.window.VScroll1->setValue(10);
    rig.window.scrollline = 10;
    rig.window.printout();
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(dir.isValid()); }
    void save_data();
    void save();
    void load_data();
    void load();
    void roundTripOddTexts();
    void refusedLoad_data();
    void refusedLoad();
    void failedSave_data();
    void failedSave();
    void cancel();

private:
    QTemporaryDir dir;
};

void TestFiles::save_data() {
    QTest::addColumn<QString>("typed"); // into the entry box; '=' is Enter
    QTest::addColumn<QByteArray>("before"); // what the file held, if anything
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("keyed tape") << "5=3*2-.5/" << QByteArray()
                                << QByteArray("\"5  \",\"5\"\r\n\"3 x\",\"15\"\r\n\"2 -\",\"13\"\r\n\"0.5 /\",\"26\"\r\n");
    QTest::newRow("empty tape") << "" << QByteArray() << QByteArray("");
    QTest::newRow("replaces a longer file") << "7=" << records(40) << QByteArray("\"7  \",\"7\"\r\n");
    QTest::newRow("empty tape over a file") << "" << records(3) << QByteArray("");
}

void TestFiles::save() {
    QFETCH(QString, typed);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, bytes);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    for (QChar c : typed)
        c == '=' ? QTest::keyClick(rig->window.Text2, Qt::Key_Return) : QTest::keyClick(rig->window.Text2, c.toLatin1());
    const QString path = dir.filePath(QTest::currentDataTag() + QString(".cal"));
    if (!before.isNull()) QVERIFY(writeFile(path, before));
    bool askedForSaving = false;
    answer(*rig, path, &askedForSaving);
    rig->window.mnuSaveAs->trigger();
    QVERIFY(askedForSaving);
    QVERIFY(QFile::exists(path));
    QCOMPARE(readAll(path), bytes);
    QCOMPARE(rig->messages, QStringList());
    QVERIFY(rig->window.Text2->hasFocus());
}

void TestFiles::load_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("lines");
    QTest::newRow("1 line") << records(1) << 1;
    QTest::newRow("3 lines over 10") << records(3) << 3;
    QTest::newRow("9 lines") << records(9) << 9;
    QTest::newRow("12 lines") << records(12) << 12;
    QTest::newRow("1000 lines") << records(1000) << 1000;
    QTest::newRow("empty file") << QByteArray() << 0;
    QTest::newRow("CR only") << records(4, "\r") << 4;
    QTest::newRow("LF only") << records(4, "\n") << 4;
    QTest::newRow("no last line end") << records(2).chopped(2) << 2;
    QTest::newRow("bare fields, blank line after") << QByteArray("1  ,1\r\n  2 +, 3\r\n\r\n") << 2;
}

void TestFiles::load() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, lines);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    tenLines(*rig);
    const QString path = dir.filePath("load.cal");
    QVERIFY(writeFile(path, bytes));
    bool askedForSaving = true;
    answer(*rig, path, &askedForSaving);
    w.mnuOpen->trigger();
    QVERIFY(!askedForSaving);
    QCOMPARE(rig->messages, QStringList());

    QCOMPARE(rig->state.nextline, lines + 1);
    for (int i = 1; i <= lines; ++i) {
        QCOMPARE(rig->state.entries[i], std::to_string(i) + (i == 1 ? "  " : " +"));
        QCOMPARE(rig->state.subtotals[i], std::to_string(i * (i + 1) / 2));
    }
    // Nothing of the old tape may come back behind the loaded one.
    for (int i = lines + 1; i <= 10; ++i) QVERIFY2(rig->state.entries[i].empty() && rig->state.subtotals[i].empty(),
                                                   qPrintable(QString("line %1 kept").arg(i)));

    QCOMPARE(w.VScroll1->maximum(), lines);
    QCOMPARE(w.VScroll1->value(), lines);
    QCOMPARE(w.scrollline, lines);
    QCOMPARE(w.viewmode, 2);
    for (int r = 0; r < 9; ++r) QCOMPARE(lineOnRow(w, r), std::max(lines - r, 0));
    if (lines == 0) QCOMPARE(rowText(w, 0), QString("||"));
    QVERIFY(w.Text2->hasFocus());
}

void TestFiles::roundTripOddTexts() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    // Trailing blanks, failed (empty) subtotals, a comma inside a text and a Latin-1 letter.
    const std::vector<std::pair<std::string, std::string>> odd = {
        {"5  ", "5"}, {"0 /", ""}, {"1.5E+20 x  ", ""}, {"1,234 +", "1,239"}, {"caf\u00e9 +", " "}, {"", "7"}};
    for (std::size_t i = 0; i < odd.size(); ++i) std::tie(rig->state.entries[i + 1], rig->state.subtotals[i + 1]) = odd[i];
    rig->state.nextline = int(odd.size()) + 1;
    const QString first = dir.filePath("first.cal"), second = dir.filePath("second.cal");
    answer(*rig, first);
    rig->window.mnuSaveAs_Click();
    QVERIFY(readAll(first).contains("\"caf\xe9 +\",\" \"\r\n")); // Latin-1 on disk

    fillTape(rig->state, 30);
    rig->window.mnuOpen_Click();
    QCOMPARE(rig->messages, QStringList());
    QCOMPARE(rig->state.nextline, int(odd.size()) + 1);
    for (std::size_t i = 0; i < odd.size(); ++i) {
        QCOMPARE(rig->state.entries[i + 1], odd[i].first);
        QCOMPARE(rig->state.subtotals[i + 1], odd[i].second);
    }
    answer(*rig, second);
    rig->window.mnuSaveAs_Click();
    QCOMPARE(readAll(second), readAll(first));
}

void TestFiles::refusedLoad_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // null: no file is written
    QTest::newRow("1001 records") << "big.cal" << records(1001);
    QTest::newRow("one-field last record") << "short.cal" << QByteArray("\"5  \",\"5\"\r\n\"3 +\"\r\n");
    QTest::newRow("missing file") << "nothing.cal" << QByteArray();
    QTest::newRow("a folder") << "folder.cal" << QByteArray();
}

void TestFiles::refusedLoad() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    tenLines(*rig);
    rig->window.VScroll1->setValue(6); // a scrolled view must stay as it is too
    const QString path = dir.filePath(name);
    if (!bytes.isNull()) QVERIFY(writeFile(path, bytes));
    if (name == "folder.cal") QVERIFY(QDir(dir.path()).mkpath(name));
    const Snapshot before(*rig);
    answer(*rig, path);
    rig->window.mnuOpen_Click();
    QVERIFY(Snapshot(*rig) == before);
    QCOMPARE(rig->messages.size(), 1);
    QVERIFY2(rig->messages[0].contains("not changed"), qPrintable(rig->messages[0]));
    QVERIFY(rig->window.Text2->hasFocus());
}

void TestFiles::failedSave_data() {
    QTest::addColumn<bool>("fileSizeLimit");
    // As root every permission check passes, so a read-only folder would not fail. These two fail
    // for root too: a parent that is a regular file cannot be opened as a folder (ENOTDIR), and a
    // file-size limit (RLIMIT_FSIZE) stops the write part way (EFBIG) after the file was created.
    QTest::newRow("parent is a file") << false;
    QTest::newRow("write fails part way") << true;
}

void TestFiles::failedSave() {
    QFETCH(bool, fileSizeLimit);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    fillTape(rig->state, 200);
    const QByteArray old = records(2);
    QString path = dir.filePath("kept.cal");
    QVERIFY(writeFile(path, old));
    if (!fileSizeLimit) path = dir.filePath("kept.cal/x.cal");
    answer(*rig, path);
    const QStringList filesBefore = QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    if (fileSizeLimit) {
        rlimit saved{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
        rlimit small = saved;
        small.rlim_cur = 64; // the old file fits; the new one (200 lines) does not
        auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        rig->window.mnuSaveAs_Click();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
    } else {
        rig->window.mnuSaveAs_Click();
    }
    QCOMPARE(readAll(dir.filePath("kept.cal")), old);
    // No half-written file or temporary file is left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), filesBefore);
    QCOMPARE(rig->messages.size(), 1);
    QVERIFY2(rig->messages[0].contains("could not be saved"), qPrintable(rig->messages[0]));
    QVERIFY(rig->window.Text2->hasFocus());
    QVERIFY(QFile::remove(dir.filePath("kept.cal")));
}

void TestFiles::cancel() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    tenLines(*rig);
    const Snapshot before(*rig);
    const QStringList filesBefore = QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    answer(*rig, QString());
    rig->window.mnuOpen_Click();
    QVERIFY(rig->window.Text2->hasFocus());
    rig->window.mnuSaveAs_Click();
    QVERIFY(rig->window.Text2->hasFocus());
    QVERIFY(Snapshot(*rig) == before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), filesBefore);
    QCOMPARE(rig->messages, QStringList());
}

QTEST_MAIN(TestFiles)
#include "test_files.moc"
