#include "ReportFixture.h"
#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "VendorSim.h"
#include "core/AppContext.h"
#include "core/FreeFileName.h"
#include "core/basLog.h"
#include "core/basSettings.h"
#include "core/clsProperties.h"
#include "platform/AppPaths.h"
#include "platform/FileOps.h"
#include "platform/HttpRequest.h"
#include "platform/PrivateSaveFile.h"
#include "platform/Secrets.h"
#include "platform/SettingsStore.h"
#include "service/ParamBlock.h"
#include "service/basReportData.h"
#include "service/basReportPdf.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTest>

#include <optional>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace {

const QString kReportForm = QStringLiteral("POST /cia/cgi/marrowCGI.exe?UserName=demo&Password=Demo2026pass");

QString pdfBlock()
{
    return ParamBlock("GET_PDF").add("guid", ReportFixture::ReportId).text();
}

QString dataBlock()
{
    return ParamBlock("GET_DATA").add("guid", ReportFixture::ReportId).add("DataFormat", "QUILL").text();
}

QByteArray fetch(const QString& address)
{
    HttpRequest request;
    request.open("GET", address);
    request.send();
    return request.responseBody();
}

struct PdfFailureRow {
    QString scriptAction;   // empty: nothing scripted
    QString scripted;
    int httpStatus;
    QString fileName;
    bool borrowerFolder;    // the BORROWER folder exists
    long number;
    QString description;    // the start of the error's description
    QString trace;          // the progress trace that ends the box
    int downloads;          // GET requests of the PDF that reached the server
};

struct DataRow {
    QString scripted;
    QString loanFile;
    QByteArray expected;    // IMPORT.DAT
};

// The files that hold personal data or secrets, by the operation that writes them.
enum class PersonalFile {
    ReportPdf, ImportData, ArchiveCopy, ErrorLog, ErrorLogFromBefore, ClientLog, SettingsWithPassword,
    TemporaryFile
};

#ifndef Q_OS_WIN
QString modeOf(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return "missing";
    return QString::number(info.st_mode & 07777, 8);
}
#endif

struct DataFailureRow {
    QString scripted;
    int httpStatus;
    long number;
    QString description;
};

} // namespace

Q_DECLARE_METATYPE(PdfFailureRow)
Q_DECLARE_METATYPE(DataRow)
Q_DECLARE_METATYPE(DataFailureRow)
Q_DECLARE_METATYPE(PersonalFile)

// GET_PDF and GET_DATA against the stand-in vendor server on 127.0.0.1.
class ReportRetrievalTest : public QObject
{
    Q_OBJECT
    VendorSim m_sim;
    struct PerTest {
        explicit PerTest(const QString& url) : loan(url) {}
        ReportFixture loan;
        FakeDesktop desk;
        ScriptedMsgBox boxes;
    };
    std::optional<PerTest> m_test;

    int logEntries() const { return int(m_test->loan.env.readFile("errors.log").count("Date: ")); }

private slots:
    void initTestCase() { QVERIFY2(m_sim.start(), "the stand-in vendor server did not start"); }

    void init()
    {
        m_sim.reset();
        m_test.emplace(m_sim.baseUrl());
    }

    void cleanup()
    {
        const QByteArray log = m_test->loan.env.readFile("errors.log");
        m_test.reset();
        QVERIFY2(!log.contains("Demo2026pass"), "a password reached errors.log");
    }

    // Polling through PENDING is held by the main window's View; here: each download is saved
    // whole under the loan's next free name.
    void pdfIsSavedUnderTheLoansNameSequence()
    {
        m_sim.setPdfPolls(0);
        QStringList saved;
        for (int download = 0; download < 3; ++download) {
            m_sim.clearRequests();
            QString path;
            QVERIFY(GetReportPDF(pdfBlock(), ReportFixture::LoanFile, path));
            saved << path;
            const QStringList requests = m_sim.requests();
            QCOMPARE(requests.size(), 2);
            QVERIFY2(requests.last().startsWith("GET /cia/pdf/"), qPrintable(requests.last()));
            const QByteArray served = fetch(m_sim.baseUrl() + requests.last().mid(4));
            QVERIFY(served.startsWith("%PDF-"));
            // The server renders the PDF anew for each request (with its time in it): the same
            // document, byte count and title are what a second fetch can confirm.
            const QByteArray saved = m_test->loan.env.readFile(path);
            QCOMPARE(saved.size(), served.size());
            QCOMPARE(saved.left(160), served.left(160));
        }
        const QString folder = m_test->loan.borrowerFolder();
        QCOMPARE(saved, (QStringList{folder + "SAMPLE.pdf", folder + "SAMPLE1.pdf", folder + "SAMPLE2.pdf"}));
        QCOMPARE(m_test->boxes.boxes.size(), 0);
        QCOMPARE(logEntries(), 0);
    }

    void closingTheWaitSavesNothing()
    {
        m_sim.setPdfPolls(5);
        m_test->loan.closeAfter = 2;
        QString path = "previous";
        QVERIFY(GetReportPDF(pdfBlock(), ReportFixture::LoanFile, path));
        QCOMPARE(path, QString());
        QCOMPARE(m_test->loan.borrowerFiles(), QStringList());
        QCOMPARE(ReportFixture::CountStarting(m_sim.requests(), "GET "), 0);
        QCOMPARE(m_test->boxes.boxes.size(), 0);
    }

    void pdfFailuresShowTheirTraceAndWriteNothing_data()
    {
        QTest::addColumn<PdfFailureRow>("row");
        const QString sample = ReportFixture::LoanFile;
        const QString before = "Before MSXML2.XMLHTTP30";
        QTest::newRow("page instead of an answer") << PdfFailureRow{
            "GET_PDF", "<html><body>Server Error</body></html>", 200, sample, true, 6001, "Return: FAILED", "", 0};
        QTest::newRow("path moving to another host") << PdfFailureRow{
            "GET_PDF", "SUCCESS\n@evil.example/cia/pdf/x.pdf", 200, sample, true, 6001,
            "The PDF address does not stay on the server", "", 0};
        QTest::newRow("full address elsewhere") << PdfFailureRow{
            "GET_PDF", "SUCCESS\nhttp://evil.example/x.pdf", 200, sample, true, 6001,
            "The PDF address does not stay on the server", "", 0};
        QTest::newRow("answer without a path line") << PdfFailureRow{"GET_PDF", "SUCCESS", 200, sample, true, 9,
                                                                     "Subscript out of range", "", 0};
        QTest::newRow("HTML body") << PdfFailureRow{"PDFFILE", "<html>Not found</html>", 200, sample, true, 6001,
                                                    "The server's answer is not a PDF file (22 bytes)", before, 1};
        QTest::newRow("empty body") << PdfFailureRow{"PDFFILE", "", 200, sample, true, 6001,
                                                     "The server's answer is not a PDF file (0 bytes)", before, 1};
        QTest::newRow("HTTP 404") << PdfFailureRow{"PDFFILE", "%PDF-1.4 gone", 404, sample, true, -2147012866,
                                                   "The server answered with HTTP status 404", before, 1};
        QTest::newRow("file name holding a path") << PdfFailureRow{"", "", 200, "..\\..\\SAMPLE", true, -2147024894,
                                                                   "The loan file name \"..\\..\\SAMPLE\" is not a plain file name", "", 0};
        QTest::newRow("no BORROWER folder") << PdfFailureRow{"", "", 200, sample, false, -2147024894,
                                                             "The borrower folder ", "", 0};
    }

    void pdfFailuresShowTheirTraceAndWriteNothing()
    {
        QFETCH(PdfFailureRow, row);
        if (!row.scriptAction.isEmpty())
            m_sim.scriptStatus(row.scriptAction, row.httpStatus, row.scripted);
        if (!row.borrowerFolder)
            QVERIFY(QDir(m_test->loan.borrowerFolder()).removeRecursively());
        m_test->boxes.expect();

        QString path;
        QVERIFY(!GetReportPDF(pdfBlock(), row.fileName, path));

        QCOMPARE(m_test->boxes.boxes.size(), 1);
        const ScriptedMsgBox::Box box = m_test->boxes.boxes[0];
        QCOMPARE(box.title, QString("Error"));
        QCOMPARE(box.icon(), int(vbCritical));
        const QString start = QString("Error: %1 - ").arg(row.number) + row.description;
        QVERIFY2(box.text.startsWith(start), qPrintable(box.text));
        QVERIFY2(box.text.endsWith("\r\n" + row.trace), qPrintable(box.text));
        if (!row.borrowerFolder)
            QVERIFY(box.text.contains(m_test->loan.borrowerFolder()));
        QVERIFY2(path.startsWith(QString("<ERROR><ERROR_NO>%1</ERROR_NO>").arg(row.number)), qPrintable(path));
        QCOMPARE(logEntries(), 1);
        // The log masks what reads as a password in an address (user:password@host).
        QVERIFY(m_test->loan.env.readFile("errors.log").contains(MaskForLog(path + row.trace + "\r\n").toUtf8()));
        QCOMPARE(ReportFixture::CountStarting(m_sim.requests(), "GET "), row.downloads);
        if (row.borrowerFolder)
            QCOMPARE(m_test->loan.borrowerFiles(), QStringList());
    }

    void personalFilesAreOwnerOnly_data()
    {
        QTest::addColumn<PersonalFile>("kind");
        QTest::newRow("report PDF") << PersonalFile::ReportPdf;
        QTest::newRow("IMPORT.DAT") << PersonalFile::ImportData;
        QTest::newRow("archive copy of IMPORT.DAT") << PersonalFile::ArchiveCopy;
        QTest::newRow("errors.log") << PersonalFile::ErrorLog;
        QTest::newRow("errors.log others could read") << PersonalFile::ErrorLogFromBefore;
        QTest::newRow("Client.log") << PersonalFile::ClientLog;
        QTest::newRow("settings holding the password") << PersonalFile::SettingsWithPassword;
        QTest::newRow("temporary file of a whole write") << PersonalFile::TemporaryFile;
    }

    void personalFilesAreOwnerOnly()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows files keep the ACLs of their folder");
#else
        QFETCH(PersonalFile, kind);
        const TestEnv& env = m_test->loan.env;
        // The common default, under which a file is created readable by all.
        const mode_t savedMask = ::umask(022);
        const auto restoreMask = qScopeGuard([savedMask] { ::umask(savedMask); });
        QString file;
        std::optional<PrivateSaveFile> open;
        switch (kind) {
        case PersonalFile::ReportPdf:
            QVERIFY(GetReportPDF(pdfBlock(), ReportFixture::LoanFile, file));
            break;
        case PersonalFile::ImportData:
            file = ReportFixture::LoanFilePath;
            QVERIFY(GetData(dataBlock(), file));
            break;
        case PersonalFile::ArchiveCopy:
            env.writeFile("send/IMPORT.DAT", "FILE\tX\r\n");
            file = env.path("archive/12052026_134340_IMPORT.DAT");
            FileOps::Copy(env.path("send/IMPORT.DAT"), file);
            break;
        case PersonalFile::ErrorLogFromBefore:
            env.writeFile("errors.log", "Date: 12/5/2026 1:43:40 PM earlier\r\n");
            QCOMPARE(modeOf(env.path("errors.log")), QString("644"));
            [[fallthrough]];
        case PersonalFile::ErrorLog:
            file = env.path("errors.log");
            QVERIFY(WriteErrorLog("Request failed"));
            break;
        case PersonalFile::ClientLog:
            file = env.path("Client.log");
            WriteClientLog("Loading Settings");
            break;
        case PersonalFile::SettingsWithPassword:
            file = SettingsStore::StoreFile(AppPaths::ProgramTitle());
            Props().setSavePassword(true);
            QVERIFY(SaveSettings(Props()));
            QVERIFY(env.readFile(file).contains(ReportFixture::Password.toUtf8()));
            break;
        case PersonalFile::TemporaryFile:
            // While it is being written, before any byte is in it.
            open.emplace(env.path("send/IMPORT.DAT"));
            QVERIFY(open->open());
            file = open->temporaryPath();
            break;
        }
        QCOMPARE(modeOf(file), QString("600"));
#endif
    }

    // Two loan officers may share the data folder: a PDF that appears under the chosen name
    // between the choice and the write stays as it is, and ours takes the next free name.
    void pdfNameTakenMeanwhileIsNotReplaced_data()
    {
        QTest::addColumn<bool>("download");
        QTest::newRow("downloaded report") << true;
        QTest::newRow("newest report renamed by the clean-up") << false;
    }

    void pdfNameTakenMeanwhileIsNotReplaced()
    {
        QFETCH(bool, download);
        const QString folder = m_test->loan.borrowerFolder();
        const TestEnv& env = m_test->loan.env;
        env.writeFile(folder + "SAMPLE7.pdf", "%PDF-1.4 ours");
        FreeFileName target(folder, "SAMPLE", "pdf");
        QCOMPARE(target.path(), folder + "SAMPLE.pdf");
        env.writeFile(folder + "SAMPLE.pdf", "%PDF-1.4 another officer's");
        if (download)
            target.write("%PDF-1.4 ours");
        else
            target.moveHere(folder + "SAMPLE7.pdf");
        QCOMPARE(target.path(), folder + "SAMPLE1.pdf");
        QCOMPARE(env.readFile(folder + "SAMPLE.pdf"), QByteArray("%PDF-1.4 another officer's"));
        QCOMPARE(env.readFile(folder + "SAMPLE1.pdf"), QByteArray("%PDF-1.4 ours"));
        const QStringList left = download ? QStringList{"SAMPLE.pdf", "SAMPLE1.pdf", "SAMPLE7.pdf"}
                                          : QStringList{"SAMPLE.pdf", "SAMPLE1.pdf"};
        QCOMPARE(m_test->loan.borrowerFiles(), left);
    }

    void importDataIsWrittenWithTheLoanFile_data()
    {
        QTest::addColumn<DataRow>("row");
        QTest::newRow("two placeholders") << DataRow{"FILE\t__XFILE__\r\nMESSAGE\tsee __XFILE__\r\n",
            ReportFixture::LoanFilePath,
            "FILE\tC:\\QUILL\\DATA\\BORROWER\\SAMPLE.BRW\r\nMESSAGE\tsee C:\\QUILL\\DATA\\BORROWER\\SAMPLE.BRW\r\n"};
        QTest::newRow("placeholder is case-sensitive") << DataRow{"A __xfile__ __XFILE__", "X", "A __xfile__ X"};
        QTest::newRow("Windows-1252, ? for the rest") << DataRow{QString::fromUtf8("CAF\u00c9 \u20ac5 \u0141\u00f3d\u017a \U0001F600."),
            "X", "CAF\xc9 \x80" "5 ?\xf3" "d? ?."};
    }

    void importDataIsWrittenWithTheLoanFile()
    {
        QFETCH(DataRow, row);
        m_sim.script("GET_DATA", row.scripted);
        QString file = row.loanFile;
        QVERIFY(GetData(dataBlock(), file));

        QCOMPARE(file, m_test->loan.env.home() + "/send/IMPORT.DAT");
        const QByteArray written = m_test->loan.env.readFile(file);
        // The one request, byte for byte: update message, placeholder, criteria, reference.
        QCOMPARE(m_sim.requests(), QStringList{kReportForm
            + "&action=GET_DATA&UpdateMessage=Credit+report+recieved+and+populated+by+www.quill-credit.example"
              "&BorrowerFile=__XFILE__&guid=" + ReportFixture::ReportId + "&DataFormat=QUILL&reference=demo"});
        QCOMPARE(written, row.expected);
    }

    void refusedImportDataKeepsTheEarlierFile_data()
    {
        QTest::addColumn<DataFailureRow>("row");
        QTest::newRow("page") << DataFailureRow{"<html>oops</html>", 200, -2146697208,
                                                "The server's answer is not a protocol answer"};
        QTest::newRow("empty") << DataFailureRow{"", 200, 6001, "The server answered with no import data."};
        QTest::newRow("HTTP 500") << DataFailureRow{"FILE\t__XFILE__", 500, -2147012866, "The server answered with HTTP status 500"};
    }

    void refusedImportDataKeepsTheEarlierFile()
    {
        QFETCH(DataFailureRow, row);
        m_test->loan.env.writeFile("send/IMPORT.DAT", "earlier import\r\n");
        m_sim.scriptStatus("GET_DATA", row.httpStatus, row.scripted);
        QString file = ReportFixture::LoanFilePath;
        QVERIFY(!GetData(dataBlock(), file));

        const QString start = QString("<ERROR><ERROR_NO>%1</ERROR_NO><ERROR_DESC>").arg(row.number) + row.description;
        QVERIFY2(file.startsWith(start), qPrintable(file));
        QVERIFY(file.endsWith("<INFO><![CDATA[" + dataBlock() + "]]></INFO></ERROR>"));
        QCOMPARE(m_test->loan.env.readFile("send/IMPORT.DAT"), QByteArray("earlier import\r\n"));
        QCOMPARE(QDir(m_test->loan.env.path("send")).entryList(QDir::Files), QStringList{"IMPORT.DAT"});
        QCOMPARE(logEntries(), 1);
        QCOMPARE(m_test->boxes.boxes.size(), 0);
    }
};

int runReportTest(int argc, char** argv)
{
    ReportRetrievalTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_report.moc"
