#pragma once
// Shared by the window tests: the real main window on a fresh state, its sounds and everything it
// sends outside recorded, file names answered from a queue, and a watchdog so that no modal
// dialog can hang a test. Each test class registers itself with GUI_TEST; one main() runs them.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "core/state.h"
#include "core/taperule.h"
#include "shell/look.h"
#include "shell/outside.h"
#include "shell/sounds.h"
#include "window/calculator.h"

// The sounds in the order played: '1' for calc1, '2' for calc2.
class RecordingPlayer : public SoundPlayer {
public:
    QString played;
    void play(tally::Sound sound) override { played += sound == tally::Sound::Calc1 ? '1' : sound == tally::Sound::Calc2 ? '2' : '0'; }
};

// Everything that leaves the window, recorded; a file-name question takes the next queued answer
// (none queued: the user cancels) and, like a real dialog, takes the focus from the window.
class RecordingOutside : public Outside {
public:
    QStringList messages;
    QStringList fileAnswers;
    QList<FileKind> fileQuestions;
    QList<QStringList> started; // program, then its arguments
    bool startWorks = true;
    QStringList about; // title, then text, of each box
    bool ended = false;

    void tell(QWidget*, const QString&, const QString& text, bool) override { messages << text; }
    QString askFileName(QWidget*, FileKind kind) override {
        fileQuestions << kind;
        if (QWidget* focus = QApplication::focusWidget()) focus->clearFocus();
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
    bool startProgram(const QString& program, const QStringList& args) override {
        started << (QStringList{program} + args);
        return startWorks;
    }
    void showAbout(QWidget*, const QString& title, const QString& text) override { about << title << text; }
    QPrinterInfo findPrinter() override { return {}; }
    void quit() override { ended = true; }
};

// A modal dialog in a test would wait for a click forever: close it shortly after and fail.
struct ModalWatchdog {
    QTimer timer;
    ModalWatchdog() {
        QObject::connect(&timer, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                const QByteArray what = "unexpected modal dialog \"" + modal->windowTitle().toUtf8() + '"';
                modal->close();
                QTest::qFail(what.constData(), __FILE__, __LINE__);
            }
        });
        timer.start(250);
    }
};

// A fresh state and the real window, shown and active. Check `ready` before driving it.
struct CalcRig {
    bool classicLook = (applyClassicLook(*qApp), true); // before the window takes its colours
    tally::State state;
    RecordingPlayer sounds;
    RecordingOutside outside;
    Calculator window{state, sounds, outside};
    ModalWatchdog watchdog;
    bool ready = false;

    CalcRig() {
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

// The same tape keyed into the entry box, so the window's view and scroll bar follow it.
inline void typeTape(Calculator& w, int lines) {
    for (int i = 1; i <= lines; ++i) QTest::keyClicks(w.Text2, QString::number(i) + '+');
}

// Row r as "line|entry|subtotal", the three cell texts.
inline QString rowText(const Calculator& w, int r) {
    return w.Label10[r]->text() + '|' + w.Label11[r]->text() + '|' + w.Label12[r]->text();
}

// The line a row shows, read back from its line-number cell; 0 for an empty row.
inline int lineOnRow(const Calculator& w, int r) { return w.Label10[r]->text().section(' ', 0, 0).toInt(); }

// The test classes of the one GUI test program, run in turn by its main().
inline std::vector<std::function<std::unique_ptr<QObject>()>>& guiTests() {
    static std::vector<std::function<std::unique_ptr<QObject>()>> tests;
    return tests;
}
#define GUI_TEST(Class) \
    static const bool registered##Class = (guiTests().push_back([] { return std::make_unique<Class>(); }), true);
