#pragma once
// The manual as a rendered document, and its table of contents.
#include <QList>
#include <QString>
#include <QTextDocument>
#include <filesystem>

#include "core/result.h"

namespace tally {

struct HelpHeading {
    int level = 0;    // 1 for "#", 2 for "##", ...
    QString text;     // the heading as shown
    int position = 0; // document position of the heading's block
};

// A manual as read: its Markdown, and the folder it was found in (its pictures are taken from
// there only).
struct ManualText {
    QString markdown;
    QString folder;
};
// No larger manual is read: ours is some 19 KiB, and Markdown of a few hundred KiB would hold
// the viewer for minutes.
constexpr std::size_t kLargestManual = 64 * 1024;
// The manual named `name`, found as every data file is found and read whole, or the message that
// tells the user why it cannot be shown.
Result<ManualText> loadManual(const QString& name, const std::filesystem::path& currentDir,
                              const std::filesystem::path& exeDir);

// Renders Markdown into the document; the viewer and the tests go through this one call. Markdown
// beyond what the viewer lays out within a second or so (a paragraph or table of hundreds of
// lines, thousands of lines, a line of thousands of characters) is shown as plain text below a
// note that says why; HTML in it stays text.
void renderManual(QTextDocument& document, const QString& markdown);

// The manual's document: it takes pictures only from the manual's own folder, only regular files
// of at most 1 MiB, and no more pixels in all than a few pages of pictures hold; anything else
// shows as a missing picture.
class ManualDocument : public QTextDocument {
public:
    explicit ManualDocument(const QString& folder, QObject* parent = nullptr);

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QString folder_;
    qint64 pixelsLeft_;
};

// Every heading of a rendered document, in document order.
QList<HelpHeading> manualHeadings(const QTextDocument& document);

} // namespace tally
