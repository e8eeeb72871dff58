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

// The small modal window that waits for the server: "Checking status" while the bureaus of an
// order run (GetReport), "Generating PDF" while the report's PDF is made (Follow). Timer1 repeats
// the request every PollingSleepTime ms, tmrStatus animates the bar every 100 ms; both are stopped
// while a request runs, so two polls never overlap and a poll never starts inside another. The
// request waits on an event loop that keeps painting; the close box is honoured between polls
// (a click during a poll takes effect when that poll has returned).
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

    // Waits until no bureau of the status answer for the order of the parameter block vsBlock
    // (PollStatus) is "1". Returns when the wait is over; the window is not shown at all when the
    // first check already ends it.
    void GetReport(const QString& vsBlock);

    // The last answer of the polled request. A check whose request failed (no answer at all)
    // leaves "FAILED", a line feed and the failure's description.
    QString sResponse() const { return m_sResponse; }
    void setsResponse(const QString& v) { m_sResponse = v; }
    // True when the user closed the window; false when the wait ended by itself.
    bool UserUnloaded() const { return m_UserUnloaded; }

    // One request each; true while the wait goes on. A failed check shows and logs its error and
    // ends the wait.
    bool CheckForStatus();

    // Every way of closing passes here: the timers stop and a poll in progress is not followed
    // by another.
    void done(int result) override;

    // Shows the progress of a wait that does not block: hidden until the watch's first answer
    // that keeps the wait going (not shown at all when the first answer ends it), then
    // application-modal with the bar moving; the close box aborts the watch; the window hides
    // itself when the watch ends. The hourglass shows from here until the watch ends.
    void Follow(OrderWatch* watch);
    // The watch followed now, or nullptr.
    OrderWatch* followed() const;

private slots:
    void Timer1_Timer();
    void tmrStatus_Timer();

private:
    enum Mode { StatusMode = 2 };

    explicit frmStatus(QWidget* parent = nullptr);
    void wait(const QString& block, const QString& label, int mode);
    bool check();
    void finish();
    void stopTimers();
    void startTimers();
    void watchPolled();
    void watchEnded();

    std::unique_ptr<Ui::frmStatus> ui;
    QTimer* m_tmrStatus;
    QTimer* m_Timer1;
    QString m_block;
    QString m_sResponse;
    bool m_UserUnloaded = true;
    bool m_waiting = false;
    int m_mode = 0;
    int m_tick = 0;
    QPointer<OrderWatch> m_watch;
    std::unique_ptr<HourglassCursor> m_hourglass;
};
