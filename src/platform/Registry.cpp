#include "platform/Registry.h"

#include "platform/Seam.h"

#include <QSettings>

bool Registry::QueryString(const QString& keyPath, const QString& valueName, QString& value)
{
#ifdef Q_OS_WIN
    QSettings key(QStringLiteral("HKEY_LOCAL_MACHINE\\") + keyPath, QSettings::NativeFormat);
    const QVariant read = key.value(valueName);
    if (!read.isValid())
        return false;
    value = read.toString();
    return true;
#else
    Q_UNUSED(keyPath);
    Q_UNUSED(valueName);
    Q_UNUSED(value);
    return false;
#endif
}

Registry& TheRegistry()
{
    return Seam<Registry>::get();
}

bool RegQueryString(const QString& keyPath, const QString& valueName, QString& value)
{
    return TheRegistry().QueryString(keyPath, valueName, value);
}
