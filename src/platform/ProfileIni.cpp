#include "platform/ProfileIni.h"

#include "platform/TextFile.h"

#include <QStringList>

namespace {

bool isSectionHeader(const QString& line, QString& name)
{
    if (!line.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype close = line.indexOf(QLatin1Char(']'));
    name = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed();
    return true;
}

QString unquoted(const QString& value)
{
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
        && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

// Finds key in section; a null QString when absent.
QString lookUp(const QStringList& lines, const QString& section, const QString& key)
{
    bool inSection = false;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        QString name;
        if (isSectionHeader(line, name)) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection || line.startsWith(QLatin1Char(';')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0 || line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) != 0)
            continue;
        const QString value = unquoted(line.mid(equals + 1).trimmed());
        return value.isNull() ? QStringLiteral("") : value;
    }
    return QString();
}

} // namespace

QString GetPrivateProfileString(const QString& section, const QString& key, const QString& defaultValue, int bufferSize,
                                const QString& file)
{
    return ProfileFile(file).GetString(section, key, defaultValue, bufferSize);
}

ProfileFile::ProfileFile(const QString& file)
{
    if (!TextFile::ReadLines(file, m_lines))
        m_lines.clear();
}

QString ProfileFile::GetString(const QString& section, const QString& key, const QString& defaultValue,
                               int bufferSize) const
{
    QString value = lookUp(m_lines, section, key);
    if (value.isNull())
        value = defaultValue;
    return value.left(qMax(0, bufferSize - 1));
}
