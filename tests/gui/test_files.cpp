// Saving and loading ".cal" tape files through the File menu of the real window: the dialog seam,
// the bytes written, the tape and scroll bar after a load, and what a refused load or failed save
// tells the user and leaves alone. The file format itself is tested in test_tapefile.
#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

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

QStringList filesIn(const QTemporaryDir& dir) { return QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden); }

// `count` records as fillTape() leaves the tape.
QByteArray records(int count) {
    QByteArray out;
    for (int i = 1; i <= count; ++i)
        out += "\"" + QByteArray::number(i) + (i == 1 ? "  " : " +") + "\",\"" + QByteArray::number(i * (i + 1) / 2) + "\"\r\n";
    return out;
}

// The file dialog answers `path`; like a real dialog it takes the focus away from the entry box.
void answer(CalcRig& rig, const QString& path, bool* forSaving = nullptr) {
    rig.outside.fileQuestions.clear();
    if (!path.isEmpty()) rig.outside.fileAnswers << path;
    if (forSaving) *forSaving = false;
}

// Everything a refused load must leave as it was: tape, scroll bar, view and the rows shown.
QStringList snapshot(const CalcRig& rig) {
    const Calculator& w = rig.window;
    QStringList s{QString::number(rig.state.nextline), QString::number(w.VScroll1->maximum()),
                  QString::number(w.VScroll1->value())};
    for (int r = 0; r < 9; ++r) s << rowText(w, r);
    for (int i = 1; i <= 12; ++i) s << QString::fromStdString(rig.state.entries[i] + '|' + rig.state.subtotals[i]);
    return s;
}

// A 10-line tape shown as the keypad leaves it, to load over.
void tenLines(CalcRig& rig) {
    for (int i = 1; i <= 10; ++i) QTest::keyClicks(rig.window.Text2, QString::number(i * 100) + '-');
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
    void refusedLoad_data();
    void refusedLoad();
    void failedSave_data();
    void failedSave();

private:
    QTemporaryDir dir;
};

void TestFiles::save_data() {
    QTest::addColumn<QString>("typed"); // into the entry box; '=' is Enter
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("keyed tape") << "5=3*2-.5/"
                                << QByteArray("\"5  \",\"5\"\r\n\"3 x\",\"15\"\r\n\"2 -\",\"13\"\r\n\"0.5 /\",\"26\"\r\n");
    QTest::newRow("empty tape over a file") << "" << QByteArray("");
}

void TestFiles::save() {
    QFETCH(QString, typed);
    QFETCH(QByteArray, bytes);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    for (QChar c : typed)
        c == '=' ? QTest::keyClick(rig->window.Text2, Qt::Key_Return) : QTest::keyClick(rig->window.Text2, c.toLatin1());
    const QString path = dir.filePath(QTest::currentDataTag() + QString(".cal"));
    QVERIFY(writeFile(path, records(40))); // a longer file is replaced, not overwritten in part
    bool askedForSaving = false;
    answer(*rig, path, &askedForSaving);
    rig->window.mnuSaveAs->trigger();
    QVERIFY(rig->outside.fileQuestions == QList<Outside::FileKind>{Outside::FileKind::SaveTape});
    QCOMPARE(readAll(path), bytes);
    QCOMPARE(rig->outside.messages, QStringList());
    QVERIFY(rig->window.Text2->hasFocus());
}

void TestFiles::load_data() {
    QTest::addColumn<int>("lines");
    QTest::newRow("3 lines over 10") << 3;
    QTest::newRow("1000 lines") << 1000;
    QTest::newRow("empty file") << 0;
}

void TestFiles::load() {
    QFETCH(int, lines);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    tenLines(*rig);
    const QString path = dir.filePath("load.cal");
    QVERIFY(writeFile(path, records(lines)));
    bool askedForSaving = true;
    answer(*rig, path, &askedForSaving);
    w.mnuOpen->trigger();
    QVERIFY(rig->outside.fileQuestions == QList<Outside::FileKind>{Outside::FileKind::OpenTape});
    QCOMPARE(rig->outside.messages, QStringList());

    tally::State expected;
    fillTape(expected, lines);
    QCOMPARE(rig->state.nextline, lines + 1);
    QVERIFY(rig->state.entries == expected.entries); // nothing of the old tape comes back behind it
    QVERIFY(rig->state.subtotals == expected.subtotals);
    QCOMPARE(w.VScroll1->maximum(), std::max(lines, 1)); // an empty tape keeps the bar's minimum 1
    QCOMPARE(w.VScroll1->value(), std::max(lines, 1));
    for (int r = 0; r < 9; ++r) QCOMPARE(lineOnRow(w, r), std::max(lines - r, 0));
    if (lines == 0) QCOMPARE(rowText(w, 0), QString("||"));
    QVERIFY(w.Text2->hasFocus());
}

void TestFiles::refusedLoad_data() {
    QTest::addColumn<QString>("name"); // empty: the dialog is cancelled
    QTest::addColumn<QByteArray>("bytes"); // null: no file is written
    QTest::newRow("1001 records") << "big.cal" << records(1001);
    QTest::newRow("missing file") << "nothing.cal" << QByteArray();
    QTest::newRow("cancelled") << "" << QByteArray();
}

void TestFiles::refusedLoad() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    tenLines(*rig);
    rig->window.VScroll1->setValue(6); // a scrolled view must stay as it is too
    const QString path = name.isEmpty() ? QString() : dir.filePath(name);
    if (!bytes.isNull()) QVERIFY(writeFile(path, bytes));
    const QStringList before = snapshot(*rig), filesBefore = filesIn(dir);
    answer(*rig, path);
    rig->window.mnuOpen_Click();
    QCOMPARE(snapshot(*rig), before);
    QVERIFY(rig->window.Text2->hasFocus());
    if (name.isEmpty()) { // no message, and a cancelled save writes nothing
        rig->window.mnuSaveAs_Click();
        QCOMPARE(filesIn(dir), filesBefore);
        QCOMPARE(rig->outside.messages, QStringList());
        return;
    }
    QCOMPARE(rig->outside.messages.size(), 1);
    QVERIFY2(rig->outside.messages[0].contains("not changed"), qPrintable(rig->outside.messages[0]));
}

void TestFiles::failedSave_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("error"); // the system's reason the user must be told, in the user's language
    // As root every permission check passes, so a read-only folder would not fail. These fail for
    // root too: a parent that is a regular file cannot be opened as a folder, a file-size limit
    // (RLIMIT_FSIZE) stops the write part way after the file was created, and a 64 KiB disk fills.
    QTest::newRow("parent is a file") << "parent" << ENOTDIR;
    QTest::newRow("write fails part way") << "limit" << EFBIG;
    QTest::newRow("full disk") << "full" << ENOSPC;
    // A tape that would not read back the same is not written at all.
    QTest::newRow("a quote in a line") << "quote" << 0;
}

void TestFiles::failedSave() {
    QFETCH(QString, how);
    QFETCH(int, error);
    const QString reason = error ? QString::fromLocal8Bit(strerror(error)) : "Line 7 holds a character";
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    fillTape(rig->state, 1000);
    if (how == "quote") rig->state.entries[7] = "7\" +";
    const QString folder = dir.filePath("disk");
    QVERIFY(QDir(dir.path()).mkpath("disk"));
    if (how == "full") {
        if (geteuid() != 0) QSKIP("needs root to mount a small tmpfs as a full disk");
        QCOMPARE(QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", folder}), 0);
        QVERIFY(writeFile(folder + "/filler", QByteArray(56 * 1024, 'x')));
    }
    auto unmount = qScopeGuard([&] { if (how == "full") QProcess::execute("umount", {folder}); });
    const QByteArray old = records(2);
    const QString kept = folder + "/kept.cal";
    QVERIFY(writeFile(kept, old));
    answer(*rig, how == "parent" ? kept + "/x.cal" : kept);
    const QStringList filesBefore = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);
    rlimit saved{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
    rlimit small = saved;
    small.rlim_cur = 64; // the old file fits; the new one (1000 lines) does not
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QVERIFY(how != "limit" || setrlimit(RLIMIT_FSIZE, &small) == 0);
    rig->window.mnuSaveAs_Click();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    QCOMPARE(readAll(kept), old);
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden), filesBefore); // no half-written or temporary file
    QCOMPARE(rig->outside.messages.size(), 1);
    QVERIFY2(rig->outside.messages[0].contains("could not be saved") && rig->outside.messages[0].contains(reason), qPrintable(rig->outside.messages[0]));
    QVERIFY(rig->window.Text2->hasFocus());
}

GUI_TEST(TestFiles)
#include "test_files.moc"
