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
#include <QElapsedTimer>
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
    QString scripted;       // empty: the server's own answer
    QString loanFile;
    QByteArray expected;    // IMPORT.DAT; empty: compare with the server's answer
    int sizedBytes = 0;     // not 0: the answer is `scripted` repeated to this many bytes
    qint64 withinMs = 0;    // not 0: GetData takes no longer than this
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

    void pdfIsPolledThenSavedUnderTheLoansNameSequence()
    {
        m_sim.setPdfPolls(2);
        const QString target = kReportForm + "&action=GET_PDF&guid=" + ReportFixture::ReportId;
        QStringList saved;
        for (int download = 0; download < 3; ++download) {
            m_sim.clearRequests();
            QString path;
            QVERIFY(GetReportPDF(pdfBlock(), ReportFixture::LoanFile, path));
            saved << path;
            const QStringList requests = m_sim.requests();
            // The first download waits through two PENDING answers; later ones find the PDF ready.
            const int polls = download == 0 ? 3 : 1;
            QCOMPARE(requests.mid(0, polls), QStringList(polls, target));
            QCOMPARE(requests.size(), polls + 1);
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
        QTest::newRow("refused") << PdfFailureRow{"GET_PDF", "FAILED\nThe report is at RMCR pending status.", 200, sample,
                                                  true, 6001, "Return: FAILED\nThe report is at RMCR pending status.", "", 0};
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
        QTest::newRow("the server's own answer") << DataRow{"", ReportFixture::LoanFilePath, ""};
        // Megabytes of characters the code page cannot hold: one pass, not a converter per
        // character (which took about 9 s for these 4 million characters here).
        QTest::newRow("12 MB, mostly not Windows-1252") << DataRow{QString::fromUtf8("\u0141\u20ac\U0001F600"), "X",
            QByteArray("?\x80?").repeated(11'999'997 / 9), 11'999'997, 3000};
    }

    void importDataIsWrittenWithTheLoanFile()
    {
        QFETCH(DataRow, row);
        if (row.sizedBytes > 0)
            m_sim.scriptSized("GET_DATA", row.scripted, row.sizedBytes);
        else if (!row.scripted.isEmpty())
            m_sim.script("GET_DATA", row.scripted);
        QString file = row.loanFile;
        QElapsedTimer time;
        time.start();
        QVERIFY(GetData(dataBlock(), file));
        if (row.withinMs > 0)
            QVERIFY2(time.elapsed() <= row.withinMs, qPrintable(QString("%1 ms").arg(time.elapsed())));

        QCOMPARE(file, m_test->loan.env.home() + "/send/IMPORT.DAT");
        const QByteArray written = m_test->loan.env.readFile(file);
        // The one request, byte for byte: update message, placeholder, criteria, reference.
        QCOMPARE(m_sim.requests(), QStringList{kReportForm
            + "&action=GET_DATA&UpdateMessage=Credit+report+recieved+and+populated+by+www.quill-credit.example"
              "&BorrowerFile=__XFILE__&guid=" + ReportFixture::ReportId + "&DataFormat=QUILL&reference=demo"});
        if (!row.expected.isEmpty()) {
            QCOMPARE(written, row.expected);
            return;
        }
        QVERIFY(written.startsWith("QUILL-LIABILITIES\t1\r\nFILE\tC:\\QUILL\\DATA\\BORROWER\\SAMPLE.BRW\r\nREPORT\t"
                                   + ReportFixture::ReportId.toUtf8() + "\r\n"));
        QVERIFY(written.contains("\r\nMESSAGE\tCredit report recieved and populated by www.quill-credit.example\r\n"));
        QVERIFY(written.contains("\r\nLIABILITY\t"));
    }

    void refusedImportDataKeepsTheEarlierFile_data()
    {
        QTest::addColumn<DataFailureRow>("row");
        QTest::newRow("refused") << DataFailureRow{"FAILED\nThe report is not complete yet.", 200, 6001,
                                                   "FAILED\nThe report is not complete yet."};
        QTest::newRow("page") << DataFailureRow{"<html>oops</html>", 200, -2146697208,
                                                "The server's answer is not a protocol answer"};
        QTest::newRow("empty") << DataFailureRow{"", 200, 6001, "The server answered with no import data."};
        QTest::newRow("HTTP 500") << DataFailureRow{"FILE\t__XFILE__", 500, -2147012866, "The server answered with HTTP status 500"};
        // 5.4 MB of placeholders, each becoming the 33 characters of the loan file's path.
        QTest::newRow("too large with the loan file put in") << DataFailureRow{QString("__XFILE__").repeated(600'000),
            200, -2147467259, "The import data is too large: 19800000 characters with the loan file name put in, "
                              "at most 16777216 are taken."};
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
