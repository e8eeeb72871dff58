#include "ui/ordering/OrderingWindows.h"

#include "core/AppContext.h"
#include "ui/ReloadUnloads.h"
#include "ui/ordering/frmLoginByRef.h"
#include "ui/ordering/frmPullReport.h"
#include "ui/ordering/frmStatus.h"

namespace {

// Runs one wait of the status window; false when the user closed it.
template <class Wait>
bool runWait(Wait wait, const QString& block, QString& answer)
{
    frmStatus& window = frmStatus::Load();
    (window.*wait)(block);
    answer = window.sResponse();
    return !window.UserUnloaded();
}

} // namespace

void RegisterOrderingWindows()
{
    WindowHooks::WaitForStatus() = [](const QString& block, QString& answer) {
        return runWait(&frmStatus::GetReport, block, answer);
    };
    SetReloadUnload(ReloadPart::OrderingWindows, [] {
        frmLoginByRef::Unload();
        frmPullReport::Unload();
        frmStatus::Unload();
    });
}
