#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// File and folder operations. The throwing ones raise AppError with a description that names
// the file, so a caller's handler can report it, and a number that says what happened:
// ErrNo::FileNotFound, PathNotFound (the folder is missing), AccessDenied, DiskFull, or FileIo
// for anything else.
namespace FileOps {

bool Exists(const QString& path);
bool FolderExists(const QString& path);

// Creates one folder level (the parent must exist). Throws on failure.
void MakeFolder(const QString& path);

// Copies src over dst (replacing it), whole or not at all: a failed copy leaves an earlier
// dst unchanged and no partial file. The copy is owner-only (PrivateFile). Throws on failure.
void Copy(const QString& src, const QString& dst);
// Renames src to dst, replacing dst in the same step. Throws on failure.
void Rename(const QString& src, const QString& dst);
// Deletes path. Throws on failure.
void Delete(const QString& path);

// How the file system compares file names: without letter case on Windows (and macOS).
Qt::CaseSensitivity NameCase();

// Names (not paths) of the files in folder whose names match the wildcard pattern
// ("*" and "?"), compared the way the file system compares names.
QStringList List(const QString& folder, const QString& pattern);

QDateTime Modified(const QString& path);

// True when another process holds the file open for writing or locked: an exclusive lock
// cannot be taken (Windows: the file cannot be opened without sharing).
bool IsInUse(const QString& path);

} // namespace FileOps
