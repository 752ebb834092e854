#pragma once
// The real main window on a fresh state, its sounds and the desktop recorded. Controls are found by
// their design names and driven with keys and clicks.
#include <QtTest>
#include <QtWidgets>

#include "core/state.h"
#include "desktop.h"
#include "print/form1.h"
#include "shell/look.h"
#include "shell/sounds.h"
#include "tapes.h"
#include "window/calculator.h"

// The sounds in the order played: '1' for calc1, '2' for calc2.
struct RecordingPlayer : SoundPlayer {
    QString played;
    void play(tally::Sound sound) override { played += sound == tally::Sound::Calc1 ? '1' : '2'; }
};

inline bool classicLookApplied() {
    applyClassicLook(*qApp);
    return true;
}

// A fresh state and the real window, shown and active; a modal dialog is closed and fails. Check `ready`.
struct CalcRig {
    bool classicLook = classicLookApplied(); // before the window takes its colours
    tally::State state;
    RecordingPlayer sounds;
    FakeDesktop outside;
    Calculator window{state, sounds, outside};
    QTimer watchdog;
    bool ready = false;

    CalcRig() {
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
                QTest::qFail("a modal dialog", __FILE__, __LINE__);
            }
        });
        watchdog.start(250);
        window.show();
        window.activateWindow();
        ready = QTest::qWaitForWindowExposed(&window) && QTest::qWaitForWindowActive(&window);
    }

    // A control, menu item or panel by its name; a name the window lacks stops the test.
    template <class W = QWidget>
    W* find(const QString& name) const {
        W* w = window.findChild<W*>(name);
        if (!w)
            qFatal("the window has no %s", qPrintable(name));
        return w;
    }
    QLineEdit* box() const { return find<QLineEdit>("Text2"); }
    QLineEdit* editor() const { return find<QLineEdit>("Text3"); }
    QScrollBar* bar() const { return find<QScrollBar>("VScroll1"); }
    QLabel* cell(const char* column, int row) const { return find<QLabel>(QString("%1_%2").arg(column).arg(row)); }

    void type(const QString& keys) const { QTest::keyClicks(box(), keys); }
    void click(const QString& name) const { QTest::mouseClick(find(name), Qt::LeftButton); }
    void trigger(const QString& action) const { find<QAction>(action)->trigger(); }
    // As the user works the combo box.
    void choose(const QString& category) const {
        auto* box = find<QComboBox>("conversion");
        box->setCurrentIndex(box->findText(category));
        emit box->activated(box->currentIndex());
    }

    // Row r as "line|entry|subtotal"; lineOnRow reads the line back from its number cell, 0 when empty.
    QString row(int r) const {
        return cell("Label10", r)->text() + '|' + cell("Label11", r)->text() + '|' + cell("Label12", r)->text();
    }
    int lineOnRow(int r) const { return cell("Label10", r)->text().section(' ', 0, 0).toInt(); }
    // Where the view stands: "scroll bar value/line on the bottom row".
    QString place() const { return QString("%1/%2").arg(bar()->value()).arg(lineOnRow(0)); }
    // The tape as "entry=subtotal" per line, "|" between lines.
    QString tape() const {
        QStringList lines;
        for (int n = 1; n < state.tape.nextline; ++n)
            lines << QString::fromStdString(state.tape.entries[n] + '=' + state.tape.subtotals[n]);
        return lines.join('|');
    }
    QStringList memory() const {
        QStringList values;
        for (int k = 0; k < state.memcount; ++k)
            values << QString::fromStdString(state.memlist[k]);
        return values;
    }
};

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A seeded random walk through a window of its own (test_random.cpp).
void randomWalk(unsigned seed);
