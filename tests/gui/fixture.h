#pragma once
// Shared by the GUI tests: the real main window on a fresh state, its sounds recorded, its
// messages and its exit caught, and a watchdog so that no modal dialog can hang a test.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <string>
#include <string_view>

#include "core/state.h"
#include "shell/look.h"
#include "shell/sounds.h"
#include "window/calculator.h"

// Remembers every sound name in the order played.
class RecordingPlayer : public SoundPlayer {
public:
    QStringList played;
    void play(std::string_view name) override {
        played << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    }
};

// The program's dialogs are reached through seams, so a modal dialog that shows up in a test
// would wait for a click forever: close it shortly after and fail the test.
class ModalWatchdog {
public:
    ModalWatchdog() {
        timer_.setInterval(250);
        QObject::connect(&timer_, &QTimer::timeout, [] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            const QByteArray what = "unexpected modal dialog \"" + modal->windowTitle().toUtf8() + '"';
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
            else modal->close();
            QTest::qFail(what.constData(), __FILE__, __LINE__);
        });
        timer_.start();
    }

private:
    QTimer timer_;
};

// A fresh state and the real window, shown and active. Check `ready` before driving it.
struct CalcRig {
    bool classicLook = (applyClassicLook(*qApp), true); // before the window takes its colours
    tally::State state;
    RecordingPlayer sounds;
    Calculator window{state, sounds};
    QStringList messages; // what the window told the user
    bool ended = false;   // the window asked to end the program
    bool ready = false;
    ModalWatchdog watchdog;

    CalcRig() {
        window.tellUser = [this](const QString&, const QString& text) { messages << text; };
        window.endProgram = [this] { ended = true; };
        window.show();
        window.activateWindow();
        ready = QTest::qWaitForWindowExposed(&window) && QTest::qWaitForWindowActive(&window);
    }
};

// Puts `lines` lines straight into the state: line i holds the entry i, so line n's subtotal
// is n(n+1)/2. Line 1 carries two blanks, the others " +".
inline void fillTape(tally::State& state, int lines) {
    for (int i = 1; i <= lines; ++i) {
        state.entries[i] = std::to_string(i) + (i == 1 ? "  " : " +");
        state.subtotals[i] = std::to_string(i * (i + 1) / 2);
    }
    state.nextline = lines + 1;
}

// Row r as "line|entry|subtotal", the three cell texts.
inline QString rowText(const Calculator& w, int r) {
    return w.Label10[r]->text() + '|' + w.Label11[r]->text() + '|' + w.Label12[r]->text();
}

// The line a row shows, read back from its line-number cell; 0 for an empty row.
inline int lineOnRow(const Calculator& w, int r) { return w.Label10[r]->text().section(' ', 0, 0).toInt(); }
