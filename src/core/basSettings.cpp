#include "core/basSettings.h"

#include "core/basLog.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/FileOps.h"
#include "platform/SettingsStore.h"

#include <limits>

namespace {

QString get(const QString& key, const QString& defaultValue)
{
    return SettingsStore::GetSetting(AppPaths::ProgramTitle(), StoreKeys::MainSection, key, defaultValue);
}

bool save(const QString& key, const QString& value)
{
    return SettingsStore::SaveSetting(AppPaths::ProgramTitle(), StoreKeys::MainSection, key, value);
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
    props.setPassword(get(QStringLiteral("Password"), QString()));
    const QString base = props.ServerURL().isEmpty() ? Vendor::DefaultHttpsAddress : props.ServerURL();
    props.setBaseUrl(WithHttpsScheme(base));

    props.setSendDir(loadFolder(QStringLiteral("SendDir"), QStringLiteral("send")));
    props.setReceiveDir(loadFolder(QStringLiteral("ReceiveDir"), QStringLiteral("receive")));
    props.setArchiveDir(loadFolder(QStringLiteral("ArchiveDir"), QStringLiteral("archive")));

    props.setDaysOldTimeFrame(qint16(loadNumber(QStringLiteral("DaysOldTimeFrame"), 30,
                                                std::numeric_limits<qint16>::min(),
                                                std::numeric_limits<qint16>::max())));
    props.setPollingSleepTime(qint32(loadNumber(QStringLiteral("PollingSleepTime"), 3000,
                                                std::numeric_limits<qint32>::min(),
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
    bool saved = save(QStringLiteral("ServerURL"), props.ServerURL());
    saved = save(QStringLiteral("UserName"), props.UserName()) && saved;
    if (props.SavePassword())
        saved = save(QStringLiteral("Password"), props.Password()) && saved;
    else
        saved = SettingsStore::DeleteSetting(AppPaths::ProgramTitle(), StoreKeys::MainSection, QStringLiteral("Password"))
                && saved;
    saved = save(QStringLiteral("SendDir"), props.SendDir()) && saved;
    saved = save(QStringLiteral("ReceiveDir"), props.ReceiveDir()) && saved;
    saved = save(QStringLiteral("ArchiveDir"), props.ArchiveDir()) && saved;
    saved = save(QStringLiteral("DaysOldTimeFrame"), QString::number(props.DaysOldTimeFrame())) && saved;
    saved = save(QStringLiteral("PollingSleepTime"), QString::number(props.PollingSleepTime())) && saved;
    return saved;
}
