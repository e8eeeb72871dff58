#include "TestEnv.h"

#include "core/AppContext.h"
#include "core/clsProperties.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const char* const kVars[3] = {"QUILLCLIENT_HOME", "QUILLCLIENT_CONFIG", "QUILL_WINDOWS_DIR"};
const char* const kFolders[3] = {"home", "config", "windows"};
}

TestEnv::TestEnv()
{
    for (int i = 0; i < 3; ++i) {
        m_saved[i] = qgetenv(kVars[i]);
        const QString folder = m_dir.path() + QLatin1Char('/') + QLatin1String(kFolders[i]);
        QDir().mkpath(folder);
        qputenv(kVars[i], QFile::encodeName(folder));
    }
}

TestEnv::~TestEnv()
{
    SetProps(nullptr);
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
