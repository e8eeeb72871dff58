#include "ui/ordering/frmStatus.h"

#include "ui_frmStatus.h"

#include "platform/Desktop.h"
#include "service/OrderWatch.h"

#include <QTimer>

namespace {

constexpr int kAnimationMs = 100;
constexpr int kTicks = 25;

frmStatus*& theWindow()
{
    static frmStatus* window = nullptr;
    return window;
}

} // namespace

frmStatus::frmStatus(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmStatus>()), m_tmrStatus(new QTimer(this))
{
    ui->setupUi(this);
    ui->cmdBackground->hide(); // shown by a status wait only
    connect(ui->cmdBackground, &QPushButton::clicked, this, &frmStatus::cmdBackground_Click);
    m_tmrStatus->setObjectName(QStringLiteral("tmrStatus"));
    m_tmrStatus->setInterval(kAnimationMs);
    connect(m_tmrStatus, &QTimer::timeout, this, &frmStatus::tmrStatus_Timer);
}

frmStatus::~frmStatus()
{
    if (theWindow() == this)
        theWindow() = nullptr;
}

frmStatus& frmStatus::Load()
{
    if (!theWindow())
        theWindow() = new frmStatus;
    return *theWindow();
}

frmStatus* frmStatus::loaded()
{
    return theWindow();
}

void frmStatus::Unload()
{
    delete theWindow();
}

void frmStatus::tmrStatus_Timer()
{
    m_tick = m_tick < kTicks ? m_tick + 1 : 0;
    ui->ProgressBar1->setValue(m_tick);
}

void frmStatus::Follow(OrderWatch* watch)
{
    m_watch = watch;
    const bool status = watch->mode() == OrderWatch::Mode::Status;
    ui->lblStatus->setText(status ? QStringLiteral("Checking status") : QStringLiteral("Generating PDF"));
    ui->cmdBackground->setVisible(status);
    m_tick = 0;
    ui->ProgressBar1->setValue(0);
    m_hourglass = std::make_unique<HourglassCursor>();
    // The animation pauses while a poll runs, as the poll timer does, and resumes after it.
    connect(watch, &OrderWatch::pollStarted, this, [this] { m_tmrStatus->stop(); });
    connect(watch, &OrderWatch::polled, this, &frmStatus::watchPolled);
    connect(watch, &OrderWatch::ended, this, &frmStatus::watchEnded);
    // A watch given up with its order ends without a word.
    connect(watch, &QObject::destroyed, this, &frmStatus::letGo);
}

OrderWatch* frmStatus::followed() const
{
    return m_watch;
}

void frmStatus::watchPolled()
{
    if (!isVisible()) {
        setWindowModality(Qt::ApplicationModal);
        show();
    }
    m_tmrStatus->start();
}

void frmStatus::watchEnded()
{
    const bool finishedPdf = m_watch && m_watch->mode() == OrderWatch::Mode::Pdf && !m_watch->wasAborted();
    letGo();
    if (finishedPdf)
        ui->ProgressBar1->setValue(ui->ProgressBar1->maximum());
}

void frmStatus::cmdBackground_Click()
{
    OrderWatch* watch = m_watch;
    if (!watch || !watch->isRunning())
        return;
    letGo();
    emit sentToBackground(watch);
}

void frmStatus::letGo()
{
    if (m_watch)
        m_watch->disconnect(this);
    m_watch = nullptr;
    m_tmrStatus->stop();
    m_hourglass.reset();
    if (isVisible())
        hide();
}

void frmStatus::done(int result)
{
    // The close box ends a followed wait; the watch tells its end as usual.
    if (m_watch && m_watch->isRunning())
        m_watch->abort();
    m_tmrStatus->stop();
    QDialog::done(result);
}
