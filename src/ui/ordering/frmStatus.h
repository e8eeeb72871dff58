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
// The window exists once: created by Load on first use, kept (hidden) between waits, deleted by
// Unload.
class frmStatus : public QDialog
{
    Q_OBJECT

public:
    ~frmStatus() override;

    static frmStatus& Load();
    // The window when it exists, else nullptr.
    static frmStatus* loaded();
    static void Unload();

    // Every way of closing passes here: a followed wait is aborted.
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
    void tmrStatus_Timer();

private:
    explicit frmStatus(QWidget* parent = nullptr);
    void watchPolled();
    void watchEnded();
    void cmdBackground_Click();
    // Stops following the watch: no more animation or hourglass, the window hidden.
    void letGo();

    std::unique_ptr<Ui::frmStatus> ui;
    QTimer* m_tmrStatus;
    int m_tick = 0;
    QPointer<OrderWatch> m_watch;
    std::unique_ptr<HourglassCursor> m_hourglass;
};
