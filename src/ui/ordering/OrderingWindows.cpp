#include "ui/ordering/OrderingWindows.h"

#include "core/AppContext.h"
#include "ui/ordering/frmLoginByRef.h"
#include "ui/ordering/frmPullReport.h"
#include "ui/ordering/frmStatus.h"

namespace {

// Runs one wait of the status window; false when the user closed it.
template <class Wait>
bool runWait(Wait wait, const QString& address, QString& answer)
{
    frmStatus& window = frmStatus::Load();
    (window.*wait)(address);
    answer = window.sResponse();
    return !window.UserUnloaded();
}

} // namespace

void RegisterOrderingWindows()
{
    WindowHooks::WaitForStatus() = [](const QString& address, QString& answer) {
        return runWait(&frmStatus::GetReport, address, answer);
    };
    WindowHooks::WaitForPdf() = [](const QString& address, QString& answer) {
        return runWait(&frmStatus::GetPDF, address, answer);
    };
    WindowHooks::UnloadWindowsForReload() = [others = WindowHooks::UnloadWindowsForReload()] {
        if (others)
            others();
        frmLoginByRef::Unload();
        frmPullReport::Unload();
        frmStatus::Unload();
    };
}
