#include "TestEnv.h"

#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "platform/ProtectedSecret.h"
#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#ifdef Q_OS_WIN
#include "platform/FileSecurity.h"
#include "platform/Seam.h"

#include <windows.h>
#include <sddl.h>
#else
#include <sys/stat.h>
#endif

namespace {
const char* const kVars[3] = {"QUILLCLIENT_HOME", "QUILLCLIENT_CONFIG", "QUILL_WINDOWS_DIR"};
const char* const kFolders[3] = {"home", "config", "windows"};

#ifdef Q_OS_WIN
const char* const kStoreApps[] = {"OQCREDIT", "OQConstants"};

// A file by volume and index: the same file after a temporary file is renamed over its target.
QString fileId(HANDLE handle)
{
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileInformationByHandle(handle, &info)
        ? QString("%1:%2:%3").arg(info.dwVolumeSerialNumber).arg(info.nFileIndexHigh).arg(info.nFileIndexLow)
        : QString();
}

QString fileId(const QString& path)
{
    HANDLE handle = CreateFileW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return QString();
    const QString id = fileId(handle);
    CloseHandle(handle);
    return id;
}

QString sddlOf(void* descriptor)
{
    LPWSTR text = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                              &text, nullptr))
        return "an unreadable security descriptor";
    const QString sddl = QString::fromWCharArray(text);
    LocalFree(text);
    return sddl;
}

// Wine keeps no access list for a file: it turns the one given into Unix mode bits (0750 here)
// and reads back a list built from them, unprotected and without the Administrators. So what each
// file was given is recorded where the program hands it to Windows.
class AccessRecorder : public FileSecurity
{
public:
    void* Create(const QString& path, unsigned long access, unsigned long share, unsigned long disposition,
                 void* descriptor) override
    {
        HANDLE handle = FileSecurity::Create(path, access, share, disposition, descriptor);
        const DWORD code = GetLastError();
        // An existing file opened keeps its own list.
        if (handle != INVALID_HANDLE_VALUE && code != ERROR_ALREADY_EXISTS)
            given[fileId(handle)] = sddlOf(descriptor);
        SetLastError(code);
        return handle;
    }
    unsigned long Protect(const QString& path, void* descriptor) override
    {
        const unsigned long result = FileSecurity::Protect(path, descriptor);
        if (result == 0)
            given[fileId(path)] = sddlOf(descriptor);
        return result;
    }
    QMap<QString, QString> given; // by file
};

AccessRecorder& accessRecorder()
{
    static AccessRecorder recorder;
    return recorder;
}

QString processUser()
{
    HANDLE token = nullptr;
    char buffer[256] = {};
    DWORD size = 0;
    LPWSTR text = nullptr;
    QString user;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)
        && GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)
        && ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text))
        user = QString::fromWCharArray(text);
    LocalFree(text);
    CloseHandle(token);
    return user;
}

QSettings storeBranch(const char* app)
{
    return QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") + QLatin1String(app),
                     QSettings::NativeFormat);
}
#endif
}

TestEnv::TestEnv()
{
#ifndef Q_OS_WIN
    // No test reaches the user's own keyring: outside the private bus of
    // scripts/private-keyring.sh a test has no session bus at all (the keyring is then missing).
    if (qEnvironmentVariableIsEmpty("QUILL_TEST_KEYRING"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
#endif
    for (int i = 0; i < 3; ++i) {
        m_saved[i] = qgetenv(kVars[i]);
        const QString folder = m_dir.path() + QLatin1Char('/') + QLatin1String(kFolders[i]);
        QDir().mkpath(folder);
        qputenv(kVars[i], QFile::encodeName(folder));
    }
#ifdef Q_OS_WIN
    for (const char* app : kStoreApps) {
        QSettings branch = storeBranch(app);
        QVariantMap values;
        for (const QString& key : branch.allKeys())
            values.insert(key, branch.value(key));
        m_savedStore.append({QLatin1String(app), values});
        branch.clear();
    }
    // Recorded from the first test on; a file of an earlier test may have left its index to a new one.
    accessRecorder().given.clear();
    Seam<FileSecurity>::set(&accessRecorder());
#endif
}

TestEnv::~TestEnv()
{
    SetProps(nullptr);
#ifdef Q_OS_WIN
    for (const auto& [app, values] : m_savedStore) {
        QSettings branch = storeBranch(qPrintable(app));
        branch.clear();
        for (auto it = values.begin(); it != values.end(); ++it)
            branch.setValue(it.key(), it.value());
    }
#endif
    for (int i = 0; i < 3; ++i) {
        if (m_saved[i].isNull())
            qunsetenv(kVars[i]);
        else
            qputenv(kVars[i], m_saved[i]);
    }
}

void TestEnv::writeFile(const QString& relative, const QByteArray& bytes) const
{
    const QString file = QDir::isAbsolutePath(relative) ? relative : path(relative);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile out(file);
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
}

QByteArray TestEnv::readFile(const QString& relative) const
{
    QFile in(QDir::isAbsolutePath(relative) ? relative : path(relative));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

QString TestEnv::rememberedPassword()
{
    const QString clear = SettingsStore::GetSetting("OQCREDIT", "Main", "Password");
    const QString kept = ProtectedSecret("OQCREDIT", "Main").Read().value_or(QString());
    return !clear.isEmpty() ? clear : !kept.isEmpty() ? kept : "<absent>";
}

QString TestEnv::accessOf(const QString& path) const
{
    if (!QFileInfo::exists(path))
        return "missing";
#ifdef Q_OS_WIN
    const QString given = accessRecorder().given.value(fileId(path));
    if (given.isEmpty())
        return "the folder's access list";
    const QString ownerOnly = "D:P(A;;FA;;;" + processUser() + ")(A;;FA;;;SY)(A;;FA;;;BA)";
    return given == ownerOnly ? "owner only" : "access list " + given;
#else
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    const int mode = int(info.st_mode & 07777);
    return mode == 0600 ? "owner only" : "mode " + QString::number(mode, 8);
#endif
}

void TestEnv::freshProps() const
{
    SetProps(std::make_shared<clsProperties>());
}
