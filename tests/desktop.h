#pragma once
// The one test double of the desktop: what the windows tell, ask, start and copy is recorded, file
// questions take queued answers, the state folder, the data files and the date are what a test sets,
// and the screen stands still.
#include <QApplication>
#include <QDir>
#include <QWidget>

#include "shell/outside.h"

struct FakeDesktop : Outside {
    QStringList told;        // messages, questions, and the About box as its title, a line end, its text
    QStringList fileAnswers; // taken in turn; none left: the dialog is cancelled
    QList<FileKind> fileQuestions;
    QList<QStringList> started; // program, then its arguments
    bool startWorks = true;
    bool declines = false; // a question's offer is declined
    bool ended = false;
    QString clipboard;
    QString folder;     // the state folder; empty: the user has none
    QString dataFolder; // data files are looked for here first, then as the program finds them
    QDate date{2026, 3, 7};

    void tell(QWidget*, const QString&, const QString& text, bool) override { told << text; }
    // A question is told as its text with the offer in brackets.
    bool confirm(QWidget*, const QString&, const QString& text, const QString& accept) override {
        told << text + " [" + accept + "]";
        return !declines;
    }
    // Like a dialog, the question takes the focus.
    QString askFileName(QWidget*, FileKind kind) override {
        fileQuestions << kind;
        if (QWidget* focus = QApplication::focusWidget())
            focus->clearFocus();
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
    bool startProgram(const QString& program, const QStringList& args) override {
        started << (QStringList{program} + args);
        return startWorks;
    }
    void showAbout(QWidget*, const QString& title, const QString& text) override { told << title + '\n' + text; }
    QPrinterInfo findPrinter() override { return {}; }
    void quit() override { ended = true; }
    QList<EndChoice> endAnswers; // the answers to Exit's question, in turn; none: cancel
    EndChoice askEnd(QWidget*, const QString& text) override {
        told << text;
        return endAnswers.isEmpty() ? EndChoice::Cancel : endAnswers.takeFirst();
    }
    void setClipboardText(const QString& text) override { clipboard = text; }
    QString stateFolder() override { return folder; }
    QSize screenSize() override { return {1920, 1080}; }
    QDate today() override { return date; }
    QString dataFile(const QString& name) override {
        if (dataFolder.isEmpty())
            return Desktop().dataFile(name);
        return QDir(dataFolder).exists(name) ? QDir(dataFolder).filePath(name) : QString();
    }
};
