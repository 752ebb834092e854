#include "help/helpdoc.h"

#include <QTextBlock>
#include <QTextDocument>

namespace tally {

void renderManual(QTextDocument& document, const QString& markdown) {
    document.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
}

QList<HelpHeading> manualHeadings(const QTextDocument& document) {
    QList<HelpHeading> headings;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level > 0)
            headings.append({level, block.text().trimmed(), block.position()});
    }
    return headings;
}

} // namespace tally
