#include "app/StartupSteps.h"

#include "app/AppContext.h"
#include "app/StartupLinks.h"
#include "app/clsProperties.h"

#include <QStringList>

namespace {

const QStringList kReportButtons = {
    QStringLiteral("cmdPrint"), QStringLiteral("cmdView"), QStringLiteral("cmdRMCR"),
    QStringLiteral("cmdImport"), QStringLiteral("cmdAddBureau"), QStringLiteral("cmdRequestSupp"),
};

void disable(IMainWindow& window, const QStringList& names)
{
    for (const QString& name : names)
        window.SetButtonEnabled(name, false);
}

} // namespace

void RunAccountChecks()
{
}

void RunExistingReportCheck(IMainWindow& window)
{
    window.CheckForExisting();
    const QString id = window.ExistingReportID();
    const QString reissue = Props().ReissueNumber();
    if (id.isEmpty() && reissue.isEmpty()) {
        disable(window, kReportButtons);
        window.SetButtonText(QStringLiteral("cmdRepull"), QStringLiteral("&Pull Credit"),
                             QStringLiteral("Pull New Credit Report"));
    } else if (id == QLatin1String("ERROR")) {
        disable(window, kReportButtons);
        window.SetButtonEnabled(QStringLiteral("cmdRepull"), false);
    } else if (!id.isEmpty() && !reissue.isEmpty()) {
        disable(window, {QStringLiteral("cmdRMCR"), QStringLiteral("cmdAddBureau"),
                         QStringLiteral("cmdRequestSupp"), QStringLiteral("cmdRepull")});
    }
}
