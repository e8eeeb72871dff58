#include "ReportFixture.h"
#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "VendorSim.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "core/clsConfig.h"
#include "host/clsInquiry.h"
#include "core/AppContext.h"
#include "ui/ordering/OrderingWindows.h"
#include "ui/ordering/frmCheckExisting.h"
#include "ui/ordering/frmMain.h"
#include "ui/ordering/ReportCommands.h"
#include "ui/ordering/frmStatus.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <optional>

namespace {

QStringList describe(const QList<ShellRecorder::Call>& calls)
{
    QStringList out;
    for (const auto& call : calls)
        out << (QStringList{call.verb, call.target} + call.arguments).join('|');
    return out;
}

const QString kImported = "Liabilities have been imported.\r\n"
                          "You need to hit the Receive Data button on the previous screen to complete the import.";

struct PrintRow {
    bool chosen;          // the user picks a printer (else cancels the dialog)
    bool toFile;          // the dialog's "print to file"
    QString printer;
    int copies;
    int shellCode;
    QStringList calls;    // "{pdf}" stands for the downloaded file
    QString boxTitle;     // empty: no box
    QString boxText;
};

struct ImportRow {
    QString vendor;
    QString scripted;     // GET_DATA's answer; empty: the server's own
    bool program;         // IMPORT.EXE is installed
    QString boxTitle;
    QString boxText;      // "{file}" and "{quill}" stand for IMPORT.DAT's and the host program's folder
    bool started;
    QString definition;
};

} // namespace

Q_DECLARE_METATYPE(PrintRow)
Q_DECLARE_METATYPE(ImportRow)

// The main window's View, Print and Import against the stand-in vendor server on 127.0.0.1.
class TestReportCommands : public QObject
{
    Q_OBJECT
    VendorSim m_sim;
    struct PerTest {
        explicit PerTest(const QString& url) : loan(url) {}
        ReportFixture loan;
        FakeDesktop desk;
        ShellRecorder shell;
        ScriptedMsgBox boxes;
        QString location;   // the window's sReportLocation
    };
    std::optional<PerTest> m_test;

    ReportCommands commands()
    {
        auto inquiry = std::make_shared<clsInquiry>();
        inquiry->setBorrowerFile(ReportFixture::LoanFile);
        inquiry->setBorrowerFilePath(ReportFixture::LoanFilePath);
        return ReportCommands(ReportFixture::ReportId, inquiry, m_test->location);
    }

    QString box(int i) const
    {
        const auto& b = m_test->boxes.boxes.at(i);
        return b.title + "|" + QString::number(b.icon()) + "|" + b.text;
    }

private slots:
    void initTestCase() { QVERIFY2(m_sim.start(), "the stand-in vendor server did not start"); }

    void init()
    {
        m_sim.reset();
        m_test.emplace(m_sim.baseUrl());
    }

    void cleanup()
    {
        QCOMPARE(m_test->desk.busyDepth, 0);   // the hourglass is gone on every path
        m_test.reset();
    }

    // The real "Generating PDF" window polls through the PENDING answers, closes by itself and
    // the PDF is downloaded once.
    void viewWaitsInTheStatusWindow()
    {
        RegisterOrderingWindows();
        Props().setPollingSleepTime(50);
        m_sim.setPdfPolls(3);
        bool shown = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&shown] {
            shown = shown || (frmStatus::loaded() && frmStatus::loaded()->isVisible());
        });
        watch.start(5);
        commands().View();
        watch.stop();

        const QString target = "POST /cia/cgi/marrowCGI.exe?UserName=demo&Password=Demo2026pass&action=GET_PDF&guid="
            + ReportFixture::ReportId;
        const QStringList requests = m_sim.requests();
        QCOMPARE(requests.mid(0, 4), QStringList(4, target));
        QCOMPARE(requests.size(), 5);
        QVERIFY(requests.last().startsWith("GET /cia/pdf/"));
        QVERIFY(shown);
        QVERIFY(!frmStatus::loaded()->isVisible());
        QVERIFY(!frmStatus::loaded()->UserUnloaded());
        const QString pdf = m_test->loan.borrowerFolder() + "SAMPLE.pdf";
        QCOMPARE(describe(m_test->shell.calls), QStringList{"open|" + pdf});
        QVERIFY(m_test->loan.env.readFile(pdf).startsWith("%PDF-"));
        QCOMPARE(m_test->loan.polls, 0);   // the fixture's own wait was not used
        frmStatus::Unload();
    }

    // The buttons of the main window after the loan was loaded: View twice, then Import; closing
    // the window deletes the PDF.
    void mainWindowButtonsWorkOnTheLoadedLoan()
    {
        Props().setReceiveDir(m_test->loan.env.home() + "/receive/");
        QFile demoLoan(VendorSim::demoCaseDir("recent") + "/EXPORT.DAT");
        QVERIFY(demoLoan.open(QIODevice::ReadOnly));
        m_test->loan.env.writeFile("receive/EXPORT.DAT", demoLoan.readAll());
        m_test->loan.installImportProgram();
        int ends = 0;
        const auto savedEnd = WindowHooks::EndProgram();
        WindowHooks::EndProgram() = [&ends] { ++ends; };
        auto* window = new frmMain;
        window->show();
        window->CheckForExisting();
        QCOMPARE(window->sReportUID(), ReportFixture::ReportId);
        m_sim.clearRequests();
        m_test->shell.calls.clear();

        window->Button(MainButton::cmdView).click();
        window->Button(MainButton::cmdView).click();
        m_test->boxes.expect();
        window->Button(MainButton::cmdImport).click();

        const QString pdf = m_test->loan.borrowerFolder() + "SAMPLE.pdf";
        QCOMPARE(window->sReportLocation(), pdf);
        QCOMPARE(ReportFixture::CountStarting(m_sim.requests(), "GET /cia/pdf/"), 1);   // View twice, one download
        QCOMPARE(m_test->loan.borrowerFiles(), QStringList{"SAMPLE.pdf"});
        const QStringList calls = describe(m_test->shell.calls);
        QCOMPARE(calls.mid(0, 2), QStringList(2, "open|" + pdf));
        QCOMPARE(calls.size(), 3);
        QVERIFY2(calls[2].startsWith("start|" + QDir::toNativeSeparators(m_test->loan.quillFolder() + "IMPORT.EXE|")), qPrintable(calls[2]));
        QCOMPARE(box(0), "Import Successful|64|" + kImported);

        window->Button(MainButton::cmdClose).click();
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(ends, 1);
        delete window;
        frmCheckExisting::Unload();
        WindowHooks::EndProgram() = savedEnd;
        WindowHooks::EndRequested() = false;
    }

    void viewFailures_data()
    {
        QTest::addColumn<QString>("scriptedPdf");
        QTest::addColumn<int>("shellCode");
        QTest::addColumn<QString>("expectedBox");
        QTest::newRow("no viewer") << "" << 31
            << "Error in ShowReport|16|There was a problem showing report - {pdf}\r\n\r\n"
               "31- There is no application associated with the given filename extension.";
        // The download's own box is the only one: the command adds nothing to it.
        QTest::newRow("refused download") << "FAILED\nNo such report." << 42
            << "Error|16|Error: 6001 - Return: FAILED\nNo such report.\r\n";
    }

    void viewFailures()
    {
        QFETCH(QString, scriptedPdf);
        QFETCH(int, shellCode);
        QFETCH(QString, expectedBox);
        if (!scriptedPdf.isEmpty())
            m_sim.script("GET_PDF", scriptedPdf);
        m_test->shell.result = shellCode;
        m_test->boxes.expect();
        commands().View();
        QCOMPARE(m_test->boxes.boxes.size(), 1);
        QCOMPARE(box(0), QString(expectedBox).replace("{pdf}", m_test->loan.borrowerFolder() + "SAMPLE.pdf"));
        QCOMPARE(m_test->location.isEmpty(), !scriptedPdf.isEmpty());
    }

    void printGoesToTheChosenPrinter_data()
    {
        QTest::addColumn<PrintRow>("row");
        QTest::newRow("chosen printer and copies") << PrintRow{true, false, "Office-2", 3, 42, {"print|{pdf}|Office-2|3"},
                                                               "Confirmation", "Print was successful."};
        QTest::newRow("dialog cancelled") << PrintRow{false, false, "", 1, 42, {}, "", ""};
        QTest::newRow("to a file: a copy of the PDF") << PrintRow{true, true, "Office-2", 1, 42, {}, "Confirmation",
                                                                  "Print was successful."};
        QTest::newRow("lp fails") << PrintRow{true, false, "Office-2", 1, 0, {"print|{pdf}|Office-2|1"}, "Error in ShowReport",
            "There was a problem showing report - {pdf}\r\n\r\n0- The operating system is out of memory or resources."};
    }

    void printGoesToTheChosenPrinter()
    {
        QFETCH(PrintRow, row);
        m_test->desk.printerAccepted = row.chosen;
        const QString out = row.toFile ? m_test->loan.env.path("printed.pdf") : QString();
        m_test->desk.printerChoice = {row.printer, row.copies, out};
        m_test->shell.result = row.shellCode;
        if (!row.boxTitle.isEmpty())
            m_test->boxes.expect();
        commands().Print();

        const QString pdf = m_test->loan.borrowerFolder() + "SAMPLE.pdf";
        QCOMPARE(m_test->desk.printerDialogs, 1);
        QCOMPARE(describe(m_test->shell.calls), row.calls.replaceInStrings("{pdf}", pdf));
        QCOMPARE(m_test->boxes.boxes.size(), row.boxTitle.isEmpty() ? 0 : 1);
        if (!row.boxTitle.isEmpty()) {
            QCOMPARE(m_test->boxes.boxes[0].title, row.boxTitle);
            QCOMPARE(m_test->boxes.boxes[0].text, QString(row.boxText).replace("{pdf}", pdf));
        }
        QCOMPARE(m_test->loan.env.readFile("errors.log"), QByteArray());
        if (row.toFile) {
            QVERIFY(m_test->loan.env.readFile(out).startsWith("%PDF-"));
            QCOMPARE(m_test->loan.env.readFile(out), m_test->loan.env.readFile(m_test->location));
        }
    }

    void importRunsTheProgramAndArchives_data()
    {
        QTest::addColumn<ImportRow>("row");
        QTest::newRow("default vendor") << ImportRow{"Tamsel Credit Services", "", true, "Import Successful", kImported,
                                                     true, "tamcred.imp"};
        QTest::newRow("Velmora") << ImportRow{"Velmora Services", "", true, "Import Successful", kImported, true, "VELMORA.IMP"};
        QTest::newRow("velmora in other letters") << ImportRow{"VELMORA SERVICES", "", true, "Import Successful", kImported,
                                                               true, "tamcred.imp"};
        QTest::newRow("refused data") << ImportRow{"Tamsel Credit Services", "FAILED\nThe report is not complete yet.", true,
            "Importing Error",
            "There was a problem importing data to QUILL.\r\nError Number: 6000\r\nError: \r\nMessage: Error in GetData",
            false, ""};
        QTest::newRow("no import program") << ImportRow{"Tamsel Credit Services", "", false, "Importing Error",
            "There was a problem importing data to QUILL.\r\nError Number: -2147024894\r\n"
            "Error: The import program {quill}IMPORT.EXE does not exist\r\nMessage: After GetData, before Shell",
            false, ""};
    }

    void importRunsTheProgramAndArchives()
    {
        QFETCH(ImportRow, row);
        Props().setClient(row.vendor);
        if (row.program)
            m_test->loan.installImportProgram();
        if (!row.scripted.isEmpty())
            m_sim.script("GET_DATA", row.scripted);
        m_test->boxes.expect();
        commands().Import();

        // The program names files to the user and to the import program in the system's form.
        const QString file = QDir::toNativeSeparators(m_test->loan.env.home() + "/send/IMPORT.DAT");
        const QString quill = QDir::toNativeSeparators(m_test->loan.quillFolder());
        QCOMPARE(m_test->boxes.boxes.size(), 1);
        const auto& shown = m_test->boxes.boxes[0];
        QCOMPARE(shown.title, row.boxTitle);
        QCOMPARE(shown.icon(), int(row.started ? vbInformation : vbExclamation));
        QCOMPARE(shown.text, QString(row.boxText).replace("{quill}", quill));

        const QStringList archive = QDir(m_test->loan.env.path("archive")).entryList(QDir::Files);
        // A refusal: GetData's entry and the import's own, both the same error text.
        if (!row.scripted.isEmpty())
            QCOMPARE(m_test->loan.env.readFile("errors.log").count("<ERROR><ERROR_NO>6001</ERROR_NO><ERROR_DESC>" + row.scripted.toUtf8()), 2);
        if (!row.started) {
            QCOMPARE(m_test->shell.calls.size(), 0);
            QCOMPARE(archive, QStringList());
            return;
        }
        const QString definition = QDir::toNativeSeparators(m_test->loan.env.home() + "/" + row.definition);
        QCOMPARE(describe(m_test->shell.calls), QStringList{"start|" + quill + "IMPORT.EXE|" + file + "|" + definition});
        QCOMPARE(m_test->shell.calls[0].showCommand, 0);   // hidden
        QCOMPARE(archive, QStringList{"02032026_130509_IMPORT.DAT"});   // the desktop clock's moment
        const QByteArray imported = m_test->loan.env.readFile(file);
        QVERIFY(imported.contains("FILE\tC:\\QUILL\\DATA\\BORROWER\\SAMPLE.BRW\r\n"));
        QCOMPARE(m_test->loan.env.readFile("archive/02032026_130509_IMPORT.DAT"), imported);
        // The classic command line, in the host's own spelling of the folders, goes to Client.log.
        const QString command = Props().oConfig().sQuillAppPath() + "IMPORT.EXE \"" + file + "\" \""
            + Props().oConfig().sConfigPath() + row.definition + "\"";
        QVERIFY2(m_test->loan.env.readFile("Client.log").contains("]  " + command.toUtf8() + "\r\n"),
                 m_test->loan.env.readFile("Client.log").constData());
    }
};

int runReportCommandTests(int argc, char** argv)
{
    TestReportCommands test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_reportCommands.moc"
