#include "shell/metrics.h"

#include <QStringList>

#include "core/startup.h"

namespace design {

QRect twips(int left, int top, int width, int height) {
    using tally::twipsToPixels;
    const int x = twipsToPixels(left), y = twipsToPixels(top);
    return QRect(x, y, twipsToPixels(left + width) - x, twipsToPixels(top + height) - y);
}

void installFontSubstitutes() {
    static const bool installed = [] {
        const QStringList sans{"Liberation Sans", "DejaVu Sans"};
        const QStringList mono{"Liberation Mono", "DejaVu Sans Mono"};
        QFont::insertSubstitutions("MS Sans Serif", sans);
        QFont::insertSubstitutions("System", sans);
        QFont::insertSubstitutions("Arial", sans);
        QFont::insertSubstitutions("Arial Narrow", {"Liberation Sans Narrow", "DejaVu Sans Condensed"});
        QFont::insertSubstitutions("Lucida Console", mono);
        QFont::insertSubstitutions("Terminal", mono);
        return true;
    }();
    (void)installed;
}

QFont fontOf(const char* family, double points, bool bold) {
    installFontSubstitutes();
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace design
