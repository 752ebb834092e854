// What a person sees of the main window at start: the tape's colours in rendered pixels, every
// caption as designed, the hidden controls, the size, and where the window is placed.
#include <QAbstractButton>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <memory>

#include "core/startup.h"
#include "fixture.h"

namespace {

QColor pixelAt(const QImage& image, QPoint p) { return image.pixelColor(p * image.devicePixelRatio()); }

QString caption(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    return "(no caption)";
}

} // namespace

class TestLook : public QObject {
    Q_OBJECT

private slots:
    void captions_data();
    void captions();
    void tapeRows_data();
    void tapeRows();
    void blackBackdrop();
    void window();
    void focusableControlsDoNotOverlap();
    void centring_data();
    void centring();
};

void TestLook::captions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const QString decPoints = QString(10, ' ') + "Dec Points" + QString(11, ' ') + "0" + QString(6, ' ') + "1" +
                              QString(6, ' ') + "2" + QString(7, ' ') + "3" + QString(6, ' ') + "4" + QString(3, ' ') +
                              "Dec Pts";
    const std::pair<const char*, QString> rows[] = {
        {"Label7", "# "}, {"Label8", "Entry"}, {"Label9", "Subtotal"},
        {"Label2", "To Edit - Click on Entries Esc to cancel"}, {"knst", "Constant = "}, {"Label6", ""},
        {"Label1", decPoints}, {"Label5", "Convert Entry to"}, {"Label3", "Conversion Factor Button"},
        {"konst", "&K"}, {"store", "&Store"}, {"Command1_10", QString(QChar(0x00B7))}, {"Command1_12", "+"},
        {"Command1_13", "-"}, {"Command1_14", "x"}, {"Command1_16", "/"}, {"clearit", "&Clear Entries"},
        {"Command2", "E&xit Calc"}, {"removelist", "Remove Subtotal from list"}, {"clearlist", "Clear Memory"},
        {"convert", "None"}};
    for (const auto& [name, text] : rows) QTest::newRow(name) << QString(name) << text;
    for (int d = 0; d <= 9; ++d) QTest::addRow("Command1_%d", d) << QString("Command1_%1").arg(d) << QString::number(d);
    QCOMPARE(decPoints.size(), 71);
}

void TestLook::captions() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    auto* w = rig->window.findChild<QWidget*>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(::caption(w), caption);
    QVERIFY(w->isVisible());
}

void TestLook::tapeRows_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("text");
    const QColor ink = QApplication::palette().color(QPalette::WindowText);
    const QColor light = QApplication::palette().color(QPalette::Light);
    QTest::newRow("row 0, set apart") << 0 << QColor(0xE0E0E0) << QColor(0x800000);
    for (int r = 1; r <= 8; ++r) QTest::addRow("row %d", r) << r << (r % 2 ? QColor(0xC0FFC0) : light) << ink;
}

void TestLook::tapeRows() {
    QFETCH(int, row);
    QFETCH(QColor, background);
    QFETCH(QColor, text);
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    const Calculator& w = rig->window;
    const QImage image = w.body->grab().toImage();
    for (const auto* column : {&w.Label10, &w.Label11, &w.Label12}) {
        const QLabel* cell = (*column)[row];
        QCOMPARE(cell->text(), QString());
        // Inside the border, where right-aligned text never reaches.
        const QRect g = cell->geometry();
        QCOMPARE(pixelAt(image, {g.left() + 4, g.center().y()}), background);
        QCOMPARE(cell->palette().color(QPalette::WindowText), text);
    }
}

void TestLook::blackBackdrop() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    const Calculator& w = rig->window;
    const QImage image = w.body->grab().toImage();
    const QRect row1 = w.Label11[1]->geometry(), row0 = w.Label11[0]->geometry();
    QVERIFY2(row0.top() > row1.bottom() + 1, "the bottom row is set apart from the others");
    for (int y = row1.bottom() + 1; y < row0.top(); ++y)
        QCOMPARE(pixelAt(image, {row0.center().x(), y}), QColor(Qt::black));
    const int y = w.Label10[4]->geometry().center().y();
    QCOMPARE(pixelAt(image, {w.Label10[4]->geometry().left() - 2, y}), QColor(Qt::black));
    QCOMPARE(pixelAt(image, {w.Label12[4]->geometry().right() + 2, y}), QColor(Qt::black));
}

void TestLook::window() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    const Calculator& w = rig->window;
    QCOMPARE(w.windowTitle(), QString("Calculator 1.5"));
    QCOMPARE(w.centralWidget(), w.body);
    QCOMPARE(w.body->size(), QSize(680, 471));
    QVERIFY(w.Text3->isHidden());
    QVERIFY(w.ListView1->isHidden());
    QCOMPARE(w.Text2->text(), QString());
    QCOMPARE(w.conversion->currentText(), QString("None"));
    QStringList items;
    for (int i = 0; i < w.conversion->count(); ++i) items << w.conversion->itemText(i);
    QCOMPARE(items, (QStringList{"None", "Area", "Concentration", "Length", "Volume", "Weight"}));
    QCOMPARE(QApplication::focusWidget(), w.Text2);
}

void TestLook::focusableControlsDoNotOverlap() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    QList<QWidget*> controls;
    for (QWidget* c : rig->window.body->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (c->isVisible() && c->focusPolicy() != Qt::NoFocus) controls << c;
    QVERIFY(controls.size() >= 25);
    QStringList overlaps;
    for (qsizetype i = 0; i < controls.size(); ++i)
        for (qsizetype j = i + 1; j < controls.size(); ++j)
            if (controls[i]->geometry().intersects(controls[j]->geometry()))
                overlaps << controls[i]->objectName() + '/' + controls[j]->objectName();
    QCOMPARE(overlaps, QStringList());
}

void TestLook::centring_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<float>("left");
    QTest::addColumn<float>("top");
    // (W - 661) / 2 and (H - 464) / 2, halves to even, times 14.4 twips.
    QTest::newRow("1024 x 768, 181.5 -> 182") << 1024 << 768 << 2620.8f << 2188.8f;
    QTest::newRow("1366 x 768, 352.5 -> 352") << 1366 << 768 << 5068.8f << 2188.8f;
    QTest::newRow("800 x 600, 69.5 -> 70") << 800 << 600 << 70 * 14.4f << 68 * 14.4f;
    QTest::newRow("640 x 480, no clamp: -10.5 -> -10") << 640 << 480 << -144.0f << 8 * 14.4f;
}

void TestLook::centring() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(float, left);
    QFETCH(float, top);
    const tally::WindowOrigin origin = tally::centredOrigin(width, height);
    QCOMPARE(origin.left, left);
    QCOMPARE(origin.top, top);
}

QTEST_MAIN(TestLook)
#include "test_look.moc"
