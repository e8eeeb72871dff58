#include "ui/account/frmAbout.h"

#include "ui_frmAbout.h"

#include "core/AppContext.h"
#include "core/basSettings.h"
#include "core/clsProperties.h"
#include "platform/AppPaths.h"
#include "ui/account/SysInfo.h"
#include "ui/ordering/ImageList.h"

namespace {

frmAbout*& shownWindow()
{
    static frmAbout* window = nullptr;
    return window;
}

} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frmAbout>())
{
    ui->setupUi(this);
    connect(ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

frmAbout::~frmAbout()
{
    if (shownWindow() == this)
        shownWindow() = nullptr;
}

void frmAbout::ShowModal()
{
    frmAbout window;
    shownWindow() = &window;
    window.Load();
    window.exec();
}

frmAbout* frmAbout::loaded()
{
    return shownWindow();
}

void frmAbout::Unload()
{
    if (frmAbout* window = shownWindow())
        window->reject();
}

void frmAbout::Load()
{
    const clsProperties& props = Props();
    const QString title = AppPaths::ProgramTitle();
    setWindowTitle(QStringLiteral("About ") + title);
    ui->lblVersion->setText(QStringLiteral("Version ") + ClientVersion());
    ui->lblTitle->setText(title + QStringLiteral(" for ") + props.Client());
    ui->lblWebsite->setText(props.ClientWebsite());
    ui->lblPhone->setText(props.PhoneNumber());
    ui->lblEmail->setText(props.SupportEmail());
    // The main window's logos: the first for the default vendor only, exactly as spelt.
    const ImageList logos;
    ui->picIcon->setPixmap(logos.picture(props.Client() == Vendor::DefaultName ? 1 : 2));
}

void frmAbout::cmdSysInfo_Click()
{
    SysInfo::StartSysInfo();
}
