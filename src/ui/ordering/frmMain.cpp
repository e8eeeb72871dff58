#include "ui/ordering/frmMain.h"
#include "ui_frmMain.h"

#include <QCloseEvent>
#include <QFile>
#include <QMouseEvent>
#include <QTimer>

#include "app/basMain.h"
#include "core/AppContext.h"
#include "core/basSettings.h"
#include "core/basShell.h"
#include "core/clsProperties.h"
#include "host/clsInquiry.h"
#include "platform/AppPaths.h"
#include "platform/Desktop.h"
#include "platform/FileOps.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"
#include "platform/WebAddress.h"
#include "service/basUrl.h"
#include "service/clsReportStatus.h"
#include "ui/ClickableLabel.h"
#include "ui/UiUtils.h"
#include "ui/ordering/ImageList.h"
#include "ui/ordering/WebPages.h"
#include "ui/ordering/frmCheckExisting.h"

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::frmMain)
{
    InitUiResources();
    ui->setupUi(this);

    m_images = new ImageList(this);
    m_images->setObjectName(QStringLiteral("ImageList1"));

    connect(ui->Picture1, &ClickableLabel::clicked, this, &frmMain::logoClicked);
    connectCommands();

    m_dataBoxes = {
        ui->lblReference,
        ui->lblBorFirst,
        ui->lblBorLast,
        ui->lblBorMi,
        ui->lblBorSufx,
        ui->lblBorSSN,
        ui->lblBorDOB,
        ui->lblCoFirst,
        ui->lblCoLast,
        ui->lblCoMi,
        ui->lblCoSufx,
        ui->lblCoSSN,
        ui->lblCoDOB,
        ui->lblCurAddr,
        ui->lblCurCity,
        ui->lblCurState,
        ui->lblCurZip,
        ui->lblCurCountry,
        ui->lblPreAddr,
        ui->lblPreCity,
        ui->lblPreState,
        ui->lblPreZip,
        ui->lblPreCountry};
    for (QLineEdit *box : std::as_const(m_dataBoxes))
        SelectTextOnFocus(box);

    // Where a plain right click brings up the File menu: the window background, the four frames,
    // the version and every caption label except "Reference:" and the co-borrower's "DOB".
    m_fileMenuAreas = {ui->centralwidget, ui->fmBorrower, ui->fmCoBorrower, ui->fmCurrAddr,
                       ui->fmPreAddr, ui->lblVersion, ui->lblCapVersion};
    for (QGroupBox *frame : {ui->fmBorrower, ui->fmCoBorrower, ui->fmCurrAddr, ui->fmPreAddr}) {
        const auto captions = frame->findChildren<QLabel *>();
        for (QLabel *caption : captions) {
            if (caption != ui->lblCapCoDOB)
                m_fileMenuAreas.append(caption);
        }
    }
    for (QWidget *area : std::as_const(m_fileMenuAreas))
        area->installEventFilter(this);
}

frmMain::~frmMain()
{
    delete ui;
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (opensFileMenu(watched, event)) {
        auto *press = static_cast<QMouseEvent *>(event);
        ui->mnuFile->popup(press->globalPosition().toPoint());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool frmMain::opensFileMenu(QObject *watched, QEvent *event) const
{
    if (event->type() != QEvent::MouseButtonPress)
        return false;
    auto *area = qobject_cast<QWidget *>(watched);
    if (!area || !m_fileMenuAreas.contains(area))
        return false;
    auto *press = static_cast<QMouseEvent *>(event);
    if (press->button() != Qt::RightButton)
        return false;
    if (press->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        return false;
    // A press that a child left unhandled travels up to its parents; only a press on the area
    // itself, not on one of its children (text boxes, buttons, the excluded labels), counts.
    return area->childAt(press->position().toPoint()) == nullptr;
}

QList<QLineEdit *> frmMain::dataBoxes() const
{
    return m_dataBoxes;
}

ImageList *frmMain::ImageList1() const
{
    return m_images;
}

QMenu *frmMain::mnuFile() const
{
    return ui->mnuFile;
}

QLineEdit *frmMain::lblReference() const
{
    return ui->lblReference;
}

QLineEdit *frmMain::lblBorFirst() const
{
    return ui->lblBorFirst;
}

QLineEdit *frmMain::lblBorLast() const
{
    return ui->lblBorLast;
}

QLineEdit *frmMain::lblBorMi() const
{
    return ui->lblBorMi;
}

QLineEdit *frmMain::lblBorSufx() const
{
    return ui->lblBorSufx;
}

QLineEdit *frmMain::lblBorSSN() const
{
    return ui->lblBorSSN;
}

QLineEdit *frmMain::lblBorDOB() const
{
    return ui->lblBorDOB;
}

QLineEdit *frmMain::lblCoFirst() const
{
    return ui->lblCoFirst;
}

QLineEdit *frmMain::lblCoLast() const
{
    return ui->lblCoLast;
}

QLineEdit *frmMain::lblCoMi() const
{
    return ui->lblCoMi;
}

QLineEdit *frmMain::lblCoSufx() const
{
    return ui->lblCoSufx;
}

QLineEdit *frmMain::lblCoSSN() const
{
    return ui->lblCoSSN;
}

QLineEdit *frmMain::lblCoDOB() const
{
    return ui->lblCoDOB;
}

QLineEdit *frmMain::lblCurAddr() const
{
    return ui->lblCurAddr;
}

QLineEdit *frmMain::lblCurCity() const
{
    return ui->lblCurCity;
}

QLineEdit *frmMain::lblCurState() const
{
    return ui->lblCurState;
}

QLineEdit *frmMain::lblCurZip() const
{
    return ui->lblCurZip;
}

QLineEdit *frmMain::lblCurCountry() const
{
    return ui->lblCurCountry;
}

QLineEdit *frmMain::lblPreAddr() const
{
    return ui->lblPreAddr;
}

QLineEdit *frmMain::lblPreCity() const
{
    return ui->lblPreCity;
}

QLineEdit *frmMain::lblPreState() const
{
    return ui->lblPreState;
}

QLineEdit *frmMain::lblPreZip() const
{
    return ui->lblPreZip;
}

QLineEdit *frmMain::lblPreCountry() const
{
    return ui->lblPreCountry;
}

QLabel *frmMain::lblRef() const
{
    return ui->lblRef;
}

QLabel *frmMain::lblVersion() const
{
    return ui->lblVersion;
}

ClickableLabel *frmMain::Picture1() const
{
    return ui->Picture1;
}

QGroupBox *frmMain::fmBorrower() const
{
    return ui->fmBorrower;
}

QGroupBox *frmMain::fmCoBorrower() const
{
    return ui->fmCoBorrower;
}

QGroupBox *frmMain::fmCurrAddr() const
{
    return ui->fmCurrAddr;
}

QGroupBox *frmMain::fmPreAddr() const
{
    return ui->fmPreAddr;
}

QPushButton *frmMain::cmdRepull() const
{
    return ui->cmdRepull;
}

QPushButton *frmMain::cmdAddBureau() const
{
    return ui->cmdAddBureau;
}

QPushButton *frmMain::cmdView() const
{
    return ui->cmdView;
}

QPushButton *frmMain::cmdPrint() const
{
    return ui->cmdPrint;
}

QPushButton *frmMain::cmdImport() const
{
    return ui->cmdImport;
}

QPushButton *frmMain::cmdRMCR() const
{
    return ui->cmdRMCR;
}

QPushButton *frmMain::cmdWeb() const
{
    return ui->cmdWeb;
}

QPushButton *frmMain::cmdRequestSupp() const
{
    return ui->cmdRequestSupp;
}

QPushButton *frmMain::cmdClose() const
{
    return ui->cmdClose;
}

QAction *frmMain::mnuAbout() const
{
    return ui->mnuAbout;
}

QAction *frmMain::mnuConfig() const
{
    return ui->mnuConfig;
}

QAction *frmMain::mnuChangePassword() const
{
    return ui->mnuChangePassword;
}

QAction *frmMain::mnuContactInfo() const
{
    return ui->mnuContactInfo;
}

QAction *frmMain::mnuReload() const
{
    return ui->mnuReload;
}

void frmMain::connectCommands()
{
    connect(this, &frmMain::logoClicked, this, &frmMain::Picture1_Click);
    connect(ui->cmdRMCR, &QPushButton::clicked, this, &frmMain::cmdRMCR_Click);
    connect(ui->cmdRequestSupp, &QPushButton::clicked, this, &frmMain::cmdRequestSupp_Click);
    connect(ui->cmdWeb, &QPushButton::clicked, this, &frmMain::cmdWeb_Click);
    connect(ui->cmdClose, &QPushButton::clicked, this, &frmMain::cmdClose_Click);
    connect(ui->mnuConfig, &QAction::triggered, this, &frmMain::mnuConfig_Click);
    connect(ui->mnuReload, &QAction::triggered, this, &frmMain::mnuReload_Click);
}

// ---- start-up's view of the window

void frmMain::SetVersionLabel(const QString &version)
{
    ui->lblVersion->setText(version);
}

void frmMain::SetCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void frmMain::SetLogo(int pictureIndex)
{
    ui->Picture1->setPixmap(m_images->picture(pictureIndex));
}

void frmMain::SetLogoTooltip(const QString &tooltip)
{
    ui->Picture1->setToolTip(tooltip);
}

void frmMain::ShowWindow()
{
    show();
    raise();
}

void frmMain::Unload()
{
    close();
}

void frmMain::SetButtonEnabled(const QString &objectName, bool enabled)
{
    if (auto *button = findChild<QPushButton *>(objectName))
        button->setEnabled(enabled);
}

void frmMain::SetButtonText(const QString &objectName, const QString &caption, const QString &tooltip)
{
    if (auto *button = findChild<QPushButton *>(objectName)) {
        button->setText(caption);
        button->setToolTip(tooltip);
    }
}

// ---- the loan and its report

void frmMain::CheckForExisting()
{
    HourglassCursor hourglass;
    {
        frmCheckExisting check(*this, this);
        check.exec();
        takeOverCheck(check);
    }
    if (m_existingResult == ReportSearchError) {
        if (m_reportStatus
            && m_reportStatus->sErrorText().compare(QLatin1String("Invalid password"), Qt::CaseInsensitive) == 0) {
            Props().setSavePassword(false);
            SaveSettings(Props());
            QueueRestart();
        }
        return;
    }
    // A new pull for a loan without a report; a repull for one found (old or recent).
    m_ePullType = m_existingResult == ReportNotFound ? 1 : 2;
    SetButtons();
}

void frmMain::takeOverCheck(const frmCheckExisting &check)
{
    m_checkReportId = check.sReportID();
    m_sReportUID = check.sReportID();
    m_inquiry = check.oInquiry();
    m_reportStatus = check.oReportStatus();
    m_existingResult = check.eReportStatus();
}

bool frmMain::rmcrPending() const
{
    return m_reportStatus && m_reportStatus->nStatusReport() == 64;
}

void frmMain::SetButtons()
{
    SetRMCR();
    SetAddBureau();
    SetPrintViewImport();
    SetRepull();
    SetSupplement();
}

void frmMain::SetRMCR()
{
    if (!hasStatus())
        return;
    const auto &st = *m_reportStatus;
    const bool allFinished = st.nStatusEXP() == 4 && st.nStatusEFX() == 4 && st.nStatusTU() == 4;
    ui->cmdRMCR->setEnabled(allFinished && !rmcrPending());
}

void frmMain::SetAddBureau()
{
    if (!hasStatus())
        return;
    const auto &st = *m_reportStatus;
    const bool bureauMissing = st.nStatusEXP() == 0 || st.nStatusEFX() == 0 || st.nStatusTU() == 0;
    ui->cmdAddBureau->setEnabled(bureauMissing && m_ePullType != 1 && !rmcrPending());
}

void frmMain::SetPrintViewImport()
{
    const bool present = !m_sReportUID.isEmpty();
    for (QPushButton *button : {ui->cmdView, ui->cmdPrint, ui->cmdImport, ui->cmdWeb})
        button->setEnabled(present);
    if (rmcrPending()) {
        for (QPushButton *button : {ui->cmdView, ui->cmdPrint, ui->cmdWeb})
            button->setEnabled(false);
    }
}

void frmMain::SetRepull()
{
    if (m_sReportUID.isEmpty())
        SetButtonText(QStringLiteral("cmdRepull"), QStringLiteral("&Pull Credit"), QStringLiteral("Pull New Credit Report"));
    else
        SetButtonText(QStringLiteral("cmdRepull"), QStringLiteral("&Repull"),
                      QStringLiteral("Repull Previously Pulled Report"));
    ui->cmdRepull->setEnabled(!rmcrPending());
}

void frmMain::SetSupplement()
{
    ui->cmdRequestSupp->setEnabled(!m_sReportUID.isEmpty() && m_sReportUID.toUpper() != QLatin1String("ERROR"));
}

// ---- web pages

LoanOnScreen frmMain::loanOnScreen() const
{
    LoanOnScreen loan;
    loan.borSSN = ui->lblBorSSN->text().trimmed();
    loan.borFirst = ui->lblBorFirst->text().trimmed();
    loan.borLast = ui->lblBorLast->text().trimmed();
    loan.borMiddle = ui->lblBorMi->text().trimmed();
    loan.borSuffix = ui->lblBorSufx->text().trimmed();
    loan.hasCoBorrower = m_inquiry && m_inquiry->CoBorrower();
    loan.coSSN = ui->lblCoSSN->text().trimmed();
    loan.coFirst = ui->lblCoFirst->text().trimmed();
    loan.coLast = ui->lblCoLast->text().trimmed();
    loan.coMiddle = ui->lblCoMi->text().trimmed();
    loan.coSuffix = ui->lblCoSufx->text().trimmed();
    return loan;
}

namespace {

// Opens a web page with the shell; a failed open, or an address that is not a web address,
// is shown in a critical box with the caller's title and message.
void openPage(const QString &address, const QString &title, const QString &message)
{
    if (!IsWebAddress(address)) {
        MsgBox(message + QStringLiteral("\r\n\r\nNot a web address: ") + address, vbCritical, title);
        return;
    }
    const auto failed = [title, message](int code) {
        MsgBox(message + QStringLiteral("\r\n\r\n") + ShellErrorText(code), vbCritical, title);
    };
    // The browser's opener may take seconds to report; its failure is shown when it does.
    const int code = TheShell().OpenPage(address, failed);
    if (code <= 32)
        failed(code);
}

} // namespace

void frmMain::openLoanPage(bool fromRmcr)
{
    HourglassCursor hourglass;
    const clsProperties &props = Props();
    const QString base = props.BaseUrl() + (fromRmcr ? props.RMCRPageLink() : props.SuppPageLink());
    const QString address =
        WebPages::LoanPage(base, fromRmcr, props.UserName(), props.CompanyID(), m_sReportUID, loanOnScreen());
    if (fromRmcr)
        openPage(address, QStringLiteral("Error in cmdRMCR_Click"),
                 QStringLiteral("There was an error requesting RMCR information."));
    else
        openPage(address, QStringLiteral("Error in cmdRequestSupp_Click"),
                 QStringLiteral("There was an error requesting supplement information."));
}

void frmMain::cmdRMCR_Click()
{
    openLoanPage(true);
}

void frmMain::cmdRequestSupp_Click()
{
    openLoanPage(false);
}

void frmMain::cmdWeb_Click()
{
    MsgBox(QStringLiteral("Reminder:\r\n\r\nIf you flip, split or join reports at the website you will need to \r\n"
                          "make the corresponding changes to your borrower file before\r\n"
                          "importing the modified report back into ORRERY Quill.\r\n\r\nClick 'OK' to continue."),
           vbInformation, QStringLiteral("Reminder"));
    HourglassCursor hourglass;
    openPage(Props().BaseUrl() + Props().SummaryPageLink() + m_sReportUID, QStringLiteral("Error in cmdWeb_Click"),
             QStringLiteral("There was an error requesting website information."));
}

void frmMain::Picture1_Click()
{
    openPage(WebPages::ReportList(Props().ClientWebsite(), Props().ReportListPage()),
             QStringLiteral("Error in Picture1_Click"),
             QStringLiteral("There was an error while trying to open your web browser."));
}

// ---- closing, configuration, reload

void frmMain::cmdClose_Click()
{
    WindowHooks::SettingsUserCancelled() = true;
    close();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!m_sReportLocation.isEmpty())
        QFile::remove(m_sReportLocation);
    m_sReportLocation.clear();
    event->accept();
    WindowHooks::RequestEnd();
}

void frmMain::mnuConfig_Click()
{
    HourglassCursor hourglass;
    const QString program = AppPaths::ProgramFolder() + AppPaths::Separator() + QStringLiteral("OQCFG.EXE");
    if (!FileOps::Exists(program)) {
        MsgBox(QStringLiteral("No configuration file exists in the application path."), vbCritical,
               QStringLiteral("File Not Found"));
        return;
    }
    if (!TheShell().StartProgram(program, {}, SW_SHOWNORMALFOCUS))
        MsgBox(QStringLiteral("Could not run ") + program, vbCritical, QStringLiteral("Shell Error"));
}

void frmMain::mnuReload_Click()
{
    // Start-up runs again once this handler has returned, with a fresh settings object.
    QueueRestart([] {
        SetProps(nullptr);
        WindowHooks::SettingsUserCancelled() = true;
        if (const auto &unload = WindowHooks::UnloadWindowsForReload())
            unload();
        WindowHooks::SettingsUserCancelled() = false;
    });
}
