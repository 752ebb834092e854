// Where windows open: the main window centred in twips, the others moved wholly onto the screen.
#include <QTest>

#include "core/startup.h"

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void centring_data();
    void centring();
    void fitWithin_data();
    void fitWithin();
};

void TestStartup::centring_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<float>("left");
    QTest::addColumn<float>("top");
    // (W - 661) / 2 and (H - 464) / 2, halves to even, times 14.4 twips.
    QTest::newRow("1024 x 768, 181.5 -> 182") << 1024 << 768 << 2620.8f << 2188.8f;
    QTest::newRow("1366 x 768, 352.5 -> 352") << 1366 << 768 << 5068.8f << 2188.8f;
    QTest::newRow("640 x 480, no clamp: -10.5 -> -10") << 640 << 480 << -144.0f << 8 * 14.4f;
}

void TestStartup::centring() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(float, left);
    QFETCH(float, top);
    const tally::WindowOrigin origin = tally::centredOrigin(width, height);
    QCOMPARE(origin.left, left);
    QCOMPARE(origin.top, top);
}

void TestStartup::fitWithin_data() {
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QPoint>("placed");
    // The available area: 1280 x 994 below a 30-pixel panel.
    QTest::newRow("inside: stays") << QRect(100, 200, 408, 500) << QPoint(100, 200);
    QTest::newRow("below the bottom: lifted") << QRect(300, 543, 408, 500) << QPoint(300, 524);
    QTest::newRow("past the right: pulled left") << QRect(1000, 100, 408, 500) << QPoint(872, 100);
    QTest::newRow("above and left: pushed in") << QRect(-50, 0, 408, 500) << QPoint(0, 30);
    QTest::newRow("taller than the area: top edge") << QRect(10, 400, 408, 1200) << QPoint(10, 30);
}

void TestStartup::fitWithin() {
    QFETCH(QRect, window);
    QFETCH(QPoint, placed);
    const tally::Box b = tally::fitWithin({window.x(), window.y(), window.width(), window.height()}, {0, 30, 1280, 994});
    QCOMPARE(QRect(b.left, b.top, b.width, b.height), QRect(placed, window.size()));
}

QTEST_APPLESS_MAIN(TestStartup)
#include "test_startup.moc"
