#include "ui/account/frmPasswordExpired.h"

#include "ui_frmPasswordExpired.h"

#include "core/AppContext.h"

namespace {

frmPasswordExpired*& shownWindow()
{
    static frmPasswordExpired* window = nullptr;
    return window;
}

} // namespace

frmPasswordExpired::frmPasswordExpired(bool userInitiated, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmPasswordExpired>())
{
    ui->setupUi(this);
    if (userInitiated) {
        ui->lblHeading->setText(QStringLiteral("Change Your Password"));
        ui->lblExplanation->setText(QStringLiteral(
            "This version of the program cannot change the password. Change it through the vendor's web site."));
        ui->cmdQuit->hide();
    }
    connect(ui->cmdQuit, &QPushButton::clicked, this, &frmPasswordExpired::cmdQuit_Click);
    connect(ui->cmdContinue, &QPushButton::clicked, this, &QDialog::accept);
}

frmPasswordExpired::~frmPasswordExpired()
{
    if (shownWindow() == this)
        shownWindow() = nullptr;
}

void frmPasswordExpired::ShowModal(bool userInitiated)
{
    frmPasswordExpired window(userInitiated);
    shownWindow() = &window;
    window.exec();
}

frmPasswordExpired* frmPasswordExpired::loaded()
{
    return shownWindow();
}

void frmPasswordExpired::cmdQuit_Click()
{
    WindowHooks::RequestEnd();
    reject();
}
