#include "ui/account/frmChangePass.h"

#include "ui_frmChangePass.h"

#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/basLog.h"
#include "core/basSettings.h"
#include "core/clsProperties.h"
#include "platform/Desktop.h"
#include "service/ParamBlock.h"
#include "service/basAccountActions.h"
#include "service/basActions.h"
#include "service/basAnswer.h"

#include <QEvent>
#include <QLineEdit>
#include <QStringList>

namespace {

frmChangePass*& windowObject()
{
    static frmChangePass* window = nullptr;
    return window;
}

const QString kCrLf = QStringLiteral("\r\n");
const QString kMayHaveChanged =
    QStringLiteral("The change may have reached the credit vendor before its answer was lost: if your old password "
                   "is refused from now on, the new one is in effect.");
const QString kHeading = QStringLiteral("Your password has expired.");

// text with every occurrence of the given secrets replaced by "*****".
QString withoutSecrets(QString text, const QStringList& secrets)
{
    for (const QString& secret : secrets) {
        if (!secret.isEmpty())
            text.replace(secret, QStringLiteral("*****"));
    }
    return text;
}

} // namespace

frmChangePass::frmChangePass(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frmChangePass>())
{
    ui->setupUi(this);
    for (QLineEdit* box : {ui->txtOldPassword, ui->txtNewPassword, ui->txtConfirmPassword})
        box->installEventFilter(this);
    connect(ui->cmdOK, &QPushButton::clicked, this, &frmChangePass::cmdOK_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &frmChangePass::reject);
    connect(ui->lblPasswordSpecs, &ClickableLabel::clicked, this, &frmChangePass::lblPasswordSpecs_Click);
}

frmChangePass::~frmChangePass()
{
    if (windowObject() == this)
        windowObject() = nullptr;
}

frmChangePass& frmChangePass::instance()
{
    if (!windowObject())
        windowObject() = new frmChangePass();
    return *windowObject();
}

frmChangePass* frmChangePass::loaded()
{
    return windowObject();
}

void frmChangePass::ShowModal(bool userInitiated)
{
    frmChangePass& window = instance();
    window.Load();
    window.setUserInitiated(userInitiated);
    if (userInitiated)
        window.ui->lblLabels->setText(QStringLiteral("Change Your Password"));
    window.exec();
}

void frmChangePass::Unload()
{
    frmChangePass* window = windowObject();
    if (!window)
        return;
    // Reload runs from the main loop, so the window is not shown; were it, close it quietly.
    if (window->isVisible())
        window->QDialog::reject();
    delete window;
}

QString frmChangePass::DefaultPasswordSpecs()
{
    return QStringLiteral("Your new password must consist of: \n\r\nAtleast 1 upper case letter\r\n"
                          "Atleast 1 lower case letter\r\nAtleast 1 number\n\r\n"
                          "It must be 8 or more characters long");
}

void frmChangePass::Load()
{
    ui->lblLabels->setText(kHeading);
    ui->lblPasswordSpecs->setToolTip(QStringLiteral("Click for Password Specifications"));
    ui->lblUsername->setText(Props().UserName());
    for (QLineEdit* box : {ui->txtOldPassword, ui->txtNewPassword, ui->txtConfirmPassword})
        box->clear();
    ui->cbxSavePwd->setChecked(false);
    ui->txtOldPassword->setFocus();
}

bool frmChangePass::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            box->selectAll();
    }
    return QDialog::eventFilter(watched, event);
}

bool frmChangePass::refuse(const QString& text, QLineEdit* box, bool selectText)
{
    MsgBox(text, vbOKOnly | vbInformation, QStringLiteral("Validation Error"));
    if (selectText)
        box->selectAll();
    box->setFocus();
    return false;
}

bool frmChangePass::ValidateEntries()
{
    using Answer::TrimBlanks;
    const QString oldPassword = TrimBlanks(ui->txtOldPassword->text());
    const QString newPassword = TrimBlanks(ui->txtNewPassword->text());
    const QString confirm = TrimBlanks(ui->txtConfirmPassword->text());

    if (oldPassword.isEmpty())
        return refuse(QStringLiteral("You must provide your existing password."), ui->txtOldPassword, false);
    if (oldPassword != Props().Password())
        return refuse(QStringLiteral("Your existing password does not match what's on file."), ui->txtOldPassword,
                      true);
    if (newPassword.isEmpty())
        return refuse(QStringLiteral("You must provide a new password."), ui->txtNewPassword, false);
    if (confirm.isEmpty())
        return refuse(QStringLiteral("You must confirm you new password."), ui->txtConfirmPassword, false);
    if (newPassword != confirm)
        return refuse(QStringLiteral("Your new password does not match the confirmed one."), ui->txtNewPassword, true);
    // Checked untrimmed: a request field cannot carry the character anywhere.
    if (ui->txtNewPassword->text().contains(QLatin1Char('&')))
        return refuse(QStringLiteral("Your new password can not contain '&' symbol."), ui->txtNewPassword, true);
    return true;
}

void frmChangePass::cmdOK_Click()
{
    if (!ValidateEntries())
        return;
    SendChange(Answer::TrimBlanks(ui->txtNewPassword->text()));
}

void frmChangePass::SendChange(const QString& newPassword)
{
    beginRequest(true);
    const QString oldPassword = Props().Password();
    ParamBlock block(QStringLiteral("CHANGEPASSWORD"));
    block.add(QStringLiteral("USER"), Props().UserName());
    block.add(QStringLiteral("OLDPASS"), oldPassword);
    block.add(QStringLiteral("NEWPASS"), newPassword);
    ChangePassword(block.text(), this, [this, newPassword, oldPassword](const ServiceOutcome& outcome) {
        changeAnswered(outcome, newPassword, oldPassword);
    });
}

void frmChangePass::changeAnswered(const ServiceOutcome& outcome, const QString& newPassword,
                                   const QString& oldPassword)
{
    endRequest();
    if (outcome.ok()) {
        StoreChange(newPassword);
        m_passwordChanged = true;
        accept();
        return;
    }
    // A block that did not convert has been shown and logged already.
    if (outcome.kind == ServiceOutcome::Kind::Silent)
        return;
    // The answer may repeat what was sent: neither password reaches the box or the log.
    const QString description = withoutSecrets(outcome.description, {oldPassword, newPassword});
    // The old password stays stored; the user must know it may no longer be the vendor's.
    const QString mayHaveChanged = outcome.mayHaveArrived ? kCrLf + kCrLf + kMayHaveChanged : QString();
    MsgBox(QStringLiteral("There was an error changing passwords.") + kCrLf + QStringLiteral("Error Number: ")
               + QString::number(outcome.number) + kCrLf + QStringLiteral("Error: ") + description + mayHaveChanged,
           vbOKOnly, QStringLiteral("Save Password Error"));
    WriteErrorLog(description);
}

void frmChangePass::StoreChange(const QString& newPassword)
{
    clsProperties& props = Props();
    props.setPassword(newPassword);
    props.setSavePassword(ui->cbxSavePwd->isChecked());
    if (SaveSettings(props)) {
        MsgBox(QStringLiteral("Password changed successfully."), vbOKOnly | vbInformation, QStringLiteral("Success"));
        return;
    }
    // The vendor already has the new password: saying only "success" would leave the old one
    // stored for the next start.
    MsgBox(QStringLiteral("Your password was changed at the vendor, but the new password could not be saved "
                          "on this computer.")
               + kCrLf + kCrLf + QStringLiteral("Use the new password the next time you are asked for it."),
           vbOKOnly | vbExclamation, QStringLiteral("Password Not Saved"));
    WriteErrorLog(QStringLiteral("The changed password could not be written to the settings store in frmChangePass"));
}

void frmChangePass::lblPasswordSpecs_Click()
{
    beginRequest(false);
    ParamBlock block(QStringLiteral("GETABOUT"));
    block.add(QStringLiteral("USER"), Props().UserName());
    block.add(QStringLiteral("DEPARTMENTID"), Props().DepartmentID());
    // A failed fetch has been logged; the help falls back to the default text.
    GetAbout(block.text(), this, [this](const ServiceOutcome& outcome) { showPasswordSpecs(outcome.ok()); });
}

void frmChangePass::showPasswordSpecs(bool fetched)
{
    endRequest();
    if (!fetched)
        Props().setPasswordSpecs(DefaultPasswordSpecs());
    MsgBox(Props().PasswordSpecs(), vbOKOnly | vbInformation,
           fetched ? QStringLiteral("Help") : QStringLiteral("Help - Default"));
}

void frmChangePass::beginRequest(bool change)
{
    m_busy = std::make_unique<HourglassCursor>();
    m_changing = change;
    setControls();
}

void frmChangePass::endRequest()
{
    m_busy.reset();
    m_changing = false;
    setControls();
}

void frmChangePass::setControls()
{
    const bool idle = !m_busy;
    const bool entries = !m_changing;
    m_controls.set({{ui->txtOldPassword, entries},
                    {ui->txtNewPassword, entries},
                    {ui->txtConfirmPassword, entries},
                    {ui->cbxSavePwd, entries},
                    {ui->lblPasswordSpecs, idle},
                    {ui->cmdOK, idle},
                    {ui->cmdCancel, idle}});
}

bool frmChangePass::QueryUnload()
{
    if (m_userInitiated || m_passwordChanged)
        return true;
    if (MsgBox(QStringLiteral("You can not continue without changing your password.") + kCrLf + kCrLf
                   + QStringLiteral("Quit?"),
               vbYesNo | vbCritical, QStringLiteral("Change Password"))
        != vbYes)
        return false;
    WindowHooks::RequestEnd();
    return true;
}

void frmChangePass::reject()
{
    if (m_busy || !QueryUnload())
        return;
    QDialog::reject();
}
