#include "tape/tapereading.h"

#include <QLabel>
#include <array>

#include "shell/access.h"
#include "tape/cells.h"
#include "tape/spokenline.h"

namespace {

constexpr const char* kColumns[] = {"Label10", "Label11", "Label12"};

class TapeLines : public ReadableLines {
    Q_OBJECT
public:
    explicit TapeLines(QWidget* body) : ReadableLines(body, QStringLiteral("Tape")) {
        setObjectName(QStringLiteral("tapeLines"));
        for (int r = 0; r < tally::kVisibleRows; ++r)
            for (int c = 0; c < 3; ++c)
                rows[r][c] = body->findChild<QLabel*>(QStringLiteral("%1_%2").arg(kColumns[c]).arg(r),
                                                      Qt::FindDirectChildrenOnly);
    }
    // Top row first: the tape's order. Returns the bottom row's line.
    QString read() {
        std::vector<Line> lines;
        for (int r = tally::kVisibleRows - 1; r >= 0; --r) {
            const auto& [number, entry, subtotal] = rows[r];
            if (!number || !entry || !subtotal)
                continue;
            const std::string said = tally::spokenLine(number->text().toStdString(), entry->text().toStdString(),
                                                       subtotal->text().toStdString());
            lines.push_back({QString::fromStdString(said), number->geometry() | subtotal->geometry()});
        }
        setLines(lines);
        return lines.empty() ? QString() : lines.back().text;
    }

private:
    std::array<std::array<const QLabel*, 3>, tally::kVisibleRows> rows{};
};

} // namespace

void readTapeRows(QWidget& body, QWidget& entryBox) {
    auto* lines = body.findChild<TapeLines*>(QStringLiteral("tapeLines"), Qt::FindDirectChildrenOnly);
    if (!lines)
        lines = new TapeLines(&body);
    const QString bottom = lines->read();
    if (entryBox.accessibleDescription() != bottom)
        entryBox.setAccessibleDescription(bottom);
}

#include "tapereading.moc"
