#include "ui/account/AccountWindows.h"

#include "core/AppContext.h"
#include "ui/account/frmPasswordExpired.h"
#include "ui/account/frmPrefs.h"

void RegisterAccountWindows()
{
    WindowHooks::ShowSettingsWindow() = [] { frmPrefs::ShowModal(); };
    WindowHooks::ShowChangePassword() = [](bool userInitiated) { frmPasswordExpired::ShowModal(userInitiated); };
    // Reload discards the windows that hold account state; the settings window goes without
    // its quit question because UserCancelled is set around this call.
    WindowHooks::UnloadWindowsForReload() = [] {
        frmPrefs::Unload();
        if (frmPasswordExpired* expired = frmPasswordExpired::loaded())
            expired->close();
    };
}
