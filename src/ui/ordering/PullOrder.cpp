#include "ui/ordering/PullOrder.h"

#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/basLog.h"
#include "core/clsProperties.h"
#include "host/clsInquiry.h"
#include "platform/AppError.h"
#include "service/ParamBlock.h"
#include "service/basActions.h"
#include "service/basOrder.h"
#include "service/clsReportStatus.h"
#include "ui/ordering/IOrderProgress.h"
#include "ui/ordering/LoanSession.h"
#include "ui/ordering/frmLoginByRef.h"

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

const QString kSecondOrder = QStringLiteral(
    "The last order for this loan has not finished yet, and this order differs from it (other bureaus, another "
    "kind of order, other borrower details or another user). It would be placed as a second order, which the "
    "credit vendor bills on its own.\r\n\r\n"
    "To follow the last order instead, press No and press Pull with the same bureaus and details as before.\r\n\r\n"
    "Place a second order?");

// The reference user the order goes on, or empty for the user's own account.
QString orderedFor()
{
    const auto reference = Props().LoginReference();
    return Props().IsLoginByRef() && reference ? reference->UserName() : QString();
}

bool sameOrder(const UnfinishedOrder& a, const UnfinishedOrder& b)
{
    return a.block == b.block && a.orderedFor == b.orderedFor;
}
} // namespace

PullOrder::PullOrder(const ILoanScreen& screen, LoanSession& session, IOrderProgress& progress,
                     PullRequestBlock request)
    : m_screen(screen), m_session(session), m_progress(progress), m_request(request)
{
}

bool PullOrder::Run()
{
    try {
        return run();
    } catch (const AppError& error) {
        if (error.Number == ErrNo::Silent)
            return false;
        MsgBox(QStringLiteral("There was a problem pulling credit.\r\nError: ") + error.Description, vbExclamation,
               QStringLiteral("Credit Request Problem"));
        WriteErrorLog(error.Description + QStringLiteral(" in cmdPull"));
        return false;
    }
}

bool PullOrder::run()
{
    if (!chooseWhoOrders())
        return false;
    if (!m_session.reportStatus())
        throw AppError(ErrNo::Transport, QStringLiteral("The loan is no longer loaded."));

    m_request.joint = m_session.inquiry() && m_session.inquiry()->CoBorrower();
    UnfinishedOrder order{m_request.pullType, m_request.text(m_screen), orderedFor(), QString()};
    if (!mayPlaceAnother(order))
        return false;
    m_progress.ShowProgressList();

    if (!placeOrFollow(order))
        return false;
    const QString guid = order.guid;
    // The order exists at the vendor from here on, whatever happens to the steps after it.
    m_session.OrderPlaced(order);
    m_progress.OrderKnown(guid);
    if (!stampVersion(guid))
        return false;

    m_progress.AddProgress(QStringLiteral("Checking status..."));
    bool aborted = false;
    if (!waitForBureaus(guid, aborted))
        return false;
    if (aborted) {
        m_progress.OrderAborted();
        MsgBox(QStringLiteral("Credit pull aborted by user."), vbInformation, QStringLiteral("Aborted"));
        return false;
    }
    succeeded();
    return true;
}

// Whose account the order goes on. False when the user left the reference chooser and
// confirmed the abort: nothing is sent.
bool PullOrder::chooseWhoOrders()
{
    if (!Props().CanLoginByRef())
        return true;
    const int answer = MsgBox(QStringLiteral("Would you like to pull a report on behalf of someone else?"),
                              vbYesNo | vbQuestion, QStringLiteral("Pull As Confirmation"));
    if (answer == vbYes)
        return frmLoginByRef::Choose();
    Props().setLoginByRef(false);
    return true;
}

// The last order sent for the loan may still run at the vendor. The same order again is followed;
// a different one is placed only when the user confirms it.
bool PullOrder::mayPlaceAnother(const UnfinishedOrder& order)
{
    const auto& last = m_session.unfinishedOrder();
    if (!last || sameOrder(*last, order))
        return true;
    return MsgBox(kSecondOrder, vbYesNo | vbExclamation, QStringLiteral("Order Not Finished")) == vbYes;
}

// The loan's own unfinished order with this very block is followed by its GUID: the vendor's
// search for a pending order no longer finds it once its bureaus have answered. Otherwise an
// identical order still in progress is followed rather than placed a second time. When that
// search fails nothing is sent: not knowing is not the same as "none pending".
bool PullOrder::placeOrFollow(UnfinishedOrder& order)
{
    const auto& last = m_session.unfinishedOrder();
    QString pending;
    if (last && !last->guid.isEmpty() && sameOrder(*last, order)) {
        pending = last->guid;
    } else if (!FindPending(order.block, pending)) {
        if (pending.isEmpty())
            return place(order);
        // FindPending has logged the failure (and shown the box of an unreachable server).
        m_progress.AddProgress(kCheckLog);
        MsgBox(kPendingCheckFailed, vbCritical, QStringLiteral("Order Not Sent"));
        return false;
    }
    m_progress.AddProgress(QStringLiteral("Found pending request..."));
    order.guid = pending;
    return true;
}

bool PullOrder::place(UnfinishedOrder& order)
{
    m_progress.AddProgress(QStringLiteral("Request sent..."));
    QString answer;
    if (!Request(order.block, answer)) {
        m_progress.AddProgress(kCheckLog);
        // Request has logged the failure and shown a refusal. An answer lost on the way back
        // leaves an order that may exist: the next Pull's FINDPENDING finds and follows it.
        if (OrderMayHaveArrived(answer)) {
            m_session.OrderMayExist(order);
            MsgBox(kAnswerLost, vbExclamation, QStringLiteral("Order May Have Been Placed"));
        }
        return false;
    }
    m_progress.AddProgress(QStringLiteral("Request accepted..."), false);
    order.guid = answer;
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
    m_progress.AddProgress(kCheckLog);
    if (!answer.startsWith(QLatin1String("<ERROR>")))
        WriteErrorLog(QStringLiteral("Order ") + guid + QStringLiteral(": the version stamp was refused: ") + answer
                      + QStringLiteral(" in cmdPull"));
    return false;
}

// aborted: the user closed the status window, which GetStatus reports as a success with no
// answer.
bool PullOrder::waitForBureaus(const QString& guid, bool& aborted)
{
    ParamBlock block(QStringLiteral("GET_Status"));
    block.add(QStringLiteral("guid"), guid);
    QString answer;
    if (!GetStatus(block.text(), *m_session.reportStatus(), answer)) {
        // GetStatus has logged its failure.
        m_progress.AddProgress(kCheckLog);
        return false;
    }
    aborted = answer.isEmpty();
    m_session.StatusUpdated();
    return true;
}

void PullOrder::succeeded()
{
    m_progress.AddProgress(QStringLiteral("Report finished."));
    m_session.OrderCompleted();
    m_progress.OrderFinished();
    MsgBox(QStringLiteral("Credit Report pulled successfully!"), vbExclamation, QStringLiteral("Success"));
}
