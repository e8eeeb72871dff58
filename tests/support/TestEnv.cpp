#include "TestEnv.h"

#include "core/AppContext.h"
#include "core/clsProperties.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {
const char* const kVars[3] = {"QUILLCLIENT_HOME", "QUILLCLIENT_CONFIG", "QUILL_WINDOWS_DIR"};
const char* const kFolders[3] = {"home", "config", "windows"};

#ifdef Q_OS_WIN
const char* const kStoreApps[] = {"OQCREDIT", "OQConstants"};

QSettings storeBranch(const char* app)
{
    return QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\")
                         + QLatin1String(app), QSettings::NativeFormat);
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

QString TestEnv::home() const { return m_dir.path() + QStringLiteral("/home"); }
QString TestEnv::config() const { return m_dir.path() + QStringLiteral("/config"); }
QString TestEnv::windows() const { return m_dir.path() + QStringLiteral("/windows"); }
QString TestEnv::path(const QString& relative) const { return home() + QLatin1Char('/') + relative; }

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

void TestEnv::freshProps() const
{
    SetProps(std::make_shared<clsProperties>());
}
