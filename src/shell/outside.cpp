#include "shell/outside.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>

#include "files/lastsession.h"
#include "shell/datafiles.h"

void Desktop::tell(QWidget* parent, const QString& title, const QString& text, bool warning) {
    if (warning)
        QMessageBox::warning(parent, title, text);
    else
        QMessageBox::information(parent, title, text);
}

bool Desktop::confirm(QWidget* parent, const QString& title, const QString& text, const QString& accept) {
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(accept, QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
}

QString Desktop::askFileName(QWidget* parent, FileKind kind) {
    // The program adds no extension of its own to a tape; the save dialogs ask before overwriting.
    const QString tapes = QStringLiteral("Calc Files (*.cal)");
    switch (kind) {
    // A tape saved without ".cal" must still be found.
    case FileKind::OpenTape:
        return QFileDialog::getOpenFileName(parent, "Open", QString(), tapes + QStringLiteral(";;All Files (*)"));
    case FileKind::SaveTape:
        return QFileDialog::getSaveFileName(parent, "Save As", QString(), tapes);
    case FileKind::SavePdf: {
        // The dialog adds ".pdf" to a bare name before it asks whether to replace a file, so it asks
        // about the file that will be written. Qt's own dialog does so; a desktop's may ask about
        // the bare name (a tape of that name) and then let the PDF replace another file unasked.
        QFileDialog dialog(parent, "Save the Print as PDF", QString(), "PDF Files (*.pdf)");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix("pdf");
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    }
    }
    return {};
}

bool Desktop::startProgram(const QString& program, const QStringList& args) {
    return QProcess::startDetached(program, args);
}

void Desktop::showAbout(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text);
}

QPrinterInfo Desktop::findPrinter() {
    return QPrinterInfo::defaultPrinter();
}

void Desktop::quit() {
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void Desktop::setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

QString Desktop::stateFolder() {
    return QString::fromStdString(
        tally::stateFolder(qEnvironmentVariable("XDG_STATE_HOME").toStdString(), QDir::homePath().toStdString()));
}

QSize Desktop::screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize();
}

QDate Desktop::today() {
    return QDate::currentDate();
}

QString Desktop::dataFile(const QString& name) {
    return dataFilePath(name);
}

Outside::EndChoice Desktop::askEnd(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, "Exit", text, QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton("&Save As...", QMessageBox::AcceptRole);
    QPushButton* end = box.addButton("E&xit Anyway", QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(save);
    box.exec();
    return box.clickedButton() == save  ? EndChoice::SaveAs
           : box.clickedButton() == end ? EndChoice::EndAnyway
                                        : EndChoice::Cancel;
}
