#include "window/body.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "shell/metrics.h"
#include "window/design.h"

void paintBodyPicture(QPainter& p, const QRect& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QColor beige(0xB8, 0xB2, 0x9C);
    // The case: a rounded body with a lighter upper-left bevel and a darker lower-right one.
    const QRectF outer = QRectF(r).adjusted(1, 1, -1, -1);
    QLinearGradient bevel(outer.topLeft(), outer.bottomRight());
    bevel.setColorAt(0.0, beige.lighter(135));
    bevel.setColorAt(0.5, beige);
    bevel.setColorAt(1.0, beige.darker(150));
    p.setPen(QPen(beige.darker(190), 1));
    p.setBrush(bevel);
    p.drawRoundedRect(outer, 14, 14);
    p.setPen(Qt::NoPen);
    p.setBrush(beige);
    p.drawRoundedRect(outer.adjusted(5, 5, -5, -5), 10, 10);

    auto rel = [&](double x, double y, double w, double h) {
        return QRectF(r.x() + x * r.width(), r.y() + y * r.height(), w * r.width(), h * r.height());
    };
    // The white paper panel behind the tape, upper left.
    p.setBrush(Qt::white);
    p.setPen(QPen(beige.darker(160), 1));
    p.drawRoundedRect(rel(0.0, 0.0, 0.715, 0.455), 4, 4);
    // The black display band behind the entry box, across the left part.
    p.setBrush(Qt::black);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(rel(0.015, 0.48, 0.675, 0.10), 6, 6);
    p.restore();
}

void Body::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // Image1 is stretched over (0, -30, 10215, 7095) twips.
    paintBodyPicture(p, design::twips(0, -30, 10215, 7095));
    for (const design::Rectangle& shape : design::rectangles())
        p.fillRect(design::twips(shape.left, shape.top, shape.width, shape.height), QColor::fromRgb(shape.colour));
}
