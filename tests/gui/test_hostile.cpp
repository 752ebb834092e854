// Hostile input through the real window: texts typed, pasted and set into the entry box and the
// row editor, a memory filled past its end, tape files and factor files of garbage. Nothing may
// crash, the tape never passes line 1000, the memory never passes 1000 values, and every refusal
// is told to the user.
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <memory>

#include "files/tapefile.h"
#include "fixture.h"
#include <sys/stat.h>

namespace {

const QString kHuge = QString(100000, '7');

// Puts `text` into `box` the way `how` says: "typed" key by key, "pasted" through the clipboard
// with Ctrl+V, "set" straight into the box (the letter e never gets in by typing).
void enter(QLineEdit* box, const QString& how, const QString& text) {
    if (how == "typed") {
        // Keys that are not printable ASCII come as what a keyboard layout would send: their text.
        for (QChar c : text) {
            if (c.unicode() > 32 && c.unicode() < 127) QTest::keyClick(box, char(c.unicode()));
            else QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    } else if (how == "pasted") {
        QGuiApplication::clipboard()->setText(text);
        // Ctrl+V as the keyboard sends it, with the control character SYN as its text.
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_V, QString(QChar(0x16)), Qt::ControlModifier);
    } else {
        box->setText(text);
    }
}

// What must hold whatever was thrown at the window.
void checkLimits(const CalcRig& rig) {
    QVERIFY(rig.state.nextline >= 1 && rig.state.nextline <= tally::kTapeLines + 1);
    QVERIFY(rig.state.memcount >= 0 && rig.state.memcount <= tally::kMemorySlots);
    for (int i = std::max(rig.state.nextline, 1); i <= tally::kTapeLines; ++i)
        QVERIFY2(rig.state.entries[i].empty() && rig.state.subtotals[i].empty(), qPrintable(QString("line %1").arg(i)));
}

// Hostile file contents by name, shared by the tape-file and factor-file tests.
QByteArray hostileBytes(const QString& kind) {
    if (kind == "binary") {
        QByteArray bytes;
        for (int i = 0; i < 256; ++i) bytes += char(i);
        return bytes;
    }
    if (kind == "commas") return QByteArray(tally::kLargestTapeFile + 1, ',');
    QByteArray bytes; // "lines n": n good records, line i holding the entry i
    for (int i = 1; kind.startsWith("lines ") && i <= kind.mid(6).toInt(); ++i)
        bytes += "\"" + QByteArray::number(i) + (i == 1 ? "  " : " +") + "\",\"" + QByteArray::number(i * (i + 1) / 2) + "\"\r\n";
    if (!bytes.isEmpty()) return bytes;
    return kind.toUtf8();
}

// A file of `kind` at `path`: a named pipe, a folder, a device that is there already, or bytes.
bool hostileFile(const QString& path, const QString& kind) {
    if (kind == "pipe") return mkfifo(qPrintable(path), 0600) == 0;
    if (kind == "folder") return QDir().mkdir(path);
    QFile file(path);
    return kind.startsWith('/') || (file.open(QIODevice::WriteOnly) && file.write(hostileBytes(kind)) >= 0);
}

} // namespace

class TestHostile : public QObject {
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void memoryFull();
    void tapeFiles_data();
    void tapeFiles();
    void factorFiles_data();
    void factorFiles();
};

void TestHostile::texts_data() {
    QTest::addColumn<bool>("editor"); // into the row editor on line 3 of 1+2+3+4+, else the entry box
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("entry"); // the line's entry after + or Enter; empty when no line was written
    QTest::addColumn<QString>("subtotal");
    // A box keeps what its length limit lets in (HUGE below): Qt's 32767 characters.
    QTest::newRow("100k digits pasted") << false << "pasted" << kHuge << "HUGE  " << "";
    QTest::newRow("1e309 set") << false << "set" << "1e309" << "1e309  " << "";
    QTest::newRow("lone minus typed") << false << "typed" << "-" << "" << "";
    QTest::newRow("double minus set") << false << "set" << "--" << "0  " << "0";
    QTest::newRow("lone point typed") << false << "typed" << "." << "0  " << "0";
    QTest::newRow("1e set") << false << "set" << "1e" << "1  " << "1";
    QTest::newRow("control characters typed") << false << "typed" << QString("\x01\x02" "3\x7f") << "3  " << "3";
    QTest::newRow("non-ASCII typed") << false << "typed" << QString::fromUtf8("é５٣5€") << "5  " << "5";
    QTest::newRow("non-ASCII pasted is refused") << false << "pasted" << QString::fromUtf8("５٣€") << "" << "";
    QTest::newRow("editor: 100k digits pasted") << true << "pasted" << kHuge << "HUGE +" << "";
    QTest::newRow("editor: 1e309 set") << true << "set" << "1e309" << "1e309 +" << "";
    QTest::newRow("editor: control characters typed") << true << "typed" << QString("\x01" "7\x7f") << "7 +" << "10";
    QTest::newRow("editor: non-ASCII typed") << true << "typed" << QString::fromUtf8("é٣8") << "8 +" << "11";
    QTest::newRow("editor: non-ASCII pasted is refused") << true << "pasted" << QString::fromUtf8("٣€") << " +" << "3";
}

void TestHostile::texts() {
    QFETCH(bool, editor);
    QFETCH(QString, how);
    QFETCH(QString, text);
    QFETCH(QString, entry);
    QFETCH(QString, subtotal);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    QLineEdit* box = w.Text2;
    if (editor) {
        QTest::keyClicks(w.Text2, "1+2+3+4+");
        QTest::mouseClick(w.Label11[1], Qt::LeftButton); // row 1 shows line 3
        box = w.Text3;
    }
    const int line = editor ? 3 : 1;
    const int next = editor ? 5 : entry.isEmpty() ? 1 : 2;
    entry.replace("HUGE", kHuge.left(box->maxLength()));
    box->clear();
    enter(box, how, text);
    QTest::keyClick(box, editor ? Qt::Key_Plus : Qt::Key_Return);
    checkLimits(*rig);
    QCOMPARE(QString::fromStdString(rig->state.entries[line]), entry);
    QCOMPARE(QString::fromStdString(rig->state.subtotals[line]), subtotal);
    QCOMPARE(rig->state.nextline, next);
    w.Text2->clear();
    QTest::keyClicks(w.Text2, "2+"); // the window keeps working after it
    QCOMPARE(rig->state.nextline, next + 1);
    QCOMPARE(rig->outside.messages, QStringList());
}

// The 1000th value still fits; the store button and the s key past it are refused and told.
void TestHostile::memoryFull() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    rig->state.memcount = tally::kMemorySlots - 1;
    QTest::keyClicks(w.Text2, "5+");
    QTest::mouseClick(w.store, Qt::LeftButton);
    QCOMPARE(rig->outside.messages, QStringList());
    QTest::mouseClick(w.store, Qt::LeftButton);
    QTest::keyClicks(w.Text2, "s");
    QCOMPARE(rig->outside.messages.size(), 2);
    QCOMPARE(rig->state.memcount, tally::kMemorySlots);
    QCOMPARE(w.List1->count(), tally::kMemorySlots);
    checkLimits(*rig);
}

void TestHostile::tapeFiles_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("lines"); // lines loaded; -1 when the file is refused
    // Two records of two fields, split at the line ends and the comma among the bytes. How quotes
    // and line ends split fields is the record reader's own test.
    QTest::newRow("binary bytes 0..255") << "binary" << 2;
    QTest::newRow("commas, one byte over the limit") << "commas" << -1;
    // Not files at all: refused before a byte is read, so a pipe never blocks and /dev/zero never fills memory.
    QTest::newRow("named pipe") << "pipe" << -1;
    QTest::newRow("/dev/zero") << "/dev/zero" << -1;
    QTest::newRow("folder") << "folder" << -1;
    QTest::newRow("1000 records") << "lines 1000" << 1000;
}

void TestHostile::tapeFiles() {
    QFETCH(QString, kind);
    QFETCH(int, lines);
    QTemporaryDir dir;
    const QString path = kind.startsWith('/') ? kind : dir.filePath("hostile.cal");
    QVERIFY(hostileFile(path, kind));
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    rig->outside.fileAnswers << path;
    QTest::keyClicks(w.Text2, "7+8+9+");

    w.mnuOpen_Click();
    checkLimits(*rig);
    QCOMPARE(rig->outside.messages.size(), lines < 0 ? 1 : 0);
    QCOMPARE(rig->state.nextline, lines < 0 ? 4 : lines + 1); // a refused file leaves the tape alone
    if (lines < 0) QCOMPARE(rig->state.subtotals[3], std::string("24"));
    if (lines < tally::kTapeLines) return;
    // A full tape from a file: every way to add a line is refused and told.
    QTest::keyClicks(w.Text2, "5+");
    QTest::mouseClick(w.Command1[12], Qt::LeftButton);
    QTest::keyClick(w.Text2, Qt::Key_Return);
    QCOMPARE(rig->outside.messages.size(), 3);
    QCOMPARE(w.Text2->text(), QString("5")); // the entry is kept, not lost
    QCOMPARE(rig->state.entries[1000], std::string("1000 +"));
    checkLimits(*rig);
}

void TestHostile::factorFiles_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("binary bytes 0..255") << "binary";
    QTest::newRow("over the limit is refused") << "commas";
    QTest::newRow("named pipe is refused") << "pipe";
    QTest::newRow("overflowing factor") << "\"a\",\"1e308\",\"b\",\"a > b\"\r\n";
    QTest::newRow("empty file") << "";
}

void TestHostile::factorFiles() {
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QVERIFY(hostileFile(dir.filePath("length.txt"), kind));
    QVERIFY(hostileFile(dir.filePath("area.txt"), "\"a\",\"2\",\"b\",\"a > b\"\r\n"));
    const QString home = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    auto rig = std::make_unique<CalcRig>();
    const bool ready = rig->ready;
    Calculator& w = rig->window;

    for (int category : {1, 3}) { // a good table for Area, then the hostile one for Length
        w.conversion->setCurrentIndex(category);
        emit w.conversion->activated(category);
    }
    const int rows = w.ListView1->topLevelItemCount();
    const qsizetype refused = rig->outside.messages.size();
    QVERIFY(rows <= 1000);
    QCOMPARE(refused, kind == "commas" || kind == "pipe" ? 1 : 0);
    QCOMPARE(w.ListView1->isVisible(), !refused); // a refused table leaves no other table's rows on show
    if (rows > 0 && !refused) {
        const QRect first = w.ListView1->visualItemRect(w.ListView1->topLevelItem(0));
        QTest::mouseClick(w.ListView1->viewport(), Qt::LeftButton, {}, first.center());
    }
    w.Text2->setText("2");
    QTest::mouseClick(w.convert, Qt::LeftButton);
    const bool converted = !w.Label6->text().isEmpty();
    w.Text2->setText("3"); // a converted 0 would lock the keypad
    QTest::keyClick(w.Text2, Qt::Key_Return);
    QVERIFY(QDir::setCurrent(home));

    QVERIFY(ready);
    checkLimits(*rig);
    // The entry was either converted or the user was told why not; a line was written either way.
    QVERIFY2(converted != (rig->outside.messages.size() == refused + 1), qPrintable(rig->outside.messages.join('|')));
    QCOMPARE(rig->state.nextline, 2);
}

GUI_TEST(TestHostile)
#include "test_hostile.moc"
