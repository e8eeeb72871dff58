#include "ServiceRig.h"
#include "core/FreeFileName.h"
#include "core/basLog.h"
#include "core/basSettings.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/FileOps.h"
#include "platform/HttpRequest.h"
#include "platform/Secrets.h"
#include "platform/SettingsStore.h"
#include "service/basReportData.h"
#include "service/basReportPdf.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QScopeGuard>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace {

QString pdfBlock()
{
    return ParamBlock("GET_PDF").add("guid", ReportFixture::ReportId).text();
}

QString dataBlock()
{
    return ParamBlock("GET_DATA").add("guid", ReportFixture::ReportId).add("DataFormat", "QUILL").text();
}

struct PdfFailureRow {
    QString scriptAction;   // empty: nothing scripted
    QString scripted;
    int httpStatus;
    QString fileName;       // empty: the loan's, with its BORROWER folder gone
    long number;
    QString description;    // the start of the error's description
    QString trace;          // the progress trace that ends the box
    int downloads;          // GET requests of the PDF that reached the server
};

struct DataRow {
    QString scripted;
    int httpStatus;         // 0: the answer is `scripted` repeated to 12 MB
    QString loanFile;
    QByteArray written;     // IMPORT.DAT; on a failure the earlier one stays
    QString answer;         // on a failure, the start of the error text
};

// Writes one file that holds personal data or secrets and returns its path.
using PersonalFile = std::function<QString(const TestEnv&)>;

} // namespace

Q_DECLARE_METATYPE(PdfFailureRow)
Q_DECLARE_METATYPE(DataRow)
Q_DECLARE_METATYPE(PersonalFile)

// GET_PDF and GET_DATA against the stand-in vendor server, and the files they and the logs
// leave behind.
class ReportRetrievalTest : public ServiceTest
{
    Q_OBJECT

private slots:
    // Polling through PENDING is held by the main window's View; here: each download is saved
    // whole under the loan's next free name, one larger than a text answer may be as well. The
    // server renders the PDF anew for each request (with its time in it): the same byte count
    // and title are what a second fetch can confirm.
    void pdfIsSavedUnderTheLoansNameSequence()
    {
        m_sim.setPdfPolls(0);
        const QString folder = m_rig->loan.borrowerFolder();
        for (const QString& name : {"SAMPLE", "SAMPLE1", "SAMPLE2"}) {
            m_sim.clearRequests();
            const bool large = name == "SAMPLE2";
            if (large)
                m_sim.scriptSized("PDFFILE", "%PDF-1.4 ", int(HttpRequest::TextAnswerLimit) + 9);
            QString path;
            QVERIFY(GetReportPDF(pdfBlock(), ReportFixture::LoanFile, path));
            QCOMPARE(path, folder + name + ".pdf");
            const QStringList requests = m_sim.requests();
            QVERIFY2(requests.size() == 2 && requests.last().startsWith("GET /cia/pdf/"), qPrintable(requests.join(',')));
            const QByteArray written = m_rig->loan.env.readFile(path);
            if (large) {
                QCOMPARE(written.size(), HttpRequest::TextAnswerLimit + 9);
                continue;
            }
            HttpRequest again;
            again.open("GET", m_sim.baseUrl() + requests.last().mid(4));
            again.send();
            QCOMPARE(written.size(), again.responseBody().size());
            QCOMPARE(written.left(160), again.responseBody().left(160));
        }
        QCOMPARE(boxes().size() + logEntries(), 0);
    }

    void closingTheWaitSavesNothing()
    {
        m_sim.setPdfPolls(5);
        m_rig->loan.closeAfter = 2;
        QString path = "previous";
        QVERIFY(GetReportPDF(pdfBlock(), ReportFixture::LoanFile, path));
        QCOMPARE(path, QString());
        QCOMPARE(m_rig->loan.borrowerFiles(), QStringList());
        QCOMPARE(ReportFixture::CountStarting(m_sim.requests(), "GET ") + boxes().size(), 0);
    }

    void pdfFailuresShowTheirTraceAndWriteNothing_data()
    {
        QTest::addColumn<PdfFailureRow>("row");
        const auto add = [](const char* name, const PdfFailureRow& row) { QTest::newRow(name) << row; };
        const QString sample = ReportFixture::LoanFile, before = "Before MSXML2.XMLHTTP30", away = "The PDF address does not stay on the server";
        add("page instead of an answer", {"GET_PDF", "<html><body>Server Error</body></html>", 200, sample, 6001, "Return: FAILED", "", 0});
        add("path moving to another host", {"GET_PDF", "SUCCESS\n@evil.example/cia/pdf/x.pdf", 200, sample, 6001, away, "", 0});
        add("answer without a path line", {"GET_PDF", "SUCCESS", 200, sample, 9, "Subscript out of range", "", 0});
        add("HTML body", {"PDFFILE", "<html>Not found</html>", 200, sample, 6001, "The server's answer is not a PDF file (22 bytes)", before, 1});
        add("HTTP 404", {"PDFFILE", "%PDF-1.4 gone", 404, sample, ErrNo::HttpStatus, "The server answered with HTTP status 404", before, 1});
        add("file name holding a path", {"", "", 200, "..\\..\\SAMPLE", ErrNo::FileIo, "The loan file name \"..\\..\\SAMPLE\" is not a plain file name", "", 0});
        add("no BORROWER folder", {"", "", 200, "", ErrNo::FileIo, "The borrower folder {folder}", "", 0});
    }

    void pdfFailuresShowTheirTraceAndWriteNothing()
    {
        QFETCH(PdfFailureRow, row);
        if (!row.scriptAction.isEmpty())
            m_sim.scriptStatus(row.scriptAction, row.httpStatus, row.scripted);
        const QString folder = m_rig->loan.borrowerFolder();
        if (row.fileName.isEmpty())
            QVERIFY(QDir(folder).removeRecursively());
        m_rig->boxes.expect();
        QString path;
        QVERIFY(!GetReportPDF(pdfBlock(), row.fileName.isEmpty() ? ReportFixture::LoanFile : row.fileName, path));

        QCOMPARE(boxes().size(), 1);
        const ScriptedMsgBox::Box box = boxes()[0];
        QCOMPARE(box.title + QString::number(box.icon()), QString("Error%1").arg(vbCritical));
        const QString start = QString("Error: %1 - ").arg(row.number) + QString(row.description).replace("{folder}", folder);
        QVERIFY2(box.text.startsWith(start) && box.text.endsWith("\r\n" + row.trace), qPrintable(box.text));
        QVERIFY2(path.startsWith(errorStart(row.number)), qPrintable(path));
        QCOMPARE(logEntries(), 1);
        // The log masks what reads as a password in an address (user:password@host).
        QVERIFY(log().contains(MaskForLog(path + row.trace + "\r\n").toUtf8()));
        QCOMPARE(ReportFixture::CountStarting(m_sim.requests(), "GET "), row.downloads);
        QCOMPARE(m_rig->loan.borrowerFiles(), QStringList());
    }

    void personalFilesAreOwnerOnly_data()
    {
        QTest::addColumn<PersonalFile>("write");
        QTest::newRow("report PDF") << PersonalFile([](const TestEnv&) {
            QString file;
            return GetReportPDF(pdfBlock(), ReportFixture::LoanFile, file) ? file : QString();
        });
        QTest::newRow("IMPORT.DAT") << PersonalFile([](const TestEnv&) {
            QString file = ReportFixture::LoanFilePath;
            return GetData(dataBlock(), file) ? file : QString();
        });
        QTest::newRow("archive copy of IMPORT.DAT") << PersonalFile([](const TestEnv& env) {
            env.writeFile("send/IMPORT.DAT", "FILE\tX\r\n");
            FileOps::Copy(env.path("send/IMPORT.DAT"), env.path("archive/12052026_134340_IMPORT.DAT"));
            return env.path("archive/12052026_134340_IMPORT.DAT");
        });
        QTest::newRow("errors.log others could read") << PersonalFile([](const TestEnv& env) {
            env.writeFile("errors.log", "Date: 12/5/2026 1:43:40 PM earlier\r\n");
            QFile::setPermissions(env.path("errors.log"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::ReadGroup);
            return WriteErrorLog("Request failed") ? env.path("errors.log") : QString();
        });
        QTest::newRow("Client.log") << PersonalFile([](const TestEnv& env) { return WriteClientLog("Loading Settings"), env.path("Client.log"); });
        QTest::newRow("settings holding the password") << PersonalFile([](const TestEnv& env) {
            Props().setSavePassword(true);
            const QString file = SettingsStore::StoreFile(AppPaths::ProgramTitle());
            return SaveSettings(Props()) && env.readFile(file).contains(ReportFixture::Password.toUtf8()) ? file : QString();
        });
    }

    void personalFilesAreOwnerOnly()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows files keep the ACLs of their folder");
#else
        QFETCH(PersonalFile, write);
        const mode_t savedMask = ::umask(022);   // the common default, under which files are readable by all
        const auto restoreMask = qScopeGuard([savedMask] { ::umask(savedMask); });
        const QString file = write(m_rig->loan.env);
        struct stat info {};
        QVERIFY2(!file.isEmpty() && ::stat(QFile::encodeName(file).constData(), &info) == 0, qPrintable(file));
        QCOMPARE(QString::number(info.st_mode & 07777, 8), QString("600"));
#endif
    }

    // Two loan officers may share the data folder: a PDF that appears under the chosen name
    // between the choice and the write stays as it is, and ours takes the next free name.
    void pdfNameTakenMeanwhileIsNotReplaced()
    {
        const QString folder = m_rig->loan.borrowerFolder();
        const TestEnv& env = m_rig->loan.env;
        FreeFileName target(folder, "SAMPLE", "pdf");
        QCOMPARE(target.path(), folder + "SAMPLE.pdf");
        env.writeFile(folder + "SAMPLE.pdf", "%PDF-1.4 another officer's");
        target.write("%PDF-1.4 ours");
        QCOMPARE(target.path(), folder + "SAMPLE1.pdf");
        QCOMPARE(env.readFile(folder + "SAMPLE.pdf") + "|" + env.readFile(folder + "SAMPLE1.pdf"), QByteArray("%PDF-1.4 another officer's|%PDF-1.4 ours"));
    }

    // IMPORT.DAT is the answer with the loan file put in, in Windows-1252; a refused answer
    // keeps the earlier file.
    void importData_data()
    {
        QTest::addColumn<DataRow>("row");
        const auto add = [](const char* name, const DataRow& row) { QTest::newRow(name) << row; };
        const QString loan = ReportFixture::LoanFilePath;
        const QByteArray earlier = "earlier import\r\n";
        add("two placeholders", {"FILE\t__XFILE__\r\nMESSAGE\tsee __XFILE__\r\n", 200, loan,
                                 "FILE\tC:\\QUILL\\DATA\\BORROWER\\SAMPLE.BRW\r\nMESSAGE\tsee C:\\QUILL\\DATA\\BORROWER\\SAMPLE.BRW\r\n", ""});
        add("Windows-1252, ? for the rest", {QString::fromUtf8("CAF\u00c9 \u20ac5 \u0141\u00f3d\u017a \U0001F600."), 200, "X", "CAF\xc9 \x80" "5 ?\xf3" "d? ?.", ""});
        // Megabytes of characters the code page cannot hold: one pass, not a converter per
        // character (which took about 9 s for these 4 million characters).
        add("12 MB, mostly not Windows-1252", {QString::fromUtf8("\u0141\u20ac\U0001F600"), 0, "X", QByteArray("?\x80?").repeated(11'999'997 / 9), ""});
        add("page", {"<html>oops</html>", 200, loan, earlier, errorStart(ErrNo::NotProtocol) + "<ERROR_DESC>The server's answer is not a protocol answer"});
        add("empty", {"", 200, loan, earlier, errorStart(6001) + "<ERROR_DESC>The server answered with no import data."});
        add("HTTP 500", {"FILE\t__XFILE__", 500, loan, earlier, errorStart(ErrNo::HttpStatus) + "<ERROR_DESC>The server answered with HTTP status 500"});
        // 5.4 MB of placeholders, each becoming the 33 characters of the loan file's path.
        add("too large with the loan file put in", {QString("__XFILE__").repeated(600'000), 200, loan, earlier, errorStart(ErrNo::Transport)
            + "<ERROR_DESC>The import data is too large: 19800000 characters with the loan file name put in, at most 16777216 are taken."});
    }

    void importData()
    {
        QFETCH(DataRow, row);
        m_rig->loan.env.writeFile("send/IMPORT.DAT", "earlier import\r\n");
        if (row.httpStatus == 0)
            m_sim.scriptSized("GET_DATA", row.scripted, 11'999'997);
        else
            m_sim.scriptStatus("GET_DATA", row.httpStatus, row.scripted);
        QString file = row.loanFile;
        QElapsedTimer time;
        time.start();
        QCOMPARE(GetData(dataBlock(), file), row.answer.isEmpty());
        QVERIFY2(time.elapsed() <= 3000, qPrintable(QString("%1 ms").arg(time.elapsed())));

        // The one request, byte for byte: update message, placeholder, criteria, reference.
        QCOMPARE(m_sim.requests(), QStringList{"POST /cia/cgi/marrowCGI.exe?UserName=demo&Password=Demo2026pass&action=GET_DATA"
            "&UpdateMessage=Credit+report+recieved+and+populated+by+www.quill-credit.example&BorrowerFile=__XFILE__&guid="
            + ReportFixture::ReportId + "&DataFormat=QUILL&reference=demo"});
        QCOMPARE(m_rig->loan.env.readFile("send/IMPORT.DAT"), row.written);
        QCOMPARE(QDir(m_rig->loan.env.path("send")).entryList(QDir::Files), QStringList{"IMPORT.DAT"});
        QCOMPARE(boxes().size(), 0);
        if (row.answer.isEmpty())
            QCOMPARE(file + QString(" %1").arg(logEntries()), m_rig->loan.env.home() + "/send/IMPORT.DAT 0");
        else
            QVERIFY2(isLoggedError(file, row.answer, dataBlock()), qPrintable(file));
    }
};

int runReportTest(int argc, char** argv)
{
    ReportRetrievalTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_report.moc"
