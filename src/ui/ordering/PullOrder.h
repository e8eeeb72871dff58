#pragma once

#include "ui/ordering/PullRequestBlock.h"

#include <QString>

class ILoanScreen;
class IOrderProgress;
class LoanSession;
struct UnfinishedOrder;

// Pull's order, once the window's checks have passed: whose account orders, the order block, a
// pending identical order or a new one, the version stamp, the wait for the bureaus and the
// outcome, each step reported to the window through IOrderProgress. The loan's session follows
// the order: its report ID as soon as the GUID is known, its status record after the wait.
class PullOrder
{
public:
    // request: the kind of order and the ticked bureaus; the boxes come from screen.
    PullOrder(const ILoanScreen& screen, LoanSession& session, IOrderProgress& progress, PullRequestBlock request);

    // True when the report finished. A failure already shown or logged where it happened ends
    // the order with the progress list as it is; any other failure shows the "Credit Request
    // Problem" box and is logged.
    bool Run();

private:
    bool run();
    bool chooseWhoOrders();
    bool mayPlaceAnother(const UnfinishedOrder& order);
    bool placeOrFollow(UnfinishedOrder& order);
    bool place(UnfinishedOrder& order);
    bool stampVersion(const QString& guid);
    bool waitForBureaus(const QString& guid, bool& aborted);
    void succeeded();

    const ILoanScreen& m_screen;
    LoanSession& m_session;
    IOrderProgress& m_progress;
    PullRequestBlock m_request;
};
