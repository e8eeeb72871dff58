#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

QString withoutTrailingSeparator(QString folder)
{
    while (folder.size() > 1 && (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))))
        folder.chop(1);
    return folder;
}

QString fromEnvironment(const char* name)
{
    return withoutTrailingSeparator(QDir::fromNativeSeparators(qEnvironmentVariable(name)));
}

#ifndef Q_OS_WIN
QString executableFolder()
{
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
}

// A program installed into the system's folders keeps its files per user, even when the
// folder happens to be writable (root may write to /usr/bin, but logs do not belong there).
bool isSystemFolder(const QString& folder)
{
    return folder.startsWith(QLatin1String("/usr/")) || folder.startsWith(QLatin1String("/opt/"))
        || folder == QLatin1String("/bin") || folder == QLatin1String("/sbin");
}
#endif

// Windows: always the user's own local data folder (%LOCALAPPDATA%\QuillClient). Whether the
// program's folder is writable says nothing there: QFileInfo::isWritable reads only the
// read-only attribute, and a folder outside Program Files may let every local user read the
// archives. Not the roaming folder, which a roaming profile copies to every machine the user logs
// on to and to the profile server: the logs and the send, receive and archive folders hold
// social security numbers and birth dates.
QString perUserFolder()
{
#ifndef Q_OS_WIN
    const QString exe = executableFolder();
    if (!exe.isEmpty() && QFileInfo(exe).isWritable() && !isSystemFolder(exe))
        return exe;
#endif
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

} // namespace

namespace AppPaths {

QString ProgramFolder()
{
    QString folder = fromEnvironment("QUILLCLIENT_HOME");
    if (folder.isEmpty())
        folder = perUserFolder();
    // Every log line asks for the folder: create it the first time it is named, not on every call.
    static QString created;
    if (folder != created && QDir().mkpath(folder))
        created = folder;
    return QDir::toNativeSeparators(withoutTrailingSeparator(folder));
}

QString WindowsFolder()
{
    const QString folder = fromEnvironment("QUILL_WINDOWS_DIR");
    if (!folder.isEmpty())
        return QDir::toNativeSeparators(folder);
#ifdef Q_OS_WIN
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
    if (length > 0 && length <= MAX_PATH)
        return QString::fromWCharArray(buffer, int(length));
#endif
    return ProgramFolder();
}

QString ConfigFolder()
{
    const QString folder = fromEnvironment("QUILLCLIENT_CONFIG");
    if (!folder.isEmpty())
        return folder;
    return withoutTrailingSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

QString Separator()
{
#ifdef Q_OS_WIN
    return QStringLiteral("\\");
#else
    return QStringLiteral("/");
#endif
}

QString ToLocalPath(const QString& hostPath)
{
#ifdef Q_OS_WIN
    return hostPath;
#else
    QString path = hostPath;
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
}

QString ProgramTitle()
{
    return QStringLiteral("OQCREDIT");
}

} // namespace AppPaths
