#include "service/basReportPdf.h"

#include "core/AppContext.h"
#include "core/FileNames.h"
#include "core/FreeFileName.h"
#include "core/MsgBox.h"
#include "core/basLog.h"
#include "core/basShell.h"
#include "core/clsConfig.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/FileOps.h"
#include "platform/Shell.h"
#include "platform/WebAddress.h"
#include "service/OrderWatch.h"
#include "service/ServiceAction.h"
#include "service/ServiceOutcome.h"
#include "service/basAnswer.h"
#include "service/basTransport.h"
#include "service/basXML.h"

#include <QDir>
#include <QTimer>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kCouldNotGetPdf = QStringLiteral("Could not get PDF");

[[noreturn]] void fail(long number, const QString& description)
{
    throw AppError(number, description, kCouldNotGetPdf);
}

// The wait ends with the server's last answer; a refusal, or a page where an answer belongs,
// is no PDF address.
void checkReady(const QString& answer)
{
    if (answer.startsWith(QLatin1String("FAILED")) || answer.startsWith(QLatin1Char('<')))
        fail(ErrNo::Refused, QStringLiteral("Return: ") + answer);
}

// BaseUrl followed by the answered path, accepted only while it stays on the server's own
// scheme, host and port: a path such as "@other.host/x" would otherwise move the download.
QString downloadAddress(const QString& answer)
{
    const QString base = Props().BaseUrl();
    const QString address = base + Answer::At(Answer::Lines(answer), 1).trimmed();
    if (!StaysOnServer(base, address))
        fail(ErrNo::Refused, QStringLiteral("The PDF address does not stay on the server %1: %2").arg(base, address));
    return address;
}

// The borrower folder of the host program's first data folder; it must exist already, since
// a PDF saved anywhere else would never be found by the host program.
QString borrowerFolder()
{
    const QString data = Props().oConfig().QuillAppDataFolder(1);
    if (data.isEmpty())
        fail(ErrNo::FileIo,
             QStringLiteral("The host program names no data folder (Folder0 of [Directories] in %1)")
                 .arg(Props().oConfig().sQuillConfigFile()));
    const QString folder = QDir::cleanPath(AppPaths::ToLocalPath(data + QStringLiteral("BORROWER"))) + QLatin1Char('/');
    if (!FileOps::FolderExists(folder))
        fail(ErrNo::FileIo, QStringLiteral("The borrower folder %1 does not exist").arg(folder));
    return folder;
}

// One PDF on its way: what the wait, the download and the save share.
struct PdfJob {
    QString block;
    QString fileName;
    QString folder;
    QString trace;
    ServiceReply done;
};

void reportFailure(const PdfJob& job, const AppError& error)
{
    MsgBox(QStringLiteral("Error: %1 - ").arg(error.Number) + error.Description + kCrLf + job.trace, vbCritical,
           QStringLiteral("Error"));
    const QString text = BuildErrorXML(error.Source.isEmpty() ? QStringLiteral("GetReportPDF") : error.Source,
                                       error.Description, error.Number, job.block);
    WriteErrorLog(text + job.trace);
    job.done(ServiceOutcome::FromError(error, text, false));
}

// The downloaded body saved under the first free name; returns the path.
QString store(PdfJob& job, const PostResult& posted, const QString& address)
{
    if (posted.failure)
        throw *posted.failure;
    if (!posted.body.startsWith("%PDF-"))
        fail(ErrNo::Refused,
             QStringLiteral("The server's answer is not a PDF file (%1 bytes): %2")
                 .arg(posted.body.size())
                 .arg(address));
    FreeFileName target(job.folder, job.fileName, QStringLiteral("pdf"));
    try {
        target.take();
        job.trace += QStringLiteral("  After responseBody, before binary write, PATH: ") + target.path();
        job.trace += QStringLiteral("After open");
        target.write(posted.body);
    } catch (const AppError& error) {
        fail(error.Number, error.Description); // the description names the file
    }
    job.trace += QStringLiteral("After save") + QStringLiteral("   After write");
    return target.path();
}

void download(const std::shared_ptr<PdfJob>& job, const QString& answer, QObject* context)
{
    QString address;
    try {
        checkReady(answer);
        address = downloadAddress(answer);
        // Where the file goes is checked before anything is fetched; its free name only afterwards.
        if (!IsPlainFileName(job->fileName))
            fail(ErrNo::FileIo,
                 QStringLiteral("The loan file name \"%1\" is not a plain file name").arg(job->fileName));
        job->folder = borrowerFolder();
    } catch (const AppError& error) {
        reportFailure(*job, error);
        return;
    }
    job->trace = QStringLiteral("Before MSXML2.XMLHTTP30");
    PostOptions options;
    options.method = QStringLiteral("GET");
    // A report file may be larger than any text answer.
    options.answerLimit = HttpPolicy::DownloadAnswerLimit;
    options.takeSentAhead = false;
    Post(address, options, context, [job, address](const PostResult& posted) {
        QString path;
        try {
            path = store(*job, posted, address);
        } catch (const AppError& error) {
            reportFailure(*job, error);
            return;
        }
        job->done(ServiceOutcome::Answered(path));
    });
}

ServiceOperation pollPdfOperation()
{
    return {ServiceAction(QStringLiteral("PollPDF"), QStringLiteral("GET_PDF"), AddressForm::Report,
                          FailureHandling::ToCaller)
                .anyAnswer()};
}

} // namespace

void PollPDF(const QString& block, QObject* context, ServiceReply done)
{
    pollPdfOperation().start(block, context, std::move(done));
}

OrderWatch* GetReportPDF(const QString& block, const QString& vsFileName, QObject* context, ServiceReply done)
{
    // A block that does not convert fails before the wait, which converts it again at each poll.
    QString fields;
    if (!BuildKeyValueString(block, fields)) {
        const ServiceOutcome silent = ServiceOutcome::FromError(AppError(ErrNo::Silent, fields), fields, false);
        QTimer::singleShot(0, context, [done = std::move(done), silent] { done(silent); });
        return nullptr;
    }
    auto job = std::make_shared<PdfJob>(PdfJob{block, vsFileName, {}, {}, std::move(done)});
    auto* watch = new OrderWatch(OrderWatch::Mode::Pdf, block, context);
    QObject::connect(watch, &OrderWatch::ended, watch, [watch, job, context] {
        watch->deleteLater();
        if (watch->wasAborted())
            job->done(ServiceOutcome::Answered(QString()));
        else
            download(job, watch->lastAnswer(), context);
    });
    watch->start();
    return watch;
}

namespace {

void showProblem(const QString& path, const QString& reason)
{
    MsgBox(QStringLiteral("There was a problem showing report - ") + path + kCrLf + kCrLf + reason, vbCritical,
           QStringLiteral("Error in ShowReport"));
}

// The printer dialog's "print to file" asks for a copy of the PDF under the chosen name.
bool printToFile(const QString& path, const QString& outputFile)
{
    try {
        FileOps::Copy(path, AppPaths::ToLocalPath(outputFile));
        return true;
    } catch (const AppError& error) {
        showProblem(path, error.Description);
        return false;
    }
}

} // namespace

void ShowReport(const QString& path, const QString& verb, const Desktop::PrinterChoice* choice)
{
    const bool print = verb.compare(QLatin1String("print"), Qt::CaseInsensitive) == 0;
    if (print && choice && !choice->outputFile.isEmpty()) {
        if (printToFile(path, choice->outputFile))
            MsgBox(QStringLiteral("Print was successful."), vbInformation, QStringLiteral("Confirmation"));
        return;
    }
    const int code = print && choice ? TheShell().PrintFile(path, choice->printerName, choice->copies)
                                     : TheShell().ShellExecute(verb, path, QString(), QString(), SW_SHOWNORMAL);
    if (code <= 32) {
        showProblem(path, ShellErrorText(code));
        return;
    }
    if (print)
        MsgBox(QStringLiteral("Print was successful."), vbInformation, QStringLiteral("Confirmation"));
}
