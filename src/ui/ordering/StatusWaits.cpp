#include "ui/ordering/StatusWaits.h"

#include "app/WindowHooks.h"
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

void RegisterStatusWaits()
{
    WindowHooks::WaitForStatus() = [](const QString& address, QString& answer) {
        return runWait(&frmStatus::GetReport, address, answer);
    };
    WindowHooks::WaitForPdf() = [](const QString& address, QString& answer) {
        return runWait(&frmStatus::GetPDF, address, answer);
    };
}
