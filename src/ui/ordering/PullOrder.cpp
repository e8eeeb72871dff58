#include "ui/ordering/PullOrder.h"

#include "core/AppContext.h"
#include "core/basLog.h"
#include "core/clsProperties.h"
#include "host/clsInquiry.h"
#include "platform/AppError.h"
#include "platform/MsgBox.h"
#include "service/ParamBlock.h"
#include "service/basActions.h"
#include "service/basOrder.h"
#include "service/clsReportStatus.h"
#include "ui/ordering/PullRequestBlock.h"
#include "ui/ordering/frmCheckExisting.h"
#include "ui/ordering/frmLoginByRef.h"
#include "ui/ordering/frmMain.h"
#include "ui/ordering/frmPullReport.h"
#include "ui/ordering/frmStatus.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {
const QString kCheckLog = QStringLiteral("An error occurred, check log");
}

PullOrder::PullOrder(frmPullReport& window) : w(window) {}

void PullOrder::Run()
{
    try {
        run();
    } catch (const AppError& error) {
        if (error.Number == ErrNo::Silent)
            return;
        MsgBox(QStringLiteral("There was a problem pulling credit.\r\nError: ") + error.Description, vbExclamation,
               QStringLiteral("Credit Request Problem"));
        WriteErrorLog(error.Description + QStringLiteral(" in cmdPull"));
    }
}

void PullOrder::run()
{
    if (!chooseWhoOrders())
        return;
    if (!w.m_main || !w.m_oReportStatus)
        throw AppError(ErrNo::Transport, QStringLiteral("The loan is no longer loaded."));
    frmMain& main = *w.m_main;

    w.showProgressList();
    PullRequestBlock request;
    request.pullType = w.m_ePullType;
    request.joint = w.m_oInquiry && w.m_oInquiry->CoBorrower();
    request.equifax = w.cbxEquifax()->isChecked();
    request.experian = w.cbxExperian()->isChecked();
    request.transUnion = w.cbxTransUnion()->isChecked();
    const QString block = request.text(main);

    QString guid;
    if (!placeOrFollow(block, guid))
        return;
    w.m_sReportUID = guid;
    if (!stampVersion(guid))
        return;
    frmCheckExisting::setsReportID(guid);
    main.setsReportLocation(QString());

    w.progress(QStringLiteral("Checking status..."));
    if (!waitForBureaus(guid))
        return;
    const frmStatus* status = frmStatus::loaded();
    if (status && status->UserUnloaded())
        aborted();
    else
        succeeded(guid);
}

// Whose account the order goes on. False when the user left the reference chooser and
// confirmed the abort: nothing is sent.
bool PullOrder::chooseWhoOrders()
{
    if (Props().CanLoginByRef()) {
        const int answer = MsgBox(QStringLiteral("Would you like to pull a report on behalf of someone else?"),
                                  vbYesNo | vbQuestion, QStringLiteral("Pull As Confirmation"));
        frmLoginByRef& chooser = frmLoginByRef::Load();
        if (answer == vbYes) {
            chooser.setAbortMessage(true);
            chooser.exec();
        } else {
            Props().setLoginByRef(false);
            chooser.setUserCancelled(false);
        }
    }
    const frmLoginByRef* chooser = frmLoginByRef::loaded();
    return !(chooser && chooser->UserCancelled());
}

// An identical order still in progress is followed rather than placed a second time.
bool PullOrder::placeOrFollow(const QString& block, QString& guid)
{
    QString pending;
    if (FindPending(block, pending)) {
        w.progress(QStringLiteral("Found pending request..."));
        guid = pending;
        return true;
    }
    w.progress(QStringLiteral("Request sent..."));
    QString answer;
    if (!Request(block, answer)) {
        w.progress(kCheckLog);
        return false;
    }
    w.progress(QStringLiteral("Request accepted..."), false);
    guid = answer;
    return true;
}

bool PullOrder::stampVersion(const QString& guid)
{
    ParamBlock block(QStringLiteral("UPDATELOSVERSION"));
    block.add(QStringLiteral("guid"), guid).add(QStringLiteral("LOSVersion"), ClientVersion());
    QString answer;
    if (UpdateLOSVersion(block.text(), answer))
        return true;
    // The action keeps a refusal silent and unlogged; the order has been placed, so the user is
    // told to look at the log and the log says why. Other failures are logged by the action.
    w.progress(kCheckLog);
    if (!answer.startsWith(QLatin1String("<ERROR>")))
        WriteErrorLog(QStringLiteral("Order ") + guid + QStringLiteral(": the version stamp was refused: ") + answer
                      + QStringLiteral(" in cmdPull"));
    return false;
}

bool PullOrder::waitForBureaus(const QString& guid)
{
    ParamBlock block(QStringLiteral("GET_Status"));
    block.add(QStringLiteral("guid"), guid);
    QString answer;
    if (GetStatus(block.text(), *w.m_oReportStatus, answer))
        return true;
    // GetStatus has logged its failure.
    w.progress(kCheckLog);
    return false;
}

void PullOrder::aborted()
{
    w.hideProgressList(frmPullReport::AbortedHeight);
    MsgBox(QStringLiteral("Credit pull aborted by user."), vbInformation, QStringLiteral("Aborted"));
}

void PullOrder::succeeded(const QString& guid)
{
    w.progress(QStringLiteral("Report finished."));
    frmMain& main = *w.m_main;
    main.setsReportUID(guid);
    w.m_oReportStatus->setsReportID(guid);
    w.m_ePullType = PullRepull;
    main.setePullType(PullRepull);
    MsgBox(QStringLiteral("Credit Report pulled successfully!"), vbExclamation, QStringLiteral("Success"));
    w.close();
}
