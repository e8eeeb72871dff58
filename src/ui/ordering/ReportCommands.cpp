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
#include "platform/Desktop.h"
#include "platform/FileOps.h"
#include "service/ParamBlock.h"
#include "service/basReportData.h"
#include "service/basReportPdf.h"
#include "ui/ordering/LoanSession.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

[[noreturn]] void noLoan()
{
    throw AppError(ErrNo::FileIo, QStringLiteral("No loan is loaded."));
}

void reportProblem(const AppError& error, const QString& title, const QString& text, const QString& handler)
{
    MsgBox(text + kCrLf + QStringLiteral("Error: ") + error.Description, vbExclamation, title);
    WriteErrorLog(error.Description + QStringLiteral(" in ") + handler);
}

} // namespace

ReportCommands::ReportCommands(LoanSession& session)
    : m_reportUid(session.reportId()), m_inquiry(session.inquiry()), m_session(session)
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

QString ReportCommands::reportPdf()
{
    if (!m_session.reportLocation().isEmpty())
        return m_session.reportLocation();
    if (!m_inquiry)
        noLoan();
    const QString block = ParamBlock(QStringLiteral("GET_PDF")).add(QStringLiteral("guid"), m_reportUid).text();
    QString path;
    if (!GetReportPDF(block, m_inquiry->BorrowerFile(), path))
        throw AppError(ErrNo::Silent, QString()); // GetReportPDF has shown and logged it
    m_session.setReportLocation(path);
    return path;
}

void ReportCommands::showOrPrint(Use use)
{
    HourglassCursor hourglass;
    try {
        const QString pdf = reportPdf();
        if (pdf.isEmpty())
            return;
        if (use == Use::View) {
            ShowReport(pdf, QStringLiteral("open"));
            return;
        }
        Desktop::PrinterChoice choice;
        if (!TheDesktop().ChoosePrinter(choice))
            throw AppError(ErrNo::PrintCancelled, QStringLiteral("Cancel was selected."));
        ShowReport(pdf, QStringLiteral("print"), &choice);
    } catch (const AppError& error) {
        if (error.Number == ErrNo::Silent || (use == Use::Print && error.Number == ErrNo::PrintCancelled))
            return;
        if (use == Use::View)
            reportProblem(error, QStringLiteral("Viewing Problem"),
                          QStringLiteral("There was a problem viewing the report."), QStringLiteral("cmdView_Click"));
        else
            reportProblem(error, QStringLiteral("Printing Problem"),
                          QStringLiteral("There was a problem printing your document."),
                          QStringLiteral("cmdPrint_Click"));
    }
}

void ReportCommands::Import()
{
    HourglassCursor hourglass;
    QString file;
    QString step;
    try {
        importLiabilities(file, step);
    } catch (const AppError& error) {
        MsgBox(QStringLiteral("There was a problem importing data to QUILL.") + kCrLf
                   + QStringLiteral("Error Number: %1").arg(error.Number) + kCrLf + QStringLiteral("Error: ")
                   + error.Description + kCrLf + QStringLiteral("Message: ") + step,
               vbExclamation, QStringLiteral("Importing Error"));
        // A failed GetData left its error text in file; other failures are logged with their own words.
        WriteErrorLog(error.Number == ErrNo::Silent ? file : error.Description + QStringLiteral(" in cmdImport_Click"));
    }
}

void ReportCommands::importLiabilities(QString& file, QString& step)
{
    const clsProperties& props = Props();
    const QString block = ParamBlock(QStringLiteral("GET_DATA"))
                              .add(QStringLiteral("guid"), m_reportUid)
                              .add(QStringLiteral("DataFormat"), QStringLiteral("QUILL"))
                              .text();
    step = QStringLiteral("Before getting Borrower File Path");
    if (!m_inquiry)
        noLoan();
    file = m_inquiry->BorrowerFilePath();
    step = QStringLiteral("Before GetData");
    if (!GetData(block, file)) {
        step = QStringLiteral("Error in GetData");
        throw AppError(ErrNo::Silent, QString());
    }
    step = QStringLiteral("After GetData, before Shell");
    const ImportCommand command = BuildImportCommand(file, props.oConfig(), props.Client());
    WriteClientLog(command.text);
    StartImport(command);
    step = QStringLiteral("After Shell, before copy to archive");
    FileOps::Copy(AppPaths::ToLocalPath(props.SendDir() + QStringLiteral("IMPORT.DAT")),
                  AppPaths::ToLocalPath(props.ArchiveDir() + ArchiveStamp() + QStringLiteral("IMPORT.DAT")));
    step = QStringLiteral("After copy to archive");
    MsgBox(
        QStringLiteral("Liabilities have been imported.") + kCrLf
            + QStringLiteral("You need to hit the Receive Data button on the previous screen to complete the import."),
        vbInformation, QStringLiteral("Import Successful"));
    step = QStringLiteral("After successful message");
}
