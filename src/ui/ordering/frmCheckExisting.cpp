#include "ui/ordering/frmCheckExisting.h"

#include "ui_frmCheckExisting.h"

#include "app/basMain.h"
#include "core/AppContext.h"
#include "core/basLog.h"
#include "core/clsProperties.h"
#include "host/basDates.h"
#include "host/clsQuill.h"
#include "platform/AppError.h"
#include "platform/Desktop.h"
#include "platform/MsgBox.h"
#include "service/ParamBlock.h"
#include "service/basActions.h"
#include "service/clsReportStatus.h"
#include "ui/ordering/frmMain.h"
#include "ui/ordering/frmReissue.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

using ServerOperation = bool (*)(const QString&, QString&);

// The account data refreshed after a search, in this order; the later ones send the
// department that GETDEPARTMENTID has just stored.
struct RefreshStep {
    ServerOperation operation;
    const char* action;
    bool sendsDepartment;
};

const RefreshStep kRefreshSteps[] = {
    {LoginByReference, "LOGINBYREFERENCE", false},
    {RequestBureauRights, "REQUESTBUREAURIGHTS", false},
    {GetDepartmentID, "GETDEPARTMENTID", false},
    {GetSupplementPage, "GETSUPPLEMENTPAGE", true},
    {GetRMCRPage, "GETRMCRPAGE", true},
    {GetSummaryPage, "GETSUMMARYPAGE", true},
    {CheckMessages, "CHECKMESSAGES", true},
    {GetAbout, "GETABOUT", true},
    {GetReportListPage, "GETREPORTLISTPAGE", true},
    {GetChangePasswordRights, "CHANGEPASSWORDRIGHTS", true},
};

QString accountBlock(const RefreshStep& step)
{
    ParamBlock block(QString::fromLatin1(step.action));
    block.add(QStringLiteral("USER"), Props().UserName());
    if (step.sendsDepartment)
        block.add(QStringLiteral("DEPARTMENTID"), Props().DepartmentID());
    return block.text();
}

// A birth date the loader accepted is shown in one form; anything else as it was written.
QString birthDate(const QString& dob)
{
    const QString shown = FormatDate(dob);
    return shown.isEmpty() ? dob : shown;
}

} // namespace

frmCheckExisting::frmCheckExisting(frmMain& mainWindow, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmCheckExisting>()), m_main(mainWindow)
{
    ui->setupUi(this);
}

frmCheckExisting::~frmCheckExisting() = default;

QString frmCheckExisting::FormatSSN(const QString& ssn)
{
    if (ssn.isEmpty())
        return QStringLiteral("--");
    // Anything but nine characters is shown as it is rather than cut into a wrong number.
    if (ssn.size() != 9)
        return ssn;
    return ssn.left(3) + QLatin1Char('-') + ssn.mid(3, 2) + QLatin1Char('-') + ssn.right(4);
}

qint64 frmCheckExisting::DaysOld(const QDate& requested, const QDate& today)
{
    return requested.daysTo(today);
}

QDate frmCheckExisting::ParseRequestDate(const QString& text)
{
    return ParseDate(text);
}

void frmCheckExisting::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_started)
        return;
    m_started = true;
    // Let the window paint before the work starts; the work closes it.
    QTimer::singleShot(0, this, &frmCheckExisting::runCheck);
}

void frmCheckExisting::runCheck()
{
    repaintBoth();
    QString errorText;
    bool ok = true;
    Import(errorText, ok);
    if (!ok)
        WriteErrorLog(errorText);
    accept();
}

void frmCheckExisting::repaintBoth()
{
    repaint();
    m_main.repaint();
}

void frmCheckExisting::Import(QString& errorText, bool& ok)
{
    ok = true;
    errorText.clear();
    try {
        readLoan();
        if (!searchLoop(errorText) || (m_sReportID != QLatin1String("ERROR") && !refreshAccount()))
            ok = false;
    } catch (const AppError& e) {
        ok = false;
        if (e.Number != ErrNo::Silent)
            MsgBox(QStringLiteral("Borrower information not retrieved from EXPORT.DAT\r\nReason: ") + e.Description,
                   vbExclamation, QStringLiteral("Import Error"));
    }
    TheDesktop().SetHourglass(false);
}

void frmCheckExisting::readLoan()
{
    clsQuill reader;
    const QString exportFile = clsQuill::ExportFilePath();
    clsQuill::ArchiveExportFile();
    m_oInquiry = reader.ReadQuillExportFile(exportFile);
}

// Searches until a report is found, nothing is found without a reissue number, or the
// search fails. False when a server operation failed.
bool frmCheckExisting::searchLoop(QString& errorText)
{
    for (;;) {
        ParamBlock block(QStringLiteral("FIND_REPORT"));
        const QString reissue = startSearchPass(block);
        fillBorrowers(block);
        QString answer;
        if (!FindReport(block.text(), m_oReportStatus, answer)) {
            errorText = answer;
            return false;
        }
        if (answer == QLatin1String("ERROR")) {
            m_eReportStatus = ReportSearchError;
            m_sReportID = answer;
            return true;
        }
        if (!answer.isEmpty())
            return classifyFound(answer, errorText);
        m_eReportStatus = ReportNotFound;
        if (reissue.isEmpty())
            return true;
        MsgBox(QStringLiteral("A report with reissue number: [") + reissue + QStringLiteral("] could not be found."),
               vbInformation, QStringLiteral("Report Not Found"));
    }
}

// Resets the main window for a new pass and asks for a reissue number where the account allows
// one. Returns that number, which is then the first criterion of the search.
QString frmCheckExisting::startSearchPass(ParamBlock& block)
{
    clsProperties& props = Props();
    m_main.lblReference()->setText(m_oInquiry->Reference());
    m_main.lblReference()->setEnabled(true);
    m_main.lblRef()->setText(QStringLiteral("Reference:"));
    m_main.setWindowTitle(props.Client());
    ui->lblChecking->setText(QStringLiteral("Checking for existing report..."));
    if (props.CrossCompanyReissue())
        frmReissue::Ask(this);
    const QString reissue = props.ReissueNumber();
    if (!reissue.isEmpty()) {
        block.add(QStringLiteral("ReIssueNum"), reissue);
        m_main.setWindowTitle(props.Client() + QStringLiteral(" - ") + reissue);
        m_main.lblRef()->setText(QStringLiteral("Reissue #:"));
        m_main.lblReference()->setText(reissue);
        m_main.lblReference()->setEnabled(false);
        ui->lblChecking->setText(QStringLiteral("Checking for existing reissue..."));
    }
    TheDesktop().SetHourglass(true);
    repaintBoth();
    return reissue;
}

void frmCheckExisting::fillBorrowers(ParamBlock& block)
{
    if (const auto bor = m_oInquiry->Borrower()) {
        m_main.lblBorFirst()->setText(bor->FirstName());
        m_main.lblBorLast()->setText(bor->LastName());
        m_main.lblBorMi()->setText(bor->MiddleInitial());
        m_main.lblBorSufx()->setText(bor->Suffix());
        m_main.lblBorSSN()->setText(FormatSSN(bor->SSN()));
        m_main.lblBorDOB()->setText(birthDate(bor->DOB()));
        block.add(QStringLiteral("SSN"), bor->SSN());
        block.add(QStringLiteral("FirstName"), bor->FirstName());
        block.add(QStringLiteral("LastName"), bor->LastName());
        const auto cur = bor->CurrentAddress();
        m_main.lblCurAddr()->setText(cur->Address1());
        m_main.lblCurCity()->setText(cur->City());
        m_main.lblCurState()->setText(cur->State());
        m_main.lblCurZip()->setText(cur->PostalCode());
        m_main.lblCurCountry()->setText(cur->Country());
        const auto pre = bor->PreviousAddress();
        m_main.lblPreAddr()->setText(pre->Address1());
        m_main.lblPreCity()->setText(pre->City());
        m_main.lblPreState()->setText(pre->State());
        m_main.lblPreZip()->setText(pre->PostalCode());
        m_main.lblPreCountry()->setText(pre->Country());
    }
    const auto co = m_oInquiry->CoBorrower();
    m_main.fmCoBorrower()->setVisible(co != nullptr);
    if (!co)
        return;
    m_main.lblCoFirst()->setText(co->FirstName());
    m_main.lblCoLast()->setText(co->LastName());
    m_main.lblCoMi()->setText(co->MiddleInitial());
    m_main.lblCoSufx()->setText(co->Suffix());
    m_main.lblCoSSN()->setText(FormatSSN(co->SSN()));
    m_main.lblCoDOB()->setText(birthDate(co->DOB()));
    const QPair<QString, QString> criteria[] = {{QStringLiteral("CoFirstName"), co->FirstName()},
                                                {QStringLiteral("CoLastName"), co->LastName()},
                                                {QStringLiteral("CoSSN"), co->SSN()}};
    for (const auto& [name, value] : criteria)
        if (!value.isEmpty())
            block.add(name, value);
}

bool frmCheckExisting::classifyFound(const QString& answer, QString& errorText)
{
    m_sReportID = answer;
    ParamBlock block(QStringLiteral("DATEREQUESTED"));
    block.add(QStringLiteral("RID"), m_sReportID);
    QString dateText;
    if (!GetDateRequested(block.text(), dateText)) {
        errorText = dateText;
        return false;
    }
    if (dateText.isEmpty()) {
        m_eReportStatus = ReportFound;
        return true;
    }
    const QDate requested = ParseRequestDate(dateText);
    if (!requested.isValid())
        throw AppError(13, QStringLiteral("The report's request date \"%1\" is not a date.").arg(dateText),
                       QStringLiteral("frmCheckExisting"));
    m_sDateRequested = dateText;
    const qint64 age = DaysOld(requested, TheDesktop().Now().date());
    m_eReportStatus = age >= Props().DaysOldTimeFrame() ? ReportFoundOld : ReportFound;
    return true;
}

bool frmCheckExisting::refreshAccount()
{
    for (const RefreshStep& step : kRefreshSteps) {
        QString answer;
        if (!step.operation(accountBlock(step), answer))
            return false;
        if (step.operation == RequestBureauRights && m_oReportStatus && m_oReportStatus->nStatusReport() == 64)
            MsgBox(QStringLiteral("This report is currently at RMCR Pending Status.\r\n"
                                  "It will not be available until this request is completed."),
                   vbInformation, QStringLiteral("RMCR Status"));
        if (step.operation == CheckMessages) {
            Props().setNewsBurstUrl(answer);
            if (!answer.isEmpty())
                ShowNewsBurst();
        }
        if (step.operation == GetChangePasswordRights)
            m_main.mnuChangePassword()->setEnabled(Props().CanChangePassword());
    }
    return true;
}
