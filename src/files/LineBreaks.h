#pragma once
// Puts a multi-line text on one line of the data file and back. Both keep the
// length: a line break CR LF travels as a blank and a tab.

#include <QString>

// At each LF, the character before it becomes a blank and the LF a tab.
QString EncodeLineBreaks(QString text);
// At each tab, the character before it becomes CR and the tab LF.
QString DecodeLineBreaks(QString text);
