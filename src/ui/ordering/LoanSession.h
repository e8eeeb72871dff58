#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <optional>

class clsInquiry;
class clsReportStatus;

// An order sent for the loan whose wait for the bureaus has not completed (the user closed the
// status window, the version stamp or a poll failed, or the order's answer was lost). It may be
// running at the vendor, so the next order with the same block follows it instead of placing it
// again.
struct UnfinishedOrder {
    int kind = 0;       // ePullTypes
    QString block;      // the REQUEST block as sent
    QString orderedFor; // the reference user it was ordered for; empty for the user's own account
    QString guid;       // empty while the order's answer was lost
};

// Outcome of the search for an existing report.
enum eReportStatus : int {
    ReportSearchError = 0,
    ReportFoundOld = 1,
    ReportFound = 2,
    ReportNotFound = 3,
};

// The kind of an order.
enum ePullTypes : int {
    PullNew = 1,
    PullRepull = 2,
    PullAddBureau = 3,
};

// What the program knows about the open loan and its report at the vendor: one object, owned by
// the main window and lent by reference to the existing-report check, the main window's commands,
// the pull window and its order. The check fills it, an order updates it, and the main window
// follows changed() with its buttons. No widget in here, so the rules built on it (the report
// buttons, the kind of the next order) are plain functions of it.
class LoanSession : public QObject
{
    Q_OBJECT

public:
    explicit LoanSession(QObject* parent = nullptr);
    ~LoanSession() override;

    std::shared_ptr<clsInquiry> inquiry() const { return m_inquiry; }
    std::shared_ptr<clsReportStatus> reportStatus() const { return m_reportStatus; }
    // The check's outcome, eReportStatus.
    int checkResult() const { return m_checkResult; }
    // The found report's request date as the server wrote it; empty when it gave none.
    QString dateRequested() const { return m_dateRequested; }
    // The loan's current report at the vendor; empty for none, "ERROR" after a failed search.
    QString reportId() const { return m_reportId; }
    // The kind of the next order (ePullTypes); 0 before the first check.
    int pullType() const { return m_pullType; }
    // Full path of the report PDF downloaded in this run; empty until the first View or Print.
    QString reportLocation() const { return m_reportLocation; }

    // The report ID the loan is known by, "ERROR" whenever the check ended in the search-error
    // state, so nothing offers a new pull for a loan whose search failed.
    QString ExistingReportID() const;
    // What Pull Credit / Repull orders: a new report while the loan is known to have none, else a
    // repull (a failed search does not say there is none). A new pull that has not finished keeps
    // it a new pull, so that pressing the button again sends the same block and finds that order.
    // The button's caption follows it.
    int NextOrderKind() const;
    // The loan's last order while its wait has not completed; empty once it did, and for a new loan.
    const std::optional<UnfinishedOrder>& unfinishedOrder() const { return m_unfinished; }
    // A request the user started for the loan's report (View, Print, Import) is running: no
    // report button may start another meanwhile.
    bool requestRunning() const { return m_requestRunning; }

    // A new check starts from the search-error state with nothing found, so a check that fails
    // before the search has answered never reads as "no report".
    void StartCheck();
    void setInquiry(std::shared_ptr<clsInquiry> inquiry);
    void setReportStatus(std::shared_ptr<clsReportStatus> status);
    void setCheckResult(int result);
    void setDateRequested(const QString& date);
    void setReportId(const QString& id);
    void setPullType(int type);
    void setReportLocation(const QString& path);
    void setRequestRunning(bool running);
    // An order whose answer was lost may exist at the vendor: it stays unfinished, without a GUID.
    void OrderMayExist(const UnfinishedOrder& order);
    // An order exists at the vendor once its GUID is known: it is the loan's report from then on,
    // the status record carries it, and no downloaded PDF is current any more. It stays unfinished
    // until OrderCompleted.
    void OrderPlaced(const UnfinishedOrder& order);
    // The wait for the bureaus completed: the next order for the loan is a repull.
    void OrderCompleted();
    // The status record was filled in place (an order's wait for the bureaus).
    void StatusUpdated() { emit changed(); }

    // An order runs for the loan from its Pull until it ends: the order object, a child of this
    // session, or nullptr. While it runs, nothing may start another order or read the report.
    bool orderRunning() const { return m_order; }
    // The running order waits for its bureaus with no window open.
    bool orderInBackground() const { return m_order && m_inBackground; }
    // The main window's line about an order waiting in the background and how it ended; empty
    // before that.
    QString orderNote() const { return m_orderNote; }
    void OrderStarted(QObject* order);
    void OrderSentToBackground();
    void setOrderNote(const QString& note);
    // The running order has ended.
    void OrderEnded();
    // The order that finished in the background is announced to the user.
    void OrderReadyInBackground() { emit orderReady(); }
    // Forgets the running order: it is deleted with its request or wait, and nothing more is
    // heard of it. Reload, closing the main window and a new check give it up.
    void GiveUpOrder();

signals:
    void changed();
    void orderReady();

private:
    template <class T>
    void assign(T& field, const T& value);

    std::shared_ptr<clsInquiry> m_inquiry;
    std::shared_ptr<clsReportStatus> m_reportStatus;
    int m_checkResult = ReportSearchError;
    QString m_dateRequested;
    QString m_reportId;
    int m_pullType = 0;
    QString m_reportLocation;
    bool m_requestRunning = false;
    std::optional<UnfinishedOrder> m_unfinished;
    QPointer<QObject> m_order;
    bool m_inBackground = false;
    QString m_orderNote;
};
