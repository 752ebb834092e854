#pragma once
// Everything that leaves the windows: messages, file names, other programs, the About box, the
// printer, the end of the program, and the desktop's pieces (clipboard, state folder, screen, clock,
// data files). The program uses the desktop; tests provide their own.
#include <QDate>
#include <QPrinterInfo>
#include <QSize>
#include <QString>
#include <QStringList>

class QWidget;

class Outside {
public:
    enum class FileKind {
        OpenTape,
        SaveTape,
        SavePdf
    };

    virtual ~Outside() = default;
    // A message to the user; `warning` for failures of printing.
    virtual void tell(QWidget* parent, const QString& title, const QString& text, bool warning = false) = 0;
    // A question with two answers, `accept` and "Cancel"; true when the user chose `accept`.
    virtual bool confirm(QWidget* parent, const QString& title, const QString& text, const QString& accept) = 0;
    // A file name chosen by the user; empty when cancelled.
    virtual QString askFileName(QWidget* parent, FileKind kind) = 0;
    // Starts a program without waiting for it; false when it cannot start.
    virtual bool startProgram(const QString& program, const QStringList& args) = 0;
    virtual void showAbout(QWidget* parent, const QString& title, const QString& text) = 0;
    // The printer to print on; a null one when there is none.
    virtual QPrinterInfo findPrinter() = 0;
    // Ends the program: every window closes at once, nothing is asked or saved.
    virtual void quit() = 0;
    // Whether to end with a tape that is not kept: `text` says why it is not.
    enum class EndChoice {
        SaveAs,
        EndAnyway,
        Cancel
    };
    virtual EndChoice askEnd(QWidget* parent, const QString& text) = 0;
    virtual void setClipboardText(const QString& text) = 0;
    // The folder that keeps this program's state between sessions; empty when the user has none.
    virtual QString stateFolder() = 0;
    // The primary screen's size in pixels; empty when there is no screen.
    virtual QSize screenSize() = 0;
    virtual QDate today() = 0;
    // Where the data file `name` (a factor table, ...) is found; empty when nowhere.
    virtual QString dataFile(const QString& name) = 0;
};

// Message boxes, file dialogs, QProcess, the default printer and QCoreApplication::quit.
class Desktop : public Outside {
public:
    void tell(QWidget* parent, const QString& title, const QString& text, bool warning) override;
    bool confirm(QWidget* parent, const QString& title, const QString& text, const QString& accept) override;
    QString askFileName(QWidget* parent, FileKind kind) override;
    bool startProgram(const QString& program, const QStringList& args) override;
    void showAbout(QWidget* parent, const QString& title, const QString& text) override;
    QPrinterInfo findPrinter() override;
    void quit() override;
    EndChoice askEnd(QWidget* parent, const QString& text) override;
    void setClipboardText(const QString& text) override;
    // $XDG_STATE_HOME/tallyroll, or ~/.local/state/tallyroll.
    QString stateFolder() override;
    QSize screenSize() override;
    QDate today() override;
    QString dataFile(const QString& name) override;
};
