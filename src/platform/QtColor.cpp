#include "platform/QtColor.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

QColor ToQColor(TColor color, const QWidget* widget)
{
    if (color.IsSystem()) {
        const QPalette palette = widget ? widget->palette() : QApplication::palette();
        return palette.color(QPalette::Base);
    }
    return QColor(color.Red(), color.Green(), color.Blue());
}
