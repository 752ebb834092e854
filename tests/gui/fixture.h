#pragma once
// The real main window on a fresh state, its sounds and all it sends outside recorded.
#include <QtTest>
#include <QtWidgets>

#include "core/state.h"
#include "core/taperule.h"
#include "shell/look.h"
#include "shell/outside.h"
#include "shell/sounds.h"
#include "window/calculator.h"

// The sounds in the order played: '1' for calc1, '2' for calc2.
struct RecordingPlayer : SoundPlayer {
    QString played;
    void play(tally::Sound sound) override {
        played += sound == tally::Sound::Calc1 ? '1' : sound == tally::Sound::Calc2 ? '2' : '0';
    }
};

// A file-name question takes the next queued answer (none: cancelled) and, like a dialog, the focus.
struct RecordingOutside : Outside {
    QStringList messages, fileAnswers, about; // about: title, then text
    QList<FileKind> fileQuestions;
    QList<QStringList> started;                              // program, then its arguments
    bool startWorks = true, ended = false, declines = false; // declines: a question's offer
    void tell(QWidget*, const QString&, const QString& text, bool) override { messages << text; }
    bool confirm(QWidget*, const QString&, const QString& text, const QString& accept) override {
        return messages << text + " [" + accept + "]", !declines;
    }
    void showAbout(QWidget*, const QString& title, const QString& text) override { about << title << text; }
    QPrinterInfo findPrinter() override { return {}; }
    void quit() override { ended = true; }
    QList<EndChoice> endAnswers; // the answers to Exit's question, in turn; none: cancel
    EndChoice askEnd(QWidget*, const QString& text) override {
        messages << text;
        return endAnswers.isEmpty() ? EndChoice::Cancel : endAnswers.takeFirst();
    }
    QString askFileName(QWidget*, FileKind kind) override {
        fileQuestions << kind;
        if (QWidget* focus = QApplication::focusWidget())
            focus->clearFocus();
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
    bool startProgram(const QString& program, const QStringList& args) override {
        return started << (QStringList{program} + args), startWorks;
    }
};

// A fresh state and the real window, shown and active; a modal dialog is closed and fails. Check `ready`.
struct CalcRig {
    bool classicLook = (applyClassicLook(*qApp), true); // before the window takes its colours
    tally::State state;
    RecordingPlayer sounds;
    RecordingOutside outside;
    Calculator window{state, sounds, outside};
    QTimer watchdog;
    bool ready = false;
    CalcRig() {
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close(), QTest::qFail("a modal dialog", __FILE__, __LINE__);
        });
        watchdog.start(250);
        window.show();
        window.activateWindow();
        ready = QTest::qWaitForWindowExposed(&window) && QTest::qWaitForWindowActive(&window);
    }
};

// Line i holds the entry i (line 1 with two blanks, the others " +"), line n's subtotal n(n+1)/2.
inline void fillTape(tally::State& state, int lines) {
    for (int i = 1; i <= lines; ++i)
        state.entries[i] = std::to_string(i) + (i == 1 ? "  " : " +"),
        state.subtotals[i] = std::to_string(i * (i + 1) / 2);
    state.nextline = lines + 1;
}
// The same tape keyed into the entry box, so the view and the scroll bar follow it.
inline void typeTape(Calculator& w, int lines) {
    for (int i = 1; i <= lines; ++i)
        QTest::keyClicks(w.Text2, QString::number(i) + '+');
}
inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Row r as "line|entry|subtotal"; lineOnRow reads the line back from its number cell, 0 when empty.
inline QString rowText(const Calculator& w, int r) {
    return w.Label10[r]->text() + '|' + w.Label11[r]->text() + '|' + w.Label12[r]->text();
}
inline int lineOnRow(const Calculator& w, int r) {
    return w.Label10[r]->text().section(' ', 0, 0).toInt();
}

// A seeded random walk through a window of its own (test_random.cpp); seed 5 under a comma-decimal locale.
void randomWalk(unsigned seed);
