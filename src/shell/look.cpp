#include "shell/look.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

#include "core/startup.h"

void applyClassicLook(QApplication& app) {
    QStyle* style = QStyleFactory::create(QStringLiteral("Windows"));
    if (!style)
        return; // built into Qt Widgets; without it the desktop's look still works
    app.setStyle(style);
    // A desktop theme's palette would win over the style's own; set it explicitly.
    app.setPalette(style->standardPalette());
}

void placeOnScreen(QWidget& window, const QWidget* over) {
    QScreen* screen = over ? over->screen() : window.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect wanted(QPoint(), window.size());
    wanted.moveCenter(over ? over->frameGeometry().center() : area.center());
    const tally::Box placed = tally::fitWithin({wanted.x(), wanted.y(), wanted.width(), wanted.height()},
                                               {area.x(), area.y(), area.width(), area.height()});
    window.move(placed.left, placed.top);
}
