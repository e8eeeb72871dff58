#include "platform/FileOps.h"

#include "platform/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

[[noreturn]] void fail(const QString& what, const QString& path, const QString& reason)
{
    throw AppError(ErrNo::FileIo, QStringLiteral("%1 failed for %2: %3").arg(what, path, reason),
                   QStringLiteral("FileOps"));
}

Qt::CaseSensitivity fileSystemCase()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

} // namespace

namespace FileOps {

bool Exists(const QString& path)
{
    return QFileInfo(path).isFile();
}

bool FolderExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

void MakeFolder(const QString& path)
{
    if (!QDir().mkdir(path))
        fail(QStringLiteral("Creating the folder"), path, QStringLiteral("path not found or access denied"));
}

void Copy(const QString& src, const QString& dst)
{
    if (!Exists(src))
        fail(QStringLiteral("Copy"), src, QStringLiteral("file not found"));
    if (Exists(dst) && !QFile::remove(dst))
        fail(QStringLiteral("Copy"), dst, QStringLiteral("the file cannot be replaced"));
    QFile source(src);
    if (!source.copy(dst))
        fail(QStringLiteral("Copy"), src, source.errorString());
}

void Rename(const QString& src, const QString& dst)
{
    if (src == dst)
        return;
    if (Exists(dst) && !QFile::remove(dst))
        fail(QStringLiteral("Rename"), dst, QStringLiteral("the file cannot be replaced"));
    QFile source(src);
    if (!source.rename(dst))
        fail(QStringLiteral("Rename"), src, source.errorString());
}

void Delete(const QString& path)
{
    QFile file(path);
    if (!file.remove())
        fail(QStringLiteral("Delete"), path, file.errorString());
}

QStringList List(const QString& folder, const QString& pattern)
{
    QDir dir(folder);
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    if (fileSystemCase() == Qt::CaseSensitive)
        dir.setFilter(dir.filter() | QDir::CaseSensitive);
    dir.setNameFilters({pattern});
    dir.setSorting(QDir::Name);
    return dir.entryList();
}

QDateTime Modified(const QString& path)
{
    return QFileInfo(path).lastModified();
}

bool IsInUse(const QString& path)
{
#ifdef Q_OS_WIN
    HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(handle);
    return false;
#else
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
#endif
}

} // namespace FileOps
