// Saving and loading the tape as a ".cal" file.
#include <QFile>
#include <QLineEdit>
#include <QSaveFile>
#include <QScrollBar>

#include "files/tapefile.h"
#include "window/calculator.h"

namespace {
// No tape of 1000 lines comes near this; a larger file is not a tape and is not read whole.
constexpr qint64 kLargestTapeFile = 64 * 1024 * 1024;
} // namespace

void Calculator::mnuSaveAs_Click() {
    const QString name = askFileName(true);
    Text2->setFocus();
    if (name.isEmpty()) return;
    // The old file is replaced only once every byte of the new one is written.
    QSaveFile out(name);
    const std::string bytes = tally::encodeTape(state);
    // flush() before commit(): commit() does not notice a write that fails only when the buffer
    // goes to disk (a full disk, a file-size limit) and would put the half-written file in place.
    bool saved = out.open(QIODevice::WriteOnly) &&
                 out.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) && out.flush();
    QString why = out.errorString();
    if (saved) {
        saved = out.commit();
        why = out.errorString();
    } else if (out.isOpen()) {
        out.cancelWriting(); // the temporary file is dropped, the old file stays
    }
    if (!saved)
        tellUser("Save As",
                 QString("The tape could not be saved to\n%1\n\n%2\n\nAny file that was there is unchanged.").arg(name, why));
}

void Calculator::mnuOpen_Click() {
    const QString name = askFileName(false);
    Text2->setFocus();
    if (name.isEmpty()) return;
    QFile in(name);
    if (!in.open(QIODevice::ReadOnly)) {
        tellUser("Open", QString("The file\n%1\ncould not be opened: %2\n\nThe tape was not changed.").arg(name, in.errorString()));
        return;
    }
    if (in.size() > kLargestTapeFile) {
        tellUser("Open", QString("The file\n%1\nis far too large to be a tape.\n\nThe tape was not changed.").arg(name));
        return;
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        tellUser("Open", QString("The file\n%1\ncould not be read: %2\n\nThe tape was not changed.").arg(name, in.errorString()));
        return;
    }
    const tally::TapeDecode tape = tally::decodeTape(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!tape.ok()) {
        tellUser("Open", QString::fromStdString(tape.error));
        return;
    }
    tally::applyTape(state, tape.lines);
    // The view stands at the loaded tape's end, as the scroll bar shows it.
    // An empty tape keeps the bar at 1, as at start: a maximum of 0 would pull its minimum to 0.
    const int lines = state.nextline - 1;
    VScroll1->setMaximum(std::max(lines, VScroll1->minimum()));
    VScroll1->setValue(VScroll1->maximum());
    scrollline = lines + 1;
    printscroll();
}
