#include "platform/FileOps.h"

#include "platform/AppError.h"
#include "platform/PrivateSaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

[[noreturn]] void fail(long number, const QString& what, const QString& path, const QString& reason)
{
    throw AppError(number, QStringLiteral("%1 failed for %2: %3").arg(what, path, reason), QStringLiteral("FileOps"));
}

// The number and words for a failed write or create, from the system's last error.
[[noreturn]] void failFromErrno(int error, const QString& what, const QString& path)
{
    switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        fail(ErrNo::DiskFull, what, path, QStringLiteral("the disk is full"));
    case EACCES:
    case EPERM:
    case EROFS: fail(ErrNo::AccessDenied, what, path, QStringLiteral("access denied"));
    case ENOENT:
    case ENOTDIR: fail(ErrNo::PathNotFound, what, path, QStringLiteral("path not found"));
    default: fail(ErrNo::FileFailure, what, path, QString::fromLocal8Bit(std::strerror(error)));
    }
}

// Why a file cannot be created at path: its folder is missing or closed to us.
[[noreturn]] void failToCreate(const QString& what, const QString& path, int error)
{
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.isDir())
        fail(ErrNo::PathNotFound, what, path, QStringLiteral("path not found"));
    failFromErrno(error ? error : EACCES, what, path);
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
    const QString what = QStringLiteral("Creating the folder");
    errno = 0;
    if (QDir().mkdir(path))
        return;
    const int error = errno;
    const QFileInfo info(path);
    if (info.exists() && !info.isDir())
        fail(ErrNo::FileFailure, what, path, QStringLiteral("a file of that name is in the way"));
    if (!QFileInfo(info.absolutePath()).isDir())
        fail(ErrNo::PathNotFound, what, path, QStringLiteral("path not found"));
    failFromErrno(error ? error : EACCES, what, path);
}

// Through PrivateSaveFile: the copy is written beside dst under a temporary name and renamed over
// it only once it is complete, so a failed copy leaves an earlier dst as it was; every file copied
// here (archived EXPORT.DAT and IMPORT.DAT, a printed report) holds personal data.
void Copy(const QString& src, const QString& dst)
{
    const QString what = QStringLiteral("Copy");
    if (!Exists(src))
        fail(ErrNo::FileNotFound, what, src, QStringLiteral("file not found"));
    QFile source(src);
    if (!source.open(QIODevice::ReadOnly))
        fail(ErrNo::AccessDenied, what, src, source.errorString());
    PrivateSaveFile target(dst);
    errno = 0;
    if (!target.open())
        failToCreate(what, dst, errno);
    char buffer[64 * 1024];
    for (;;) {
        const qint64 got = source.read(buffer, sizeof buffer);
        if (got < 0)
            fail(ErrNo::FileFailure, what, src, source.errorString());
        if (got == 0)
            break;
        errno = 0;
        if (!target.write(buffer, got))
            failFromErrno(errno ? errno : EIO, what, dst);
    }
    errno = 0;
    if (!target.commit())
        failFromErrno(errno ? errno : EIO, what, dst);
}

// One rename that replaces dst, so dst is never deleted before src has taken its place.
void Rename(const QString& src, const QString& dst)
{
    if (src == dst)
        return;
    if (!Exists(src))
        fail(ErrNo::FileNotFound, QStringLiteral("Rename"), src, QStringLiteral("file not found"));
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(src.toStdU16String()), std::filesystem::path(dst.toStdU16String()),
                            error);
    if (error)
        failFromErrno(error.default_error_condition().value(), QStringLiteral("Rename"), src);
}

void Delete(const QString& path)
{
    QFile file(path);
    if (file.remove())
        return;
    if (!QFileInfo::exists(path))
        fail(ErrNo::FileNotFound, QStringLiteral("Delete"), path, QStringLiteral("file not found"));
    fail(ErrNo::AccessDenied, QStringLiteral("Delete"), path, file.errorString());
}

Qt::CaseSensitivity NameCase()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

QStringList List(const QString& folder, const QString& pattern)
{
    QDir dir(folder);
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    if (NameCase() == Qt::CaseSensitive)
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
    HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(handle);
    return false;
#else
    // Non-blocking: a pipe put in the file's place between listing and this open must not hang it.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
#endif
}

} // namespace FileOps
