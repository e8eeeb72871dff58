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

const QString kPendingCheckFailed = QStringLiteral(
    "The credit vendor could not be asked whether this order is already in progress, so no order was sent. "
    "Sending it without that check could order the borrower's credit twice.\r\n\r\n"
    "Please press Pull again in a few minutes. The details are in the error log.");

const QString kAnswerLost = QStringLiteral(
    "The order was sent to the credit vendor, but its answer was lost, so the order may have been placed.\r\n\r\n"
    "The next Pull for this loan will first look for this order at the vendor and follow it instead of "
    "placing a second one. Press Pull again with the same bureaus when you are ready.");
} // namespace

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
    knowOrder(guid);
    if (!stampVersion(guid))
        return;

    w.progress(QStringLiteral("Checking status..."));
    if (!waitForBureaus(guid))
        return;
    const frmStatus* status = frmStatus::loaded();
    if (status && status->UserUnloaded())
        aborted();
    else
        succeeded();
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

// An identical order still in progress is followed rather than placed a second time. When the
// search itself fails nothing is sent: not knowing is not the same as "none pending".
bool PullOrder::placeOrFollow(const QString& block, QString& guid)
{
    QString pending;
    if (FindPending(block, pending)) {
        w.progress(QStringLiteral("Found pending request..."));
        guid = pending;
        return true;
    }
    if (!pending.isEmpty()) {
        // FindPending has logged the failure (and shown the box of an unreachable server).
        w.progress(kCheckLog);
        MsgBox(kPendingCheckFailed, vbCritical, QStringLiteral("Order Not Sent"));
        return false;
    }
    w.progress(QStringLiteral("Request sent..."));
    QString answer;
    if (!Request(block, answer)) {
        w.progress(kCheckLog);
        // Request has logged the failure and shown a refusal. An answer lost on the way back
        // leaves an order that may exist: the next Pull's FINDPENDING finds and follows it.
        if (OrderMayHaveArrived(answer))
            MsgBox(kAnswerLost, vbExclamation, QStringLiteral("Order May Have Been Placed"));
        return false;
    }
    w.progress(QStringLiteral("Request accepted..."), false);
    guid = answer;
    return true;
}

// The order exists at the vendor from the moment its GUID is known, whatever happens to the
// steps after it: the main window and the check's results follow it at once, and no
// downloaded report is current any more.
void PullOrder::knowOrder(const QString& guid)
{
    w.m_sReportUID = guid;
    frmCheckExisting::setsReportID(guid);
    w.m_oReportStatus->setsReportID(guid);
    frmMain& main = *w.m_main;
    main.setsReportUID(guid);
    main.setsReportLocation(QString());
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

void PullOrder::succeeded()
{
    w.progress(QStringLiteral("Report finished."));
    frmMain& main = *w.m_main;
    w.m_ePullType = PullRepull;
    main.setePullType(PullRepull);
    MsgBox(QStringLiteral("Credit Report pulled successfully!"), vbExclamation, QStringLiteral("Success"));
    w.close();
}
