#pragma once
#include <QWidget>

// The main window's client area. It paints what the design puts on the window's own surface:
// the body picture at the back and the plain rectangles over it; labels and controls lie on top.
class Body : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The calculator body picture, drawn into `target` (the stretched picture's rectangle).
void paintBodyPicture(QPainter& painter, const QRect& target);
