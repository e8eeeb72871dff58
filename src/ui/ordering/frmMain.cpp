#include "ui/ordering/frmMain.h"
#include "ui_frmMain.h"

#include <QCloseEvent>
#include <QFile>
#include <QMouseEvent>
#include <QTimer>

#include "app/basMain.h"
#include "core/AppContext.h"
#include "core/basSettings.h"
#include "core/clsProperties.h"
#include "host/clsInquiry.h"
#include "platform/AppPaths.h"
#include "platform/Desktop.h"
#include "platform/FileOps.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"
#include "service/clsReportStatus.h"
#include "ui/ClickableLabel.h"
#include "ui/UiUtils.h"
#include "ui/account/AccountWindows.h"
#include "ui/ordering/ImageList.h"
#include "ui/ordering/MainWebCommands.h"
#include "ui/ordering/OrderCommands.h"
#include "ui/ordering/ReportCommands.h"
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

    collectFileMenuAreas();
}

// Where a plain right click brings up the File menu: the window background, the four frames,
// the version and every caption label except "Reference:" and the co-borrower's "DOB".
void frmMain::collectFileMenuAreas()
{
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

QPushButton &frmMain::Button(MainButton button) const
{
    switch (button) {
    case MainButton::cmdRepull: return *ui->cmdRepull;
    case MainButton::cmdAddBureau: return *ui->cmdAddBureau;
    case MainButton::cmdView: return *ui->cmdView;
    case MainButton::cmdPrint: return *ui->cmdPrint;
    case MainButton::cmdImport: return *ui->cmdImport;
    case MainButton::cmdRMCR: return *ui->cmdRMCR;
    case MainButton::cmdWeb: return *ui->cmdWeb;
    case MainButton::cmdRequestSupp: return *ui->cmdRequestSupp;
    case MainButton::cmdClose: break;
    }
    return *ui->cmdClose;
}

void frmMain::connectCommands()
{
    connect(this, &frmMain::logoClicked, this, &frmMain::Picture1_Click);
    connect(ui->cmdRMCR, &QPushButton::clicked, this, &frmMain::cmdRMCR_Click);
    connect(ui->cmdRequestSupp, &QPushButton::clicked, this, &frmMain::cmdRequestSupp_Click);
    connect(ui->cmdWeb, &QPushButton::clicked, this, &frmMain::cmdWeb_Click);
    connect(ui->cmdView, &QPushButton::clicked, this, &frmMain::cmdView_Click);
    connect(ui->cmdPrint, &QPushButton::clicked, this, &frmMain::cmdPrint_Click);
    connect(ui->cmdImport, &QPushButton::clicked, this, &frmMain::cmdImport_Click);
    connect(ui->cmdClose, &QPushButton::clicked, this, &frmMain::cmdClose_Click);
    connect(ui->cmdRepull, &QPushButton::clicked, this, [this] { OrderCommands(*this).cmdRepull_Click(); });
    connect(ui->cmdAddBureau, &QPushButton::clicked, this, [this] { OrderCommands(*this).cmdAddBureau_Click(); });
    connect(ui->mnuConfig, &QAction::triggered, this, &frmMain::mnuConfig_Click);
    ConnectAccountMenu(ui->mnuAbout, ui->mnuChangePassword, ui->mnuContactInfo);
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

void frmMain::SetButtonEnabled(MainButton button, bool enabled)
{
    Button(button).setEnabled(enabled);
}

void frmMain::SetButtonText(MainButton button, const QString &caption, const QString &tooltip)
{
    Button(button).setText(caption);
    Button(button).setToolTip(tooltip);
}

// ---- what the windows working on the loan see

QLineEdit &frmMain::Box(LoanBox box) const
{
    // The boxes are listed in the order of LoanBox.
    return *m_dataBoxes.at(static_cast<int>(box));
}

void frmMain::SetReferenceCaption(const QString &caption)
{
    ui->lblRef->setText(caption);
}

void frmMain::SetCoBorrowerVisible(bool visible)
{
    ui->fmCoBorrower->setVisible(visible);
}

void frmMain::SetChangePasswordEnabled(bool enabled)
{
    ui->mnuChangePassword->setEnabled(enabled);
}

void frmMain::RepaintScreen()
{
    repaint();
}

// ---- the loan and its report

void frmMain::CheckForExisting()
{
    HourglassCursor hourglass;
    frmCheckExisting::Run(*this);
    takeOverCheck();
    if (m_existingResult == ReportSearchError) {
        if (m_reportStatus
            && m_reportStatus->sErrorText().compare(QLatin1String("Invalid password"), Qt::CaseInsensitive) == 0) {
            Props().setSavePassword(false);
            SaveSettings(Props());
            QueueRestart();
        }
        return;
    }
    OrderCommands(*this).AfterCheck(m_existingResult, frmCheckExisting::sDateRequested());
    SetButtons();
}

void frmMain::takeOverCheck()
{
    m_sReportUID = frmCheckExisting::sReportID();
    m_inquiry = frmCheckExisting::oInquiry();
    m_reportStatus = frmCheckExisting::oReportStatus();
    m_existingResult = frmCheckExisting::eReportStatus();
}

QString frmMain::ExistingReportID() const
{
    if (frmCheckExisting::eReportStatus() == ReportSearchError)
        return QStringLiteral("ERROR");
    return frmCheckExisting::sReportID();
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
        SetButtonText(MainButton::cmdRepull, QStringLiteral("&Pull Credit"), QStringLiteral("Pull New Credit Report"));
    else
        SetButtonText(MainButton::cmdRepull, QStringLiteral("&Repull"),
                      QStringLiteral("Repull Previously Pulled Report"));
    ui->cmdRepull->setEnabled(!rmcrPending());
}

void frmMain::SetSupplement()
{
    ui->cmdRequestSupp->setEnabled(!m_sReportUID.isEmpty() && m_sReportUID.toUpper() != QLatin1String("ERROR"));
}

// ---- web pages

void frmMain::cmdRMCR_Click()
{
    MainWebCommands(*this).cmdRMCR(m_sReportUID, m_inquiry && m_inquiry->CoBorrower());
}

void frmMain::cmdRequestSupp_Click()
{
    MainWebCommands(*this).cmdRequestSupp(m_sReportUID, m_inquiry && m_inquiry->CoBorrower());
}

void frmMain::cmdWeb_Click()
{
    MainWebCommands(*this).cmdWeb(m_sReportUID);
}

void frmMain::Picture1_Click()
{
    MainWebCommands(*this).Picture1();
}

// ---- the report in hand

void frmMain::cmdView_Click()
{
    ReportCommands(m_sReportUID, m_inquiry, m_sReportLocation).View();
}

void frmMain::cmdPrint_Click()
{
    ReportCommands(m_sReportUID, m_inquiry, m_sReportLocation).Print();
}

void frmMain::cmdImport_Click()
{
    ReportCommands(m_sReportUID, m_inquiry, m_sReportLocation).Import();
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
