#include "core/clsConfig.h"

#include "platform/AppPaths.h"
#include "platform/ProfileIni.h"

namespace {
constexpr int kValueBuffer = 150;
constexpr int kFolderBuffer = 100;
const QString kDirectories = QStringLiteral("Directories");
}

clsConfig::clsConfig()
{
    m_sConfigPath = AddBackslash(AppPaths::ProgramFolder());
    m_sConfigFile = m_sConfigPath + QStringLiteral("Config.ini");
    LoadIniValues(2);
    m_sWindowsSystem = TrimNulls(AppPaths::WindowsFolder()).left(kValueBuffer - 1) + QLatin1Char('\\');
    m_sQuillConfigFile = m_sWindowsSystem + QStringLiteral("WINQUILL.INI");
    LoadIniValues(1);
}

QString clsConfig::QuillAppDataFolder(qint16 nFolder) const
{
    if (nFolder < 1 || nFolder > m_folders.size())
        return QString();
    return m_folders.at(nFolder - 1);
}

QString clsConfig::TrimNulls(const QString& text)
{
    QString trimmed = text.trimmed();
    while (trimmed.endsWith(QChar(u'\0')))
        trimmed.chop(1);
    // A value padded with NUL bytes in the file keeps no blank that stood before them.
    return trimmed.trimmed();
}

QString clsConfig::AddBackslash(const QString& text)
{
    return text.endsWith(QLatin1Char('\\')) ? text : text + QLatin1Char('\\');
}

QString clsConfig::read(const ProfileFile& file, const QString& section, const QString& key, int bufferSize)
{
    return TrimNulls(file.GetString(section, key, QString(), bufferSize));
}

void clsConfig::LoadIniValues(int mode)
{
    if (mode == 2) {
        const ProfileFile config(AppPaths::ToLocalPath(m_sConfigFile));
        const QString section = QStringLiteral("Interface");
        m_sConfigServerIP = read(config, section, QStringLiteral("ServerIP"), kValueBuffer);
        m_sConfigCompany = read(config, section, QStringLiteral("Company"), kValueBuffer);
        m_sConfigUsername = read(config, section, QStringLiteral("Username"), kValueBuffer);
        m_sConfigPassword = read(config, section, QStringLiteral("Password"), kValueBuffer);
    } else if (mode == 1) {
        const ProfileFile file(AppPaths::ToLocalPath(m_sQuillConfigFile));
        const QString version = QStringLiteral("Program Version");
        const QString user = QStringLiteral("User Information");
        m_sQuillAppTitle = read(file, version, QStringLiteral("Program"), kValueBuffer);
        m_sQuillAppVersion = read(file, version, QStringLiteral("Version"), kValueBuffer);
        m_sQuillAppBuild = read(file, version, QStringLiteral("Build"), kValueBuffer);
        m_sQuillAppSource = read(file, version, QStringLiteral("Source"), kValueBuffer);
        m_sQuillAppUser = read(file, user, QStringLiteral("User"), kValueBuffer);
        m_sQuillAppCompany = read(file, user, QStringLiteral("Company"), kValueBuffer);
        m_sQuillAppSerial = read(file, user, QStringLiteral("Serial"), kValueBuffer);
        m_sQuillAppPath = AddBackslash(read(file, kDirectories, QStringLiteral("Application"), kValueBuffer));
        m_sQuillAppTemplates = AddBackslash(read(file, kDirectories, QStringLiteral("Templates"), kValueBuffer));
        LoadDataFolders(file);
    }
}

void clsConfig::LoadDataFolders(const ProfileFile& file)
{
    m_folders.clear();
    // Keys Folder0 to Folder100; the list ends at the first missing key. With all 101 keys
    // holding real folders the last one finds no room and is left out.
    for (int k = 0; k <= MaxFolders; ++k) {
        const QString value = read(file, kDirectories, QStringLiteral("Folder%1").arg(k), kFolderBuffer);
        if (value.isEmpty())
            break;
        if (value.toUpper() == QLatin1String("SENTINEL"))
            continue;
        if (m_folders.size() == MaxFolders)
            break;
        m_folders << AddBackslash(value);
    }
}
