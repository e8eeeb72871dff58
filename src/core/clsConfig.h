#pragma once

#include <QString>
#include <QStringList>

class ProfileFile;

// The host program's configuration, read once at creation from WINQUILL.INI in the Windows
// folder and from Config.ini in the program's folder. Nothing is ever written to either file.
class clsConfig
{
public:
    clsConfig();

    QString sConfigPath() const { return m_sConfigPath; }
    QString sConfigServerIP() const { return m_sConfigServerIP; }
    QString sConfigCompany() const { return m_sConfigCompany; }
    QString sConfigUsername() const { return m_sConfigUsername; }
    QString sConfigPassword() const { return m_sConfigPassword; }
    QString sWindowsSystem() const { return m_sWindowsSystem; }
    QString sQuillConfigFile() const { return m_sQuillConfigFile; }
    QString sQuillAppTitle() const { return m_sQuillAppTitle; }
    QString sQuillAppVersion() const { return m_sQuillAppVersion; }
    QString sQuillAppBuild() const { return m_sQuillAppBuild; }
    QString sQuillAppSource() const { return m_sQuillAppSource; }
    QString sQuillAppUser() const { return m_sQuillAppUser; }
    QString sQuillAppCompany() const { return m_sQuillAppCompany; }
    QString sQuillAppSerial() const { return m_sQuillAppSerial; }
    QString sQuillAppPath() const { return m_sQuillAppPath; }
    QString sQuillAppTemplates() const { return m_sQuillAppTemplates; }
    qint16 nQuillFolderCount() const { return qint16(m_folders.size()); }

    // Data folder nFolder (1 = first) with its trailing backslash; empty when out of range.
    QString QuillAppDataFolder(qint16 nFolder) const;

    // The list has room for entries 1 to 100.
    static constexpr int MaxFolders = 100;

    // Trims blanks, then drops trailing NUL characters.
    static QString TrimNulls(const QString& text);
    // Appends "\" unless text already ends with one.
    static QString AddBackslash(const QString& text);

private:
    // mode 2: Config.ini, mode 1: WINQUILL.INI; each file is read once per load.
    void LoadIniValues(int mode);
    void LoadDataFolders(const ProfileFile& file);
    static QString read(const ProfileFile& file, const QString& section, const QString& key, int bufferSize);

    QString m_sConfigServerIP, m_sConfigCompany, m_sConfigUsername, m_sConfigPassword;
    QString m_sConfigPath, m_sConfigFile;
    QString m_sWindowsSystem, m_sQuillConfigFile;
    QString m_sQuillAppTitle, m_sQuillAppVersion, m_sQuillAppBuild, m_sQuillAppSource;
    QString m_sQuillAppUser, m_sQuillAppCompany, m_sQuillAppSerial;
    QString m_sQuillAppPath, m_sQuillAppTemplates;
    QStringList m_folders;
};
