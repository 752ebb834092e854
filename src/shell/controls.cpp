#include "shell/controls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTreeWidget>

#include "shell/metrics.h"

namespace design {
namespace {

QWidget* create(const Element& e, QWidget* parent) {
    switch (e.kind) {
    case Kind::Label:
        return new QLabel(parent);
    case Kind::Button:
        return new QPushButton(parent);
    case Kind::LineEdit:
        return new QLineEdit(parent);
    case Kind::ScrollBar: {
        auto* bar = new QScrollBar(Qt::Vertical, parent);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        // One change per move, at the end of a drag: each change plays a sound and redraws.
        bar->setTracking(false);
        // A scroll bar takes no focus by default, and its focus handler must run.
        bar->setFocusPolicy(Qt::StrongFocus);
        return bar;
    }
    case Kind::Slider: {
        auto* slider = new QSlider(Qt::Horizontal, parent);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(1);
        slider->setPageStep(1);
        return slider;
    }
    case Kind::List:
        return new QListWidget(parent);
    case Kind::Combo: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        return combo;
    }
    case Kind::Tree: {
        auto* tree = new QTreeWidget(parent);
        tree->setRootIsDecorated(false);
        return tree;
    }
    }
    return nullptr;
}

} // namespace

QColor Colour::resolve(const QPalette& palette) const {
    switch (kind) {
    case Rgb:
        return QColor::fromRgb(rgb);
    case Role:
        return palette.color(role);
    default:
        return {};
    }
}

void build(QWidget* parent, std::span<const Element> table) {
    for (const Element& e : table) {
        QWidget* w = create(e, parent);
        w->setObjectName(QString::fromLatin1(e.name));
        apply(w, e);
    }
}

QWidget* findControl(const QWidget* parent, const char* name) {
    auto* w = parent->findChild<QWidget*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    if (!w)
        qFatal("no control named %s in the window's table", name);
    return w;
}

void applyFont(QWidget* widget, const Font& font) {
    if (font.family)
        widget->setFont(fontOf(font.family, font.points, font.bold));
}

void applyColours(QWidget* widget, Colour background, Colour text) {
    QPalette palette = widget->palette();
    if (background.kind != Colour::Unset) {
        const QColor c = background.resolve(palette);
        for (auto r : {QPalette::Window, QPalette::Base, QPalette::Button})
            palette.setColor(r, c);
        // Opaque: nothing painted on the window beneath (the shadow rectangles) shows through.
        widget->setAutoFillBackground(true);
    }
    if (text.kind != Colour::Unset) {
        const QColor c = text.resolve(palette);
        for (auto r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(r, c);
    }
    widget->setPalette(palette);
}

void apply(QWidget* widget, const Element& e) {
    widget->setGeometry(twips(e.left, e.top, e.width, e.height));
    applyFont(widget, e.font);
    applyColours(widget, e.background, e.text);
    if (e.tooltip)
        widget->setToolTip(QString::fromUtf8(e.tooltip));
    const QString caption = e.caption ? QString::fromUtf8(e.caption) : QString();
    Qt::Alignment align = Qt::AlignVCenter;
    if (e.align == AlignLeft)
        align |= Qt::AlignLeft;
    if (e.align == AlignCentre)
        align = Qt::AlignCenter;
    if (e.align == AlignRight)
        align |= Qt::AlignRight;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (e.caption)
            label->setText(caption);
        label->setAlignment(e.align == AlignDefault ? Qt::AlignLeft | Qt::AlignTop : align);
        if (e.border) {
            // A raised panel's edges are drawn in Light and Dark, a plain box's in the text colour:
            // the border stays black whatever colour the text has.
            label->setFrameShape(QFrame::Panel);
            label->setFrameShadow(QFrame::Raised);
            label->setLineWidth(1);
            QPalette palette = label->palette();
            for (auto r : {QPalette::Light, QPalette::Dark})
                palette.setColor(r, Qt::black);
            label->setPalette(palette);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (e.caption)
            button->setText(caption);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (e.caption)
            combo->setEditText(caption);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (e.caption)
            edit->setText(caption);
    } else if (auto* range = qobject_cast<QAbstractSlider*>(widget)) {
        range->setRange(e.range.minimum, e.range.maximum);
    }
    // Labels and buttons read as their own text; controls without one say what they are.
    if (e.accessibleName)
        widget->setAccessibleName(QString::fromUtf8(e.accessibleName));
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setAccessibleName(label->text());
    if (e.hidden)
        widget->hide();
}

} // namespace design
