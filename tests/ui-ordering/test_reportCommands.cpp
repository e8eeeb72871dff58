#include "OrderingKit.h"

namespace {

const QString kImported = "Import Successful|64|Liabilities have been imported.\r\n"
                          "You need to hit the Receive Data button on the previous screen to complete the import.";

struct CommandRow {
    QString command;      // View, Print or Import
    QString setup;        // "cancel": the printer dialog is cancelled; "file": printed to a file; "vendor:NAME";
                          // "no program": IMPORT.EXE missing; "shell N": the shell answers N
    QString scripted;     // GET_PDF's or GET_DATA's answer; empty: the server's own
    QString call;         // the program started; "{pdf}", "{quill}", "{home}": the PDF, the host program's and this program's folder
    QString box;          // title|icon|text; empty: none
};

} // namespace

Q_DECLARE_METATYPE(CommandRow)

// The main window's View, Print and Import: the boxes they show, the programs they start and the
// files they keep, against the stand-in vendor server on 127.0.0.1.
void OrderingTests::commands_data()
{
    QTest::addColumn<CommandRow>("row");
    const QString noViewer = "Error in ShowReport|16|There was a problem showing report - {pdf}\r\n\r\n"
                             "31- There is no application associated with the given filename extension.";
    const QString printed = "Confirmation|64|Print was successful.";
    const QString importError = "Importing Error|48|There was a problem importing data to QUILL.\r\nError Number: ";
    const QString importer = "start|{quill}IMPORT.EXE|{home}/send/IMPORT.DAT|{home}/";
    QTest::newRow("View, no viewer") << CommandRow{"View", "shell 31", "", "open|{pdf}", noViewer};
    QTest::newRow("View twice: one download") << CommandRow{"View", "twice", "", "open|{pdf}\nopen|{pdf}", ""};
    // The download's own box is the only one: the command adds nothing to it.
    QTest::newRow("View, refused download") << CommandRow{"View", "", "FAILED\nNo such report.", "",
        "Error|16|Error: 6001 - Return: FAILED\nNo such report.\r\n"};
    QTest::newRow("Print, chosen printer and copies") << CommandRow{"Print", "", "", "print|{pdf}|Office-2|3", printed};
    QTest::newRow("Print, dialog cancelled") << CommandRow{"Print", "cancel", "", "", ""};
    QTest::newRow("Print, to a file") << CommandRow{"Print", "file", "", "", printed};
    QTest::newRow("Import, default vendor") << CommandRow{"Import", "", "", importer + "tamcred.imp", kImported};
    QTest::newRow("Import, Velmora") << CommandRow{"Import", "vendor:Velmora Services", "", importer + "VELMORA.IMP", kImported};
    QTest::newRow("Import, refused data") << CommandRow{"Import", "", "FAILED\nThe report is not complete yet.", "",
        importError + "6000\r\nError: \r\nMessage: Error in GetData"};
    QTest::newRow("Import, no import program") << CommandRow{"Import", "no program", "", "", importError
        + "-2147024894\r\nError: The import program {quill}IMPORT.EXE does not exist\r\nMessage: After GetData, before Shell"};
}

// Each command pressed on the main window with the demo loan loaded.
void OrderingTests::commands()
{
    QFETCH(CommandRow, row);
    m_sim.reset();
    ReportFixture loan(m_sim.baseUrl());
    FakeDesktop desk;
    ShellRecorder shell;
    ScriptedMsgBox boxes;
    EndRecorder ending;   // closing the main window ends the program
    loan.env.writeFile("receive/EXPORT.DAT", loan.env.readFile(VendorSim::demoCaseDir("recent") + "/EXPORT.DAT"));
    Props().setReceiveDir(loan.env.home() + "/receive/");
    const QString out = loan.env.path("printed.pdf");
    desk.printerAccepted = row.setup != "cancel";
    desk.printerChoice = {"Office-2", 3, row.setup == "file" ? out : QString()};
    Props().setClient(row.setup.startsWith("vendor:") ? row.setup.mid(7) : "Tamsel Credit Services");
    if (row.setup != "no program")
        loan.installImportProgram();
    if (!row.scripted.isEmpty())
        m_sim.script(row.command == "View" ? "GET_PDF" : "GET_DATA", row.scripted);
    frmMain window;
    window.CheckForExisting({});
    QTRY_VERIFY_WITH_TIMEOUT(!frmCheckExisting::loaded(), 20000);   // the check ends from the event loop
    shell.calls.clear();
    shell.result = row.setup.startsWith("shell ") ? row.setup.mid(6).toInt() : 42;
    if (!row.box.isEmpty())
        boxes.expect();
    QPushButton* button = window.findChild<QPushButton*>("cmd" + row.command);
    QVERIFY(button);
    button->click();
    if (row.setup == "twice")
        button->click();

    const auto fill = [&loan](QString text) {
        return text.replace("{pdf}", loan.borrowerFolder() + "SAMPLE.pdf")
            .replace("{quill}", QDir::toNativeSeparators(loan.quillFolder())).replace("{home}", loan.env.home());
    };
    // The program names files to the user and to the import program in the system's form.
    const QString call = row.call.startsWith("start|") ? QDir::toNativeSeparators(fill(row.call)) : fill(row.call);
    QStringList calls;
    for (const auto& c : shell.calls)
        calls << (QStringList{c.verb, c.target} + c.arguments).join('|');
    QCOMPARE(calls.join('\n'), call);
    const auto shown = boxes.boxes.value(0);   // (a box more fails the test)
    QCOMPARE(boxes.boxes.isEmpty() ? QString() : shown.title + "|" + QString::number(shown.icon()) + "|" + shown.text, fill(row.box));
    QCOMPARE(ReportFixture::CountStarting(m_sim.requests(), "GET /cia/pdf/"), int(row.command != "Import" && row.scripted.isEmpty()));
    // A refused import: GetData's log entry and the command's own both carry the server's words.
    if (row.command == "Import" && !row.scripted.isEmpty())
        QCOMPARE(loan.env.readFile("errors.log").count("<ERROR_DESC>" + row.scripted.toUtf8()), 2);
    QCOMPARE(desk.busyDepth, 0);   // the hourglass is gone on every path
    if (row.setup == "file")
        QCOMPARE(loan.env.readFile(out), loan.env.readFile(window.sReportLocation()));
    // Closing the main window deletes the downloaded PDF and ends the program.
    window.Button(MainButton::cmdClose).click();
    QVERIFY(!QFile::exists(fill("{pdf}")) && ending.count == 1);
    // A started import runs hidden and keeps a copy of its file, stamped with the desktop clock's moment.
    const QStringList archive = QDir(loan.env.path("archive")).entryList({"*IMPORT.DAT"});
    QCOMPARE(archive, call.startsWith("start|") ? QStringList{"02032026_130509_IMPORT.DAT"} : QStringList());
    if (!archive.isEmpty())
        QCOMPARE(QString::number(shell.calls[0].showCommand) + loan.env.readFile("archive/" + archive[0]),
                 "0" + loan.env.readFile("send/IMPORT.DAT"));
}
