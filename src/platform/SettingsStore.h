#pragma once

#include <QList>
#include <QPair>
#include <QString>

// The per-user settings store: text values addressed by application, section and key.
// On Windows the registry branch of classic application settings, so an existing installation's
// values are found; elsewhere one INI file per application under the configuration folder, made
// owner-only (PrivateFile) before anything is written to it, since it may hold the password.
namespace SettingsStore {

QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
// Both return false when the store could not be written.
bool SaveSetting(const QString& app, const QString& section, const QString& key, const QString& value);
bool DeleteSetting(const QString& app, const QString& section, const QString& key);

// Writes every value of one save of a section at once: one store opened, written and synced
// once, so the file holds either all the new values or the previous ones (the file is replaced
// whole; the Windows registry is written key by key as before). A null value deletes its key.
// False when the store could not be written.
using SectionValues = QList<QPair<QString, QString>>;
bool SaveSection(const QString& app, const QString& section, const SectionValues& values);

// The INI file that holds app's settings off Windows.
QString StoreFile(const QString& app);

// Makes app's store owner-only where it is a file that others may read (left so by an earlier
// version or written by hand): for a store found holding the password before anything is
// written to it. False when that failed.
bool Protect(const QString& app);

} // namespace SettingsStore
