#pragma once

#include <QFile>
#include <QString>

// Files that hold personal data or secrets (report PDFs, IMPORT.DAT and its copies, the logs, the
// settings store) are readable and writable by their owner only. Off Windows that is mode 0600
// from the moment the file is created: a file is never created with wider rights and narrowed
// afterwards, since a reader who opened it in between would keep the open file and read on.
// Windows keeps the ACLs the folder hands down.
namespace PrivateFile {

// Opens file for writing with mode (WriteOnly | Append, WriteOnly | NewOnly, ...); a file that does
// not exist yet is created owner-only. An existing file that others may read (left by an earlier
// version) is closed to them before anything is written, where we are allowed to.
bool Open(QFile& file, QIODevice::OpenMode mode);

enum class Create { Created, Exists, Failed };
// Creates path as a new, empty, owner-only file, failing with Exists when anything of that name
// is there already: the one way to take a free name that another program may be about to take.
// error, when given, receives the reason of a failure.
Create CreateNew(const QString& path, QString* error = nullptr);

// Takes the rights of group and others away from an existing file (off Windows). False when
// that failed.
bool Restrict(const QString& path);

} // namespace PrivateFile
