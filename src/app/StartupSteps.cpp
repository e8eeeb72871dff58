#include "app/StartupSteps.h"

#include "core/AppContext.h"
#include "core/IMainWindow.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "service/ParamBlock.h"
#include "service/basAccountRefresh.h"
#include "service/basActions.h"
#include "service/basPrefetch.h"

namespace {

// A false result stops start-up with the answer the operation left: the server's answer, or
// the error text of a failed request.
void requireSuccess(bool ok, const QString& answer)
{
    if (!ok)
        throw AppError(ErrNo::Silent, answer, QStringLiteral("Main"));
}

} // namespace

void StopIfEnding()
{
    if (WindowHooks::EndRequested())
        throw AppError(0, QStringLiteral("The program is ending."), QStringLiteral("Main"));
}

void RunAccountChecks()
{
    const QString user = Props().UserName();
    // One answer variable for the three checks.
    QString answer;

    // The first two checks may open a window or end the program, so they go one after the
    // other; meanwhile the connections for the reads sent together afterwards are opened.
    Prefetch::WarmConnections();
    ParamBlock password(QStringLiteral("PASSWORDEXPIRED"));
    password.add(QStringLiteral("USER"), user);
    requireSuccess(CheckPasswordExpired(password.text(), answer), answer);
    StopIfEnding(); // quit from the expired-password window

    ParamBlock version(QStringLiteral("NEWERVERSION"));
    version.add(QStringLiteral("USER"), user);
    version.add(QStringLiteral("APPNAME"), AppPaths::ProgramTitle());
    version.add(QStringLiteral("APPVERSION"), ClientVersion());
    requireSuccess(CheckForNewerVersion(version.text(), answer), answer);
    StopIfEnding(); // the newer version is being downloaded

    ParamBlock reissue(QStringLiteral("CROSS_COMPANY_REISSUE"));
    reissue.add(QStringLiteral("USER"), user);
    // The reissue right and the account reads of the existing-report check depend on nothing
    // that is still to come: they go out together and are taken by their steps in order.
    Prefetch::Send(
        {{QStringLiteral("CheckCrossCompanyReissue"), QStringLiteral("CROSS_COMPANY_REISSUE"), reissue.text()}});
    PrefetchAccountRefresh();
    requireSuccess(CheckCrossCompanyReissue(reissue.text(), answer), answer);
}

void RunExistingReportCheck(IMainWindow& window)
{
    // The check may have asked for a reissue number or failed before the window set its buttons.
    window.CheckForExisting([&window] { window.SetButtons(); });
}
