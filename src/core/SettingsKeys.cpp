#include "core/SettingsKeys.h"

#include "core/basSettings.h"
#include "platform/AppPaths.h"
#include "platform/ProtectedSecret.h"
#include "platform/SettingsStore.h"

#include <algorithm>

namespace SettingsKeys {

const QList<Row>& All()
{
    using namespace Qt::StringLiterals;
    using K = SettingKey;
    using D = DefaultIs;
    // The program's own values, and the ones it shares with the configuration program.
    static const QString program = AppPaths::ProgramTitle();
    static const QString programSection = u"Main"_s;
    static const QString shared = u"OQConstants"_s;
    static const QString sharedSection = u"Settings"_s;
    // clang-format off
    static const QList<Row> rows = {
        // key, name in the store, application, section, default (what it is, value), uses, log label
        {K::SendDir, u"SendDir"_s, program, programSection, D::Subfolder, u"send"_s, Saved | Reset,
         u"Send Directory: "_s},
        {K::ReceiveDir, u"ReceiveDir"_s, program, programSection, D::Subfolder, u"receive"_s, Saved | Reset,
         u"Receive Directory: "_s},
        {K::ArchiveDir, u"ArchiveDir"_s, program, programSection, D::Subfolder, u"archive"_s, Saved | Reset,
         u"Archive Directory: "_s},
        {K::ServerURL, u"ServerURL"_s, program, programSection, D::Given, {}, Saved | Reset, u"ServerURL: "_s},
        {K::CompanyID, u"CompanyID"_s, program, programSection, D::Value, {}, Reset, {}},
        {K::UserName, u"UserName"_s, program, programSection, D::Value, {}, Saved | Reset, u"UserID:    "_s},
        {K::Password, u"Password"_s, program, programSection, D::Value, {}, Saved | Reset | Secret, {}},
        {K::DaysOldTimeFrame, u"DaysOldTimeFrame"_s, program, programSection, D::Value, u"30"_s, Saved, {}},
        {K::PollingSleepTime, u"PollingSleepTime"_s, program, programSection, D::Value, u"3000"_s, Saved, {}},
        {K::AspUtil, u"ASPUtil"_s, program, programSection, D::Value, u"/utils/CGI_Utilities.asp?"_s, 0, {}},
        {K::PostLocation, u"PostLocation"_s, program, programSection, D::Value, u"/cia/cgi/marrowCGI.exe?"_s, 0, {}},
        {K::AppName, u"AppName"_s, shared, sharedSection, D::Value, {}, 0, {}},
        {K::AppPath, u"AppPath"_s, shared, sharedSection, D::Value, {}, 0, {}},
        {K::ClientVendor, u"ClientVendor"_s, shared, sharedSection, D::Value, Vendor::DefaultName, 0, {}},
        {K::VendorWebsite, u"VendorWebsite"_s, shared, sharedSection, D::Value, Vendor::DefaultWebsite, 0, {}},
    };
    // clang-format on
    return rows;
}

const Row& Of(SettingKey key)
{
    const QList<Row>& rows = All();
    const auto row = std::find_if(rows.begin(), rows.end(), [key](const Row& r) { return r.id == key; });
    Q_ASSERT(row != rows.end());
    return *row;
}

QString Read(SettingKey key)
{
    const Row& row = Of(key);
    if (row.defaultIs != DefaultIs::Subfolder)
        return Read(key, row.defaultValue);
    const QString sep = AppPaths::Separator();
    return Read(key, AppPaths::ProgramFolder() + sep + row.defaultValue + sep);
}

QString Read(SettingKey key, const QString& fallback)
{
    const Row& row = Of(key);
    return SettingsStore::GetSetting(row.app, row.section, row.name, fallback);
}

bool Write(const QList<QPair<SettingKey, QString>>& values)
{
    Q_ASSERT(!values.isEmpty());
    const Row& first = Of(values.first().first);
    SettingsStore::SectionValues named;
    for (const auto& [key, value] : values) {
        const Row& row = Of(key);
        Q_ASSERT(row.app == first.app && row.section == first.section);
        named.append({row.name, value});
    }
    return SettingsStore::SaveSection(first.app, first.section, named);
}

bool Delete(SettingKey key)
{
    const Row& row = Of(key);
    return SettingsStore::DeleteSetting(row.app, row.section, row.name);
}

bool Protect(SettingKey key)
{
    return SettingsStore::Protect(Of(key).app);
}

void ResetAll()
{
    for (const Row& row : All()) {
        if (row.uses & Reset)
            SettingsStore::DeleteSetting(row.app, row.section, row.name);
    }
    // A keyring may keep this waiting (a bounded wait): the store's own values go first.
    for (const Row& row : All()) {
        if ((row.uses & Reset) && (row.uses & Secret))
            ProtectedSecret(row.app, row.section).Delete();
    }
}

} // namespace SettingsKeys
