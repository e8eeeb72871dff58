#include "ui/account/frmPrefs.h"

#include "ui_frmPrefs.h"

#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/SettingsKeys.h"
#include "core/basSettings.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/Desktop.h"
#include "service/ParamBlock.h"
#include "service/basActions.h"
#include "service/basUrl.h"
#include "ui/UiUtils.h"

#include <QLineEdit>

namespace {

frmPrefs*& loadedWindow()
{
    static frmPrefs* window = nullptr;
    return window;
}

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

frmPrefs::frmPrefs(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frmPrefs>())
{
    ui->setupUi(this);
    for (QLineEdit* box : {ui->txtServerURL, ui->txtUserName, ui->txtPassword, ui->txtPasswordConfirm})
        SelectTextOnFocus(box);
    connect(ui->cmdOK, &QPushButton::clicked, this, &frmPrefs::cmdOK_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &frmPrefs::cmdCancel_Click);
    connect(ui->cmdReset, &QPushButton::clicked, this, &frmPrefs::cmdReset_Click);

    if (!UserCancelled()) {
        const clsProperties& props = Props();
        ui->txtServerURL->setText(props.ServerURL());
        ui->txtUserName->setText(props.UserName());
        ui->txtPassword->setText(props.Password());
        ui->txtPasswordConfirm->setText(props.Password());
        ui->cbxSavePwd->setChecked(!ui->txtPassword->text().isEmpty());
    }
}

frmPrefs::~frmPrefs()
{
    if (loadedWindow() == this)
        loadedWindow() = nullptr;
}

frmPrefs& frmPrefs::instance()
{
    if (!loadedWindow())
        loadedWindow() = new frmPrefs();
    return *loadedWindow();
}

frmPrefs* frmPrefs::loaded()
{
    return loadedWindow();
}

void frmPrefs::ShowModal()
{
    frmPrefs& window = instance();
    window.exec();
    // exec() returns only once the window has been unloaded.
    delete loadedWindow();
}

bool frmPrefs::Unload()
{
    frmPrefs* window = loadedWindow();
    if (!window)
        return true;
    if (window->isVisible()) {
        // Ends the modal loop; ShowModal deletes the window, and a validation still running with it.
        window->leave();
        return !window->isVisible();
    }
    if (!window->QueryUnload())
        return false;
    delete window;
    return true;
}

bool frmPrefs::UserCancelled()
{
    return WindowHooks::SettingsUserCancelled();
}

void frmPrefs::setUserCancelled(bool value)
{
    WindowHooks::SettingsUserCancelled() = value;
}

void frmPrefs::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    focusFirstEmptyBox();
}

void frmPrefs::focusFirstEmptyBox()
{
    for (QLineEdit* box : {ui->txtServerURL, ui->txtUserName, ui->txtPassword, ui->txtPasswordConfirm}) {
        if (box->text().isEmpty()) {
            box->setFocus();
            return;
        }
    }
}

bool frmPrefs::refuse(const QString& text, QLineEdit* box)
{
    MsgBox(text, vbOKOnly, AppPaths::ProgramTitle());
    box->setFocus();
    return false;
}

bool frmPrefs::ValidateEntries()
{
    // The texts are checked as typed: nothing is trimmed.
    const QString server = ui->txtServerURL->text();
    const QString user = ui->txtUserName->text();
    const QString password = ui->txtPassword->text();
    const QString confirm = ui->txtPasswordConfirm->text();

    if (HasIllegalChars(server))
        return refuse(QStringLiteral("Server URL contains illegal characters"), ui->txtServerURL);
    if (HasIllegalChars(user))
        return refuse(QStringLiteral("User Name contains illegal characters"), ui->txtUserName);
    if (HasIllegalChars(password))
        return refuse(QStringLiteral("Password contains illegal characters"), ui->txtPassword);
    if (HasIllegalChars(confirm))
        return refuse(QStringLiteral("Confirm password contains illegal characters"), ui->txtPasswordConfirm);
    if (server.isEmpty())
        return refuse(QStringLiteral("Please enter a Server URL"), ui->txtServerURL);
    if (user.isEmpty())
        return refuse(QStringLiteral("Please enter a User Name"), ui->txtUserName);
    if (password.isEmpty())
        return refuse(QStringLiteral("Please enter a password"), ui->txtPassword);
    if (confirm.isEmpty())
        return refuse(QStringLiteral("Please confirm the password"), ui->txtPasswordConfirm);
    if (password != confirm) {
        ui->txtPassword->clear();
        ui->txtPasswordConfirm->clear();
        return refuse(QStringLiteral("The Password and Confirm Password fields do not match.  "
                                     "Please re-type both fields."),
                      ui->txtPassword);
    }
    return true;
}

void frmPrefs::cmdOK_Click()
{
    if (!ValidateEntries())
        return;
    m_busy = std::make_unique<HourglassCursor>();
    setControls();
    guarded([this] { startValidation(); });
}

void frmPrefs::startValidation()
{
    ParamBlock block(QStringLiteral("VALIDATECREDENTIALS"));
    block.add(QStringLiteral("USER"), ui->txtUserName->text());
    block.add(QStringLiteral("PASSWORD"), ui->txtPassword->text());
    // The validation goes to the address just typed.
    Props().setServerURL(ui->txtServerURL->text());
    ValidateCredentials(block.text(), this, [this](const ServiceOutcome& outcome) { validated(outcome); });
}

void frmPrefs::validated(const ServiceOutcome& outcome)
{
    QString answer;
    const bool valid = outcome.Read(answer) && answer.isEmpty();
    if (valid && !guarded([this] { storeCredentials(); }))
        return;
    endValidation();
    if (valid) {
        accept();
        setUserCancelled(false);
        return;
    }
    MsgBox(QStringLiteral("Your user credentials could not be validated against our system.") + kCrLf
               + QStringLiteral("Problem: ") + answer,
           vbOKOnly | vbExclamation, QStringLiteral("Validation Problem"));
}

void frmPrefs::storeCredentials()
{
    clsProperties& props = Props();
    props.setUserName(ui->txtUserName->text());
    props.setPassword(ui->txtPassword->text());
    props.setSavePassword(ui->cbxSavePwd->isChecked());
    setUserCancelled(true);
    SaveSettings(props);
}

bool frmPrefs::guarded(const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (const AppError& e) {
        showFailure(e.Description);
    } catch (const std::exception& e) {
        showFailure(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

void frmPrefs::showFailure(const QString& description)
{
    endValidation();
    setUserCancelled(false);
    MsgBox(QStringLiteral("There was a problem validating your credentials.") + kCrLf + QStringLiteral("Error: ")
               + description,
           vbOKOnly, QStringLiteral("Error"));
}

void frmPrefs::endValidation()
{
    m_busy.reset();
    setControls();
}

void frmPrefs::setControls()
{
    const bool idle = !m_busy;
    m_controls.set({{ui->txtServerURL, idle},
                    {ui->txtUserName, idle},
                    {ui->txtPassword, idle},
                    {ui->txtPasswordConfirm, idle},
                    {ui->cbxSavePwd, idle},
                    {ui->cmdOK, idle},
                    {ui->cmdCancel, idle},
                    {ui->cmdReset, idle}});
}

void frmPrefs::cmdCancel_Click()
{
    reject();
}

void frmPrefs::cmdReset_Click()
{
    // Only the store is cleared; the boxes and the settings object keep their values, so the
    // next start finds the defaults.
    SettingsKeys::ResetAll();
}

bool frmPrefs::QueryUnload()
{
    if (UserCancelled())
        return true;
    const QString text = QStringLiteral("You can not access ") + Props().ClientWebsite() + kCrLf
        + QStringLiteral(" without a valid Company ID, UserName and Password.") + kCrLf + kCrLf
        + QStringLiteral("Quit?");
    if (MsgBox(text, vbYesNo | vbExclamation, QStringLiteral("Quit?")) != vbYes)
        return false;
    WindowHooks::RequestEnd();
    return true;
}

void frmPrefs::reject()
{
    if (!m_busy)
        leave();
}

void frmPrefs::leave()
{
    if (!QueryUnload())
        return;
    QDialog::reject();
}
