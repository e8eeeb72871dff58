#include "app/StartupSteps.h"

#include "app/basMain.h"
#include "core/AppContext.h"
#include "core/IMainWindow.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "service/ParamBlock.h"
#include "service/basAccountRefresh.h"
#include "service/basActions.h"
#include "service/basPrefetch.h"

#include <QPointer>

StartupSteps::StartupSteps(IMainWindow& window, QObject* parent) : QObject(parent), m_window(window)
{
}

void StartupSteps::start()
{
    m_running = true;
    m_user = Props().UserName();
    m_window.HoldAccountCommands(true);
    guarded([this] { checkPassword(); });
}

void StartupSteps::giveUp()
{
    finish();
    if (m_stepsRunning == 0)
        delete this;
}

void StartupSteps::checkPassword()
{
    // The first two checks may open a window or end the program, so they go one after the
    // other; meanwhile the connections for the reads sent together afterwards are opened.
    Prefetch::WarmConnections();
    ParamBlock password(QStringLiteral("PASSWORDEXPIRED"));
    password.add(QStringLiteral("USER"), m_user);
    CheckPasswordExpired(password.text(), this, then(&StartupSteps::passwordChecked));
}

void StartupSteps::passwordChecked(const ServiceOutcome& outcome)
{
    if (goesOn(outcome)) // quit from the expired-password window
        checkVersion();
}

void StartupSteps::checkVersion()
{
    ParamBlock version(QStringLiteral("NEWERVERSION"));
    version.add(QStringLiteral("USER"), m_user);
    version.add(QStringLiteral("APPNAME"), AppPaths::ProgramTitle());
    version.add(QStringLiteral("APPVERSION"), ClientVersion());
    CheckForNewerVersion(version.text(), this, then(&StartupSteps::versionChecked));
}

void StartupSteps::versionChecked(const ServiceOutcome& outcome)
{
    if (goesOn(outcome)) // the newer version is being downloaded
        checkReissue();
}

void StartupSteps::checkReissue()
{
    ParamBlock reissue(QStringLiteral("CROSS_COMPANY_REISSUE"));
    reissue.add(QStringLiteral("USER"), m_user);
    // The reissue right and the account reads of the existing-report check depend on nothing
    // that is still to come: they go out together and are taken by their steps in order.
    Prefetch::Send(
        {{QStringLiteral("CheckCrossCompanyReissue"), QStringLiteral("CROSS_COMPANY_REISSUE"), reissue.text()}});
    PrefetchAccountRefresh();
    CheckCrossCompanyReissue(reissue.text(), this, then(&StartupSteps::reissueChecked));
}

void StartupSteps::reissueChecked(const ServiceOutcome& outcome)
{
    if (goesOn(outcome))
        checkExisting();
}

void StartupSteps::checkExisting()
{
    // The window's check may end before it returns, or later from the event loop.
    m_window.CheckForExisting([self = QPointer<StartupSteps>(this)] {
        if (self)
            self->guarded([&self] { self->existingChecked(); });
    });
}

void StartupSteps::existingChecked()
{
    // The check may have asked for a reissue number or failed before the window set its buttons.
    m_window.SetButtons();
    finish();
}

void StartupSteps::guarded(const std::function<void()>& step)
{
    if (!m_running)
        return;
    ++m_stepsRunning;
    try {
        step();
    } catch (const AppError& e) {
        fail(e);
    }
    // Stopped, and no step of it left on the way: the run goes.
    if (--m_stepsRunning == 0 && !m_running)
        delete this;
}

std::function<void(const ServiceOutcome&)> StartupSteps::then(Checked next)
{
    // The run is the request's context, so the request is given up with it; only a window that
    // the answer opened may see the run go before the outcome is handed on.
    return [self = QPointer<StartupSteps>(this), next](const ServiceOutcome& outcome) {
        if (self)
            self->guarded([&self, next, &outcome] { (self->*next)(outcome); });
    };
}

bool StartupSteps::goesOn(const ServiceOutcome& outcome)
{
    // A failed check stops start-up with the answer the operation left: the server's answer, or
    // the error text of a failed request.
    QString answer;
    if (!outcome.Read(answer))
        fail(AppError(ErrNo::Silent, answer, QStringLiteral("Main")));
    else if (WindowHooks::EndRequested())
        finish();
    else
        return true;
    return false;
}

void StartupSteps::fail(const AppError& failure)
{
    // 0 is the quiet stop of a program that is ending; every other failure, platform failures
    // (negative numbers) included, would otherwise stop start-up without a word.
    if (failure.Number != 0)
        ReportStartupFailure(failure.Description);
    finish();
}

void StartupSteps::finish()
{
    if (!m_running)
        return;
    m_running = false;
    m_window.HoldAccountCommands(false);
    // Reads sent ahead for steps that did not run are dropped with what they returned.
    Prefetch::Discard();
}

void RunExistingReportCheck(IMainWindow& window)
{
    // The check may have asked for a reissue number or failed before the window set its buttons.
    window.CheckForExisting([&window] { window.SetButtons(); });
}
