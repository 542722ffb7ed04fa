#include "common/GeneralNumberText.h"

#include <QLocale>

#include "common/Numbers.h"

QString GeneralNumberText(double value)
{
    QString text = QString::fromStdString(GeneralNumberTextC(value));
    const QString separator = QLocale().decimalPoint();
    if (separator != QLatin1String("."))
        text.replace(QLatin1Char('.'), separator);
    return text;
}
