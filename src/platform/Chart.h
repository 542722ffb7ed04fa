#pragma once
// A small point chart: title, fixed left axis, automatic bottom axis, legend,
// point series with per-point colours. No mouse zoom.

#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "common/Colors.h"

class TChart;

class TPointSeries {
public:
    TPointSeries(TChart& chart, const QString& title, TColor seriesColor, TColor pointerBrushColor);

    const QString& Title() const { return title_; }
    TColor SeriesColor() const { return seriesColor_; }
    TColor PointerBrushColor() const { return pointerBrush_; }

    // Adds a point whose X value is the number of points before it.
    void AddY(double y, const QString& label, TColor color);
    int Count() const { return int(points_.size()); }
    double XValue(int i) const { return At(i).X; }
    double YValue(int i) const { return At(i).Y; }
    TColor PointColor(int i) const { return At(i).Color; }
    QString Label(int i) const { return At(i).Label; }
    // Changes the Y value of point i; throws std::out_of_range for a missing point.
    // Does not redraw: call Repaint once a whole set is written.
    void SetYValue(int i, double y);
    void Repaint();

private:
    struct TPoint {
        double X, Y;
        QString Label;
        TColor Color;
    };
    const TPoint& At(int i) const;

    TChart& chart_;
    QString title_;
    TColor seriesColor_, pointerBrush_;
    std::vector<TPoint> points_;
};

class TChart : public QWidget {
    Q_OBJECT
public:
    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    void SetTitle(const QString& title) { title_ = title; update(); }
    const QString& Title() const { return title_; }
    void SetLeftAxis(double minimum, double maximum);
    double LeftMinimum() const { return leftMin_; }
    double LeftMaximum() const { return leftMax_; }

    // Series are drawn and listed in the legend in the order they are added.
    TPointSeries& AddSeries(const QString& title, TColor seriesColor, TColor pointerBrushColor);
    int SeriesCount() const { return int(series_.size()); }
    TPointSeries& Series(int i) { return *series_.at(std::size_t(i)); }

    // The bottom axis follows the X values of all series.
    void BottomRange(double& minimum, double& maximum) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    double leftMin_ = -40, leftMax_ = 40;
    std::vector<std::unique_ptr<TPointSeries>> series_;
};
