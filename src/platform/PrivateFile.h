#pragma once

#include <QFile>
#include <QString>

// Files that hold personal data or secrets (report PDFs, IMPORT.DAT and its copies, the logs, the
// settings store) are readable and writable by their owner only, from the moment they are
// created: a file is never created with wider rights and narrowed afterwards, since a reader who
// opened it in between would keep the open file and read on. Off Windows that is mode 0600. On
// Windows it is an access list of its own, given to CreateFileW: full access for the user the
// program runs as, SYSTEM and the Administrators, protected so that nothing of the folder's list
// is inherited (a data folder may be shared, or hand "Authenticated Users: Modify" down).
namespace PrivateFile {

// Opens file for writing with mode (WriteOnly | Append, WriteOnly | NewOnly, ...); a file that does
// not exist yet is created owner-only. An existing file that others may read (left by an earlier
// version) is closed to them before anything is written, where we are allowed to.
bool Open(QFile& file, QIODevice::OpenMode mode);

enum class Create { Created, Exists, Failed };
// Creates file (its fileName()) as a new, empty, owner-only file and keeps it open for writing,
// failing with Exists when anything of that name is there already: the one way to take a free
// name that another program may be about to take. error, when given, receives the reason of a
// failure.
Create OpenNew(QFile& file, QString* error = nullptr);
// The same, closing the file again.
Create CreateNew(const QString& path, QString* error = nullptr);

// Makes an existing file owner-only (off Windows: takes the rights of group and others away).
// False when that failed.
bool Restrict(const QString& path);

} // namespace PrivateFile
