#pragma once
// A round indicator whose brush colour is its value (clSilver = off).

#include <QWidget>

#include "common/Colors.h"

class TShape : public QWidget {
    Q_OBJECT
public:
    explicit TShape(QWidget* parent = nullptr);

    TColor BrushColor() const { return brush_; }
    void SetBrushColor(TColor color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TColor brush_ = clSilver;
};
