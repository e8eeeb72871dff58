#include "ui/ordering/frmStatus.h"

#include "ui_frmStatus.h"

#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/basLog.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/Desktop.h"
#include "service/OrderWatch.h"
#include "service/basReportPdf.h"

#include <QTimer>

#include <algorithm>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr int kAnimationMs = 100;
constexpr int kTicks = 25;

frmStatus*& theWindow()
{
    static frmStatus* window = nullptr;
    return window;
}

// Timer intervals keep to the classic 1 to 65535 ms.
int pollInterval()
{
    return std::clamp(int(Props().PollingSleepTime()), 1, 65535);
}

QString numbered(const AppError& error)
{
    return QStringLiteral("Error: ") + QString::number(error.Number) + QStringLiteral(" - ") + error.Description;
}

// A check that got no answer must not leave the previous answer behind as if it were the last.
QString failedCheck(const QString& description)
{
    return QStringLiteral("FAILED\n") + description;
}

} // namespace

frmStatus::frmStatus(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmStatus>()), m_tmrStatus(new QTimer(this)), m_Timer1(new QTimer(this))
{
    ui->setupUi(this);
    ui->cmdBackground->hide(); // shown by a status wait only
    connect(ui->cmdBackground, &QPushButton::clicked, this, &frmStatus::cmdBackground_Click);
    m_tmrStatus->setObjectName(QStringLiteral("tmrStatus"));
    m_Timer1->setObjectName(QStringLiteral("Timer1"));
    m_tmrStatus->setInterval(kAnimationMs);
    connect(m_tmrStatus, &QTimer::timeout, this, &frmStatus::tmrStatus_Timer);
    connect(m_Timer1, &QTimer::timeout, this, &frmStatus::Timer1_Timer);
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

void frmStatus::GetPDF(const QString& vsBlock)
{
    try {
        m_block = vsBlock;
        ui->lblStatus->setText(QStringLiteral("Generating PDF"));
        ui->cmdBackground->hide();
        m_UserUnloaded = true;
        m_tick = 0;
        ui->ProgressBar1->setValue(0);
        HourglassCursor busy;
        m_waiting = true;
        if (!CheckForPDF()) {
            m_UserUnloaded = false;
            m_waiting = false;
            return;
        }
        m_Timer1->setInterval(pollInterval());
        startTimers();
        exec();
    } catch (const AppError& error) {
        MsgBox(numbered(error), vbCritical, QStringLiteral("Error in GetPDF"));
    }
}

void frmStatus::Timer1_Timer()
{
    stopTimers();
    bool keepWaiting = false;
    try {
        keepWaiting = CheckForPDF();
    } catch (const AppError& error) {
        MsgBox(numbered(error), vbCritical, QStringLiteral("Error in Timer1_Timer"));
        m_sResponse = failedCheck(error.Description);
    }
    // The user may have closed the window while the request ran.
    if (!m_waiting)
        return;
    if (keepWaiting)
        startTimers();
    else
        finish();
}

void frmStatus::tmrStatus_Timer()
{
    m_tick = m_tick < kTicks ? m_tick + 1 : 0;
    ui->ProgressBar1->setValue(m_tick);
}

bool frmStatus::CheckForPDF()
{
    try {
        // A block that does not convert has been reported by the conversion: the wait ends.
        if (!PollPDF(m_block, m_sResponse))
            return false;
        if (m_sResponse.startsWith(QLatin1Char('<'))) {
            m_sResponse = QStringLiteral("FAILED");
            return false;
        }
        if (m_sResponse.startsWith(QLatin1String("PENDING")))
            return true;
        ui->ProgressBar1->setValue(ui->ProgressBar1->maximum());
        return false;
    } catch (const AppError& error) {
        MsgBox(numbered(error), vbCritical | vbOKCancel, QStringLiteral("Error in CheckForPDF"));
        WriteErrorLog(error.Description + QStringLiteral(" in frmStatus.CheckForPDF"));
        m_sResponse = failedCheck(error.Description);
        return false;
    }
}

void frmStatus::finish()
{
    m_UserUnloaded = false;
    accept();
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
    if (isVisible())
        return;
    setWindowModality(Qt::ApplicationModal);
    show();
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
    m_waiting = false;
    stopTimers();
    QDialog::done(result);
}

void frmStatus::stopTimers()
{
    m_tmrStatus->stop();
    m_Timer1->stop();
}

void frmStatus::startTimers()
{
    m_tmrStatus->start();
    m_Timer1->start();
}
