// The indicators of the day's extremes, and the colour values of the window.
#include "ui/Indicator.h"

#include <QLabel>
#include <QPainter>

namespace ui {

QColor colorFromValue(quint32 value, const QPalette &palette) {
    if (value & 0x80000000u) {
        switch (value & 0xFFu) {
        case 15: // button face
            return palette.color(QPalette::Window);
        case 16: // button shadow
            return palette.color(QPalette::Dark);
        case 20: // 3-D highlight
            return palette.color(QPalette::Light);
        case 18: // button text
            return palette.color(QPalette::ButtonText);
        default:
            return palette.color(QPalette::WindowText);
        }
    }
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

void setForeColor(QLabel *label, cycle::Colour colour) {
    const quint32 value = colour == cycle::Colour::Red ? kRed : kBlack;
    QPalette palette = label->palette();
    // Disabled keeps the style's grey: a panel of old readings greys them all.
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::WindowText, colorFromValue(value, palette));
    label->setPalette(palette);
}

Indicator::Indicator(QWidget *parent) : QWidget(parent) { setFixedSize(sizeHint()); }

void Indicator::setBorderColor(quint32 value) {
    border_ = value;
    update();
}

void Indicator::setFillColor(quint32 value) {
    fill_ = value;
    update();
}

void Indicator::setLook(records::Look look) {
    switch (look) {
    case records::Look::Maximum:
        setBorderColor(kDarkGreen);
        setFillColor(kGreen);
        break;
    case records::Look::Minimum:
        setBorderColor(kDarkRed);
        setFillColor(kRed);
        break;
    case records::Look::Off:
        setBorderColor(kWindowBackground + 1);
        setFillColor(kWindowBackground);
        break;
    }
}

void Indicator::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(colorFromValue(border_, palette()));
    pen.setWidthF(1.5);
    p.setPen(pen);
    p.setBrush(colorFromValue(fill_, palette()));
    p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
}

} // namespace ui
