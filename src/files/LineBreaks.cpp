#include "files/LineBreaks.h"

// A break or tab at the very first position has no character before it; it is
// converted alone, which keeps the length and round-trips (a lone LF is a line
// break to the description box as well).

QString EncodeLineBreaks(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\n'))
            continue;
        if (i > 0)
            text[i - 1] = QLatin1Char(' ');
        text[i] = QLatin1Char('\t');
    }
    return text;
}

QString DecodeLineBreaks(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\t'))
            continue;
        if (i > 0)
            text[i - 1] = QLatin1Char('\r');
        text[i] = QLatin1Char('\n');
    }
    return text;
}
