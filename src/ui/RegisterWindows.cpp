#include "ui/RegisterWindows.h"

#include "core/AppContext.h"
#include "core/IMainWindow.h"
#include "ui/account/AccountWindows.h"

#include "ui/ordering/OrderingWindows.h"
#include "ui/ordering/frmMain.h"

namespace {

// The one main window; it deletes itself when unloaded and is created again on next use.
IMainWindow* createMainWindow()
{
    auto* window = new frmMain;
    window->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(window, &QObject::destroyed, [] { WindowHooks::MainWindowUnloaded(); });
    return window;
}

} // namespace

void RegisterWindows()
{
    WindowHooks::SetMainWindowFactory(createMainWindow);
    RegisterAccountWindows();
    RegisterOrderingWindows();
}
