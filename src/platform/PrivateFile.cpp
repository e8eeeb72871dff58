#include "platform/PrivateFile.h"

#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_WIN
#include "platform/FileSecurity.h"

#include <windows.h>
#include <aclapi.h>
#include <fcntl.h>
#include <io.h>
#include <sddl.h>
#endif

namespace {

bool failed(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

#ifndef Q_OS_WIN
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
    | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

bool openPrivate(QFile& file, QIODevice::OpenMode mode, QString* error)
{
    errno = 0;
    // The permissions apply only when the file is created (the umask can only narrow them).
    if (!file.open(mode, kOwnerOnly))
        return failed(error, file.errorString());
    if (file.permissions() & kOthers)
        file.setPermissions(kOwnerOnly); // not ours to change: written as before
    return true;
}
#else
// The user the program runs as, from its process token, as a SID string ("S-1-5-21-...").
QString processUser()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    QByteArray buffer(int(size), '\0');
    QString sid;
    LPWSTR text = nullptr;
    if (size > 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)
        && ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
        sid = QString::fromWCharArray(text);
        LocalFree(text);
    }
    CloseHandle(token);
    return sid;
}

// Full access for the user, SYSTEM and the Administrators, and "P": SE_DACL_PROTECTED, so that
// no entry is inherited from the folder. Written in SDDL, the shortest exact form of it. Built
// once (the process's user does not change) and kept for the program's life; null when the
// user cannot be read, and then no private file is created at all.
PSECURITY_DESCRIPTOR ownerOnly()
{
    static const PSECURITY_DESCRIPTOR descriptor = []() -> PSECURITY_DESCRIPTOR {
        const QString user = processUser();
        const QString sddl = QStringLiteral("D:P(A;;FA;;;%1)(A;;FA;;;SY)(A;;FA;;;BA)").arg(user);
        PSECURITY_DESCRIPTOR built = nullptr;
        if (user.isEmpty()
            || !ConvertStringSecurityDescriptorToSecurityDescriptorW(reinterpret_cast<LPCWSTR>(sddl.utf16()),
                                                                     SDDL_REVISION_1, &built, nullptr))
            return nullptr;
        return built;
    }();
    return descriptor;
}

// Whether the file's access list is protected from inheritance already: ours, or one an
// administrator set on purpose. Either way not to be replaced on every log line.
bool isProtected(const QString& path)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const QString native = QString(path).replace(QLatin1Char('/'), QLatin1Char('\\'));
    if (GetNamedSecurityInfoW(reinterpret_cast<LPCWSTR>(native.utf16()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                              nullptr, nullptr, nullptr, nullptr, &descriptor)
        != ERROR_SUCCESS)
        return false;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    const bool result = GetSecurityDescriptorControl(descriptor, &control, &revision) && (control & SE_DACL_PROTECTED);
    LocalFree(descriptor);
    return result;
}

// The access list is given to CreateFileW, so the file never exists without it (setting it
// right after an exclusive create would work too, but leaves a moment in which the folder's list
// applies, and a second call that can fail after the file exists). The handle then becomes a C
// runtime descriptor that QFile takes over.
bool openPrivate(QFile& file, QIODevice::OpenMode mode, QString* error)
{
    PSECURITY_DESCRIPTOR descriptor = ownerOnly();
    if (!descriptor)
        return failed(error, QStringLiteral("the user the program runs as cannot be read"));
    const bool reading = mode & QIODevice::ReadOnly;
    const DWORD disposition = (mode & QIODevice::NewOnly) ? CREATE_NEW
        : (mode & QIODevice::Append) || reading           ? OPEN_ALWAYS
                                                          : CREATE_ALWAYS;
    HANDLE handle = TheFileSecurity().Create(file.fileName(), GENERIC_WRITE | (reading ? GENERIC_READ : 0),
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, disposition, descriptor);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        errno = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS ? EEXIST
            : code == ERROR_PATH_NOT_FOUND                                ? ENOENT
            : code == ERROR_ACCESS_DENIED                                 ? EACCES
                                                                          : 0;
        return failed(error, qt_error_string(int(code)));
    }
    // An existing file keeps its list (CreateFileW applies ours only to a new one).
    if (GetLastError() == ERROR_ALREADY_EXISTS && !isProtected(file.fileName()))
        TheFileSecurity().Protect(file.fileName(), descriptor); // not ours to change: written as before
    const int flags = _O_BINARY | (reading ? _O_RDWR : _O_WRONLY) | ((mode & QIODevice::Append) ? _O_APPEND : 0);
    const int fd = _open_osfhandle(intptr_t(handle), flags);
    if (fd < 0) {
        CloseHandle(handle);
        return failed(error, QStringLiteral("the file could not be handed over"));
    }
    if (!file.open(fd, mode & ~(QIODevice::NewOnly | QIODevice::Truncate), QFileDevice::AutoCloseHandle)) {
        _close(fd);
        return failed(error, file.errorString());
    }
    return true;
}
#endif

} // namespace

namespace PrivateFile {

bool Open(QFile& file, QIODevice::OpenMode mode)
{
    return openPrivate(file, mode, nullptr);
}

Create OpenNew(QFile& file, QString* error)
{
    errno = 0;
    if (openPrivate(file, QIODevice::WriteOnly | QIODevice::NewOnly, error))
        return Create::Created;
    const int number = errno;
    const QFileInfo info(file.fileName());
    const bool exists = number == EEXIST || info.exists() || info.isSymLink();
    errno = number; // the caller may report it; the look-up above may have changed it
    return exists ? Create::Exists : Create::Failed;
}

Create CreateNew(const QString& path, QString* error)
{
    QFile file(path);
    return OpenNew(file, error);
}

bool Restrict(const QString& path)
{
#ifdef Q_OS_WIN
    PSECURITY_DESCRIPTOR descriptor = ownerOnly();
    return descriptor && TheFileSecurity().Protect(path, descriptor) == ERROR_SUCCESS;
#else
    QFile file(path);
    return !(file.permissions() & kOthers) || file.setPermissions(kOwnerOnly);
#endif
}

} // namespace PrivateFile
