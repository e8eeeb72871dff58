#include "ui/ordering/ReportCommands.h"

#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/basLog.h"
#include "core/clsProperties.h"
#include "host/ArchiveStamp.h"
#include "host/basImport.h"
#include "host/clsInquiry.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/FileOps.h"
#include "service/OrderWatch.h"
#include "service/ParamBlock.h"
#include "service/ServiceOutcome.h"
#include "service/basReportData.h"
#include "service/basReportPdf.h"
#include "ui/ordering/LoanSession.h"
#include "ui/ordering/frmStatus.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

AppError noLoan()
{
    return AppError(ErrNo::FileIo, QStringLiteral("No loan is loaded."));
}

void reportProblem(const AppError& error, const QString& title, const QString& text, const QString& handler)
{
    MsgBox(text + kCrLf + QStringLiteral("Error: ") + error.Description, vbExclamation, title);
    WriteErrorLog(error.Description + QStringLiteral(" in ") + handler);
}

void showingProblem(bool view, const AppError& error)
{
    if (view)
        reportProblem(error, QStringLiteral("Viewing Problem"),
                      QStringLiteral("There was a problem viewing the report."), QStringLiteral("cmdView_Click"));
    else
        reportProblem(error, QStringLiteral("Printing Problem"),
                      QStringLiteral("There was a problem printing your document."), QStringLiteral("cmdPrint_Click"));
}

} // namespace

ReportCommands::ReportCommands(LoanSession& session, QObject* window)
    : QObject(window), m_reportUid(session.reportId()), m_inquiry(session.inquiry()), m_session(session)
{
}

void ReportCommands::View()
{
    showOrPrint(Use::View);
}

void ReportCommands::Print()
{
    showOrPrint(Use::Print);
}

void ReportCommands::showOrPrint(Use use)
{
    m_hourglass.emplace();
    // A report is downloaded at most once per run, until a new order clears its path.
    if (!m_session.reportLocation().isEmpty()) {
        present(use, m_session.reportLocation());
        return;
    }
    if (!m_inquiry) {
        showingProblem(use == Use::View, noLoan());
        finish();
        return;
    }
    const QString block = ParamBlock(QStringLiteral("GET_PDF")).add(QStringLiteral("guid"), m_reportUid).text();
    m_session.setRequestRunning(true);
    OrderWatch* wait = GetReportPDF(block, m_inquiry->BorrowerFile(), this,
                                    [this, use](const ServiceOutcome& outcome) { downloaded(use, outcome); });
    if (wait)
        frmStatus::Load().Follow(wait);
}

void ReportCommands::downloaded(Use use, const ServiceOutcome& outcome)
{
    // GetReportPDF has shown and logged its failures; an empty path: the user closed the wait.
    if (!outcome.ok() || outcome.answer.isEmpty()) {
        finish();
        return;
    }
    m_session.setReportLocation(outcome.answer);
    present(use, outcome.answer);
}

void ReportCommands::present(Use use, const QString& pdf)
{
    try {
        Desktop::PrinterChoice choice;
        if (use == Use::View)
            ShowReport(pdf, QStringLiteral("open"));
        else if (TheDesktop().ChoosePrinter(choice))
            ShowReport(pdf, QStringLiteral("print"), &choice);
    } catch (const AppError& error) {
        showingProblem(use == Use::View, error);
    }
    finish();
}

void ReportCommands::Import()
{
    m_hourglass.emplace();
    const QString block = ParamBlock(QStringLiteral("GET_DATA"))
                              .add(QStringLiteral("guid"), m_reportUid)
                              .add(QStringLiteral("DataFormat"), QStringLiteral("QUILL"))
                              .text();
    m_step = QStringLiteral("Before getting Borrower File Path");
    if (!m_inquiry) {
        importProblem(noLoan(), QString());
        finish();
        return;
    }
    const QString file = m_inquiry->BorrowerFilePath();
    m_step = QStringLiteral("Before GetData");
    m_session.setRequestRunning(true);
    GetData(block, file, this, [this](const ServiceOutcome& outcome) { imported(outcome); });
}

void ReportCommands::imported(const ServiceOutcome& outcome)
{
    QString file;
    if (!outcome.Read(file)) {
        m_step = QStringLiteral("Error in GetData");
        importProblem(AppError(ErrNo::Silent, QString()), file);
        finish();
        return;
    }
    try {
        handOver(file);
    } catch (const AppError& error) {
        importProblem(error, file);
    }
    finish();
}

void ReportCommands::handOver(const QString& file)
{
    const clsProperties& props = Props();
    m_step = QStringLiteral("After GetData, before Shell");
    const ImportCommand command = BuildImportCommand(file, props.oConfig(), props.Client());
    WriteClientLog(command.text);
    StartImport(command);
    m_step = QStringLiteral("After Shell, before copy to archive");
    FileOps::Copy(AppPaths::ToLocalPath(props.SendDir() + QStringLiteral("IMPORT.DAT")),
                  AppPaths::ToLocalPath(props.ArchiveDir() + ArchiveStamp() + QStringLiteral("IMPORT.DAT")));
    m_step = QStringLiteral("After copy to archive");
    MsgBox(
        QStringLiteral("Liabilities have been imported.") + kCrLf
            + QStringLiteral("You need to hit the Receive Data button on the previous screen to complete the import."),
        vbInformation, QStringLiteral("Import Successful"));
    m_step = QStringLiteral("After successful message");
}

void ReportCommands::importProblem(const AppError& error, const QString& file)
{
    MsgBox(QStringLiteral("There was a problem importing data to QUILL.") + kCrLf
               + QStringLiteral("Error Number: %1").arg(error.Number) + kCrLf + QStringLiteral("Error: ")
               + error.Description + kCrLf + QStringLiteral("Message: ") + m_step,
           vbExclamation, QStringLiteral("Importing Error"));
    // A failed GetData left its error text in file; other failures are logged with their own words.
    WriteErrorLog(error.Number == ErrNo::Silent ? file : error.Description + QStringLiteral(" in cmdImport_Click"));
}

void ReportCommands::finish()
{
    m_hourglass.reset();
    m_session.setRequestRunning(false);
    deleteLater();
}
