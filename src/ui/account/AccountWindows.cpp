#include "ui/account/AccountWindows.h"

#include "core/AppContext.h"
#include "ui/ReloadUnloads.h"
#include "ui/account/frmAbout.h"
#include "ui/account/frmChangePass.h"
#include "ui/account/frmPrefs.h"
#include "ui/account/frmUpdateContactInfo.h"

#include <QAction>

void RegisterAccountWindows()
{
    WindowHooks::ShowSettingsWindow() = [] { frmPrefs::ShowModal(); };
    WindowHooks::ShowChangePassword() = [](bool userInitiated) { frmChangePass::ShowModal(userInitiated); };
    // Reload discards the account windows, in the order settings, about, change password; the
    // settings window goes without its quit question because UserCancelled is set around this call.
    SetReloadUnload(ReloadPart::AccountWindows, [] {
        frmPrefs::Unload();
        frmAbout::Unload();
        frmChangePass::Unload();
    });
}

void ConnectAccountMenu(QAction* about, QAction* changePassword, QAction* contactInfo)
{
    QObject::connect(about, &QAction::triggered, about, [] { frmAbout::ShowModal(); });
    QObject::connect(changePassword, &QAction::triggered, changePassword, [] { frmChangePass::ShowModal(true); });
    QObject::connect(contactInfo, &QAction::triggered, contactInfo, [] { frmUpdateContactInfo::ShowModal(); });
}
