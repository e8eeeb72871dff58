#pragma once

#include <QString>

class frmPullReport;

// Pull's order, once the window's checks have passed: whose account orders, the order block, a
// pending identical order or a new one, the version stamp, the wait for the bureaus and the
// outcome, each step shown in the window's progress list.
class PullOrder
{
public:
    explicit PullOrder(frmPullReport& window);

    // A failure already shown or logged where it happened ends the order with the progress list
    // as it is; any other failure shows the "Credit Request Problem" box and is logged.
    void Run();

private:
    void run();
    bool chooseWhoOrders();
    bool placeOrFollow(const QString& block, QString& guid);
    void knowOrder(const QString& guid);
    bool stampVersion(const QString& guid);
    bool waitForBureaus(const QString& guid);
    void aborted();
    void succeeded();

    frmPullReport& w;
};
