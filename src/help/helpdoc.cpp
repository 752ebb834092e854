#include "help/helpdoc.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTextBlock>
#include <QUrl>
#include <algorithm>

#include "core/datalookup.h"
#include "files/diskfile.h"

namespace tally {

Result<ManualText> loadManual(const QString& name, const std::filesystem::path& currentDir,
                              const std::filesystem::path& exeDir) {
    const std::string wanted = QFile::encodeName(name).toStdString();
    const DataLookup lookup = findDataFile(wanted, currentDir, exeDir);
    if (lookup.found.empty())
        return Failure{notFoundText(wanted, lookup)};
    const Result<std::string> file = readWholeFile(lookup.found.string(), kLargestManual);
    if (!file)
        return Failure{QStringLiteral("The help file \"%1\" could not be read:\n  %2\n%3.")
                           .arg(name, QFile::decodeName(lookup.found.c_str()), QString::fromStdString(file.reason()))
                           .toStdString()};
    return ManualText{QString::fromStdString(*file), QFile::decodeName(lookup.found.parent_path().c_str())};
}

namespace {
// Why the viewer would take too long to lay the Markdown out; empty when it would not. Qt's
// Markdown reader takes time that grows with the square of a paragraph's or a table's lines
// (a table of 10,000 rows: minutes), and its layout with the square of an unbroken line.
QString tooComplex(const QString& markdown) {
    constexpr int kMostLines = 2000, kMostLinesInBlock = 200, kLongestLine = 1000;
    const QList<QStringView> lines = QStringView(markdown).split(u'\n');
    qsizetype inBlock = 0, longest = 0, mostInBlock = 0;
    for (QStringView line : lines) {
        inBlock = line.trimmed().isEmpty() ? 0 : inBlock + 1;
        mostInBlock = std::max(mostInBlock, inBlock);
        longest = std::max(longest, line.size());
    }
    if (lines.size() > kMostLines)
        return QStringLiteral("it has %1 lines, more than %2").arg(lines.size()).arg(kMostLines);
    if (mostInBlock > kMostLinesInBlock)
        return QStringLiteral("a paragraph or table in it runs to %1 lines, more than %2")
            .arg(mostInBlock)
            .arg(kMostLinesInBlock);
    if (longest > kLongestLine)
        return QStringLiteral("a line in it has %1 characters, more than %2").arg(longest).arg(kLongestLine);
    return {};
}
} // namespace

void renderManual(QTextDocument& document, const QString& markdown) {
    const QString why = tooComplex(markdown);
    if (why.isEmpty())
        document.setMarkdown(markdown, QTextDocument::MarkdownFeatures(QTextDocument::MarkdownDialectGitHub |
                                                                       QTextDocument::MarkdownNoHTML));
    else
        document.setPlainText(QStringLiteral("This manual is shown as plain text: %1.\n\n").arg(why) + markdown);
}

ManualDocument::ManualDocument(const QString& folder, QObject* parent)
    : QTextDocument(parent), folder_(QDir(folder).canonicalPath()), pixelsLeft_(16 * 1024 * 1024) {}

QVariant ManualDocument::loadResource(int type, const QUrl& name) {
    if (type != QTextDocument::ImageResource || folder_.isEmpty() || (!name.isRelative() && !name.isLocalFile()))
        return {};
    const QString path = name.isLocalFile() ? name.toLocalFile() : QDir(folder_).filePath(name.path());
    const QFileInfo file(QFileInfo(path).canonicalFilePath()); // a link is judged by what it names
    if (file.filePath().isEmpty() || file.path() != folder_)
        return {};
    const Result<std::string> bytes = readWholeFile(QFile::encodeName(file.filePath()).toStdString(), 1024 * 1024);
    if (!bytes)
        return {};
    QByteArray data = QByteArray::fromStdString(*bytes);
    QBuffer buffer(&data);
    QImageReader reader(&buffer);
    const qint64 pixels = qint64(reader.size().width()) * reader.size().height();
    if (pixels <= 0 || pixels > pixelsLeft_)
        return {};
    pixelsLeft_ -= pixels;
    return reader.read();
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
