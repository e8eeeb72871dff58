#include "platform/PrivateFile.h"

#include <QFileInfo>

#include <cerrno>

namespace {

#ifndef Q_OS_WIN
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup
    | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
#endif

} // namespace

namespace PrivateFile {

bool Open(QFile& file, QIODevice::OpenMode mode)
{
#ifdef Q_OS_WIN
    return file.open(mode);
#else
    // The permissions apply only when the file is created (the umask can only narrow them).
    if (!file.open(mode, kOwnerOnly))
        return false;
    if (file.permissions() & kOthers)
        file.setPermissions(kOwnerOnly);   // not ours to change: written as before
    return true;
#endif
}

Create CreateNew(const QString& path, QString* error)
{
    QFile file(path);
    errno = 0;
    if (Open(file, QIODevice::WriteOnly | QIODevice::NewOnly))
        return Create::Created;
    const int number = errno;
    const QFileInfo info(path);
    if (number == EEXIST || info.exists() || info.isSymLink())
        return Create::Exists;
    if (error)
        *error = file.errorString();
    return Create::Failed;
}

bool Restrict(const QString& path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return true;
#else
    QFile file(path);
    return !(file.permissions() & kOthers) || file.setPermissions(kOwnerOnly);
#endif
}

} // namespace PrivateFile
