#include "ui/ordering/OrderingWindows.h"

#include "core/AppContext.h"
#include "ui/ReloadUnloads.h"
#include "ui/ordering/frmLoginByRef.h"
#include "ui/ordering/frmPullReport.h"
#include "ui/ordering/frmStatus.h"

namespace {

// Runs the PDF wait of the status window; false when the user closed it.
bool waitForPdf(const QString& block, QString& answer)
{
    frmStatus& window = frmStatus::Load();
    window.GetPDF(block);
    answer = window.sResponse();
    return !window.UserUnloaded();
}

} // namespace

void RegisterOrderingWindows()
{
    WindowHooks::WaitForPdf() = waitForPdf;
    SetReloadUnload(ReloadPart::OrderingWindows, [] {
        frmLoginByRef::Unload();
        frmPullReport::Unload();
        frmStatus::Unload();
    });
}
