#include "ui/ordering/PullOrder.h"

#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/basLog.h"
#include "core/clsProperties.h"
#include "host/clsInquiry.h"
#include "platform/AppError.h"
#include "service/OrderWatch.h"
#include "service/ParamBlock.h"
#include "service/basActions.h"
#include "service/basOrder.h"
#include "service/clsReportStatus.h"
#include "ui/ordering/IOrderProgress.h"
#include "ui/ordering/LoanSession.h"
#include "ui/ordering/frmLoginByRef.h"
#include "ui/ordering/frmStatus.h"

#include <utility>

namespace {
const QString kCheckLog = QStringLiteral("An error occurred, check log");

const QString kPendingCheckFailed = QStringLiteral(
    "The credit vendor could not be asked whether this order is already in progress, so no order was sent. "
    "Sending it without that check could order the borrower's credit twice.\r\n\r\n"
    "Please press Pull again in a few minutes. The details are in the error log.");

const QString kAnswerLost = QStringLiteral(
    "The order was sent to the credit vendor, but its answer was lost, so the order may have been placed.\r\n\r\n"
    "The next Pull for this loan will first look for this order at the vendor and follow it instead of "
    "placing a second one; if the vendor no longer lists it, you will be asked first. Press Pull again with the "
    "same bureaus when you are ready.");

const QString kReportInProgress = QStringLiteral(
    "The credit vendor is still preparing this loan's report: a bureau has not answered yet. An order now would "
    "be placed as a second order, which the credit vendor bills on its own.\r\n\r\n"
    "To wait for the report instead, press No and reload the loan later (File, Reload).\r\n\r\n"
    "Place the order anyway?");

const QString kLostNotPending = QStringLiteral(
    "The last order for this loan was sent to the credit vendor but its answer was lost, and the vendor no longer "
    "lists it as in progress: it may have finished already. Placing the order now could order the borrower's "
    "credit twice, which the credit vendor bills on its own.\r\n\r\n"
    "To see whether its report has arrived, press No and reload the loan (File, Reload).\r\n\r\n"
    "Place the order again?");

const QString kSecondOrder = QStringLiteral(
    "The last order for this loan has not finished yet, and this order differs from it (other bureaus, another "
    "kind of order, other borrower details or another user). It would be placed as a second order, which the "
    "credit vendor bills on its own.\r\n\r\n"
    "To follow the last order instead, press No and press Pull with the same bureaus and details as before.\r\n\r\n"
    "Place a second order?");

const QString kStatusUnread = QStringLiteral("The order's status could not be read; see the log.");

// Where the order's lines go once its window has gone.
class NoWindow : public IOrderProgress
{
public:
    void ShowProgressList() override {}
    void AddProgress(const QString&, bool) override {}
    void OrderKnown(const QString&) override {}
    void OrderAborted() override {}
    void OrderFinished() override {}
    void OrderInBackground() override {}
};

IOrderProgress& noWindow()
{
    static NoWindow none;
    return none;
}

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

// The loan's report as the search found it still has a bureau at work (an order of an earlier
// run, or one left before a Reload).
bool reportInProgress(const LoanSession& session)
{
    const auto status = session.reportStatus();
    const QString id = session.ExistingReportID();
    return status && !id.isEmpty() && id != QLatin1String("ERROR")
        && (status->nStatusEXP() == 1 || status->nStatusEFX() == 1 || status->nStatusTU() == 1);
}
} // namespace

PullOrder::PullOrder(const ILoanScreen& screen, LoanSession& session, IOrderProgress& progress,
                     PullRequestBlock request)
    : QObject(&session), m_screen(screen), m_session(session), m_progress(&progress), m_request(request)
{
}

void PullOrder::Run(Done done)
{
    m_done = std::move(done);
    m_session.OrderStarted(this);
    guarded([this] { start(); });
}

void PullOrder::LeaveWindow()
{
    m_progress = &noWindow();
    m_done = nullptr;
}

void PullOrder::guarded(const std::function<void()>& step)
{
    try {
        step();
    } catch (const AppError& error) {
        if (error.Number != ErrNo::Silent) {
            MsgBox(QStringLiteral("There was a problem pulling credit.\r\nError: ") + error.Description, vbExclamation,
                   QStringLiteral("Credit Request Problem"));
            WriteErrorLog(error.Description + QStringLiteral(" in cmdPull"));
        }
        end(false);
    }
}

std::function<void(const ServiceOutcome&)> PullOrder::reply(Step step)
{
    return [this, step](const ServiceOutcome& outcome) { guarded([&] { (this->*step)(outcome); }); };
}

void PullOrder::start()
{
    if (!chooseWhoOrders())
        return end(false);
    if (!m_session.reportStatus())
        throw AppError(ErrNo::Transport, QStringLiteral("The loan is no longer loaded."));

    m_request.joint = m_session.inquiry() && m_session.inquiry()->CoBorrower();
    m_order = UnfinishedOrder{m_request.pullType, m_request.text(m_screen), orderedFor(), QString()};
    if (!mayPlaceAnother())
        return end(false);
    m_progress->ShowProgressList();
    placeOrFollow();
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
// a different one is placed only when the user confirms it, and so is any order while the report
// the search found has a bureau at work.
bool PullOrder::mayPlaceAnother() const
{
    const auto& last = m_session.unfinishedOrder();
    if (!last)
        return !reportInProgress(m_session)
            || MsgBox(kReportInProgress, vbYesNo | vbExclamation, QStringLiteral("Report In Progress")) == vbYes;
    if (sameOrder(*last, m_order))
        return true;
    return MsgBox(kSecondOrder, vbYesNo | vbExclamation, QStringLiteral("Order Not Finished")) == vbYes;
}

// The loan's own unfinished order with this very block is followed by its GUID: the vendor's
// search for a pending order no longer finds it once its bureaus have answered. Otherwise an
// identical order still in progress is followed rather than placed a second time.
void PullOrder::placeOrFollow()
{
    const auto& last = m_session.unfinishedOrder();
    if (last && !last->guid.isEmpty() && sameOrder(*last, m_order))
        return follow(last->guid);
    FindPending(m_order.block, this, reply(&PullOrder::pendingSearched));
}

// When the search fails nothing is sent: not knowing is not the same as "none pending".
void PullOrder::pendingSearched(const ServiceOutcome& outcome)
{
    if (outcome.ok() && outcome.answer.isEmpty())
        return lostOrderMayBeDone() ? end(false) : place();
    if (outcome.ok())
        return follow(outcome.answer);
    // FindPending has logged the failure (and shown the box of an unreachable server).
    m_progress->AddProgress(kCheckLog);
    MsgBox(kPendingCheckFailed, vbCritical, QStringLiteral("Order Not Sent"));
    end(false);
}

// The vendor lists only orders still in progress, so an order whose answer was lost is not found
// once its bureaus have answered: the user decides whether it is placed again.
bool PullOrder::lostOrderMayBeDone()
{
    const auto& last = m_session.unfinishedOrder();
    if (!last || !last->guid.isEmpty() || !sameOrder(*last, m_order))
        return false;
    return MsgBox(kLostNotPending, vbYesNo | vbExclamation, QStringLiteral("Order May Have Finished")) != vbYes;
}

void PullOrder::follow(const QString& guid)
{
    m_progress->AddProgress(QStringLiteral("Found pending request..."));
    m_order.guid = guid;
    known();
}

void PullOrder::place()
{
    m_progress->AddProgress(QStringLiteral("Request sent..."));
    Request(m_order.block, this, reply(&PullOrder::placed));
}

void PullOrder::placed(const ServiceOutcome& outcome)
{
    if (!outcome.ok()) {
        m_progress->AddProgress(kCheckLog);
        // Request has logged the failure and shown a refusal. An answer lost on the way back
        // leaves an order that may exist: the next Pull's FINDPENDING finds and follows it.
        if (outcome.mayHaveArrived) {
            m_session.OrderMayExist(m_order);
            MsgBox(kAnswerLost, vbExclamation, QStringLiteral("Order May Have Been Placed"));
        }
        return end(false);
    }
    m_progress->AddProgress(QStringLiteral("Request accepted..."), false);
    m_order.guid = outcome.answer;
    known();
}

// The order exists at the vendor from here on, whatever happens to the steps after it.
void PullOrder::known()
{
    m_session.OrderPlaced(m_order);
    m_progress->OrderKnown(m_order.guid);
    ParamBlock block(QStringLiteral("UPDATELOSVERSION"));
    block.add(QStringLiteral("guid"), m_order.guid).add(QStringLiteral("LOSVersion"), ClientVersion());
    UpdateLOSVersion(block.text(), this, reply(&PullOrder::stamped));
}

void PullOrder::stamped(const ServiceOutcome& outcome)
{
    if (outcome.ok())
        return waitForBureaus();
    // The order has been placed, so the user is told to look at the log and the log says why.
    // The action keeps a refusal silent and unlogged, its reason in errorText (the block, built
    // here, always converts, so a silent end is the refusal); it has logged other failures.
    m_progress->AddProgress(kCheckLog);
    if (outcome.kind == ServiceOutcome::Kind::Silent)
        WriteErrorLog(QStringLiteral("Order ") + m_order.guid + QStringLiteral(": the version stamp was refused: ")
                      + outcome.errorText + QStringLiteral(" in cmdPull"));
    end(false);
}

// The status window follows the wait; its close box aborts it, its background button lets the
// order go on without the windows.
void PullOrder::waitForBureaus()
{
    m_progress->AddProgress(QStringLiteral("Checking status..."));
    ParamBlock block(QStringLiteral("GET_Status"));
    block.add(QStringLiteral("guid"), m_order.guid);
    m_watch =
        GetStatus(block.text(), m_session.reportStatus(), this,
                  [this](const ServiceOutcome& outcome, bool aborted) { guarded([&] { waited(outcome, aborted); }); });
    if (!m_watch)
        return;
    frmStatus& window = frmStatus::Load();
    window.Follow(m_watch);
    connect(&window, &frmStatus::sentToBackground, this, &PullOrder::toBackground, Qt::UniqueConnection);
}

// aborted: the user closed the status window.
void PullOrder::waited(const ServiceOutcome& outcome, bool aborted)
{
    if (!outcome.ok()) {
        // GetStatus has logged its failure; a failed poll has shown its box.
        m_progress->AddProgress(kCheckLog);
        if (m_inBackground)
            m_session.setOrderNote(kStatusUnread);
        return end(false);
    }
    m_session.StatusUpdated();
    if (aborted) {
        m_progress->OrderAborted();
        MsgBox(QStringLiteral("Credit pull aborted by user."), vbInformation, QStringLiteral("Aborted"));
        return end(false);
    }
    if (m_inBackground)
        return readyInBackground();
    succeeded();
}

void PullOrder::toBackground(OrderWatch* watch)
{
    if (!watch || watch != m_watch)
        return;
    m_inBackground = true;
    IOrderProgress* window = std::exchange(m_progress, &noWindow());
    m_done = nullptr;
    m_session.OrderSentToBackground();
    connect(watch, &OrderWatch::polled, this, &PullOrder::showBureaus);
    showBureaus();
    window->OrderInBackground();
}

void PullOrder::showBureaus()
{
    const QStringList running = OrderWatch::BureausInProgress(m_watch->lastAnswer());
    m_session.setOrderNote(QStringLiteral("Waiting for the bureaus: ") + running.join(QStringLiteral(", ")));
}

void PullOrder::succeeded()
{
    m_progress->AddProgress(QStringLiteral("Report finished."));
    m_session.OrderCompleted();
    m_progress->OrderFinished();
    MsgBox(QStringLiteral("Credit Report pulled successfully!"), vbExclamation, QStringLiteral("Success"));
    end(true);
}

// No box: the user works on at the main window, which tells of the report without one.
void PullOrder::readyInBackground()
{
    m_session.OrderCompleted();
    m_session.setOrderNote(QStringLiteral("Credit report ready."));
    try {
        WriteClientLog(QStringLiteral("Order ") + m_order.guid
                       + QStringLiteral(": the credit report is ready (waited for in the background)"));
    } catch (const AppError& error) {
        WriteErrorLog(error.Description + QStringLiteral(" in cmdPull"));
    }
    end(true);
    m_session.OrderReadyInBackground();
}

void PullOrder::end(bool finished)
{
    if (std::exchange(m_ended, true))
        return;
    m_session.OrderEnded();
    const Done done = std::exchange(m_done, nullptr);
    deleteLater();
    if (done)
        done(finished);
}
