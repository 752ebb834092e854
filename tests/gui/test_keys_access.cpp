// Every function from the keyboard: the keys beyond the design's, as rows of one table, driven into
// the real window and read back from its controls by object name.
#include "fixture.h"
#include "table.h"

namespace {
// What `name` shows: a menu its highlighted item, a box or label its text, a window whether it is open.
QString readBack(const QWidget& window, const QString& name) {
    QWidget* w = window.findChild<QWidget*>(name);
    if (auto* menu = qobject_cast<QMenu*>(w))
        return menu->isVisible() && menu->activeAction() ? menu->activeAction()->text().remove('&') : "closed";
    if (auto* box = qobject_cast<QLineEdit*>(w))
        return box->text();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    return w && w->isVisible() ? "open" : "closed";
}
} // namespace

class TestKeysAccess : public QObject {
    Q_OBJECT

private slots:
    // Each row: what is typed into the entry box first | the keys, each to whatever has the keyboard |
    // the control that had it for the last key | the control read back | what it shows.
    void keys_data() {
        columns({"path"});
        row("Menu key, entry box: the tape's menu") << " | Menu | Text2 | tapeMenu | Copy Tape";
        row("Shift+F10, entry box") << " | Shift+F10 | Text2 | tapeMenu | Copy Tape";
        row("Menu key, the tape's row editor") << "5+ | F2, Menu | Text3 | tapeMenu | Copy Tape";
        row("access letter R: Restore Cleared Tape") << "5+7+c | Shift+F10, R | tapeMenu | Label11_0 | 7.00 +";
        row("Delete, entry box") << "123 | Home, Del | Text2 | Text2 | 23";
        row("Ctrl+A, Delete") << "123 | Ctrl+A, Del | Text2 | Text2 | ";
        row("Home, End, Shift+arrows") << "1234 | Home, Shift+Right, Del, End, Shift+Left, Del | Text2 | Text2 | 23";
        row("Delete, row editor") << "25+ | F2, Del, 7 | Text3 | Text3 | 7";
        row("Esc, preview: Cancel") << " | Ctrl+P, Esc | Command1 | Form1 | closed";
        row("Enter, preview: the focused button") << " | Ctrl+P, Tab, Return | Command2 | Form1 | closed";
    }
    void keys() {
        const QStringList path = fetch("path").split(" | ");
        CalcRig rig;
        QVERIFY(rig.ready);
        QTest::keyClicks(rig.window.findChild<QLineEdit*>("Text2"), path[0].trimmed());
        QString where;
        for (const QString& key : path[1].split(", ")) {
            QTest::qWait(1); // a window just opened takes the keyboard
            QWidget* to = QApplication::activePopupWidget();
            if (!to)
                QTRY_VERIFY((to = QApplication::focusWidget()));
            where = to->objectName();
            const QKeyCombination k = QKeySequence(key)[0];
            if (k.key() == Qt::Key_Delete) // as X sends it: with the code 127 as its text
                QTest::sendKeyEvent(QTest::Click, to, k.key(), QString(QChar(0x7f)), k.keyboardModifiers());
            else
                QTest::keyClick(to, k.key(), k.keyboardModifiers());
        }
        QCOMPARE(where, path[2]);
        QTRY_COMPARE(readBack(rig.window, path[3]), path[4].trimmed());
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }
    // The preview is a window of the calculator's: it stays above it and closes with it.
    void previewBelongsToTheCalculator() {
        CalcRig rig;
        QVERIFY(rig.ready);
        QTest::keyClick(rig.window.findChild<QLineEdit*>("Text2"), Qt::Key_P, Qt::ControlModifier);
        QPointer<QWidget> preview = rig.window.findChild<QWidget*>("Form1");
        QVERIFY(preview && QTest::qWaitForWindowExposed(preview));
        QCOMPARE(preview->windowHandle()->transientParent(), rig.window.windowHandle());
        rig.window.close();
        QTRY_VERIFY(!preview || !preview->isVisible());
    }
};

QTEST_MAIN(TestKeysAccess)
#include "test_keys_access.moc"
