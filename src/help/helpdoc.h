#pragma once
// The manual as a rendered document, and its table of contents.
#include <QList>
#include <QString>
#include <filesystem>

class QTextDocument;

namespace tally {

struct HelpHeading {
    int level = 0;    // 1 for "#", 2 for "##", ...
    QString text;     // the heading as shown
    int position = 0; // document position of the heading's block
};

// The manual named `name`, found as every data file is found and read whole: its Markdown, or
// the message that tells the user why it cannot be shown.
struct ManualText {
    QString markdown;
    QString error; // empty when the manual was read
};
ManualText loadManual(const QString& name, const std::filesystem::path& currentDir,
                      const std::filesystem::path& exeDir);

// Renders Markdown into the document; the viewer and the tests go through this one call.
void renderManual(QTextDocument& document, const QString& markdown);

// Every heading of a rendered document, in document order.
QList<HelpHeading> manualHeadings(const QTextDocument& document);

} // namespace tally
