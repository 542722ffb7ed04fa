#pragma once
// The character sets of the data file. Files are written in Windows-1252, the
// 8-bit set of the files that operators already keep; reading accepts those
// and UTF-8 (what a modern editor saves).

#include <QByteArray>
#include <QString>

// Windows-1252 bytes of the text; a character that the set lacks becomes "?".
QByteArray EncodeWindows1252(const QString& text);
// Every byte maps to one character; the five bytes that the set leaves
// unassigned map to the control characters of the same code, as Windows does.
QString DecodeWindows1252(const QByteArray& bytes);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const QByteArray& bytes);

// The text of a data file: UTF-8 (without a leading byte order mark) when the
// bytes are valid UTF-8, Windows-1252 otherwise.
QString DecodeDataFileText(const QByteArray& bytes);
