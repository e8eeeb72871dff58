#include "ui/ordering/frmMain.h"
#include "ui_frmMain.h"

#include <QMouseEvent>
#include <QTimer>

#include "ui/ClickableLabel.h"
#include "ui/UiUtils.h"
#include "ui/ordering/ImageList.h"

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::frmMain)
{
    InitUiResources();
    ui->setupUi(this);

    m_images = new ImageList(this);
    m_images->setObjectName(QStringLiteral("ImageList1"));

    connect(ui->Picture1, &ClickableLabel::clicked, this, &frmMain::logoClicked);

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
        box->installEventFilter(this);

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
    if (event->type() == QEvent::FocusIn) {
        auto *box = qobject_cast<QLineEdit *>(watched);
        if (box && m_dataBoxes.contains(box)) {
            // A mouse press places the cursor after the focus arrives, which would undo an
            // immediate selection; select once the press has been handled.
            QTimer::singleShot(0, box, [box] { SelectAllText(box); });
        }
        return QMainWindow::eventFilter(watched, event);
    }

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
