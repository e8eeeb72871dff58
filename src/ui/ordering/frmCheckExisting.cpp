#include "ui/ordering/frmCheckExisting.h"

#include "ui_frmCheckExisting.h"

#include "app/basMain.h"
#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/basLog.h"
#include "core/clsProperties.h"
#include "host/basDates.h"
#include "host/clsQuill.h"
#include "platform/AppError.h"
#include "platform/Desktop.h"
#include "service/ParamBlock.h"
#include "service/basAccountRefresh.h"
#include "service/basActions.h"
#include "service/basPrefetch.h"
#include "service/clsReportStatus.h"
#include "ui/ordering/ILoanScreen.h"
#include "ui/ordering/LoanSession.h"

#include <QCloseEvent>
#include <QLineEdit>

#include <utility>

namespace {

// A plain pointer: a window still loaded when the program ends is not deleted after the
// application object has gone.
frmCheckExisting*& loadedWindow()
{
    static frmCheckExisting* window = nullptr;
    return window;
}

// A birth date the loader accepted is shown in one form; anything else as it was written.
QString birthDate(const QString& dob)
{
    const QString shown = FormatDate(dob);
    return shown.isEmpty() ? dob : shown;
}

} // namespace

frmCheckExisting::frmCheckExisting(ILoanScreen& screen, LoanSession& session, AskReissue askReissue,
                                   std::function<void()> done)
    : QDialog(nullptr),
      ui(std::make_unique<Ui::frmCheckExisting>()),
      m_screen(screen),
      m_session(session),
      m_askReissue(std::move(askReissue)),
      m_done(std::move(done))
{
    ui->setupUi(this);
}

frmCheckExisting::~frmCheckExisting()
{
    if (loadedWindow() == this)
        loadedWindow() = nullptr;
}

void frmCheckExisting::Run(ILoanScreen& screen, LoanSession& session, AskReissue askReissue, std::function<void()> done)
{
    // No parent: the slot above is the one owner, so the window cannot be deleted twice when
    // the main window goes. Application-modal, as the main window's own child would be.
    Unload();
    auto* window = new frmCheckExisting(screen, session, std::move(askReissue), std::move(done));
    loadedWindow() = window;
    // A check whose loan and main window have gone has no one to report to: its requests are
    // given up with the window.
    connect(&session, &QObject::destroyed, window, [window] {
        if (loaded() != window)
            return;
        delete window;
        Prefetch::Discard();
    });
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->start();
}

frmCheckExisting* frmCheckExisting::loaded()
{
    return loadedWindow();
}

void frmCheckExisting::Unload()
{
    if (frmCheckExisting* window = std::exchange(loadedWindow(), nullptr)) {
        window->m_running = false;
        window->hide();
        window->deleteLater();
    }
}

void frmCheckExisting::reject()
{
    if (!m_running)
        QDialog::reject();
}

void frmCheckExisting::closeEvent(QCloseEvent* event)
{
    if (m_running)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

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

void frmCheckExisting::start()
{
    m_running = true;
    repaintBoth();
    // Unset until a step decides otherwise: a check that fails before the search has answered
    // ends in the search-error state, never in "not found".
    m_session.StartCheck();
    try {
        // The account reads need nothing from the loan or the search: they go out now and are
        // taken in their turn (dropped at the end when the check ends before their steps).
        PrefetchAccountRefresh();
        readLoan();
    } catch (const AppError& e) {
        importFailed(e);
        return;
    }
    m_foundReads.emplace([](const QString& id) {
        if (id == QLatin1String("ERROR"))
            return QList<Prefetch::Read>();
        return QList<Prefetch::Read>{
            {QStringLiteral("GetDateRequested"), QStringLiteral("DATEREQUESTED"), DateRequestedBlock(id)}};
    });
    searchPass();
}

void frmCheckExisting::repaintBoth()
{
    repaint();
    m_screen.RepaintScreen();
}

void frmCheckExisting::readLoan()
{
    clsQuill reader;
    const QString exportFile = clsQuill::ExportFilePath();
    clsQuill::ArchiveExportFile();
    m_session.setInquiry(reader.ReadQuillExportFile(exportFile));
}

// One search; passes follow one another until a report is found, nothing is found without a
// reissue number, or the search fails.
void frmCheckExisting::searchPass()
{
    ParamBlock block(QStringLiteral("FIND_REPORT"));
    const QString reissue = startSearchPass(block);
    m_passWait.emplace();
    repaintBoth();
    fillBorrowers(block);
    FindReport(block.text(), this,
               [this, reissue](const ServiceOutcome& outcome, std::shared_ptr<clsReportStatus> status) {
                   searched(outcome, status, reissue);
               });
}

// Resets the main window for a new pass and asks for a reissue number where the account allows
// one. Returns that number, which is then the first criterion of the search.
QString frmCheckExisting::startSearchPass(ParamBlock& block)
{
    clsProperties& props = Props();
    m_screen.Box(LoanBox::lblReference).setText(m_session.inquiry()->Reference());
    m_screen.Box(LoanBox::lblReference).setEnabled(true);
    m_screen.SetReferenceCaption(QStringLiteral("Reference:"));
    m_screen.SetCaption(props.Client());
    ui->lblChecking->setText(QStringLiteral("Checking for existing report..."));
    if (props.CrossCompanyReissue() && m_askReissue)
        m_askReissue(this);
    const QString reissue = props.ReissueNumber();
    if (!reissue.isEmpty()) {
        block.add(QStringLiteral("ReIssueNum"), reissue);
        m_screen.SetCaption(props.Client() + QStringLiteral(" - ") + reissue);
        m_screen.SetReferenceCaption(QStringLiteral("Reissue #:"));
        m_screen.Box(LoanBox::lblReference).setText(reissue);
        m_screen.Box(LoanBox::lblReference).setEnabled(false);
        ui->lblChecking->setText(QStringLiteral("Checking for existing reissue..."));
    }
    return reissue;
}

void frmCheckExisting::fillBorrowers(ParamBlock& block)
{
    if (const auto bor = m_session.inquiry()->Borrower()) {
        m_screen.Box(LoanBox::lblBorFirst).setText(bor->FirstName());
        m_screen.Box(LoanBox::lblBorLast).setText(bor->LastName());
        m_screen.Box(LoanBox::lblBorMi).setText(bor->MiddleInitial());
        m_screen.Box(LoanBox::lblBorSufx).setText(bor->Suffix());
        m_screen.Box(LoanBox::lblBorSSN).setText(FormatSSN(bor->SSN()));
        m_screen.Box(LoanBox::lblBorDOB).setText(birthDate(bor->DOB()));
        block.add(QStringLiteral("SSN"), bor->SSN());
        block.add(QStringLiteral("FirstName"), bor->FirstName());
        block.add(QStringLiteral("LastName"), bor->LastName());
        const auto cur = bor->CurrentAddress();
        m_screen.Box(LoanBox::lblCurAddr).setText(cur->Address1());
        m_screen.Box(LoanBox::lblCurCity).setText(cur->City());
        m_screen.Box(LoanBox::lblCurState).setText(cur->State());
        m_screen.Box(LoanBox::lblCurZip).setText(cur->PostalCode());
        m_screen.Box(LoanBox::lblCurCountry).setText(cur->Country());
        const auto pre = bor->PreviousAddress();
        m_screen.Box(LoanBox::lblPreAddr).setText(pre->Address1());
        m_screen.Box(LoanBox::lblPreCity).setText(pre->City());
        m_screen.Box(LoanBox::lblPreState).setText(pre->State());
        m_screen.Box(LoanBox::lblPreZip).setText(pre->PostalCode());
        m_screen.Box(LoanBox::lblPreCountry).setText(pre->Country());
    }
    const auto co = m_session.inquiry()->CoBorrower();
    m_screen.SetCoBorrowerVisible(co != nullptr);
    if (!co)
        return;
    m_screen.Box(LoanBox::lblCoFirst).setText(co->FirstName());
    m_screen.Box(LoanBox::lblCoLast).setText(co->LastName());
    m_screen.Box(LoanBox::lblCoMi).setText(co->MiddleInitial());
    m_screen.Box(LoanBox::lblCoSufx).setText(co->Suffix());
    m_screen.Box(LoanBox::lblCoSSN).setText(FormatSSN(co->SSN()));
    m_screen.Box(LoanBox::lblCoDOB).setText(birthDate(co->DOB()));
    const QPair<QString, QString> criteria[] = {{QStringLiteral("CoFirstName"), co->FirstName()},
                                                {QStringLiteral("CoLastName"), co->LastName()},
                                                {QStringLiteral("CoSSN"), co->SSN()}};
    for (const auto& [name, value] : criteria)
        if (!value.isEmpty())
            block.add(name, value);
}

void frmCheckExisting::searched(const ServiceOutcome& outcome, const std::shared_ptr<clsReportStatus>& status,
                                const QString& reissue)
{
    if (!m_running)
        return; // unloaded while the request ran: the check was given up
    // The search's record once its answer has arrived; the one before stays when none did.
    if (status)
        m_session.setReportStatus(status);
    // A failed search has shown or logged its own failure.
    if (!outcome.ok()) {
        finish();
        return;
    }
    const QString& answer = outcome.answer;
    if (answer == QLatin1String("ERROR")) {
        m_session.setCheckResult(ReportSearchError);
        m_session.setReportId(answer);
        finish(); // nothing to refresh for a loan whose search failed
        return;
    }
    if (!answer.isEmpty()) {
        requestDate(answer);
        return;
    }
    m_session.setCheckResult(ReportNotFound);
    if (reissue.isEmpty()) {
        endSearch();
        return;
    }
    MsgBox(QStringLiteral("A report with reissue number: [") + reissue + QStringLiteral("] could not be found."),
           vbInformation, QStringLiteral("Report Not Found"));
    m_passWait.reset();
    searchPass();
}

void frmCheckExisting::requestDate(const QString& reportId)
{
    m_session.setReportId(reportId);
    GetDateRequested(DateRequestedBlock(reportId), this, [this](const ServiceOutcome& outcome) { dated(outcome); });
}

void frmCheckExisting::dated(const ServiceOutcome& outcome)
{
    if (!m_running)
        return;
    if (!outcome.ok()) {
        finish();
        return;
    }
    try {
        classifyFound(outcome.answer);
    } catch (const AppError& e) {
        importFailed(e);
        return;
    }
    endSearch();
}

void frmCheckExisting::classifyFound(const QString& dateText)
{
    if (dateText.isEmpty()) {
        m_session.setCheckResult(ReportFound);
        return;
    }
    const QDate requested = ParseRequestDate(dateText);
    if (!requested.isValid())
        throw AppError(13, QStringLiteral("The report's request date \"%1\" is not a date.").arg(dateText),
                       QStringLiteral("frmCheckExisting"));
    m_session.setDateRequested(dateText);
    const qint64 age = DaysOld(requested, TheDesktop().Now().date());
    m_session.setCheckResult(age >= Props().DaysOldTimeFrame() ? ReportFoundOld : ReportFound);
}

void frmCheckExisting::endSearch()
{
    m_passWait.reset();
    m_foundReads.reset();
    refreshFrom(0);
}

// The refresh steps one after another; a failed step (it has logged its failure) ends the check.
void frmCheckExisting::refreshFrom(int index)
{
    const QList<RefreshStep>& steps = AccountRefreshSteps();
    if (index == steps.size()) {
        finish();
        return;
    }
    const RefreshStep& step = steps[index];
    step.operation(AccountRefreshBlock(step, Props().UserName(), Props().DepartmentID()), this,
                   [this, index](const ServiceOutcome& outcome) { refreshed(index, outcome); });
}

void frmCheckExisting::refreshed(int index, const ServiceOutcome& outcome)
{
    if (!m_running)
        return;
    if (!outcome.ok()) {
        finish();
        return;
    }
    const RefreshStep& step = AccountRefreshSteps()[index];
    if (IsRefreshOf(step, "GETDEPARTMENTID"))
        PrefetchDepartmentReads(); // the reads that carry it, unless already sent with it
    const auto status = m_session.reportStatus();
    if (IsRefreshOf(step, "REQUESTBUREAURIGHTS") && status && status->nStatusReport() == 64)
        MsgBox(QStringLiteral("This report is currently at RMCR Pending Status.\r\n"
                              "It will not be available until this request is completed."),
               vbInformation, QStringLiteral("RMCR Status"));
    if (IsRefreshOf(step, "CHECKMESSAGES")) {
        Props().setNewsBurstUrl(outcome.answer);
        if (!outcome.answer.isEmpty())
            ShowNewsBurst();
    }
    if (IsRefreshOf(step, "CHANGEPASSWORDRIGHTS"))
        m_screen.SetChangePasswordEnabled(Props().CanChangePassword());
    refreshFrom(index + 1);
}

// Reading the loan or its report's request date failed: the check ends there.
void frmCheckExisting::importFailed(const AppError& error)
{
    m_passWait.reset();
    m_foundReads.reset();
    if (error.Number != ErrNo::Silent) {
        MsgBox(QStringLiteral("Borrower information not retrieved from EXPORT.DAT\r\nReason: ") + error.Description,
               vbExclamation, QStringLiteral("Import Error"));
        WriteErrorLog(BuildErrorXML(error.Source, error.Description, error.Number));
    }
    finish();
}

void frmCheckExisting::finish()
{
    m_passWait.reset();
    m_foundReads.reset();
    Prefetch::Discard();
    m_running = false;
    const std::function<void()> done = std::move(m_done);
    m_done = nullptr;
    if (loaded() == this)
        Unload();
    if (done)
        done();
}
