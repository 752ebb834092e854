#include "help/helpdoc.h"

#include <QFile>
#include <QTextBlock>
#include <QTextDocument>

#include "core/datalookup.h"
#include "files/diskfile.h"

namespace tally {

ManualText loadManual(const QString& name, const std::filesystem::path& currentDir,
                      const std::filesystem::path& exeDir) {
    const std::string wanted = QFile::encodeName(name).toStdString();
    const DataLookup lookup = findDataFile(wanted, currentDir, exeDir);
    if (lookup.found.empty())
        return {{}, QFile::decodeName(notFoundText(wanted, lookup).c_str())};
    // The manual is some 14 KiB; rendering megabytes of Markdown would hold the viewer for minutes.
    constexpr std::size_t kLargestManual = 256 * 1024;
    const FileRead file = readWholeFile(lookup.found.string(), kLargestManual);
    if (!file.ok())
        return {{},
                QStringLiteral("The help file \"%1\" could not be read:\n  %2\n%3.")
                    .arg(name, QFile::decodeName(lookup.found.c_str()), QString::fromStdString(file.error))};
    return {QString::fromStdString(file.bytes), {}};
}

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
