#include "core/FileNames.h"

#include "platform/AppPaths.h"

#include <QFileInfo>

QString UniqueFileName(const QString& folder, const QString& name, const QString& extension)
{
    const QString base = AppPaths::ToLocalPath(folder) + name;
    QString counter;
    for (qint64 n = 1;; ++n) {
        const QString candidate = base + counter + QLatin1Char('.') + extension;
        if (!QFileInfo::exists(candidate))
            return candidate;
        counter = QString::number(n);
    }
}

// A file name from the host's export file is a name, never a path.
bool IsPlainFileName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && !name.contains(QLatin1String("..")) && !name.contains(QChar(0));
}
