#include "core/basSettings.h"

#include "core/SettingsKeys.h"
#include "core/basLog.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/FileOps.h"
#include "platform/ProtectedSecret.h"

#include <limits>

namespace {

// An empty value is stored as empty, not taken for "delete this key".
QString nonNull(const QString& value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

// Reads a working folder (default: its folder under the program's) and creates it when missing.
QString loadFolder(SettingKey key)
{
    const QString folder = AppPaths::ToLocalPath(SettingsKeys::Read(key));
    if (!FileOps::FolderExists(folder))
        FileOps::MakeFolder(folder);
    return folder;
}

ProtectedSecret keptPassword()
{
    const SettingsKeys::Row& row = SettingsKeys::Of(SettingKey::Password);
    return ProtectedSecret(row.app, row.section);
}

void noteClearPassword()
{
    WriteClientLog(QStringLiteral("Password kept in the settings file: no keyring is available"));
}

// The protected copy, or the settings file's where no protected store answers. A password found
// in clear there (an earlier version, a store written by hand) is newer than any protected copy:
// it replaces that copy and leaves the file.
QString loadPassword()
{
    const QString clear = SettingsKeys::Read(SettingKey::Password);
    const ProtectedSecret secret = keptPassword();
    const std::optional<QString> kept = secret.Read();
    if (!kept) {
        noteClearPassword();
        if (!clear.isEmpty())
            SettingsKeys::Protect(SettingKey::Password);
        return nonNull(clear);
    }
    if (clear.isNull())
        return *kept;
    // An empty value (a "Remember Password" cleared while no keyring answered) deletes the copy
    // kept there before: writing an empty secret deletes it.
    if (secret.Write(clear))
        SettingsKeys::Delete(SettingKey::Password);
    return clear;
}

// What the settings file is to hold as the password: nothing (a null value: deleted) when it is
// not to be kept or the protected store kept it; the password itself where no protected store
// answers (the next start's load notes it, or moves it once a keyring answers again). Not to be
// kept while no protected store answers: an empty value, so that the next start that reaches one
// deletes the copy kept there. kept becomes false when the protected store refused it.
QString passwordForFile(const clsProperties& props, bool& kept)
{
    kept = true;
    const ProtectedSecret secret = keptPassword();
    if (!props.SavePassword())
        return secret.Delete() ? QString() : QStringLiteral("");
    if (secret.Write(props.Password()))
        return QString();
    if (!ProtectedSecret::Unavailable()) {
        kept = false;
        return QString();
    }
    return nonNull(props.Password());
}

qint64 loadNumber(SettingKey key, qint64 lowest, qint64 highest)
{
    const QString text = SettingsKeys::Read(key);
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok || value < lowest || value > highest)
        throw AppError(13,
                       QStringLiteral("The setting \"%1\" holds \"%2\", which is not a whole number from %3 to %4.")
                           .arg(SettingsKeys::Of(key).name, text)
                           .arg(lowest)
                           .arg(highest),
                       QStringLiteral("LoadSettings"));
    return value;
}

// props' value for a saved or logged key, as the store holds it.
QString storedText(const clsProperties& props, SettingKey key)
{
    switch (key) {
    case SettingKey::SendDir: return nonNull(props.SendDir());
    case SettingKey::ReceiveDir: return nonNull(props.ReceiveDir());
    case SettingKey::ArchiveDir: return nonNull(props.ArchiveDir());
    case SettingKey::ServerURL: return nonNull(props.ServerURL());
    case SettingKey::UserName: return nonNull(props.UserName());
    case SettingKey::DaysOldTimeFrame: return QString::number(props.DaysOldTimeFrame());
    case SettingKey::PollingSleepTime: return QString::number(props.PollingSleepTime());
    default: Q_UNREACHABLE();
    }
}

void logLoaded(const clsProperties& props)
{
    for (const SettingsKeys::Row& row : SettingsKeys::All()) {
        if (!row.logLabel.isEmpty() && !(row.uses & SettingsKeys::Secret))
            WriteClientLog(QStringLiteral("Loaded Settings - ") + row.logLabel + storedText(props, row.id));
    }
}

} // namespace

bool LoadSettings(clsProperties& props)
{
    WriteClientLog(QStringLiteral("Loading Settings"));
    props.setServerURL(SettingsKeys::Read(SettingKey::ServerURL, props.ClientWebsite()));
    props.setUserName(SettingsKeys::Read(SettingKey::UserName));
    props.setPassword(loadPassword());
    const QString base = props.ServerURL().isEmpty() ? Vendor::DefaultHttpsAddress : props.ServerURL();
    props.setBaseUrl(WithHttpsScheme(base));

    props.setSendDir(loadFolder(SettingKey::SendDir));
    props.setReceiveDir(loadFolder(SettingKey::ReceiveDir));
    props.setArchiveDir(loadFolder(SettingKey::ArchiveDir));

    props.setDaysOldTimeFrame(qint16(loadNumber(SettingKey::DaysOldTimeFrame, std::numeric_limits<qint16>::min(),
                                                std::numeric_limits<qint16>::max())));
    props.setPollingSleepTime(qint32(loadNumber(SettingKey::PollingSleepTime, std::numeric_limits<qint32>::min(),
                                                std::numeric_limits<qint32>::max())));
    props.setAspUtil(SettingsKeys::Read(SettingKey::AspUtil));
    props.setPostLocation(SettingsKeys::Read(SettingKey::PostLocation));

    logLoaded(props);
    return !props.IsEmpty();
}

bool SaveSettings(clsProperties& props)
{
    try {
        WriteClientLog(QStringLiteral("Saving Settings"));
    } catch (const AppError&) {
        // The run log is not worth losing the user's settings over.
    }
    // One write for the whole save: a crash or a full disk leaves the old settings or the new
    // ones, never a mix. The password leaves the file unless no protected store can keep it.
    bool passwordKept = true;
    QList<QPair<SettingKey, QString>> values;
    for (const SettingsKeys::Row& row : SettingsKeys::All()) {
        if (row.uses & SettingsKeys::Saved) {
            const bool secret = row.uses & SettingsKeys::Secret;
            values.append({row.id, secret ? passwordForFile(props, passwordKept) : storedText(props, row.id)});
        }
    }
    return SettingsKeys::Write(values) && passwordKept;
}
