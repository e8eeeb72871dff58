#include "platform/SettingsStore.h"

#include "platform/AppPaths.h"
#include "platform/PrivateFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <memory>

namespace {

std::unique_ptr<QSettings> open(const QString& app)
{
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") + app, QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(SettingsStore::StoreFile(app), QSettings::IniFormat);
#endif
}

// The store may hold the password, so its file is owner-only before anything is written to it.
// QSettings replaces an existing file through a temporary copy that it creates owner-only and
// gives the file's own rights; a file it creates itself would get the default rights.
std::unique_ptr<QSettings> openForWriting(const QString& app)
{
#ifndef Q_OS_WIN
    const QString file = SettingsStore::StoreFile(app);
    QDir().mkpath(QFileInfo(file).absolutePath());
    if (PrivateFile::CreateNew(file) == PrivateFile::Create::Exists)
        PrivateFile::Restrict(file);
#endif
    return open(app);
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

bool Protect(const QString& app)
{
#ifdef Q_OS_WIN
    Q_UNUSED(app);
    return true; // the user's own registry branch
#else
    return !QFileInfo::exists(StoreFile(app)) || PrivateFile::Restrict(StoreFile(app));
#endif
}

QString GetSetting(const QString& app, const QString& section, const QString& key, const QString& defaultValue)
{
    const auto settings = open(app);
    const QVariant value = settings->value(path(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

bool SaveSetting(const QString& app, const QString& section, const QString& key, const QString& value)
{
    const auto settings = openForWriting(app);
    settings->setValue(path(section, key), value);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

bool DeleteSetting(const QString& app, const QString& section, const QString& key)
{
    const auto settings = openForWriting(app);
    settings->remove(path(section, key));
    settings->sync();
    return settings->status() == QSettings::NoError;
}

bool SaveSection(const QString& app, const QString& section, const SectionValues& values)
{
    const auto settings = openForWriting(app);
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
