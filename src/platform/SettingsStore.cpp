#include "platform/SettingsStore.h"

#include "platform/AppPaths.h"

#include <QDir>
#include <QSettings>

#include <memory>

namespace {

std::unique_ptr<QSettings> open(const QString& app)
{
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") + app,
        QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(SettingsStore::StoreFile(app), QSettings::IniFormat);
#endif
}

QString path(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

} // namespace

namespace SettingsStore {

QString StoreFile(const QString& app)
{
    return AppPaths::ConfigFolder() + QStringLiteral("/QuillClient/") + app + QStringLiteral(".ini");
}

QString GetSetting(const QString& app, const QString& section, const QString& key, const QString& defaultValue)
{
    const auto settings = open(app);
    const QVariant value = settings->value(path(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

bool SaveSetting(const QString& app, const QString& section, const QString& key, const QString& value)
{
    const auto settings = open(app);
    settings->setValue(path(section, key), value);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

bool DeleteSetting(const QString& app, const QString& section, const QString& key)
{
    const auto settings = open(app);
    settings->remove(path(section, key));
    settings->sync();
    return settings->status() == QSettings::NoError;
}

bool SaveSection(const QString& app, const QString& section, const SectionValues& values)
{
    const auto settings = open(app);
    settings->beginGroup(section);
    for (const auto& [key, value] : values) {
        if (value.isNull())
            settings->remove(key);
        else
            settings->setValue(key, value);
    }
    settings->endGroup();
    settings->sync();
    return settings->status() == QSettings::NoError;
}

} // namespace SettingsStore
