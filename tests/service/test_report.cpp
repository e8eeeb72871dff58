#include "ReportFixture.h"
#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "VendorSim.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "platform/HttpRequest.h"
#include "platform/Secrets.h"
#include "service/ParamBlock.h"
#include "service/basReportData.h"
#include "service/basReportPdf.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <optional>

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
