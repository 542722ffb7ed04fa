#include "platform/ToolbarImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

QIcon Draw(const std::function<void(QPainter&)>& paint)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    p.end();
    return QIcon(pixmap);
}

void OpenFolder(QPainter& p)
{
    p.setPen(QColor(120, 90, 0));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(QRectF(1.5, 4.5, 11, 9));
    p.setBrush(QColor(255, 225, 120));
    QPolygonF lid;
    lid << QPointF(3.5, 7.5) << QPointF(15, 7.5) << QPointF(12.5, 13.5) << QPointF(1.5, 13.5);
    p.drawPolygon(lid);
}

void Floppy(QPainter& p)
{
    p.setPen(QColor(20, 20, 80));
    p.setBrush(QColor(60, 80, 170));
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
}

void Upload(QPainter& p)
{
    p.setPen(QColor(40, 40, 40));
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(QRectF(1.5, 9.5, 13, 5));
    p.setBrush(QColor(30, 150, 40));
    QPolygonF arrow;
    arrow << QPointF(8, 9) << QPointF(3, 4) << QPointF(6, 4) << QPointF(6, 0.5) << QPointF(10, 0.5) << QPointF(10, 4)
          << QPointF(13, 4);
    p.drawPolygon(arrow);
}

void State(QPainter& p)
{
    p.setPen(Qt::black);
    const QColor colours[] = {QColor(255, 0, 0), QColor(255, 255, 0), QColor(192, 192, 192)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(colours[i]);
        p.drawEllipse(QRectF(1.5, 1.5 + i * 5, 4, 4));
        p.drawLine(QPointF(8, 3.5 + i * 5), QPointF(14.5, 3.5 + i * 5));
    }
}

void Statistic(QPainter& p)
{
    p.setPen(Qt::black);
    p.drawLine(QPointF(1.5, 1), QPointF(1.5, 14.5));
    p.drawLine(QPointF(1.5, 14.5), QPointF(15, 14.5));
    const QPointF pts[] = {{4, 10}, {6, 6}, {8, 9}, {10, 4}, {12, 7}, {14, 3}};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        p.setBrush(i % 2 ? QColor(0, 0, 255) : QColor(255, 0, 0));
        p.drawRect(QRectF(pts[i].x() - 1.5, pts[i].y() - 1.5, 3, 3));
    }
}

void Spare(QPainter& p)
{
    p.setPen(QColor(90, 90, 90));
    p.setBrush(QColor(220, 220, 220));
    p.drawRect(QRectF(2.5, 2.5, 11, 11));
}

void Measurement(QPainter& p)
{
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(QColor(200, 0, 0), 1.6));
    p.drawLine(QPointF(8, 8), QPointF(12, 4));
}

void Printer(QPainter& p)
{
    p.setPen(QColor(40, 40, 40));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(160, 160, 160));
    p.drawRect(QRectF(1.5, 6.5, 13, 6));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));
}

}  // namespace

std::vector<QIcon> MakeToolbarImages()
{
    return {Draw(OpenFolder), Draw(Floppy), Draw(Upload), Draw(State),
            Draw(Statistic), Draw(Spare), Draw(Measurement), Draw(Printer)};
}
