#include "OrderingKit.h"

namespace {

const QString kImported = "Import Successful|Information|Liabilities have been imported.\r\n"
                          "You need to hit the Receive Data button on the previous screen to complete the import.";

struct CommandRow {
    QString command;  // View, Print or Import
    QString setup;    // "cancel": the printer dialog is cancelled; "file": printed to a file; "vendor:NAME";
                      // "no program": IMPORT.EXE missing; "shell N": the shell answers N
    QString scripted; // GET_PDF's or GET_DATA's answer; empty: the server's own
    QString call; // the program started; "{pdf}", "{quill}", "{home}": the PDF, the host program's and this program's
                  // folder
    QString box;  // title|style|text (ScriptedMsgBox::Box::shown()); empty: none
};

} // namespace

Q_DECLARE_METATYPE(CommandRow)

// The main window's View, Print and Import: the boxes they show, the programs they start and the
// files they keep, against the stand-in vendor server on 127.0.0.1.
void OrderingTests::commands_data()
{
    QTest::addColumn<CommandRow>("row");
    const auto add = [](const char* name, const QString& command, const QString& setup, const QString& scripted,
                        const QString& call, const QString& box) {
        QTest::newRow(name) << CommandRow{command, setup, scripted, call, box};
    };
    const QString noViewer = "Error in ShowReport|Critical|There was a problem showing report - {pdf}\r\n\r\n"
                             "31- There is no application associated with the given filename extension.";
    const QString printed = "Confirmation|Information|Print was successful.";
    const QString importError =
        "Importing Error|Warning|There was a problem importing data to QUILL.\r\nError Number: ";
    const QString importer = "start|{quill}IMPORT.EXE|{home}/send/IMPORT.DAT|{home}/";
    add("View, no viewer", "View", "shell 31", "", "open|{pdf}", noViewer);
    add("View twice: one download", "View", "twice", "", "open|{pdf}\nopen|{pdf}", "");
    // The download's own box is the only one: the command adds nothing to it.
    add("View, refused download", "View", "", "FAILED\nNo such report.", "",
        "Error|Critical|Error: 6001 - Return: FAILED\nNo such report.\r\n");
    add("Print, chosen printer and copies", "Print", "", "", "print|{pdf}|Office-2|3", printed);
    add("Print, dialog cancelled", "Print", "cancel", "", "", "");
    add("Print, to a file", "Print", "file", "", "", printed);
    add("Import, default vendor", "Import", "", "", importer + "tamcred.imp", kImported);
    add("Import, Velmora", "Import", "vendor:Velmora Services", "", importer + "VELMORA.IMP", kImported);
    add("Import, refused data", "Import", "", "FAILED\nThe report is not complete yet.", "",
        importError + "6000\r\nError: \r\nMessage: Error in GetData");
    add("Import, no import program", "Import", "no program", "", "",
        importError
            + "-2147024894\r\nError: The import program {quill}IMPORT.EXE does not exist\r\n"
              "Message: After GetData, before Shell");
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
    EndRecorder ending; // closing the main window ends the program
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
    QTRY_VERIFY_WITH_TIMEOUT(!frmCheckExisting::loaded(), 20000); // the check ends from the event loop
    shell.calls.clear();
    shell.result = row.setup.startsWith("shell ") ? row.setup.mid(6).toInt() : 42;
    if (!row.box.isEmpty())
        boxes.expect();
    QPushButton* button = window.findChild<QPushButton*>("cmd" + row.command);
    QVERIFY(button);
    button->click();
    // While its request runs no report button is enabled, so pressing the command again starts
    // nothing, and Reload cannot swap the loan under it.
    QStringList enabledMeanwhile;
    for (int b = 0; b < int(MainButton::cmdClose); ++b)
        if (window.Button(MainButton(b)).isEnabled())
            enabledMeanwhile << ButtonName(MainButton(b));
    const QAction* reload = window.findChild<QAction*>("mnuReload");
    if (reload->isEnabled())
        enabledMeanwhile << "Reload";
    button->click();
    QTRY_VERIFY(!window.session().requestRunning());
    QCOMPARE(enabledMeanwhile, QStringList());
    QVERIFY(reload->isEnabled());
    if (row.setup == "twice") // once the first has ended
        button->click();

    const auto fill = [&loan](QString text) {
        return text.replace("{pdf}", loan.borrowerFolder() + "SAMPLE.pdf")
            .replace("{quill}", QDir::toNativeSeparators(loan.quillFolder()))
            .replace("{home}", loan.env.home());
    };
    // The program names files to the user and to the import program in the system's form.
    const QString call = row.call.startsWith("start|") ? QDir::toNativeSeparators(fill(row.call)) : fill(row.call);
    QStringList calls;
    for (const auto& c : shell.calls)
        calls << (QStringList{c.verb, c.target} + c.arguments).join('|');
    QCOMPARE(calls.join('\n'), call);
    const auto shown = boxes.boxes.value(0); // (a box more fails the test)
    QCOMPARE(boxes.boxes.isEmpty() ? QString() : shown.shown(), fill(row.box));
    const bool downloads = row.command != "Import" && row.scripted.isEmpty();
    QCOMPARE(ReportFixture::CountStarting(m_sim.requests(), "GET /cia/pdf/"), int(downloads));
    // A refused import: GetData's log entry and the command's own both carry the server's words.
    if (row.command == "Import" && !row.scripted.isEmpty())
        QCOMPARE(loan.env.readFile("errors.log").count("<ERROR_DESC>" + row.scripted.toUtf8()), 2);
    QCOMPARE(desk.busyDepth, 0); // the hourglass is gone on every path
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
