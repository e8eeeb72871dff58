#include "test_app.h"

#include "ModalDriver.h"
#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "core/clsConfig.h"
#include "platform/AppPaths.h"
#include "platform/SettingsStore.h"
#include "platform/WindowsShell.h"
#include "service/basReportPdf.h"
#include "ui/account/SysInfo.h"

#include <QDir>
#include <QPrintDialog>
#include <QPrinter>
#include <QSettings>
#include <QSpinBox>
#include <QTest>

void WindowsTest::shellResultsAreClassicCodes_data()
{
    QTest::addColumn<bool>("succeeded");
    QTest::addColumn<qlonglong>("instApp");
    QTest::addColumn<quint32>("win32Error");
    QTest::addColumn<int>("code");
    QTest::newRow("done") << true << 42LL << 0u << 42;
    QTest::newRow("classic code kept") << false << 31LL << 1155u << 31;
    QTest::newRow("file missing") << false << 0LL << 2u << 2;
    QTest::newRow("no association") << false << 0LL << 1155u << 31;
    QTest::newRow("handler DLL missing") << false << 0LL << 1157u << 32;
    QTest::newRow("sharing violation") << false << 0LL << 32u << 26;
    QTest::newRow("anything else: out of resources") << false << 0LL << 87u << 0;
}

void WindowsTest::shellResultsAreClassicCodes()
{
    QFETCH(bool, succeeded);
    QFETCH(qlonglong, instApp);
    QFETCH(quint32, win32Error);
    QFETCH(int, code);
    QCOMPARE(WindowsShell::ClassicCode(succeeded, instApp, win32Error), code);
}

// The printer dialog gives what the user chose there: the printer, the copies, or the file to
// print into; nothing when cancelled.
void WindowsTest::printerDialogGivesTheChoice()
{
#ifdef Q_OS_WIN
    QSKIP("the Windows printer dialog is the system's own, not a window a test can drive");
#endif
    ModalDriver user;
    Desktop::PrinterChoice shown;
    user.on("QPrintDialog", [&](QWidget* w) {
        auto* dialog = static_cast<QPrintDialog*>(w);
        dialog->findChild<QSpinBox*>("copies")->setValue(3);
        dialog->accept();
        shown = {dialog->printer()->printerName(), dialog->printer()->copyCount(), dialog->printer()->outputFileName()};
    });
    user.on("QPrintDialog", [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    Desktop::PrinterChoice choice{"none", 1, "none"};
    QVERIFY(Desktop().ChoosePrinter(choice));
    QCOMPARE(QStringList({choice.printerName, QString::number(choice.copies), choice.outputFile}),
             QStringList({shown.printerName, "3", shown.outputFile}));
    QVERIFY(shown.printerName != "none" && shown.outputFile != "none");
    QVERIFY(!Desktop().ChoosePrinter(choice));
}

void WindowsTest::storeIsTheClassicRegistryBranch()
{
#ifndef Q_OS_WIN
    QSKIP("the registry branch is the store on Windows only");
#else
    TestEnv env;
    QVERIFY(SettingsStore::SaveSection("OQCREDIT", "Main", {{"UserName", "demo"}, {"ServerURL", "https://x.test/"}}));
    QSettings branch("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\OQCREDIT\\Main", QSettings::NativeFormat);
    QCOMPARE(branch.value("UserName").toString() + " " + branch.value("ServerURL").toString(), QString("demo https://x.test/"));
    QVERIFY(SettingsStore::DeleteSetting("OQCREDIT", "Main", "UserName"));
    branch.sync();
    QVERIFY(!branch.contains("UserName"));
    QCOMPARE(SettingsStore::GetSetting("OQCREDIT", "Main", "UserName", "<default>"), QString("<default>"));
#endif
}

void WindowsTest::windowsFolderIsTheSystemsUnlessMoved()
{
#ifndef Q_OS_WIN
    QSKIP("only Windows has a Windows folder of its own");
#else
    TestEnv env;
    qunsetenv("QUILL_WINDOWS_DIR");
    QCOMPARE(AppPaths::WindowsFolder().toLower(), QDir::toNativeSeparators(qEnvironmentVariable("SystemRoot")).toLower());
    // scripts/windows-test.sh puts Quill's WINQUILL.INI there and names its program folder.
    const QString expected = qEnvironmentVariable("QUILL_EXPECT_WINQUILL");
    if (!expected.isEmpty())
        QCOMPARE(clsConfig().sQuillAppPath(), expected);
#endif
}

void WindowsTest::realShellReportsNoAssociation_data()
{
    QTest::addColumn<QString>("verb");
    QTest::addColumn<QString>("printer");   // empty: the shell's own print verb
    QTest::newRow("open") << "open" << "";
    QTest::newRow("print") << "print" << "";
    QTest::newRow("print to a chosen printer") << "print" << "Office-2";
}

// The real shell, once: under scripts/windows-test.sh no program handles PDF files.
void WindowsTest::realShellReportsNoAssociation()
{
#ifndef Q_OS_WIN
    QSKIP("the real shell would start this system's PDF viewer or printer");
#else
    if (qEnvironmentVariable("QUILL_NO_PDF_HANDLER") != QLatin1String("1"))
        QSKIP("needs a Windows without a PDF handler (scripts/windows-test.sh)");
    QFETCH(QString, verb);
    QFETCH(QString, printer);
    TestEnv env;
    env.writeFile("report.pdf", "%PDF-1.4\n");
    const QString pdf = QDir::toNativeSeparators(env.path("report.pdf"));
    ScriptedMsgBox boxes;
    boxes.expect();
    const Desktop::PrinterChoice choice{printer, 1, QString()};
    ShowReport(pdf, verb, printer.isEmpty() ? nullptr : &choice);
    QCOMPARE(boxes.boxes.value(0).title + "|" + boxes.boxes.value(0).text, "Error in ShowReport|There was a problem showing report - "
             + pdf + "\r\n\r\n31- There is no application associated with the given filename extension.");
#endif
}

// Found through the registry place that names MSINFO32.EXE's folder, unless the one that names
// the program itself is there.
void WindowsTest::systemInformationFoundThroughRegistry()
{
#ifndef Q_OS_WIN
    QSKIP("the registry places exist on Windows only");
#else
    TestEnv env;
    env.writeFile("msinfo/MSINFO32.EXE", "MZ");
    QSettings location("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location", QSettings::NativeFormat);
    const QVariant saved = location.value("MSINFO");
    location.setValue("MSINFO", QDir::toNativeSeparators(env.path("msinfo")));
    location.sync();
    if (location.status() != QSettings::NoError)
        QSKIP("needs write access to HKEY_LOCAL_MACHINE");
    const QString named = QSettings("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                                    QSettings::NativeFormat).value("PATH").toString();
    ShellRecorder shell;
    SysInfo::StartSysInfo();
    saved.isValid() ? location.setValue("MSINFO", saved) : location.remove("MSINFO");
    QCOMPARE(shell.calls.size(), 1);
    QCOMPARE(shell.calls[0].verb + " " + shell.calls[0].target, "start " + (named.isEmpty()
             ? QDir::toNativeSeparators(env.path("msinfo")) + "\\MSINFO32.EXE" : named));
#endif
}
