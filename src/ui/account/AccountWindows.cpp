#include "ui/account/AccountWindows.h"

#include "app/StartupLinks.h"
#include "app/WindowHooks.h"
#include "ui/account/frmPasswordExpired.h"
#include "ui/account/frmPrefs.h"

void RegisterAccountWindows()
{
    StartupLinks::ShowSettingsWindow() = [] { frmPrefs::ShowModal(); };
    WindowHooks::ShowChangePassword() = [](bool userInitiated) { frmPasswordExpired::ShowModal(userInitiated); };
}
