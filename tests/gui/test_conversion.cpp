// Unit conversion on the real window: a category's factor table in the list view, picking a row,
// converting the entry, and the factor files and entries that must be refused.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <memory>

#include "fixture.h"

namespace {

// The combo box as the user works it: the item becomes current and is activated.
void choose(Calculator& w, const QString& category) {
    const int index = w.conversion->findText(category);
    QVERIFY(index >= 0);
    w.conversion->setCurrentIndex(index);
    emit w.conversion->activated(index);
}

void clickRow(Calculator& w, int row) {
    QTreeWidgetItem* item = w.ListView1->topLevelItem(row);
    QVERIFY(item);
    w.ListView1->scrollToItem(item);
    QTest::mouseClick(w.ListView1->viewport(), Qt::LeftButton, {}, w.ListView1->visualItemRect(item).center());
}

QList<QStringList> shownRows(const Calculator& w) {
    QList<QStringList> rows;
    for (int i = 0; i < w.ListView1->topLevelItemCount(); ++i) {
        QStringList row;
        for (int c = 0; c < 4; ++c) row << w.ListView1->topLevelItem(i)->text(c);
        rows << row;
    }
    return rows;
}

// Factor files put into a fresh current folder win over the shipped ones.
struct Folder {
    QTemporaryDir dir;
    QString home = QDir::currentPath();
    explicit Folder(const QMap<QString, QByteArray>& files) {
        for (auto it = files.begin(); it != files.end(); ++it) {
            QFile f(dir.filePath(it.key()));
            if (it.value() == "<folder>") QDir(dir.path()).mkdir(it.key());
            else if (f.open(QIODevice::WriteOnly)) f.write(it.value());
        }
        QDir::setCurrent(dir.path());
    }
    ~Folder() { QDir::setCurrent(home); }
};

// Three records, one with bare fields and a quoted comma, and an empty line after the last.
const QByteArray kThree = "\"Ells\",\"1.143\",\"Metres\",\"ell > m\"\r\n"
                          "Rods, 5.0292,\"Metres, surveyed\",\"rd > m > survey\"\r\n"
                          "\"Spans\",\"0.2286\",\"Metres\",\"span to m\"\r\n\r\n";
const QList<QStringList> kThreeRows = {{"Ells", "1.143", "Metres", "ell > m"},
                                       {"Rods", "5.0292", "Metres, surveyed", "rd > m > survey"},
                                       {"Spans", "0.2286", "Metres", "span to m"}};

} // namespace

class TestConversion : public QObject {
    Q_OBJECT

private slots:
    void pickAndConvert_data();
    void pickAndConvert();
    void secondClick_data();
    void secondClick();
    void dismissList_data();
    void dismissList();
    void refused_data();
    void refused();
    void emptyList();
    void messageGivesFocusBack_data();
    void messageGivesFocusBack();
};

void TestConversion::pickAndConvert_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("result"); // of 2 converted
    QTest::addColumn<QString>("label");
    QTest::newRow("one >") << 0 << "2.286" << " m";
    QTest::newRow("two >") << 1 << "10.0584" << " m > survey";
}

void TestConversion::pickAndConvert() {
    QFETCH(int, row);
    QFETCH(QString, result);
    QFETCH(QString, label);
    // The keys pass Area and Concentration on the way to Length.
    Folder folder({{"area.txt", kThree}, {"concentration.txt", kThree}, {"length.txt", kThree}});
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    QVERIFY(!w.ListView1->isVisible());
    w.conversion->setFocus();
    for (int i = 0; i < 3; ++i) QTest::keyClick(w.conversion, Qt::Key_Down);
    QCOMPARE(w.conversion->currentText(), QString("Length"));
    QVERIFY(w.ListView1->isVisible());
    QVERIFY(w.ListView1->hasFocus());
    const QTreeWidgetItem* header = w.ListView1->headerItem();
    QCOMPARE((QStringList{header->text(0), header->text(1), header->text(2), header->text(3)}),
             (QStringList{"From", "Conversion", "To", "x"}));
    QCOMPARE(shownRows(w), kThreeRows); // every record, in file order
    QCOMPARE(rig->sounds.played, QStringList()); // only a pick plays a sound

    clickRow(w, row);
    QCOMPARE(w.convert->text(), kThreeRows[row][3]);
    QVERIFY(!w.ListView1->isVisible());
    QVERIFY(w.convert->hasFocus());
    QCOMPARE(rig->sounds.played, QStringList{"\\calc1"});

    QTest::keyClicks(w.Text2, "2");
    QTest::mouseClick(w.convert, Qt::LeftButton);
    QCOMPARE(w.Text2->text(), result);
    QCOMPARE(w.Label6->text(), label);
    QVERIFY(w.Text2->hasFocus());
    QCOMPARE(rig->state.nextline, 1); // a conversion writes no tape line
    QCOMPARE(rig->messages, QStringList());
}

void TestConversion::secondClick_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("emptiesLabel");
    QTest::newRow("digit 7") << "Command1_7" << true;
    QTest::newRow("Clear Entries") << "clearit" << true;
    QTest::newRow("K") << "konst" << false;
}

// A second click on convert does not convert the result again until a key empties Label6.
void TestConversion::secondClick() {
    QFETCH(QString, button);
    QFETCH(bool, emptiesLabel);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    choose(w, "Length");
    clickRow(w, 0); // the shipped in > cm
    w.Text2->setText("12.5");
    QTest::mouseClick(w.convert, Qt::LeftButton);
    QCOMPARE(w.Text2->text(), QString("31.75"));
    QTest::mouseClick(w.convert, Qt::LeftButton);
    QCOMPARE(w.Text2->text(), QString("31.75"));

    auto* pressed = w.findChild<QPushButton*>(button);
    QVERIFY(pressed);
    QTest::mouseClick(pressed, Qt::LeftButton);
    QCOMPARE(w.Label6->text().isEmpty(), emptiesLabel);
    w.Text2->setText("2");
    QTest::mouseClick(w.convert, Qt::LeftButton);
    QCOMPARE(w.Text2->text(), QString(emptiesLabel ? "5.08" : "2"));
    QCOMPARE(w.Label6->text(), QString(" cm"));
}

void TestConversion::dismissList_data() {
    QTest::addColumn<bool>("escape"); // else "None" is chosen in the combo box
    QTest::newRow("None") << false;
    QTest::newRow("Esc in the list") << true;
}

// Leaving the list without a pick shows "None" but keeps the factor picked before.
void TestConversion::dismissList() {
    QFETCH(bool, escape);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    fillTape(rig->state, 4);
    choose(w, "Length");
    clickRow(w, 1); // cm > in
    choose(w, "Length");
    w.viewmode = 2;
    if (escape) {
        QVERIFY(w.ListView1->hasFocus());
        QTest::keyClick(w.ListView1, Qt::Key_Escape);
        QVERIFY(w.convert->hasFocus());
    } else {
        choose(w, "None");
        QCOMPARE(w.viewmode, 0); // the tape was redrawn
        QCOMPARE(lineOnRow(w, 0), 4);
    }
    QVERIFY(!w.ListView1->isVisible());
    QCOMPARE(w.convert->text(), QString("None"));
    QCOMPARE(w.conversion->currentText(), QString("None"));
    w.Text2->setText("10");
    QTest::mouseClick(w.convert, Qt::LeftButton);
    QCOMPARE(w.Text2->text(), QString("3.93700787401575"));
    QCOMPARE(w.Label6->text(), QString("None"));
}

void TestConversion::refused_data() {
    QTest::addColumn<QByteArray>("file"); // length.txt in the current folder; null: the shipped one
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("area"); // null: convert is clicked; else Area is chosen with this area.txt
    QTest::addColumn<int>("messages");
    const QByteArray badFactor = "\"Ells\",\"x1.1\",\"Metres\",\"ell > m\"\r\n";
    QTest::newRow("entry not a number") << QByteArray() << "12abc" << QString() << 1;
    QTest::newRow("entry too large") << QByteArray() << "1e999" << QString() << 1;
    QTest::newRow("empty box: nothing, silently") << QByteArray() << "" << QString() << 0;
    QTest::newRow("factor not a number") << badFactor << "5" << QString() << 1;
    QTest::newRow("factor file missing") << QByteArray() << "7" << "" << 1;
    // Root reads any file whatever its mode, so a folder of that name stands for an unreadable file.
    QTest::newRow("factor file unreadable") << QByteArray() << "7" << "<folder>" << 1;
}

// A refused conversion or factor file is told and changes nothing: entry, caption, factor, Label6.
void TestConversion::refused() {
    QFETCH(QByteArray, file);
    QFETCH(QString, entry);
    QFETCH(QString, area);
    QFETCH(int, messages);
    std::unique_ptr<Folder> folder;
    if (!file.isNull()) folder = std::make_unique<Folder>(QMap<QString, QByteArray>{{"length.txt", file}});
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    choose(w, "Length");
    clickRow(w, 0);
    const QString caption = w.convert->text();
    const auto factor = w.convfactor;
    w.Text2->setText(entry);
    if (area.isNull()) {
        QTest::mouseClick(w.convert, Qt::LeftButton);
    } else {
        choose(w, "Length"); // the Length list is up when Area fails
        // The shipped tables lie beside the program, not beside the test, so an empty current
        // folder leaves nothing to find.
        QMap<QString, QByteArray> files;
        if (!area.isEmpty()) files["area.txt"] = area.toLatin1();
        folder = std::make_unique<Folder>(files);
        choose(w, "Area");
        QVERIFY2(rig->messages.value(0).contains("area.txt"), qPrintable(rig->messages.value(0)));
    }
    QCOMPARE(rig->messages.size(), messages);
    QVERIFY(!w.ListView1->isVisible());
    QCOMPARE(w.Text2->text(), entry);
    QCOMPARE(w.Label6->text(), QString());
    QCOMPARE(w.convert->text(), caption);
    QCOMPARE(w.convfactor, factor);
    // The label stayed empty, so a corrected entry converts at once.
    w.Text2->setText("1");
    QTest::mouseClick(w.convert, Qt::LeftButton);
    if (file.isNull()) QCOMPARE(w.Text2->text(), QString("2.54"));
}

void TestConversion::emptyList() {
    Folder folder({{"area.txt", QByteArray("\r\n")}});
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    choose(w, "Area");
    QVERIFY(w.ListView1->isVisible());
    QCOMPARE(w.ListView1->topLevelItemCount(), 0);
    QTest::mouseClick(w.ListView1->viewport(), Qt::LeftButton, {}, w.ListView1->viewport()->rect().center());
    w.ListView1_Click(); // as if a click had come through with no row under it
    QTest::keyClick(w.ListView1, Qt::Key_Return);
    QVERIFY(w.ListView1->isVisible());
    QCOMPARE(w.convert->text(), QString("None"));
    QCOMPARE(w.convfactor, std::nullopt);
    QCOMPARE(rig->sounds.played, QStringList());
    QCOMPARE(rig->messages, QStringList());
}

void TestConversion::messageGivesFocusBack_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("category");
    QTest::newRow("entry not a number") << "abc" << QString();
    QTest::newRow("factor file missing") << "5" << "Area";
}

// The rig replaces the message seam; this test is about the real one, so it uses a bare window
// and answers the real message box.
void TestConversion::messageGivesFocusBack() {
    QFETCH(QString, entry);
    QFETCH(QString, category);
    tally::State state;
    RecordingPlayer sounds;
    Calculator w(state, sounds);
    w.endProgram = [] {};
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QStringList shown;
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown << box->text();
            box->accept();
        }
    });
    answer.start(10);
    std::unique_ptr<Folder> folder;
    w.Text2->setText(entry);
    if (category.isEmpty()) {
        w.convert->setFocus();
        QTest::mouseClick(w.convert, Qt::LeftButton);
    } else {
        folder = std::make_unique<Folder>(QMap<QString, QByteArray>{});
        w.conversion->setFocus();
        choose(w, category);
    }
    QCOMPARE(shown.size(), 1);
    // Without a window manager the offscreen window is not made active again after the box, so
    // look at the widget that takes the keys when it is.
    QCOMPARE(w.focusWidget(), w.Text2);
}

QTEST_MAIN(TestConversion)
#include "test_conversion.moc"
