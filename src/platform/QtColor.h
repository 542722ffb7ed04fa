#pragma once
// Colour constants to Qt colours for painting.

#include <QColor>

#include "common/Colors.h"

class QWidget;

// System colours take the widget's palette (or the application's).
QColor ToQColor(TColor color, const QWidget* widget = nullptr);
