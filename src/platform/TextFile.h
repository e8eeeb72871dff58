#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Text files exchanged with the host program and the logs: Windows-1252 on disk.
namespace TextFile {

QString Decode(const QByteArray& bytes);
// A character that Windows-1252 cannot hold becomes "?".
QByteArray Encode(const QString& text);

// Reads the whole file and splits it at CR LF or LF. False when it cannot be read.
bool ReadLines(const QString& path, QStringList& lines);

// The files written here (the logs, IMPORT.DAT) hold personal data: they are owner-only (PrivateFile).

// Appends text, encoded, to path (creating it). False when opening or writing failed.
bool Append(const QString& path, const QString& text);

// Writes data as the whole file, or leaves the previous file untouched on failure.
bool WriteWhole(const QString& path, const QByteArray& data);

} // namespace TextFile
