#pragma once

#include <QList>
#include <QPair>
#include <QString>

// Every value the program keeps in the settings store. Callers name a value by its key; its
// name in the store, where it is kept and what a missing value reads as are its row in
// SettingsKeys.cpp, the only place that spells them.
enum class SettingKey {
    SendDir,
    ReceiveDir,
    ArchiveDir,
    ServerURL,
    CompanyID,
    UserName,
    Password,
    DaysOldTimeFrame,
    PollingSleepTime,
    AspUtil,
    PostLocation,
    AppName,
    AppPath,
    ClientVendor,
    VendorWebsite,
};

namespace SettingsKeys {

// What a read finds where the store holds no value.
enum class DefaultIs {
    Value,     // the row's default itself (a null text when it has none)
    Subfolder, // the folder the row's default names under the program's folder, with a closing separator
    Given,     // what the caller passes (the vendor's website shown, for the server address)
};

enum Use {
    Saved = 1,  // written by every save of the settings (SaveSettings)
    Reset = 2,  // cleared by the settings window's Reset
    Secret = 4, // kept by the protected store where one answers, never written to a log
};

struct Row {
    SettingKey id;
    QString name; // in the store
    QString app;
    QString section;
    DefaultIs defaultIs;
    QString defaultValue;
    int uses;         // Use flags
    QString logLabel; // what precedes the value in a load's log line; empty: not logged
};

// The rows in the order saves write and loads log them.
const QList<Row>& All();
const Row& Of(SettingKey key);

// The stored value, or the row's default where none is stored.
QString Read(SettingKey key);
// The stored value, or fallback where none is stored.
QString Read(SettingKey key, const QString& fallback);

// Writes the values in one save of their section (every key one application's and one section's).
// A null value deletes its key. False when the store could not be written.
bool Write(const QList<QPair<SettingKey, QString>>& values);
bool Delete(SettingKey key);
// Makes the store that holds key owner-only (SettingsStore::Protect). False when that failed.
bool Protect(SettingKey key);

// Clears the Reset rows, a secret's protected copy too. Failures are not reported.
void ResetAll();

} // namespace SettingsKeys
