// The tape's own menu: the whole tape as text for the clipboard, the tape the last Clear Entries
// took off, and the tapes of past sessions, which the program keeps after every change.
#include <QAction>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>

#include "files/keptfiles.h"
#include "files/tapedisk.h"
#include "shell/outside.h"
#include "tape/keeper.h"
#include "tape/tapeview.h"
#include "window/calculator.h"

void Calculator::mnuCopyTape_Click() {
    outside.setClipboardText(QString::fromStdString(tape->copyText()));
}

void Calculator::mnuRestoreTape_Click() {
    if (clearedTape.empty())
        return;
    // The tape on view takes the cleared one's place, so a restore throws nothing away either.
    const std::vector<tally::TapeLine> restored = std::exchange(clearedTape, tally::tapeLines(state.tape));
    loadTape(restored);
}

void Calculator::keepTape(TapeKeeper* k) {
    if (keeper)
        disconnect(keeper, nullptr, this, nullptr);
    keeper = k;
    if (keeper)
        connect(keeper, &TapeKeeper::failed, this, [this](const QString& why) {
            tellUser("Calculator",
                     QString("The tape cannot be kept in\n%1\n\n%2.\n\nThe program keeps trying. Until it "
                             "succeeds, save the tape with File > Save As to be sure of it.")
                         .arg(QString::fromStdString(keeper->folder()), why));
        });
}

void Calculator::tapeChanged() {
    if (keeper)
        keeper->changed();
}

// Read when the menu opens: other programs may have ended since.
void Calculator::listKeptTapes() {
    const std::vector<tally::KeptTape> kept =
        tally::chooseKept(tally::readKeptTapes(outside.stateFolder().toStdString())).offered;
    mnuLastSession->setEnabled(!kept.empty());
    mnuLastSession->setData(kept.empty() ? QString() : QString::fromStdString(kept.front().stem));
    earlierTapes->clear();
    earlierTapes->setEnabled(!kept.empty());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        // Access keys 1..9, then 0 for the tenth.
        const QString key = i < 10 ? QString("&%1  ").arg((i + 1) % 10) : QString("    ");
        QAction* row = earlierTapes->addAction(key + QString::fromStdString(tally::keptRowText(kept[i])));
        connect(row, &QAction::triggered, this, [this, stem = kept[i].stem] { openKept(stem); });
    }
}

void Calculator::mnuLastSession_Click() {
    const QString stem = mnuLastSession->data().toString();
    if (!stem.isEmpty())
        openKept(stem.toStdString());
}

void Calculator::openKept(const std::string& stem) {
    const tally::Result<std::vector<tally::TapeLine>> lines =
        tally::readKeptTape(outside.stateFolder().toStdString(), stem);
    if (lines)
        loadTape(*lines);
    else
        tellUser("Open", QString("The kept tape could not be opened: %1.\n\nThe tape was not changed.")
                             .arg(QString::fromStdString(lines.reason())));
}

void Calculator::closeEvent(QCloseEvent* event) {
    if (!endAgreed && !mayEnd())
        return event->ignore();
    endAgreed = true;
    QMainWindow::closeEvent(event);
}

bool Calculator::mayEnd() {
    if (!keeper || keeper->flush(std::chrono::seconds(2)))
        return true;
    const QString text = QString("The tape on view is not kept in\n%1\n\n%2.\n\nSave it before the program ends?")
                             .arg(QString::fromStdString(keeper->folder()), QString::fromStdString(keeper->problem()));
    for (;;) {
        switch (outside.askEnd(this, text)) {
        case Outside::EndChoice::EndAnyway:
            return true;
        case Outside::EndChoice::Cancel:
            Text2->setFocus();
            return false;
        case Outside::EndChoice::SaveAs:
            break;
        }
        const QString name = outside.askFileName(this, Outside::FileKind::SaveTape);
        if (name.isEmpty())
            continue;
        const tally::Result<> saved = writeTapeFile(name, state.tape);
        if (saved)
            return true;
        tellUser("Save As",
                 QString("The tape could not be saved to\n%1\n\n%2").arg(name, QString::fromStdString(saved.reason())));
    }
}
