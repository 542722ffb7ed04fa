#include "platform/Lamp.h"

#include <QPainter>

#include "platform/QtColor.h"

TShape::TShape(QWidget* parent) : QWidget(parent) {}

void TShape::SetBrushColor(TColor color)
{
    if (brush_ == color)
        return;
    brush_ = color;
    update();
}

void TShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(ToQColor(brush_, this));
    painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}
