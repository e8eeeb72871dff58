#pragma once

#include <QString>

class clsProperties;

// The vendor's identity when the store names none.
namespace Vendor {
inline const QString DefaultName = QStringLiteral("Tamsel Credit Services");
inline const QString DefaultWebsite = QStringLiteral("www.tamselcredit.example");
inline const QString DefaultHttpsAddress = QStringLiteral("https://secure.tamselcredit.example");
}

// Fills the persistent part of props from the store, creating the three working folders.
// True when the settings are complete. Throws AppError when a folder cannot be created, a
// number is malformed or the run log cannot be written.
bool LoadSettings(clsProperties& props);

// The password is kept by the system's protected store (ProtectedSecret), not in the store's
// own value (SettingKey::Password), except where no protected store answers (Linux without a
// keyring): there it stays in the owner-only settings file as before, which Client.log notes.
// A password found in clear by LoadSettings moves to the protected store.

// Writes the persistent part of props to the store; the password only when SavePassword is
// set (otherwise it is deleted, its protected copy too), all in one write of the store. Never
// throws; false when the store could not be written, in which case it still holds the previous
// values, or when the protected store refused the password.
bool SaveSettings(clsProperties& props);
