#pragma once
// The data file as the export writes it.

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The 197 lines, each ending in CR LF, in Windows-1252, read from the windows
// at this moment; `now` dates line 8.
QByteArray ComposeDataFile(const QDateTime& now);

// The user's short date, "/", and the user's long time without a zone name.
QString DateTimeText(const QDateTime& now);
