// The main window as a user sees it, in the states met most, driven by keys and clicks alone and
// compared with the reference pictures. They hold what no assertion lists: every control's place,
// size, caption, font, colour and alignment as the design table gives them.
#include "../picture.h"
#include "fixture.h"

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setCursorFlashTime(0); } // the caret stays drawn

    // A desktop's dark palette does not reach the classic look.
    void start_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light desktop") << false;
        QTest::newRow("dark desktop") << true;
    }
    void start() {
        QPalette darkPalette(QColor(0x353535), QColor(0x202020));
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            darkPalette.setColor(role, QColor(0xF0F0F0));
        QFETCH(bool, dark);
        if (dark)
            QApplication::setPalette(darkPalette);
        CalcRig rig;
        QVERIFY(rig.ready);
        COMPARE_PICTURE(rig.window.grab().toImage(), "window-start");
    }

    // One session, pictured at each step: a constant, a tape filling the view with two values
    // stored and a figure in the entry box; the row editor over line 4; the conversion list.
    void session() {
        CalcRig rig;
        QVERIFY(rig.ready);
        QTest::keyClicks(rig.box(), "1.0825k+1234.5+12*0.123456789-250/99.99+s7-3*1000000+s0.5/42+12.5");
        COMPARE_PICTURE(rig.window.grab().toImage(), "window-tape");

        QTest::mouseClick(rig.cell("Label11", 7), Qt::LeftButton);
        QCOMPARE(rig.editor()->text(), QString("0.12346")); // five decimals at most
        COMPARE_PICTURE(rig.window.grab().toImage(), "window-editor");

        QTest::keyClick(rig.editor(), Qt::Key_Escape);
        QTest::mouseClick(rig.find("conversion"), Qt::LeftButton);
        QTest::keyClick(rig.find("conversion"), Qt::Key_Down); // Area
        COMPARE_PICTURE(rig.window.grab().toImage(), "window-conversion");
    }
};

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
