#include "core/FileNames.h"

#include "core/FreeFileName.h"

QString UniqueFileName(const QString& folder, const QString& name, const QString& extension)
{
    return FreeFileName(folder, name, extension).path();
}

// A file name from the host's export file is a name, never a path.
bool IsPlainFileName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && !name.contains(QLatin1String("..")) && !name.contains(QChar(0));
}
