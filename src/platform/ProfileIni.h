#pragma once

#include <QString>
#include <QStringList>

// Reads of Windows-style INI files with the classic profile-string rules: section and key
// names compare without regard to case, the first match wins, blanks around names and values
// are trimmed, a value wrapped in one pair of matching quotes loses them, nothing is escaped
// (backslashes are literal), and a value longer than bufferSize - 1 characters is cut.
// A missing file, section or key gives defaultValue (cut the same way).
QString GetPrivateProfileString(const QString& section, const QString& key, const QString& defaultValue, int bufferSize,
                                const QString& file);

// One INI file, read and decoded once when constructed; every lookup then follows the rules
// above without touching the disk again. A file that cannot be read holds nothing.
class ProfileFile
{
public:
    explicit ProfileFile(const QString& file);

    QString GetString(const QString& section, const QString& key, const QString& defaultValue, int bufferSize) const;

private:
    QStringList m_lines;
};
