#pragma once
// The manual as a rendered document, and its table of contents.
#include <QList>
#include <QString>

class QTextDocument;

namespace tally {

struct HelpHeading {
    int level = 0;     // 1 for "#", 2 for "##", ...
    QString text;      // the heading as shown
    int position = 0;  // document position of the heading's block
};

// Renders Markdown into the document; the viewer and the tests go through this one call.
void renderManual(QTextDocument& document, const QString& markdown);

// Every heading of a rendered document, in document order.
QList<HelpHeading> manualHeadings(const QTextDocument& document);

} // namespace tally
