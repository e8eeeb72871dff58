#include "core/basSettings.h"

#include "core/basLog.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/FileOps.h"
#include "platform/ProtectedSecret.h"
#include "platform/SettingsStore.h"

#include <limits>

namespace {

QString get(const QString& key, const QString& defaultValue)
{
    return SettingsStore::GetSetting(AppPaths::ProgramTitle(), StoreKeys::MainSection, key, defaultValue);
}

// An empty value is stored as empty, not taken for "delete this key".
QString nonNull(const QString& value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

// Reads a working folder (default: the program's folder and name) and creates it when missing.
QString loadFolder(const QString& key, const QString& name)
{
    const QString sep = AppPaths::Separator();
    const QString folder = AppPaths::ToLocalPath(get(key, AppPaths::ProgramFolder() + sep + name + sep));
    if (!FileOps::FolderExists(folder))
        FileOps::MakeFolder(folder);
    return folder;
}

const QString kPasswordKey = QStringLiteral("Password");

ProtectedSecret keptPassword()
{
    return ProtectedSecret(AppPaths::ProgramTitle(), StoreKeys::MainSection);
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
    const QString clear = get(kPasswordKey, QString());
    const ProtectedSecret secret = keptPassword();
    const std::optional<QString> kept = secret.Read();
    if (!kept) {
        noteClearPassword();
        return nonNull(clear);
    }
    if (clear.isNull())
        return *kept;
    // An empty value (a "Remember Password" cleared while no keyring answered) deletes the copy
    // kept there before: writing an empty secret deletes it.
    if (secret.Write(clear))
        SettingsStore::DeleteSetting(AppPaths::ProgramTitle(), StoreKeys::MainSection, kPasswordKey);
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

qint64 loadNumber(const QString& key, qint64 defaultValue, qint64 lowest, qint64 highest)
{
    const QString text = get(key, QString::number(defaultValue));
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok || value < lowest || value > highest)
        throw AppError(13,
                       QStringLiteral("The setting \"%1\" holds \"%2\", which is not a whole number from %3 to %4.")
                           .arg(key, text)
                           .arg(lowest)
                           .arg(highest),
                       QStringLiteral("LoadSettings"));
    return value;
}

} // namespace

bool LoadSettings(clsProperties& props)
{
    WriteClientLog(QStringLiteral("Loading Settings"));
    props.setServerURL(get(QStringLiteral("ServerURL"), props.ClientWebsite()));
    props.setUserName(get(QStringLiteral("UserName"), QString()));
    props.setPassword(loadPassword());
    const QString base = props.ServerURL().isEmpty() ? Vendor::DefaultHttpsAddress : props.ServerURL();
    props.setBaseUrl(WithHttpsScheme(base));

    props.setSendDir(loadFolder(QStringLiteral("SendDir"), QStringLiteral("send")));
    props.setReceiveDir(loadFolder(QStringLiteral("ReceiveDir"), QStringLiteral("receive")));
    props.setArchiveDir(loadFolder(QStringLiteral("ArchiveDir"), QStringLiteral("archive")));

    props.setDaysOldTimeFrame(
        qint16(loadNumber(QStringLiteral("DaysOldTimeFrame"), 30, std::numeric_limits<qint16>::min(),
                          std::numeric_limits<qint16>::max())));
    props.setPollingSleepTime(
        qint32(loadNumber(QStringLiteral("PollingSleepTime"), 3000, std::numeric_limits<qint32>::min(),
                          std::numeric_limits<qint32>::max())));
    props.setAspUtil(get(QStringLiteral("ASPUtil"), QStringLiteral("/utils/CGI_Utilities.asp?")));
    props.setPostLocation(get(QStringLiteral("PostLocation"), QStringLiteral("/cia/cgi/marrowCGI.exe?")));

    WriteClientLog(QStringLiteral("Loaded Settings - Send Directory: ") + props.SendDir());
    WriteClientLog(QStringLiteral("Loaded Settings - Receive Directory: ") + props.ReceiveDir());
    WriteClientLog(QStringLiteral("Loaded Settings - Archive Directory: ") + props.ArchiveDir());
    WriteClientLog(QStringLiteral("Loaded Settings - ServerURL: ") + props.ServerURL());
    WriteClientLog(QStringLiteral("Loaded Settings - UserID:    ") + props.UserName());
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
    const SettingsStore::SectionValues values = {
        {QStringLiteral("ServerURL"), nonNull(props.ServerURL())},
        {QStringLiteral("UserName"), nonNull(props.UserName())},
        {kPasswordKey, passwordForFile(props, passwordKept)},
        {QStringLiteral("SendDir"), nonNull(props.SendDir())},
        {QStringLiteral("ReceiveDir"), nonNull(props.ReceiveDir())},
        {QStringLiteral("ArchiveDir"), nonNull(props.ArchiveDir())},
        {QStringLiteral("DaysOldTimeFrame"), QString::number(props.DaysOldTimeFrame())},
        {QStringLiteral("PollingSleepTime"), QString::number(props.PollingSleepTime())},
    };
    return SettingsStore::SaveSection(AppPaths::ProgramTitle(), StoreKeys::MainSection, values) && passwordKept;
}
