#include "ui/ordering/frmPullReport.h"

#include "ui_frmPullReport.h"

#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/clsProperties.h"
#include "service/clsReportStatus.h"
#include "ui/UiUtils.h"
#include "ui/ordering/ILoanScreen.h"
#include "ui/ordering/LoanSession.h"
#include "ui/ordering/PullOrder.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>

#include <initializer_list>

namespace {

frmPullReport*& loadedWindow()
{
    static frmPullReport* window = nullptr;
    return window;
}

// Set while ShowModal runs: it deletes the window once exec() has returned.
bool& inModalShow()
{
    static bool showing = false;
    return showing;
}

const QString kValidationError = QStringLiteral("Validation Error");

} // namespace

frmPullReport::frmPullReport(ILoanScreen& screen, LoanSession& session, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmPullReport>()), m_screen(screen), m_session(session)
{
    ui->setupUi(this);
    ui->lstbxProgress->hide();
    connect(ui->cmdPull, &QPushButton::clicked, this, &frmPullReport::cmdPull_Click);
    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    for (QCheckBox* box : {ui->cbxEquifax, ui->cbxExperian, ui->cbxTransUnion})
        connect(box, &QCheckBox::clicked, this, &frmPullReport::bureau_Click);
}

frmPullReport::~frmPullReport()
{
    if (m_order)
        m_order->LeaveWindow();
    if (loadedWindow() == this)
        loadedWindow() = nullptr;
}

frmPullReport& frmPullReport::Load(ILoanScreen& screen, LoanSession& session, QWidget* parent)
{
    if (!loadedWindow())
        loadedWindow() = new frmPullReport(screen, session, parent);
    return *loadedWindow();
}

frmPullReport* frmPullReport::loaded()
{
    return loadedWindow();
}

void frmPullReport::Unload()
{
    frmPullReport* window = loadedWindow();
    if (!window)
        return;
    if (window->isVisible())
        window->reject();
    if (!inModalShow())
        delete window;
}

int frmPullReport::ShowModal()
{
    frmPullReport* loaded = loadedWindow();
    if (!loaded)
        return 0;
    frmPullReport& window = *loaded;
    inModalShow() = true;
    window.exec();
    inModalShow() = false;
    const int type = window.ePullType();
    delete loadedWindow();
    return type;
}

QListWidget* frmPullReport::lstbxProgress() const
{
    return ui->lstbxProgress;
}
QPushButton* frmPullReport::cmdPull() const
{
    return ui->cmdPull;
}
QPushButton* frmPullReport::cmdClose() const
{
    return ui->cmdClose;
}
QCheckBox* frmPullReport::cbxEquifax() const
{
    return ui->cbxEquifax;
}
QCheckBox* frmPullReport::cbxExperian() const
{
    return ui->cbxExperian;
}
QCheckBox* frmPullReport::cbxTransUnion() const
{
    return ui->cbxTransUnion;
}

// ---- set-up

void frmPullReport::SetProps(int veType)
{
    m_ePullType = veType;
    m_nBureausTicked = 0;
    if (veType == PullAddBureau)
        SetUp();
}

// The set-up belongs to loading: it runs when the loaded window is first shown, with the pull
// type SetProps passed and the session's status record as it is then.
void frmPullReport::showEvent(QShowEvent* event)
{
    if (!m_setUpDone)
        SetUp();
    QDialog::showEvent(event);
}

void frmPullReport::SetUp()
{
    m_setUpDone = true;
    if (m_ePullType == PullNew)
        setWindowTitle(QStringLiteral("New Credit Pull"));
    else if (m_ePullType == PullRepull)
        setWindowTitle(QStringLiteral("RePull Credit"));
    else if (m_ePullType == PullAddBureau)
        setWindowTitle(QStringLiteral("Add A Bureau"));

    struct Bureau {
        QCheckBox* box;
        qint16 status;
        bool right;
    };
    const auto status = m_session.reportStatus();
    if (!status) {
        for (QCheckBox* box : {ui->cbxEquifax, ui->cbxExperian, ui->cbxTransUnion})
            box->setEnabled(false);
        ui->cmdPull->setEnabled(false);
    } else {
        const clsReportStatus& st = *status;
        const clsProperties& props = Props();
        const Bureau bureaus[] = {{ui->cbxEquifax, st.nStatusEFX(), props.bEFQ_Right()},
                                  {ui->cbxExperian, st.nStatusEXP(), props.bEXP_Right()},
                                  {ui->cbxTransUnion, st.nStatusTU(), props.bTU_Right()}};
        for (const Bureau& b : bureaus)
            b.box->setChecked(b.status != 0);
        if (m_ePullType == PullAddBureau) {
            // Bureaus already on the report stay ticked and cannot be taken off.
            for (const Bureau& b : bureaus)
                b.box->setEnabled(b.status == 0);
            if (ui->cbxEquifax->isChecked() && ui->cbxExperian->isChecked() && ui->cbxTransUnion->isChecked())
                ui->cmdPull->setEnabled(false);
        }
        for (const Bureau& b : bureaus) {
            if (!b.right) {
                b.box->setChecked(false);
                b.box->setEnabled(false);
            }
        }
    }
    hideProgressList(SetUpHeight);
    m_nBureausTicked = 0;
}

void frmPullReport::bureau_Click(bool ticked)
{
    m_nBureausTicked = qint16(m_nBureausTicked + (ticked ? 1 : -1));
}

// ---- heights

int frmPullReport::twipsToPixels(int twips) const
{
    const qreal dpi = screen() ? screen()->logicalDotsPerInchY() : 96.0;
    return qRound(twips * dpi / 1440.0);
}

void frmPullReport::hideProgressList(int heightTwips)
{
    ui->lstbxProgress->hide();
    setFixedHeight(twipsToPixels(heightTwips));
}

// The list's top plus its height plus 95 twips (the layout's bottom margin is about that much).
void frmPullReport::ShowProgressList()
{
    ui->lstbxProgress->show();
    setMinimumHeight(0);
    setMaximumHeight(QWIDGETSIZE_MAX);
    resize(width(), sizeHint().height());
    layout()->activate();
    setFixedHeight(ui->lstbxProgress->y() + ui->lstbxProgress->height() + twipsToPixels(ListMargin));
}

void frmPullReport::AddProgress(const QString& line, bool repaintNow)
{
    ui->lstbxProgress->addItem(line);
    ui->lstbxProgress->scrollToBottom();
    if (repaintNow)
        ui->lstbxProgress->repaint();
}

// ---- validation and Pull

bool frmPullReport::Validate()
{
    if (!ui->cbxEquifax->isChecked() && !ui->cbxExperian->isChecked() && !ui->cbxTransUnion->isChecked()) {
        MsgBox(QStringLiteral("You must choose atleast 1 bureau to pull credit from."), vbExclamation,
               kValidationError);
        return false;
    }
    if (m_ePullType == PullAddBureau && m_nBureausTicked < 1) {
        MsgBox(QStringLiteral("You must select atleast 1 bureau to add to the original report."), vbExclamation,
               kValidationError);
        return false;
    }
    QLineEdit& address = m_screen.Box(LoanBox::lblCurAddr);
    if (address.text().contains(QLatin1Char(','))) {
        MsgBox(QStringLiteral("You can not have any commas in the address field.\r\n"
                              "Please go back to the main screen and remove any commas."),
               vbInformation, QStringLiteral("Comma Error"));
        const QPointer<QLineEdit> box = &address;
        close();
        if (box) {
            box->window()->activateWindow();
            SelectAllText(box);
        }
        return false;
    }
    return true;
}

void frmPullReport::cmdPull_Click()
{
    if (m_ordering || !Validate())
        return;
    lockWhileOrdering();
    PullRequestBlock request;
    request.pullType = m_ePullType;
    request.equifax = ui->cbxEquifax->isChecked();
    request.experian = ui->cbxExperian->isChecked();
    request.transUnion = ui->cbxTransUnion->isChecked();
    m_order = new PullOrder(m_screen, m_session, *this, request);
    m_order->Run([this](bool finished) {
        if (finished)
            close();
        unlockAfterOrder();
    });
}

void frmPullReport::OrderKnown(const QString& guid)
{
    m_sReportUID = guid;
}

void frmPullReport::OrderAborted()
{
    hideProgressList(AbortedHeight);
}

void frmPullReport::OrderFinished()
{
    m_ePullType = PullRepull;
}

void frmPullReport::OrderInBackground()
{
    close();
    unlockAfterOrder();
}

// Nothing in the window may start, change or cancel an order while one runs: a second order
// could bill the borrower twice.
void frmPullReport::lockWhileOrdering()
{
    m_ordering = true;
    m_enabledBeforeOrder.clear();
    for (QWidget* control : std::initializer_list<QWidget*>{ui->cmdPull, ui->cmdClose, ui->cbxEquifax, ui->cbxExperian,
                                                            ui->cbxTransUnion}) {
        m_enabledBeforeOrder.append({control, control->isEnabled()});
        control->setEnabled(false);
    }
}

void frmPullReport::unlockAfterOrder()
{
    m_order = nullptr;
    for (const auto& [control, enabled] : m_enabledBeforeOrder)
        control->setEnabled(enabled);
    m_enabledBeforeOrder.clear();
    m_ordering = false;
}

void frmPullReport::keyPressEvent(QKeyEvent* event)
{
    if (m_ordering && event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Only the user's close is refused; the order itself closes the window when it succeeds or its
// wait goes to the background.
void frmPullReport::closeEvent(QCloseEvent* event)
{
    if (m_ordering && event->spontaneous()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
