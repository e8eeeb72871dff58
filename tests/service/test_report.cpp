#include "ServiceRig.h"
#include "core/FreeFileName.h"
#include "core/LogMask.h"
#include "core/basLog.h"
#include "core/basSettings.h"
#include "platform/AppPaths.h"
#include "platform/FileOps.h"
#include "platform/SettingsStore.h"
#include "service/OrderWatch.h"
#include "service/basReportData.h"
#include "service/basReportPdf.h"

#include <QDir>

namespace {

struct FileRow {
    bool pdf;       // GetReportPDF into BORROWER/, which holds SAMPLE.pdf; else GetData into send/IMPORT.DAT
    QString action; // scripted: GET_PDF, PDFFILE or GET_DATA; "PENDING": the user closes the PDF wait
    int httpStatus; // of the scripted answer
    QString scripted;
    QString loanFile;   // GetReportPDF: the loan's name ("": its BORROWER folder gone); GetData: its path
    QString out;        // the saved file's name; or the start of the error text ("number - description" of a PDF's box)
    QByteArray written; // SAMPLE1.pdf or IMPORT.DAT afterwards; an earlier IMPORT.DAT stays on a failure
    QString trace = {}; // the progress trace ending a PDF's error box
    int size = 0;       // not 0: the answer is `scripted` repeated to this many bytes
};

// Writes one file that holds personal data or secrets and returns its path.
using PersonalFile = std::function<QString(const ReportFixture&)>;

// Two loan officers may share the data folder: a PDF that appears under the chosen name between
// the choice and the write stays as it is, and ours takes the next free name (its path returned).
QString pdfNameTakenMeanwhile(const ReportFixture& loan, bool download)
{
    const QString folder = loan.borrowerFolder();
    loan.env.writeFile(folder + "SAMPLE7.pdf", "%PDF-1.4 ours");
    FreeFileName target(folder, "SAMPLE", "pdf");
    loan.env.writeFile(target.path(), "%PDF-1.4 another officer's");
    download ? target.write("%PDF-1.4 ours") : target.moveHere(folder + "SAMPLE7.pdf");
    const QByteArray contents = loan.env.readFile(folder + "SAMPLE.pdf") + "|" + loan.env.readFile(target.path());
    // No temporary file is left, and the newest report is moved, not copied.
    const qsizetype files = QDir(folder).entryList(QDir::Files).size();
    const bool kept = contents == "%PDF-1.4 another officer's|%PDF-1.4 ours" && files == (download ? 3 : 2);
    return kept ? target.path() : QString();
}

} // namespace

Q_DECLARE_METATYPE(FileRow)
Q_DECLARE_METATYPE(PersonalFile)

// Polling through PENDING is held by the main window's View. IMPORT.DAT is the answer with
// the loan file put in, in Windows-1252.
void ServiceTest::reportFiles_data()
{
    QTest::addColumn<FileRow>("row");
    const auto add = [](const char* name, bool pdf, const QString& action, int status, const QString& scripted,
                        const QString& loanFile, const QString& out, const QByteArray& written,
                        const QString& trace = {}, int size = 0) {
        QTest::newRow(name) << FileRow{pdf, action, status, scripted, loanFile, out, written, trace, size};
    };
    const QString sample = ReportFixture::LoanFile, loan = ReportFixture::LoanFilePath;
    const QString before = "Before MSXML2.XMLHTTP30";
    const QByteArray earlier = "earlier\r\n";
    const int large = int(HttpPolicy::TextAnswerLimit) + 9;
    const QString io = QString::number(ErrNo::FileIo) + " - ";
    add("PDF larger than a text answer, under the next free name", true, "PDFFILE", 0, "%PDF-1.4 ", sample,
        "SAMPLE1.pdf", QByteArray("%PDF-1.4 ").repeated(large / 9 + 1).left(large), "", large);
    add("PDF wait closed", true, "PENDING", 200, "", sample, "", "");
    add("PDF: page instead of an answer", true, "GET_PDF", 200, "<html><body>Server Error</body></html>", sample,
        "6001 - Return: FAILED", "");
    add("PDF: path moving to another host", true, "GET_PDF", 200, "SUCCESS\n@evil.example/cia/pdf/x.pdf", sample,
        "6001 - The PDF address does not stay on the server", "");
    add("PDF: HTML body", true, "PDFFILE", 200, "<html>Not found</html>", sample,
        "6001 - The server's answer is not a PDF file (22 bytes)", "", before);
    add("PDF: HTTP 404", true, "PDFFILE", 404, "%PDF-1.4 gone", sample,
        QString::number(ErrNo::HttpStatus) + " - The server answered with HTTP status 404", "", before);
    add("PDF: file name holding a path", true, "", 200, "", "..\\..\\SAMPLE",
        io + "The loan file name \"..\\..\\SAMPLE\" is not a plain file name", "");
    add("PDF: no BORROWER folder", true, "", 200, "", "", io + "The borrower folder", "");
    add("data: two placeholders", false, "GET_DATA", 200, "FILE\t__XFILE__\r\nMESSAGE\tsee __XFILE__\r\n", loan,
        "IMPORT.DAT", "FILE\t" + loan.toUtf8() + "\r\nMESSAGE\tsee " + loan.toUtf8() + "\r\n");
    // Windows-1252, "?" for the rest. Megabytes of characters the code page cannot hold: one
    // pass, not a converter per character (which took about 9 s for these 4 million characters).
    add("data: 12 MB, mostly not Windows-1252", false, "GET_DATA", 0, QString::fromUtf8("\u0141\u20ac\U0001F600"), "X",
        "IMPORT.DAT", QByteArray("?\x80?").repeated(11'999'997 / 9), "", 11'999'997);
    add("data: HTTP 500", false, "GET_DATA", 500, "FILE\t__XFILE__", loan,
        errorStart(ErrNo::HttpStatus) + "<ERROR_DESC>The server answered with HTTP status 500", earlier);
    // 5.4 MB of placeholders, each becoming the 33 characters of the loan file's path.
    add("data: too large with the loan file put in", false, "GET_DATA", 200, QString("__XFILE__").repeated(600'000),
        loan,
        errorStart(ErrNo::Transport)
            + "<ERROR_DESC>The import data is too large: 19800000 characters with the "
              "loan file name put in, at most 16777216 are taken.",
        earlier);
}

void ServiceTest::reportFiles()
{
    QFETCH(FileRow, row);
    const TestEnv& env = m_rig->loan.env;
    const QString folder = row.pdf ? m_rig->loan.borrowerFolder() : env.path("send/");
    env.writeFile(folder + (row.pdf ? "SAMPLE.pdf" : "IMPORT.DAT"), "earlier\r\n");
    const QString file = folder + (row.pdf ? "SAMPLE1.pdf" : "IMPORT.DAT");
    m_sim.setPdfPolls(row.action == "PENDING" ? 5 : 0);
    if (row.size > 0)
        m_sim.scriptSized(row.action, row.scripted, row.size);
    else if (row.action.startsWith("GET_") || row.action == "PDFFILE")
        m_sim.scriptStatus(row.action, row.httpStatus, row.scripted);
    if (row.loanFile.isEmpty())
        QVERIFY(QDir(folder).removeRecursively());
    const bool fails = row.pdf ? row.out.contains(" - ") : row.out.startsWith("<ERROR>");
    if (fails && row.pdf)
        m_rig->boxes.expect();
    QElapsedTimer time;
    time.start();
    const QString loanFile = row.loanFile.isEmpty() ? ReportFixture::LoanFile : row.loanFile;
    const QString data = ParamBlock("GET_DATA").add("guid", ReportFixture::ReportId).add("DataFormat", "QUILL").text();
    const QString pdf = ParamBlock("GET_PDF").add("guid", ReportFixture::ReportId).text();
    std::optional<ServiceOutcome> outcome;
    const auto hear = [&outcome](const ServiceOutcome& heard) { outcome = heard; };
    if (!row.pdf)
        GetData(data, row.loanFile, this, hear);
    else if (OrderWatch* wait = GetReportPDF(pdf, loanFile, this, hear)) // the user closes it after two polls
        connect(wait, &OrderWatch::polled, wait, [wait, polls = 0]() mutable {
            if (++polls == 2)
                wait->abort();
        });
    QVERIFY(QTest::qWaitFor([&outcome] { return outcome.has_value(); }, 3000));
    QString out;
    QCOMPARE(outcome->Read(out), !fails);
    QVERIFY2(time.elapsed() <= 3000, qPrintable(QString("%1 ms").arg(time.elapsed())));

    // The new file whole and owner-only, or none; no temporary file left; the earlier one kept.
    QCOMPARE(env.readFile(file), row.written);
    if (!fails)
        QCOMPARE(env.accessOf(file), row.written.isEmpty() ? "missing" : "owner only");
    const int left = row.loanFile.isEmpty() ? 0 : row.pdf && !row.written.isEmpty() ? 2 : 1;
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), left);
    if (!fails)
        QCOMPARE(out + QString(" log %1").arg(logEntries()), (row.out.isEmpty() ? "" : folder + row.out) + " log 0");
    else if (!row.pdf)
        QVERIFY2(isLoggedError(out, row.out, data), qPrintable(out));
    // A PDF's failure: its box ends with the progress trace, logged with a password in an
    // address masked (user:password@host).
    if (fails && row.pdf) {
        // (a box not expected fails at once)
        const QString box = m_rig->boxes.boxes.value(0).title + "|" + m_rig->boxes.boxes.value(0).text;
        QVERIFY2(box.startsWith("Error|Error: " + row.out) && box.endsWith("\r\n" + row.trace), qPrintable(box));
        QVERIFY2(out.startsWith("<ERROR><ERROR_NO>" + row.out.section(' ', 0, 0) + "</ERROR_NO>"), qPrintable(out));
        QCOMPARE(logEntries(), 1);
        QVERIFY(log().contains(MaskForLog(out + row.trace + "\r\n").toUtf8()));
    }
    // GET_DATA's one request, byte for byte: update message, placeholder, criteria, reference.
    if (!row.pdf)
        QCOMPARE(m_sim.requests(),
                 QStringList{"POST /cia/cgi/marrowCGI.exe?UserName=demo&Password=Demo2026pass&action=GET_DATA"
                             "&UpdateMessage=Credit+report+recieved+and+populated+by+www.quill-credit.example"
                             "&BorrowerFile=__XFILE__&guid="
                             + ReportFixture::ReportId + "&DataFormat=QUILL&reference=demo"});
    else
        QCOMPARE(ReportFixture::CountStarting(m_sim.requests(), "GET "), row.action == "PDFFILE" ? 1 : 0);
}

void ServiceTest::personalFilesAreOwnerOnly_data()
{
    QTest::addColumn<PersonalFile>("write");
    for (bool download : {true, false})
        QTest::newRow(download ? "PDF: name taken meanwhile, download" : "PDF: name taken meanwhile, renamed newest")
            << PersonalFile([download](const ReportFixture& loan) { return pdfNameTakenMeanwhile(loan, download); });
    QTest::newRow("archive copy of IMPORT.DAT") << PersonalFile([](const ReportFixture& loan) {
        loan.env.writeFile("send/IMPORT.DAT", "FILE\tX\r\n");
        FileOps::Copy(loan.env.path("send/IMPORT.DAT"), loan.env.path("archive/12052026_134340_IMPORT.DAT"));
        return loan.env.path("archive/12052026_134340_IMPORT.DAT");
    });
    QTest::newRow("errors.log others could read") << PersonalFile([](const ReportFixture& loan) {
        loan.env.writeFile("errors.log", "Date: 12/5/2026 1:43:40 PM earlier\r\n");
        QFile::setPermissions(loan.env.path("errors.log"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::ReadGroup);
        return WriteErrorLog("Request failed") ? loan.env.path("errors.log") : QString();
    });
    QTest::newRow("Client.log") << PersonalFile([](const ReportFixture& loan) {
        WriteClientLog("Loading Settings");
        return loan.env.path("Client.log");
    });
#ifndef Q_OS_WIN // there the store is the user's registry branch
    QTest::newRow("settings holding the password") << PersonalFile([](const ReportFixture& loan) {
        Props().setSavePassword(true);
        const QString file = SettingsStore::StoreFile(AppPaths::ProgramTitle());
        const bool saved = SaveSettings(Props()) && loan.env.readFile(file).contains(ReportFixture::Password.toUtf8());
        return saved ? file : QString();
    });
#endif
}

void ServiceTest::personalFilesAreOwnerOnly()
{
    QFETCH(PersonalFile, write);
    QCOMPARE(m_rig->loan.env.accessOf(write(m_rig->loan)), "owner only");
}
