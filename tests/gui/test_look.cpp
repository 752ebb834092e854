// What a person sees of the main window at start: the tape's colours in rendered pixels, every
// caption as designed, the hidden controls, the size, and where the window is placed.
#include <QAbstractButton>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <memory>

#include "core/startup.h"
#include "fixture.h"

namespace {

QColor pixelAt(const QImage& image, QPoint p) { return image.pixelColor(p * image.devicePixelRatio()); }

} // namespace

class TestLook : public QObject {
    Q_OBJECT

private slots:
    void captions();
    void tapeColours();
    void window();
    void centring_data();
    void centring();
};

void TestLook::captions() {
    const QString decPoints = QString(10, ' ') + "Dec Points" + QString(11, ' ') + "0" + QString(6, ' ') + "1" +
                              QString(6, ' ') + "2" + QString(7, ' ') + "3" + QString(6, ' ') + "4" + QString(3, ' ') +
                              "Dec Pts";
    std::vector<std::pair<QString, QString>> rows = {
        {"Label7", "# "}, {"Label8", "Entry"}, {"Label9", "Subtotal"},
        {"Label2", "To Edit - Click on Entries Esc to cancel"}, {"knst", "Constant = "}, {"Label6", ""},
        {"Label1", decPoints}, {"Label5", "Convert Entry to"}, {"Label3", "Conversion Factor Button"},
        {"konst", "&K"}, {"store", "&Store"}, {"Command1_10", QString(QChar(0x00B7))}, {"Command1_12", "+"},
        {"Command1_13", "-"}, {"Command1_14", "x"}, {"Command1_16", "/"}, {"clearit", "&Clear Entries"},
        {"Command2", "E&xit Calc"}, {"removelist", "Remove Subtotal from list"}, {"clearlist", "Clear Memory"},
        {"convert", "None"}};
    for (int d = 0; d <= 9; ++d) rows.push_back({QString("Command1_%1").arg(d), QString::number(d)});
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    for (const auto& [name, caption] : rows) {
        auto* w = rig->window.findChild<QWidget*>(name);
        QVERIFY2(w && w->isVisible(), qPrintable(name));
        const auto* label = qobject_cast<QLabel*>(w);
        const auto* button = qobject_cast<QAbstractButton*>(w);
        QVERIFY2(label || button, qPrintable(name));
        QCOMPARE(label ? label->text() : button->text(), caption);
    }
}

// The tape's rows stand on a black backdrop: odd rows light green, even rows light, the bottom
// row set apart in grey with dark red text.
void TestLook::tapeColours() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    const Calculator& w = rig->window;
    const QImage image = w.body->grab().toImage();
    const QColor ink = QApplication::palette().color(QPalette::WindowText);
    for (int row = 0; row <= 8; ++row) {
        const QColor background = row == 0 ? QColor(0xE0E0E0)
                                  : row % 2 ? QColor(0xC0FFC0) : QApplication::palette().color(QPalette::Light);
        for (const auto* column : {&w.Label10, &w.Label11, &w.Label12}) {
            const QLabel* cell = (*column)[row];
            const QRect g = cell->geometry(); // inside the border, where right-aligned text never reaches
            QCOMPARE(pixelAt(image, {g.left() + 4, g.center().y()}), background);
            QCOMPARE(cell->palette().color(QPalette::WindowText), row == 0 ? QColor(0x800000) : ink);
        }
    }
    const QRect row1 = w.Label11[1]->geometry(), row0 = w.Label11[0]->geometry();
    QVERIFY2(row0.top() > row1.bottom() + 1, "the bottom row is set apart from the others");
    for (int y = row1.bottom() + 1; y < row0.top(); ++y) QCOMPARE(pixelAt(image, {row0.center().x(), y}), QColor(Qt::black));
    const int y = w.Label10[4]->geometry().center().y();
    QCOMPARE(pixelAt(image, {w.Label10[4]->geometry().left() - 2, y}), QColor(Qt::black));
    QCOMPARE(pixelAt(image, {w.Label12[4]->geometry().right() + 2, y}), QColor(Qt::black));
}

// Client size, hidden editor and list, focus in the entry box, no focusable controls overlapping.
void TestLook::window() {
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    const Calculator& w = rig->window;
    QCOMPARE(w.windowTitle(), QString("Calculator 1.5"));
    QCOMPARE(w.centralWidget(), w.body);
    QCOMPARE(w.body->size(), QSize(680, 471));
    QVERIFY(w.Text3->isHidden());
    QVERIFY(w.ListView1->isHidden());
    QCOMPARE(QApplication::focusWidget(), w.Text2);
    QList<QWidget*> controls;
    for (QWidget* c : w.body->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
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
