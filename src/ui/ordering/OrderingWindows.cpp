#include "ui/ordering/OrderingWindows.h"

#include "ui/ReloadUnloads.h"
#include "ui/ordering/frmLoginByRef.h"
#include "ui/ordering/frmPullReport.h"
#include "ui/ordering/frmStatus.h"

void RegisterOrderingWindows()
{
    SetReloadUnload(ReloadPart::OrderingWindows, [] {
        frmLoginByRef::Unload();
        frmPullReport::Unload();
        frmStatus::Unload();
    });
}
