#pragma once

#include "ui/ordering/LoanSession.h"
#include "ui/ordering/PullRequestBlock.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class ILoanScreen;
class IOrderProgress;
class OrderWatch;
struct ServiceOutcome;

// Pull's order, once the window's checks have passed: whose account orders, the order block, a
// pending identical order or a new one, the version stamp, the wait for the bureaus and the
// outcome, each step reported to the window through IOrderProgress. The loan's session follows
// the order: it runs from Run until it ends, its report ID is known as soon as the GUID is, its
// status record is filled after the wait.
//
// Each server request is started with the order as its context and continues in a member of its
// own. The order is a child of the session, so it outlives the pull and status windows: the user
// may send the wait for the bureaus to the background (the status window's button), and the main
// window then shows its progress (the session's orderNote) until it ends. It deletes itself when
// it ends; giving it up (LoanSession::GiveUpOrder) deletes it with its request or wait.
class PullOrder : public QObject
{
    Q_OBJECT

public:
    using Done = std::function<void(bool finished)>;

    // request: the kind of order and the ticked bureaus; the boxes come from screen.
    PullOrder(const ILoanScreen& screen, LoanSession& session, IOrderProgress& progress, PullRequestBlock request);

    // Starts the order and returns once its first request is on its way (the questions about
    // whose account orders come first). done(finished) is heard once, when the order has ended
    // in its window; finished: the report finished. A failure already shown or logged where it
    // happened ends the order with the progress list as it is; any other failure shows the
    // "Credit Request Problem" box and is logged. An order sent to the background, or whose
    // window went, tells the window nothing more.
    void Run(Done done);
    // The window goes away: the order goes on without it.
    void LeaveWindow();

private:
    using Step = void (PullOrder::*)(const ServiceOutcome&);

    void start();
    bool chooseWhoOrders();
    bool mayPlaceAnother() const;
    void placeOrFollow();
    void pendingSearched(const ServiceOutcome& outcome);
    bool lostOrderMayBeDone();
    void follow(const QString& guid);
    void place();
    void placed(const ServiceOutcome& outcome);
    void known();
    void stamped(const ServiceOutcome& outcome);
    void waitForBureaus();
    void waited(const ServiceOutcome& outcome, bool aborted);
    void toBackground(OrderWatch* watch);
    void showBureaus();
    void succeeded();
    void readyInBackground();
    void end(bool finished);
    void guarded(const std::function<void()>& step);
    std::function<void(const ServiceOutcome&)> reply(Step step);

    const ILoanScreen& m_screen;
    LoanSession& m_session;
    IOrderProgress* m_progress;
    PullRequestBlock m_request;
    UnfinishedOrder m_order;
    Done m_done;
    QPointer<OrderWatch> m_watch;
    bool m_inBackground = false;
    bool m_ended = false;
};
