#pragma once

#include <QString>

// The per-user settings store: text values addressed by application, section and key.
// On Windows the registry branch of classic application settings, so an existing installation's
// values are found; elsewhere one INI file per application under the configuration folder.
namespace SettingsStore {

QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
// Both return false when the store could not be written.
bool SaveSetting(const QString& app, const QString& section, const QString& key, const QString& value);
bool DeleteSetting(const QString& app, const QString& section, const QString& key);

// The INI file that holds app's settings off Windows.
QString StoreFile(const QString& app);

} // namespace SettingsStore
