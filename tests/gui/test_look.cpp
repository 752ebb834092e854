// The main window in rendered pixels, in the classic look whatever palette the desktop hands the
// program: flat key faces with a 3-D edge, an opaque slider, black cell borders, dark captions.
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStyle>

#include "fixture.h"
#include "shell/metrics.h"
#include "window/design.h"

class TestLook : public QObject {
    Q_OBJECT

private slots:
    void pixels_data();
    void pixels();
};

void TestLook::pixels_data() {
    QTest::addColumn<bool>("darkDesktop");
    QTest::newRow("light desktop") << false;
    QTest::newRow("dark desktop scheme") << true;
}

void TestLook::pixels() {
    QFETCH(bool, darkDesktop);
    if (darkDesktop) {
        QPalette dark(QColor(0x353535), QColor(0x202020));
        for (auto r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) dark.setColor(r, QColor(0xF0F0F0));
        for (auto r : {QPalette::Base, QPalette::ToolTipBase, QPalette::Light}) dark.setColor(r, QColor(0x2A2A2A));
        QApplication::setPalette(dark);
    }
    auto rig = std::make_unique<CalcRig>();
    QVERIFY(rig->ready);
    Calculator& w = rig->window;
    fillTape(rig->state, 3); // rows 0 to 2 show text: the bottom row, a pale green and a light one
    w.printout();
    const QImage image = w.body->grab().toImage();
    auto at = [&](int x, int y) { return image.pixelColor(QPoint(x, y) * image.devicePixelRatio()); };
    auto darkest = [&](QRect r) {
        int least = 255;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) least = std::min(least, at(x, y).lightness());
        return least;
    };

    const QColor tip = QApplication::style()->standardPalette().color(QPalette::ToolTipBase);
    QList<const QPushButton*> keys{w.konst, w.store, w.clearit, w.Command2, w.removelist, w.clearlist};
    for (int i = 0; i <= 10; ++i) keys.prepend(w.Command1[i]); // the digits and the point first
    for (int i : {12, 13, 14, 16}) keys << w.Command1[i];
    for (const QPushButton* key : keys) {
        const QColor face = keys.indexOf(key) <= 10 ? tip : QColor(0xC0C0C0);
        const QRect g = key->geometry(), inner = g.adjusted(3, 3, -3, -3);
        for (QPoint p : {inner.topLeft(), inner.bottomRight(), QPoint(inner.left(), g.center().y())})
            QVERIFY2(at(p.x(), p.y()) == face, qPrintable(key->objectName()));
        // The edges are a device pixel wide at any scale: the outermost image pixels.
        const QRect d(g.topLeft() * image.devicePixelRatio(), g.size() * image.devicePixelRatio());
        for (QPoint light : {QPoint(d.left(), d.center().y()), QPoint(d.center().x(), d.top())})
            QVERIFY2(image.pixelColor(light).lightness() > face.lightness(), qPrintable(key->objectName()));
        for (QPoint dark : {QPoint(d.right(), d.center().y()), QPoint(d.center().x(), d.bottom())})
            QVERIFY2(image.pixelColor(dark).lightness() < face.lightness(), qPrintable(key->objectName()));
        QVERIFY2(darkest(inner) < 80, qPrintable(key->objectName() + " caption"));
    }

    const design::Rectangle shadow = *std::find_if(design::rectangles().begin(), design::rectangles().end(),
                                                   [](const auto& r) { return qstrcmp(r.name, "Shape20") == 0; });
    const QRect under = w.Slider1->geometry() & design::twips(shadow.left, shadow.top, shadow.width, shadow.height);
    QVERIFY(!under.isEmpty());
    for (int y = under.top(); y <= under.bottom(); ++y)
        for (int x = under.left(); x <= under.right(); ++x) QVERIFY(at(x, y) != QColor::fromRgb(shadow.colour));

    for (int row = 0; row <= 2; ++row)
        for (const auto* column : {&w.Label10, &w.Label11, &w.Label12}) {
            const QRect g = (*column)[row]->geometry();
            for (QPoint p : {g.topLeft(), g.bottomRight(), QPoint(g.left(), g.center().y())})
                QCOMPARE(at(p.x(), p.y()), QColor(Qt::black));
            QVERIFY2(darkest(g.adjusted(1, 1, -1, -1)) < 100, "the text stands dark on its row");
        }
}

GUI_TEST(TestLook)
#include "test_look.moc"
