#include "ui/account/frmUpdateContactInfo.h"

#include "ui_frmUpdateContactInfo.h"

#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/basLog.h"
#include "core/clsProperties.h"
#include "platform/Desktop.h"
#include "service/ParamBlock.h"
#include "service/basAccountActions.h"
#include "service/basAnswer.h"
#include "service/basUrl.h"

#include <QEvent>
#include <QLineEdit>

namespace {

frmUpdateContactInfo*& shownWindow()
{
    static frmUpdateContactInfo* window = nullptr;
    return window;
}

const QString kCrLf = QStringLiteral("\r\n");

QString trimmedUpper(const QString& text)
{
    return Answer::TrimBlanks(text).toUpper();
}

} // namespace

frmUpdateContactInfo::frmUpdateContactInfo(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmUpdateContactInfo>())
{
    ui->setupUi(this);
    for (QLineEdit* box : {ui->txtEmail, ui->txtPhoneNum, ui->txtPhoneExt})
        box->installEventFilter(this);
    connect(ui->cmdOK, &QPushButton::clicked, this, &frmUpdateContactInfo::cmdOK_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &frmUpdateContactInfo::reject);
}

frmUpdateContactInfo::~frmUpdateContactInfo()
{
    if (shownWindow() == this)
        shownWindow() = nullptr;
}

void frmUpdateContactInfo::ShowModal()
{
    frmUpdateContactInfo window;
    shownWindow() = &window;
    window.Load();
    window.exec();
}

frmUpdateContactInfo* frmUpdateContactInfo::loaded()
{
    return shownWindow();
}

void frmUpdateContactInfo::Load()
{
    const clsProperties& props = Props();
    if (props.UserEmail().isEmpty() && props.UserPhone().isEmpty() && props.UserPhoneExt().isEmpty()) {
        FetchContactInfo();
        return;
    }
    HourglassCursor busy;
    Fill();
}

void frmUpdateContactInfo::Fill()
{
    const clsProperties& props = Props();
    ui->txtEmail->setText(Answer::TrimBlanks(props.UserEmail()));
    ui->txtPhoneNum->setText(Answer::TrimBlanks(props.UserPhone()));
    ui->txtPhoneExt->setText(Answer::TrimBlanks(props.UserPhoneExt()));
}

void frmUpdateContactInfo::FetchContactInfo()
{
    beginRequest();
    ParamBlock block(QStringLiteral("GETCONTACTINFO"));
    block.add(QStringLiteral("USER"), Props().UserName());
    block.add(QStringLiteral("COMPANYID"), Props().CompanyID());
    block.add(QStringLiteral("DEPARTMENTID"), Props().DepartmentID());
    GetContactInfo(block.text(), this, [this](const ServiceOutcome& outcome) { contactInfoFetched(outcome); });
}

void frmUpdateContactInfo::contactInfoFetched(const ServiceOutcome& outcome)
{
    if (outcome.ok())
        Fill();
    m_unknown = !outcome.ok();
    endRequest();
    if (outcome.ok())
        return;
    MsgBox(QStringLiteral("Error: ") + QString::number(outcome.number) + kCrLf + QStringLiteral("Error Desc: ")
               + outcome.description,
           vbOKOnly | vbExclamation, QStringLiteral("Error In Load UpdateContactInfo"));
    // A failed conversion has written its own entry already.
    if (outcome.kind != ServiceOutcome::Kind::Silent)
        WriteErrorLog(outcome.description);
}

bool frmUpdateContactInfo::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            box->selectAll();
    }
    return QDialog::eventFilter(watched, event);
}

bool frmUpdateContactInfo::refuse(const QString& text, QLineEdit* box)
{
    MsgBox(text, vbOKOnly | vbCritical, QStringLiteral("Validation Error"));
    box->setFocus();
    return false;
}

bool frmUpdateContactInfo::ValidateEntries()
{
    const QString email = ui->txtEmail->text();
    if (HasIllegalChars(email))
        return refuse(QStringLiteral("Email address contains illegal characters"), ui->txtEmail);
    if (HasIllegalChars(ui->txtPhoneNum->text()))
        return refuse(QStringLiteral("Phone number contains illegal characters"), ui->txtPhoneNum);
    if (HasIllegalChars(ui->txtPhoneExt->text()))
        return refuse(QStringLiteral("Phone extension contains illegal characters"), ui->txtPhoneExt);
    if (Answer::TrimBlanks(email).isEmpty())
        return true;
    // Positions count from 1, on the text as typed (blanks after the address count).
    const qsizetype at = email.indexOf(QLatin1Char('@')) + 1;
    if (at == 0)
        return refuse(QStringLiteral("Invalid email address, it must contain '@' character"), ui->txtEmail);
    const qsizetype dot = email.indexOf(QLatin1Char('.'), at - 1) + 1;
    if (dot < at + 2)
        return refuse(QStringLiteral("Invalid email address, incorrect '.' after the '@'"), ui->txtEmail);
    if (dot > email.size() - 2)
        return refuse(QStringLiteral("Invalid domain extension"), ui->txtEmail);
    return true;
}

bool frmUpdateContactInfo::Unchanged() const
{
    const clsProperties& props = Props();
    return trimmedUpper(ui->txtEmail->text()) == trimmedUpper(props.UserEmail())
        && trimmedUpper(ui->txtPhoneNum->text()) == trimmedUpper(props.UserPhone())
        && trimmedUpper(ui->txtPhoneExt->text()) == trimmedUpper(props.UserPhoneExt());
}

void frmUpdateContactInfo::cmdOK_Click()
{
    if (Unchanged()) {
        MsgBox(QStringLiteral("No changes detected."), vbOKOnly | vbInformation, QStringLiteral("Success"));
        accept();
        return;
    }
    if (!ValidateEntries())
        return;
    SendUpdate();
}

void frmUpdateContactInfo::SendUpdate()
{
    beginRequest();
    ParamBlock block(QStringLiteral("UPDATECONTACTINFO"));
    block.add(QStringLiteral("USER"), Props().UserName());
    block.add(QStringLiteral("DEPARTMENTID"), Props().DepartmentID());
    block.add(QStringLiteral("NEWPHONE"), Answer::TrimBlanks(ui->txtPhoneNum->text()));
    block.add(QStringLiteral("NEWEXT"), Answer::TrimBlanks(ui->txtPhoneExt->text()));
    block.add(QStringLiteral("NEWEMAIL"), Answer::TrimBlanks(ui->txtEmail->text()));
    UpdateContactInfo(block.text(), this, [this](const ServiceOutcome& outcome) { updateAnswered(outcome); });
}

void frmUpdateContactInfo::updateAnswered(const ServiceOutcome& outcome)
{
    endRequest();
    // A block that did not convert has been shown and logged already.
    if (outcome.kind == ServiceOutcome::Kind::Silent)
        return;
    if (!outcome.ok()) {
        MsgBox(QStringLiteral("There was an error updating contact information.") + kCrLf
                   + QStringLiteral("Error Number: ") + QString::number(outcome.number) + kCrLf
                   + QStringLiteral("Error: ") + outcome.description,
               vbOKOnly, QStringLiteral("Update Contact Info Error"));
        WriteErrorLog(outcome.description);
        return;
    }
    MsgBox(QStringLiteral("Contact information changed successfully."), vbOKOnly | vbInformation,
           QStringLiteral("Success"));
    // The telephone is kept as typed (the boxes stayed as sent), without the regrouping used on load.
    Props().setUserEmail(Answer::TrimBlanks(ui->txtEmail->text()));
    Props().setUserPhone(Answer::TrimBlanks(ui->txtPhoneNum->text()));
    Props().setUserPhoneExt(Answer::TrimBlanks(ui->txtPhoneExt->text()));
    accept();
}

void frmUpdateContactInfo::reject()
{
    if (!m_busy)
        QDialog::reject();
}

void frmUpdateContactInfo::beginRequest()
{
    m_busy = std::make_unique<HourglassCursor>();
    setControls();
}

void frmUpdateContactInfo::endRequest()
{
    m_busy.reset();
    setControls();
}

void frmUpdateContactInfo::setControls()
{
    const bool idle = !m_busy;
    // Blank boxes after a failed read are not the vendor's values: sending them would erase those.
    const bool editable = idle && !m_unknown;
    m_controls.set({{ui->txtEmail, editable},
                    {ui->txtPhoneNum, editable},
                    {ui->txtPhoneExt, editable},
                    {ui->cmdOK, editable},
                    {ui->cmdCancel, idle}});
}
