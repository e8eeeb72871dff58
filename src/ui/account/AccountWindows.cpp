#include "ui/account/AccountWindows.h"

#include "app/StartupLinks.h"
#include "app/WindowHooks.h"
#include "ui/account/frmPasswordExpired.h"
#include "ui/account/frmPrefs.h"

void RegisterAccountWindows()
{
    StartupLinks::ShowSettingsWindow() = [] { frmPrefs::ShowModal(); };
    WindowHooks::ShowChangePassword() = [](bool userInitiated) { frmPasswordExpired::ShowModal(userInitiated); };
    StartupLinks::SetSettingsUserCancelled() = [](bool value) { frmPrefs::setUserCancelled(value); };
    // Reload discards the windows that hold account state; the settings window goes without
    // its quit question because UserCancelled is set around this call.
    StartupLinks::UnloadWindowsForReload() = [] {
        frmPrefs::Unload();
        if (frmPasswordExpired* expired = frmPasswordExpired::loaded())
            expired->close();
    };
}
