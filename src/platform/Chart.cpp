#include "platform/Chart.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>
#include <stdexcept>

#include "platform/QtColor.h"

TPointSeries::TPointSeries(TChart& chart, const QString& title, TColor seriesColor, TColor pointerBrushColor)
    : chart_(chart), title_(title), seriesColor_(seriesColor), pointerBrush_(pointerBrushColor)
{
}

void TPointSeries::AddY(double y, const QString& label, TColor color)
{
    points_.push_back({double(points_.size()), y, label, color});
}

const TPointSeries::TPoint& TPointSeries::At(int i) const
{
    if (i < 0 || i >= int(points_.size()))
        throw std::out_of_range("chart point out of range");
    return points_[std::size_t(i)];
}

void TPointSeries::SetYValue(int i, double y)
{
    At(i);
    points_[std::size_t(i)].Y = y;
}

void TPointSeries::Repaint() { chart_.update(); }

TChart::TChart(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setFocusPolicy(Qt::StrongFocus);
}

TChart::~TChart() = default;

void TChart::SetLeftAxis(double minimum, double maximum)
{
    leftMin_ = minimum;
    leftMax_ = maximum;
    update();
}

TPointSeries& TChart::AddSeries(const QString& title, TColor seriesColor, TColor pointerBrushColor)
{
    series_.push_back(std::make_unique<TPointSeries>(*this, title, seriesColor, pointerBrushColor));
    return *series_.back();
}

void TChart::BottomRange(double& minimum, double& maximum) const
{
    bool any = false;
    minimum = 0;
    maximum = 0;
    for (const auto& s : series_)
        for (int i = 0; i < s->Count(); ++i) {
            const double x = s->XValue(i);
            if (!any || x < minimum)
                minimum = x;
            if (!any || x > maximum)
                maximum = x;
            any = true;
        }
    if (maximum <= minimum)
        maximum = minimum + 1;
}

namespace {

// A step of 1, 2 or 5 times a power of ten that gives about `count` ticks.
double NiceStep(double span, int count)
{
    const double raw = span / std::max(1, count);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * magnitude >= raw)
            return m * magnitude;
    return 10 * magnitude;
}

QString AxisLabel(double v)
{
    return QString::number(v, 'g', 6);
}

}  // namespace

void TChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics fm(font());
    const int line = fm.height();

    // Title.
    QRect area = rect().adjusted(6, 4, -6, -4);
    painter.setPen(Qt::black);
    painter.drawText(QRect(area.left(), area.top(), area.width(), line), Qt::AlignHCenter, title_);
    area.setTop(area.top() + line + 6);

    // Legend on the right, framed.
    int legendWidth = 0;
    for (const auto& s : series_)
        legendWidth = std::max(legendWidth, fm.horizontalAdvance(s->Title()));
    legendWidth += 34;
    const int legendHeight = int(series_.size()) * (line + 2) + 8;
    const QRect legend(area.right() - legendWidth, area.top() + 8, legendWidth, legendHeight);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(legend);
    for (int i = 0; i < int(series_.size()); ++i) {
        const TPointSeries& s = *series_[std::size_t(i)];
        const int y = legend.top() + 4 + i * (line + 2);
        painter.setBrush(ToQColor(s.SeriesColor()));
        painter.drawRect(legend.left() + 6, y + line / 2 - 3, 6, 6);
        painter.drawText(QRect(legend.left() + 20, y, legendWidth - 24, line), Qt::AlignLeft | Qt::AlignVCenter,
                         s.Title());
    }
    area.setRight(legend.left() - 10);

    // Plot frame inside the axis labels.
    const int labelWidth = std::max(fm.horizontalAdvance(AxisLabel(leftMin_)), fm.horizontalAdvance(AxisLabel(leftMax_)));
    const QRect plot(area.left() + labelWidth + 8, area.top() + line / 2, area.width() - labelWidth - 12,
                     area.height() - line - 10 - line / 2);
    if (plot.width() < 10 || plot.height() < 10)
        return;

    double xMin, xMax;
    BottomRange(xMin, xMax);
    auto px = [&](double x) { return plot.left() + (x - xMin) / (xMax - xMin) * plot.width(); };
    auto py = [&](double y) { return plot.bottom() - (y - leftMin_) / (leftMax_ - leftMin_) * plot.height(); };

    painter.setBrush(Qt::NoBrush);
    // Grid and axis labels.
    const QPen gridPen(QColor(200, 200, 200), 1, Qt::DotLine);
    const double yStep = NiceStep(leftMax_ - leftMin_, 8);
    for (double y = std::ceil(leftMin_ / yStep) * yStep; y <= leftMax_ + 1e-9; y += yStep) {
        painter.setPen(gridPen);
        painter.drawLine(QPointF(plot.left(), py(y)), QPointF(plot.right(), py(y)));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(area.left(), py(y) - line / 2.0, labelWidth + 4, line), Qt::AlignRight | Qt::AlignVCenter,
                         AxisLabel(y));
    }
    const double xStep = NiceStep(xMax - xMin, 10);
    for (double x = std::ceil(xMin / xStep) * xStep; x <= xMax + 1e-9; x += xStep) {
        painter.setPen(gridPen);
        painter.drawLine(QPointF(px(x), plot.top()), QPointF(px(x), plot.bottom()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(px(x) - 30, plot.bottom() + 3, 60, line), Qt::AlignHCenter | Qt::AlignTop, AxisLabel(x));
    }
    painter.setPen(Qt::black);
    painter.drawRect(plot);

    // Points: small squares in their own colours; those beyond the fixed left
    // axis are not shown.
    painter.save();
    painter.setClipRect(plot.adjusted(-3, 0, 3, 0));
    for (const auto& s : series_) {
        for (int i = 0; i < s->Count(); ++i) {
            const double y = s->YValue(i);
            if (!(y >= leftMin_ && y <= leftMax_))
                continue;
            const QPointF c(px(s->XValue(i)), py(y));
            painter.setPen(QPen(Qt::black, 0));
            painter.setBrush(ToQColor(s->PointColor(i)));
            painter.drawRect(QRectF(c.x() - 2.5, c.y() - 2.5, 5, 5));
        }
    }
    painter.restore();
}
