#include "OrderingKit.h"

namespace {

const QString kImported = "Liabilities have been imported.\r\n"
                          "You need to hit the Receive Data button on the previous screen to complete the import.";

struct CommandRow {
    QString command;      // View, Print or Import
    QString setup;        // "cancel": the printer dialog is cancelled; "file": printed to a file; "vendor:NAME";
                          // "no program": IMPORT.EXE missing; "shell N": the shell answers N
    QString scripted;     // GET_PDF's or GET_DATA's answer; empty: the server's own
    QStringList calls;    // "{pdf}", "{quill}", "{home}" stand for the PDF, the host program's and this program's folder
    QString box;          // title|icon|text; empty: none
};

} // namespace

Q_DECLARE_METATYPE(CommandRow)

// The main window's View, Print and Import: the boxes they show and the programs they start,
// against the stand-in vendor server on 127.0.0.1. (The files they write: the service tests.)
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
        LoanSession session;   // the main window's: report ID, loan, downloaded PDF
    };
    std::optional<PerTest> m_test;

    QStringList calls() const
    {
        QStringList out;
        for (const auto& call : m_test->shell.calls)
            out << (QStringList{call.verb, call.target} + call.arguments).join('|');
        return out;
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
        QVERIFY(window->Button(MainButton::cmdView).isEnabled());
        m_sim.clearRequests();
        m_test->shell.calls.clear();

        window->Button(MainButton::cmdView).click();
        window->Button(MainButton::cmdView).click();
        m_test->boxes.expect();
        window->Button(MainButton::cmdImport).click();

        const QString pdf = m_test->loan.borrowerFolder() + "SAMPLE.pdf";
        QCOMPARE(ReportFixture::CountStarting(m_sim.requests(), "GET /cia/pdf/"), 1);   // View twice, one download
        QCOMPARE(calls().mid(0, 2), QStringList(2, "open|" + pdf));
        QCOMPARE(calls().size(), 3);
        QVERIFY2(calls()[2].startsWith("start|" + QDir::toNativeSeparators(m_test->loan.quillFolder() + "IMPORT.EXE|")), qPrintable(calls()[2]));
        QCOMPARE(box(0), "Import Successful|64|" + kImported);

        window->Button(MainButton::cmdClose).click();
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(ends, 1);
        delete window;
        WindowHooks::EndProgram() = savedEnd;
        WindowHooks::EndRequested() = false;
    }

    void commandsShowTheirOutcome_data()
    {
        QTest::addColumn<CommandRow>("row");
        const QString noViewer = "Error in ShowReport|16|There was a problem showing report - {pdf}\r\n\r\n";
        const QString printed = "Confirmation|64|Print was successful.";
        const QString imported = "Import Successful|64|" + kImported;
        const QString importError = "Importing Error|48|There was a problem importing data to QUILL.\r\nError Number: ";
        const QString importer = "start|{quill}IMPORT.EXE|{home}/send/IMPORT.DAT|{home}/";
        QTest::newRow("View, no viewer") << CommandRow{"View", "shell 31", "", {"open|{pdf}"},
            noViewer + "31- There is no application associated with the given filename extension."};
        // The download's own box is the only one: the command adds nothing to it.
        QTest::newRow("View, refused download") << CommandRow{"View", "", "FAILED\nNo such report.", {},
            "Error|16|Error: 6001 - Return: FAILED\nNo such report.\r\n"};
        QTest::newRow("Print, chosen printer and copies") << CommandRow{"Print", "", "", {"print|{pdf}|Office-2|3"}, printed};
        QTest::newRow("Print, dialog cancelled") << CommandRow{"Print", "cancel", "", {}, ""};
        QTest::newRow("Print, to a file") << CommandRow{"Print", "file", "", {}, printed};
        QTest::newRow("Print, lp fails") << CommandRow{"Print", "shell 0", "", {"print|{pdf}|Office-2|3"},
            noViewer + "0- The operating system is out of memory or resources."};
        QTest::newRow("Import, default vendor") << CommandRow{"Import", "", "", {importer + "tamcred.imp"}, imported};
        QTest::newRow("Import, Velmora") << CommandRow{"Import", "vendor:Velmora Services", "", {importer + "VELMORA.IMP"}, imported};
        QTest::newRow("Import, velmora in other letters")
            << CommandRow{"Import", "vendor:VELMORA SERVICES", "", {importer + "tamcred.imp"}, imported};
        QTest::newRow("Import, refused data") << CommandRow{"Import", "", "FAILED\nThe report is not complete yet.", {},
            importError + "6000\r\nError: \r\nMessage: Error in GetData"};
        QTest::newRow("Import, no import program") << CommandRow{"Import", "no program", "", {}, importError
            + "-2147024894\r\nError: The import program {quill}IMPORT.EXE does not exist\r\nMessage: After GetData, before Shell"};
    }

    void commandsShowTheirOutcome()
    {
        QFETCH(CommandRow, row);
        const QString out = m_test->loan.env.path("printed.pdf");
        m_test->desk.printerAccepted = row.setup != "cancel";
        m_test->desk.printerChoice = {"Office-2", 3, row.setup == "file" ? out : QString()};
        m_test->shell.result = row.setup.startsWith("shell ") ? row.setup.mid(6).toInt() : 42;
        Props().setClient(row.setup.startsWith("vendor:") ? row.setup.mid(7) : "Tamsel Credit Services");
        if (row.setup != "no program")
            m_test->loan.installImportProgram();
        if (!row.scripted.isEmpty())
            m_sim.script(row.command == "View" ? "GET_PDF" : "GET_DATA", row.scripted);
        if (!row.box.isEmpty())
            m_test->boxes.expect();
        auto inquiry = std::make_shared<clsInquiry>();
        inquiry->setBorrowerFile(ReportFixture::LoanFile);
        inquiry->setBorrowerFilePath(ReportFixture::LoanFilePath);
        m_test->session.setInquiry(inquiry);
        m_test->session.setReportId(ReportFixture::ReportId);
        ReportCommands commands(m_test->session);
        row.command == "View" ? commands.View() : row.command == "Print" ? commands.Print() : commands.Import();

        const auto fill = [this](QString text) {
            return text.replace("{pdf}", m_test->loan.borrowerFolder() + "SAMPLE.pdf")
                .replace("{quill}", QDir::toNativeSeparators(m_test->loan.quillFolder())).replace("{home}", m_test->loan.env.home());
        };
        // The program names files to the user and to the import program in the system's form.
        QStringList expectedCalls = fill(row.calls.join('\n')).split('\n', Qt::SkipEmptyParts);
        for (QString& call : expectedCalls)
            call = call.startsWith("start|") ? QDir::toNativeSeparators(call) : call;
        QCOMPARE(calls(), expectedCalls);
        QCOMPARE(m_test->boxes.boxes.size(), row.box.isEmpty() ? 0 : 1);
        if (!row.box.isEmpty())
            QCOMPARE(box(0), fill(row.box));
        if (row.command == "Print")
            QCOMPARE(m_test->desk.printerDialogs, 1);
        if (row.setup == "file")
            QCOMPARE(m_test->loan.env.readFile(out), m_test->loan.env.readFile(m_test->session.reportLocation()));
        if (row.command == "Import" && !row.scripted.isEmpty())   // GetData's entry and the import's own
            QCOMPARE(m_test->loan.env.readFile("errors.log").count("<ERROR_DESC>" + row.scripted.toUtf8()), 2);
        if (row.command != "Import")
            return;
        // A started import keeps a copy of its file, stamped with the desktop clock's moment, and
        // logs the classic command line in the host's own spelling of the folders.
        const QString file = m_test->loan.env.home() + "/send/IMPORT.DAT";
        const QStringList archive = QDir(m_test->loan.env.path("archive")).entryList(QDir::Files);
        QCOMPARE(archive, calls().isEmpty() ? QStringList() : QStringList{"02032026_130509_IMPORT.DAT"});
        if (calls().isEmpty())
            return;
        QCOMPARE(m_test->shell.calls[0].showCommand, 0);   // hidden
        QCOMPARE(m_test->loan.env.readFile("archive/02032026_130509_IMPORT.DAT"), m_test->loan.env.readFile(file));
        const QString command = Props().oConfig().sQuillAppPath() + "IMPORT.EXE \"" + file + "\" \""
            + Props().oConfig().sConfigPath() + row.calls[0].section('/', -1) + "\"";
        QVERIFY2(m_test->loan.env.readFile("Client.log").contains("]  " + command.toUtf8() + "\r\n"),
                 m_test->loan.env.readFile("Client.log").constData());
    }
};

int runReportCommandTests(int argc, char** argv)
{
    return RunTests<TestReportCommands>(argc, argv);
}

#include "test_reportCommands.moc"
