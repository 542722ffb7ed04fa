#pragma once
// Whole-file reading and writing for the data file. Saving never destroys the
// file it replaces; reading never blocks on something that is not a file.

#include <QByteArray>
#include <QString>

// Writes the bytes to a new temporary file beside the target, checks every
// write, flushes it to disk and renames it over the target. On any failure the
// temporary file is removed, an existing target is left exactly as it was, and
// the result is false. An existing target that is read-only (no write
// permission bit, or not writable by this user) or not a regular file is not
// replaced. A symbolic link is followed, so the file it names is replaced.
bool WriteFileReplacing(const QString& path, const QByteArray& bytes);

enum class TReadOutcome { Ok, CannotOpen, ReadError };

// Larger files are no data file; reading stops there with a read error.
inline constexpr qint64 MaxDataFileSize = 16 * 1024 * 1024;

// Reads a whole regular file. CannotOpen: missing, not permitted, or not a
// regular file (a directory, a pipe, a device). ReadError: the reading failed
// or the file exceeds MaxDataFileSize.
TReadOutcome ReadWholeFile(const QString& path, QByteArray& bytes);
