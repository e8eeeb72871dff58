#include "ui/ordering/frmMain.h"
#include "ui_frmMain.h"

#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>

#include "app/basMain.h"
#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/clsProperties.h"
#include "host/clsInquiry.h"
#include "platform/AppPaths.h"
#include "platform/Desktop.h"
#include "platform/FileOps.h"
#include "platform/Shell.h"
#include "ui/ClickableLabel.h"
#include "ui/UiUtils.h"
#include "ui/account/AccountWindows.h"
#include "ui/ordering/ImageList.h"
#include "ui/ordering/MainWebCommands.h"
#include "ui/ordering/OrderCommands.h"
#include "ui/ordering/ReportButtons.h"
#include "ui/ordering/ReportCommands.h"

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), m_session(new LoanSession(this)), ui(new Ui::frmMain)
{
    InitUiResources();
    ui->setupUi(this);

    m_images = new ImageList(this);
    m_images->setObjectName(QStringLiteral("ImageList1"));
    // An order waiting in the background tells its progress here.
    m_orderProgress = new QLabel(this);
    m_orderProgress->setObjectName(QStringLiteral("lblOrderProgress"));
    statusBar()->addWidget(m_orderProgress, 1);

    connect(ui->Picture1, &ClickableLabel::clicked, this, &frmMain::logoClicked);
    connectCommands();
    connect(m_session, &LoanSession::changed, this, &frmMain::SetButtons);
    connect(m_session, &LoanSession::changed, this, &frmMain::showOrderNote);
    connect(m_session, &LoanSession::orderReady, this, &frmMain::orderReady);

    m_dataBoxes = {ui->lblReference, ui->lblBorFirst, ui->lblBorLast,    ui->lblBorMi,   ui->lblBorSufx,
                   ui->lblBorSSN,    ui->lblBorDOB,   ui->lblCoFirst,    ui->lblCoLast,  ui->lblCoMi,
                   ui->lblCoSufx,    ui->lblCoSSN,    ui->lblCoDOB,      ui->lblCurAddr, ui->lblCurCity,
                   ui->lblCurState,  ui->lblCurZip,   ui->lblCurCountry, ui->lblPreAddr, ui->lblPreCity,
                   ui->lblPreState,  ui->lblPreZip,   ui->lblPreCountry};
    for (QLineEdit* box : std::as_const(m_dataBoxes))
        SelectTextOnFocus(box);

    collectFileMenuAreas();
}

// Where a plain right click brings up the File menu: the window background, the four frames,
// the version and every caption label except "Reference:" and the co-borrower's "DOB".
void frmMain::collectFileMenuAreas()
{
    m_fileMenuAreas = {ui->centralwidget, ui->fmBorrower, ui->fmCoBorrower, ui->fmCurrAddr,
                       ui->fmPreAddr,     ui->lblVersion, ui->lblCapVersion};
    for (QGroupBox* frame : {ui->fmBorrower, ui->fmCoBorrower, ui->fmCurrAddr, ui->fmPreAddr}) {
        const auto captions = frame->findChildren<QLabel*>();
        for (QLabel* caption : captions) {
            if (caption != ui->lblCapCoDOB)
                m_fileMenuAreas.append(caption);
        }
    }
    for (QWidget* area : std::as_const(m_fileMenuAreas))
        area->installEventFilter(this);
}

frmMain::~frmMain()
{
    delete ui;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (opensFileMenu(watched, event)) {
        auto* press = static_cast<QMouseEvent*>(event);
        ui->mnuFile->popup(press->globalPosition().toPoint());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool frmMain::opensFileMenu(QObject* watched, QEvent* event) const
{
    if (event->type() != QEvent::MouseButtonPress)
        return false;
    auto* area = qobject_cast<QWidget*>(watched);
    if (!area || !m_fileMenuAreas.contains(area))
        return false;
    auto* press = static_cast<QMouseEvent*>(event);
    if (press->button() != Qt::RightButton)
        return false;
    if (press->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        return false;
    // A press that a child left unhandled travels up to its parents; only a press on the area
    // itself, not on one of its children (text boxes, buttons, the excluded labels), counts.
    return area->childAt(press->position().toPoint()) == nullptr;
}

QPushButton& frmMain::Button(MainButton button) const
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

void frmMain::SetVersionLabel(const QString& version)
{
    ui->lblVersion->setText(version);
}

void frmMain::SetCaption(const QString& caption)
{
    setWindowTitle(caption);
}

void frmMain::SetLogo(int pictureIndex)
{
    ui->Picture1->setPixmap(m_images->picture(pictureIndex));
}

void frmMain::SetLogoTooltip(const QString& tooltip)
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

// ---- what the windows working on the loan see

QLineEdit& frmMain::Box(LoanBox box) const
{
    // The boxes are listed in the order of LoanBox.
    return *m_dataBoxes.at(static_cast<int>(box));
}

void frmMain::SetReferenceCaption(const QString& caption)
{
    ui->lblRef->setText(caption);
}

void frmMain::SetCoBorrowerVisible(bool visible)
{
    ui->fmCoBorrower->setVisible(visible);
}

void frmMain::SetChangePasswordEnabled(bool enabled)
{
    m_changePasswordRight = enabled;
    setAccountMenu();
}

void frmMain::HoldAccountCommands(bool held)
{
    m_accountHeld = held;
    setAccountMenu();
}

void frmMain::setAccountMenu()
{
    ui->mnuChangePassword->setEnabled(m_changePasswordRight && !m_accountHeld);
    ui->mnuContactInfo->setEnabled(!m_accountHeld);
}

void frmMain::RepaintScreen()
{
    repaint();
}

// ---- the loan and its report

QString frmMain::sReportLocation() const
{
    return m_session->reportLocation();
}
QString frmMain::sReportUID() const
{
    return m_session->reportId();
}
std::shared_ptr<clsInquiry> frmMain::inquiry() const
{
    return m_session->inquiry();
}

void frmMain::CheckForExisting(std::function<void()> done)
{
    OrderCommands(*this).CheckForExisting(std::move(done));
}

void frmMain::SetButtons()
{
    const auto states = ReportButtons(*m_session, Props().ReissueNumber());
    for (const MainButton button :
         {MainButton::cmdRMCR, MainButton::cmdAddBureau, MainButton::cmdView, MainButton::cmdPrint,
          MainButton::cmdImport, MainButton::cmdWeb, MainButton::cmdRepull, MainButton::cmdRequestSupp}) {
        const ButtonState& state = states[button];
        Button(button).setEnabled(state.enabled);
        Button(button).setText(state.caption);
        Button(button).setToolTip(state.tooltip);
    }
    // Reload would put another loan under the View, Print or Import request that runs.
    ui->mnuReload->setEnabled(!m_session->requestRunning());
}

void frmMain::showOrderNote()
{
    m_orderProgress->setText(m_session->orderNote());
}

// The user works on at this window or elsewhere: no box, a notice.
void frmMain::orderReady()
{
    TheDesktop().Notify(windowTitle(), m_session->orderNote(), this);
}

// ---- web pages

void frmMain::cmdRMCR_Click()
{
    MainWebCommands(*this).cmdRMCR(sReportUID(), inquiry() && inquiry()->CoBorrower());
}

void frmMain::cmdRequestSupp_Click()
{
    MainWebCommands(*this).cmdRequestSupp(sReportUID(), inquiry() && inquiry()->CoBorrower());
}

void frmMain::cmdWeb_Click()
{
    MainWebCommands(*this).cmdWeb(sReportUID());
}

void frmMain::Picture1_Click()
{
    MainWebCommands(*this).Picture1();
}

// ---- the report in hand

void frmMain::cmdView_Click()
{
    (new ReportCommands(*m_session, this))->View();
}

void frmMain::cmdPrint_Click()
{
    (new ReportCommands(*m_session, this))->Print();
}

void frmMain::cmdImport_Click()
{
    (new ReportCommands(*m_session, this))->Import();
}

// ---- closing, configuration, reload

void frmMain::cmdClose_Click()
{
    const bool cancelled = WindowHooks::SettingsUserCancelled();
    WindowHooks::SettingsUserCancelled() = true;
    if (!close())
        WindowHooks::SettingsUserCancelled() = cancelled;
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (!OrderCommands(*this).MayLeaveOrder()) {
        event->ignore();
        return;
    }
    if (!sReportLocation().isEmpty())
        QFile::remove(sReportLocation());
    m_session->setReportLocation(QString());
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
    if (!OrderCommands(*this).MayLeaveOrder())
        return;
    // Until the check has read the loan again, no button may work on the one still shown.
    m_session->StartCheck();
    // Start-up runs again once this handler has returned, with a fresh settings object.
    QueueRestart([] {
        SetProps(nullptr);
        WindowHooks::SettingsUserCancelled() = true;
        if (const auto& unload = WindowHooks::UnloadWindowsForReload())
            unload();
        WindowHooks::SettingsUserCancelled() = false;
    });
}
