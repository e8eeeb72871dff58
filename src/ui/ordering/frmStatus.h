#pragma once

#include <QDialog>
#include <QPointer>

#include <memory>

class HourglassCursor;
class OrderWatch;
class QTimer;

namespace Ui {
class frmStatus;
}

// The small modal window that shows a wait at the server: "Checking status" while the bureaus of
// an order run, "Generating PDF" while the report's PDF is made. tmrStatus animates the bar every
// 100 ms. A wait that does not block is an OrderWatch the window follows (Follow); during a
// status wait the button cmdBackground lets the order go on without the window.
//
// GetPDF still waits in the window itself: Timer1 repeats the request every PollingSleepTime ms;
// both timers are stopped while a request runs, so two polls never overlap and a poll never
// starts inside another. The request waits on an event loop that keeps painting; the close box
// is honoured between polls (a click during a poll takes effect when that poll has returned).
//
// The window exists once: created by Load on first use, kept (hidden) between waits so that the
// caller can read UserUnloaded and sResponse after a wait, deleted by Unload.
class frmStatus : public QDialog
{
    Q_OBJECT

public:
    ~frmStatus() override;

    static frmStatus& Load();
    // The window when it exists, else nullptr.
    static frmStatus* loaded();
    static void Unload();

    // Waits until the answer for the report of vsBlock (PollPDF) no longer begins with "PENDING";
    // an answer beginning with "<" (a page) ends the wait with sResponse "FAILED".
    void GetPDF(const QString& vsBlock);

    // The last answer of the polled request. A check whose request failed (no answer at all)
    // leaves "FAILED", a line feed and the failure's description.
    QString sResponse() const { return m_sResponse; }
    void setsResponse(const QString& v) { m_sResponse = v; }
    // True when the user closed the window; false when the wait ended by itself.
    bool UserUnloaded() const { return m_UserUnloaded; }

    // One request; true while the wait goes on. A failed check shows and logs its error and ends
    // the wait.
    bool CheckForPDF();

    // Every way of closing passes here: the timers stop and a poll in progress is not followed
    // by another.
    void done(int result) override;

    // Shows the progress of a wait that does not block: hidden until the watch's first answer
    // that keeps the wait going (not shown at all when the first answer ends it), then
    // application-modal with the bar moving; the close box aborts the watch; the window hides
    // itself when the watch ends. The hourglass shows from here until the watch ends. A status
    // wait shows cmdBackground ("Wait in Background").
    void Follow(OrderWatch* watch);
    // The watch followed now, or nullptr.
    OrderWatch* followed() const;

signals:
    // cmdBackground was pressed: the window has let the watch go, which goes on.
    void sentToBackground(OrderWatch* watch);

private slots:
    void Timer1_Timer();
    void tmrStatus_Timer();

private:
    explicit frmStatus(QWidget* parent = nullptr);
    void finish();
    void stopTimers();
    void startTimers();
    void watchPolled();
    void watchEnded();
    void cmdBackground_Click();
    // Stops following the watch: no more animation or hourglass, the window hidden.
    void letGo();

    std::unique_ptr<Ui::frmStatus> ui;
    QTimer* m_tmrStatus;
    QTimer* m_Timer1;
    QString m_block;
    QString m_sResponse;
    bool m_UserUnloaded = true;
    bool m_waiting = false;
    int m_tick = 0;
    QPointer<OrderWatch> m_watch;
    std::unique_ptr<HourglassCursor> m_hourglass;
};
