// Start-up, the settings store, the logs and their masking, and the desktop's openers.

#include "AppRig.h"
#include "FolderWatch.h"
#include "RunTests.h"
#include "app/basMain.h"
#include "core/MsgBox.h"
#include "core/basLog.h"
#include "core/basSettings.h"
#include "platform/AppError.h"
#include "platform/ProtectedSecret.h"
#include "platform/SettingsStore.h"
#include "platform/WindowsShell.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

class AppTest : public QObject
{
    Q_OBJECT
private slots:
    void logsMaskSecrets_data();
    void logsMaskSecrets();
    void failuresReachCallerAndBoxesMaskPasswords();
    void loading_data();
    void loading();
    void savesOnceAndReadsBack();
    void keepsPasswordProtected_data();
    void keepsPasswordProtected();
    void startsByCommandLine_data();
    void startsByCommandLine();
    void restartGivesUpTheRunningChecks();
    void failedStepShowsErrorInMain_data();
    void failedStepShowsErrorInMain();
    void shellResultsAreClassicCodes();
    void windowsShellGetsAddressesAsBuilt();
    void newsPageOpensWellFormedOnly_data();
    void newsPageOpensWellFormedOnly();
    void desktopOpenerFailsLate();
};

// The outcome: "configuration", else the settings windows shown, the logo and the cross-company reissue right.
struct StartRow {
    QString commandLine, vendor, user, outcome;
};

// A stored "key=value" (NOPARENT: a folder in a missing one), a scripted "action status body",
// the actions sent, how the error text after "Error: " starts, what the log holds.
struct FailedStepRow {
    QString stored, scripted;
    QStringList sent;
    QString error, logged;
};

// Passwords never reach a log; birth dates keep at most their year, SSNs their last four digits,
// in every form they reach a log in.
void AppTest::logsMaskSecrets_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("logged");
    // Each {text>logged} in a row is what the log keeps of that text.
    const auto row = [](const char* name, const QString& masked) {
        static const QRegularExpression secret("\\{([^>}]*)>([^}]*)\\}");
        QTest::newRow(name) << QString(masked).replace(secret, "\\1") << QString(masked).replace(secret, "\\2");
    };
    row("criteria",
        "<CRITERIA FIELDNAME='PASSWORD'>{s3cret>*****}</CRITERIA><CRITERIA FIELDNAME='USER'>bob</CRITERIA>"
        "<CRITERIA FIELDNAME='OLDPASS'>{a b>*****}</CRITERIA><CRITERIA FIELDNAME=\"NEWPASS\">{c&amp;d>*****}"
        "</CRITERIA>");
    row("address fields",
        "https://h/x.exe?UserName=bob&Password={p%26w>*****}&LoginByRefPassword={zz+y>*****}"
        "&SSN={123456789>*****6789}&CoSSN={>*****}&action=GET");
    row("escaped block in error text",
        "<ERROR_DESC>&lt;CRITERIA FIELDNAME='PASSWORD'&gt;{pw>*****}&lt;/CRITERIA&gt;</ERROR_DESC>");
    row("plain text, times and mail addresses untouched",
        "The Password field is required at 11:05:26 mail help@vendor.example");
    row("server address without scheme", "Loaded Settings - ServerURL: bob:{p:w>*****}@h");
    row("server address in an error text",
        "<ERROR_DESC>Connection refused (http://bob:{pw9x>*****}@127.0.0.1:1/u.asp?USER=bob)</ERROR_DESC>");
    row("failed order's block",
        "<INFO><![CDATA[<CRITERIA FIELDNAME='SSN'>{123-45-6789>*****6789}</CRITERIA>"
        "<CRITERIA FIELDNAME='DOB'>{01/15/1980>*****1980}</CRITERIA>"
        "<CRITERIA FIELDNAME='CoDOB'>{1980-01-15>*****1980}</CRITERIA>]]></INFO>");
    row("refusal quoting the request escaped",
        "<ERROR_DESC>FAILED &lt;SSN&gt;{123456789>*****6789}&lt;/SSN&gt;&lt;DOB"
        "&gt;{01/15/1980>*****1980}&lt;/DOB&gt;&lt;Zip&gt;12345&lt;/Zip&gt;"
        "</ERROR_DESC>");
    row("escaped criteria, character references",
        "&lt;CRITERIA FIELDNAME=&apos;SSN&apos;&gt;{123&#45;45&#45;6789>*****6789}&lt;/CRITERIA&gt;"
        "&lt;CRITERIA FIELDNAME=&quot;DOB&quot;&gt;{01&#x2F;15&#47;1980>*****1980}&lt;/CRITERIA&gt;");
    row("escaped twice, digits as references",
        "&amp;lt;CoSSN&amp;gt;{987 65 &#52;321>*****4321}&amp;lt;/CoSSN&amp;gt; ok");
    row("month names, labels in words, addresses",
        "a?CoDOB={1%2F5%2F1980>*****1980} date of birth {1980.01.15>*****1980}; SSN {123 45 6789>*****6789}; "
        "DOB: {Jan 15th, 1980>*****1980}; <DateOfBirth>{15 January 1980>*****1980}</DateOfBirth>");
    row("SSN by its shape, other numbers kept",
        "Applicant {123-45-6789>*****6789} not found. Zip 12345-6789, phone 555-123-4567, report 12/06/2026");
    // As a typed server address or a server that echoes the request may write them.
    row("password holding / and @", "ServerURL: https://bob:{a/b>*****}@host/x, bob:{p@ss>*****}@host");
    row("address fields encoded once and twice",
        "FAILED Password%3D{secret>*****} echo: Action%3DX%26PASSWORD%3D{p%2526w>*****}%26USER%3Dbob "
        "Password%253D{q%25252526r>*****}%2526x");
    row("labelled in words",
        "Refused PASSWORD: {hunter2>*****} at 11:05; old password:{'a b'>*****} \"NewPass\": {\"c d\">*****} ok");
    // A hostile answer cannot flood the logs: an entry keeps 8 KiB of its text.
    row("cut at 8 KiB",
        "SSN={123456789>*****6789} " + QString(8192 - 14, 'a') + "{" + QString(11822, 'a')
            + "> [... 11822 more characters not logged]}");
}

void AppTest::logsMaskSecrets()
{
    QFETCH(QString, text);
    QFETCH(QString, logged);
    TestEnv env;
    FakeDesktop desk;
    WriteClientLog(text);
    QVERIFY(WriteErrorLog(text));
    QCOMPARE(QString::fromLatin1(env.readFile("Client.log")).right(logged.size() + 5), "]  " + logged + "\r\n");
    QCOMPARE(QString::fromLatin1(env.readFile("errors.log")).right(logged.size() + 3), " " + logged + "\r\n");
}

// A log that cannot be written: the run log fails its caller, the error log answers false.
// Boxes hide passwords too, but keep the number a user may have to read out.
void AppTest::failuresReachCallerAndBoxesMaskPasswords()
{
    TestEnv env;
    QDir(env.home()).mkdir("Client.log"); // a folder where the file should be: cannot be opened
    QVERIFY_THROWS_EXCEPTION(AppError, WriteClientLog("x"));
    QVERIFY(QDir(env.home()).mkdir("errors.log"));
    QVERIFY(!WriteErrorLog("x"));
    ScriptedMsgBox boxes;
    boxes.expect();
    MsgBox("Error: <INFO><![CDATA[<CRITERIA FIELDNAME='PASSWORD'>hunter2</CRITERIA><CRITERIA "
           "FIELDNAME='SSN'>123456789</CRITERIA>]]>",
           vbCritical, "Error in Main");
    QCOMPARE(boxes.boxes.value(0).text,
             QString("Error: <INFO><![CDATA[<CRITERIA FIELDNAME='PASSWORD'>*****</CRITERIA>"
                     "<CRITERIA FIELDNAME='SSN'>123456789</CRITERIA>]]>"));
    // A server's answer of megabytes is masked only as far as it is shown: a box comes up at once.
    QElapsedTimer clock;
    clock.start();
    boxes.expect();
    MsgBox(QString(3989, 'a') + " Password=hunter2 " + QString("=:").repeated(1 << 20), vbCritical, "Error");
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed()) + " ms"));
    QVERIFY(boxes.boxes.value(1).text.mid(3990).startsWith("Password=*... (")
            && boxes.boxes.value(1).text.endsWith(" more characters not shown)"));
}

// The store's values ("HOME" stands for the program's folder) and what loading makes of them:
// server, base address, send folder, days, polling time; or the key a malformed number names.
// Nothing stored gives the vendor's website (else the fixed address) and https:// where no
// scheme was typed; a backslash folder is read as a folder.
void AppTest::loading_data()
{
    QTest::addColumn<QStringList>("store");
    QTest::addColumn<QString>("website");
    QTest::addColumn<QStringList>("loaded"); // one value: the key a malformed number names
    using L = QStringList;
    const auto row = [](const char* name, const L& store, const QString& website, const L& loaded) {
        QTest::newRow(name) << store << website << loaded;
    };
    const QString web = Vendor::DefaultWebsite;
    const QStringList rest{"HOME/send/", "30", "3000"};
    row("empty store", {}, "", L{"", Vendor::DefaultHttpsAddress} + rest);
    row("website", {}, web, L{web, "https://" + web} + rest);
    row("capital scheme kept", {"ServerURL=HTTP://Host.example"}, "",
        L{"HTTP://Host.example", "HTTP://Host.example"} + rest);
    row("no scheme, backslash folder", {"ServerURL=host.example/path", "SendDir=HOME\\mine\\"}, "",
        {"host.example/path", "https://host.example/path", "HOME/mine/", "30", "3000"});
    row("complete account, host beginning with http",
        {"ServerURL=httpbin.example", "UserName=demo", "Password=Pa55wordXYZ", "DaysOldTimeFrame= 45 ",
         "PollingSleepTime=-250"},
        "", {"httpbin.example", "httpbin.example", "HOME/send/", "45", "-250"});
    for (const QString& bad : {"DaysOldTimeFrame=thirty", "DaysOldTimeFrame=40000", "PollingSleepTime=3000000000"})
        row(qPrintable(bad), {bad}, "", {bad.section('=', 0, 0)});
}

void AppTest::loading()
{
    QFETCH(QStringList, store);
    QFETCH(QString, website);
    QFETCH(QStringList, loaded);
    TestEnv env;
    FakeDesktop desk;
    for (const QString& pair : store)
        QVERIFY(SettingsStore::SaveSetting("OQCREDIT", "Main", pair.section('=', 0, 0),
                                           pair.section('=', 1).replace("HOME", QDir::toNativeSeparators(env.home()))));
    clsProperties props;
    props.setClientWebsite(website);
    if (loaded.size() == 1) {
        try {
            LoadSettings(props);
            QFAIL("LoadSettings accepted a malformed number");
        } catch (const AppError& e) {
            const bool named = e.Description.contains(loaded[0]) && e.Description.contains(store[0].section('=', 1));
            QVERIFY2(e.Number > 0 && named, qPrintable(e.Description));
        }
        return;
    }
    QCOMPARE(LoadSettings(props), store.contains("Password=Pa55wordXYZ"));
    // The program's folders in the system's form.
    loaded[2] = QDir::toNativeSeparators(loaded[2].replace("HOME", env.home()));
    QCOMPARE((QStringList{props.ServerURL(), props.BaseUrl(), props.SendDir(),
                          QString::number(props.DaysOldTimeFrame()), QString::number(props.PollingSleepTime())}),
             loaded);
    QCOMPARE(props.ReceiveDir() + "|" + props.ArchiveDir(),
             QDir::toNativeSeparators(env.home() + "/receive/|" + env.home() + "/archive/"));
    QVERIFY(QFileInfo(SettingsStore::StoreFile("OQCREDIT")).path().startsWith(env.config()));
    QVERIFY(!env.readFile("Client.log").contains("Pa55wordXYZ"));
}

// One save replaces the settings file once, whole (no moment holds new values beside old ones),
// keeps what it does not know, and reads back; the password never into the log. (The settings
// window's rows check the password deleted when it is not to be saved; keepsPasswordProtected
// the password read back.)
void AppTest::savesOnceAndReadsBack()
{
    TestEnv env;
    FakeDesktop desk;
    SettingsStore::SaveSetting("OQCREDIT", "Main", "Unrelated", "kept");
    FolderWatch watch(QFileInfo(SettingsStore::StoreFile("OQCREDIT")).absolutePath());
    clsProperties props;
    props.setServerURL("http://127.0.0.1:9");
    props.setUserName("demo");
    props.setPassword("Sec ret&1");
    props.setSendDir(env.path("s/"));
    props.setReceiveDir(env.path("r/"));
    props.setArchiveDir(env.path("a/"));
    props.setSavePassword(true);
    SaveSettings(props);
    QCOMPARE(SettingsStore::GetSetting("OQCREDIT", "Main", "Unrelated"), QString("kept"));
#ifdef Q_OS_WIN
    // On Windows the store is the user's registry branch of classic program settings.
    QSettings branch("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\OQCREDIT\\Main",
                     QSettings::NativeFormat);
    QCOMPARE(branch.value("UserName").toString() + " " + branch.value("ServerURL").toString(),
             QString("demo http://127.0.0.1:9"));
#endif
    clsProperties loaded;
    QVERIFY(LoadSettings(loaded));
    // The log names the other values as they were read back.
    const QString log = QString::fromLatin1(env.readFile("Client.log")).remove("[ 02.03.2026 13.05.09 ]  ");
#ifdef Q_OS_WIN
    const QStringList kept;
#else
    const QStringList kept{"Password kept in the settings file: no keyring is available"};
#endif
    QCOMPARE(log.split("\r\n"),
             QStringList({"Saving Settings", "Loading Settings"}) + kept
                 + QStringList({"Loaded Settings - Send Directory: " + env.path("s/"),
                                "Loaded Settings - Receive Directory: " + env.path("r/"),
                                "Loaded Settings - Archive Directory: " + env.path("a/"),
                                "Loaded Settings - ServerURL: http://127.0.0.1:9", "Loaded Settings - UserID:    demo",
                                ""}));
#ifndef Q_OS_LINUX
    QSKIP("the settings file's writes are counted through inotify (FolderWatch), on Linux only");
#endif
    QVERIFY(watch.available());
    QCOMPARE(watch.writes("OQCREDIT.ini"), 1);
}

namespace {

// The protected copy as the system shows it to another program: the keyring's item for this
// settings file (secret-tool) on Linux; on Windows the registry value beside the settings,
// as `reg query` lists it and as a Wine prefix's user.reg holds it.
QString protectedCopy(const QString& password)
{
#ifdef Q_OS_WIN
    QProcess reg;
    reg.start("reg", {"query", "HKCU\\Software\\VB and VBA Program Settings\\OQCREDIT\\Main"});
    const QString listed =
        reg.waitForFinished(20000) ? QString::fromLocal8Bit(reg.readAllStandardOutput()) : QString("<no reg>");
    QByteArray saved;
    if (qEnvironmentVariableIsSet("WINEPREFIX")) {
        // Wine's server saves the registry to the prefix's user.reg every 30 s: wait for a save
        // made after the row's writes.
        const QString userReg = "Z:" + qEnvironmentVariable("WINEPREFIX") + "/user.reg";
        const QDateTime written = QDateTime::currentDateTime();
        QFile file(userReg);
        if (!QTest::qWaitFor([&] { return QFileInfo(userReg).lastModified() > written; }, 45000)
            || !file.open(QIODevice::ReadOnly))
            return "user.reg not saved";
        saved = file.readAll();
        if (saved.contains("ProtectedPassword") != listed.contains("ProtectedPassword"))
            return "user.reg differs from reg query: " + listed;
    }
    if (listed.contains(password) || saved.contains(password.toUtf8()))
        return "in clear: " + listed;
    return listed.contains("ProtectedPassword") ? "sealed" : "<absent>";
#else
    QProcess tool;
    tool.start("secret-tool",
               {"lookup", "application", "OQCREDIT", "section", "Main", "store", SettingsStore::StoreFile("OQCREDIT")});
    if (!tool.waitForFinished(20000) || tool.exitCode() != 0)
        return "<absent>";
    return QString::fromUtf8(tool.readAllStandardOutput()) == password ? "kept" : "another";
#endif
}

} // namespace

// The password is kept by the system's protected store (Windows: sealed with the user's key;
// Linux: the keyring, here the private one of scripts/private-keyring.sh) and never in clear
// beside it. Without a keyring that answers (no bus; a service that never answers) it stays in
// the owner-only settings file, which each load notes in Client.log, and no call waits long.
// Steps: "load" a start's load, "save" a save remembering the password, "forget" a save with
// "Remember Password" cleared. A password found in clear moves at the first load.
void AppTest::keepsPasswordProtected_data()
{
    QTest::addColumn<QString>("before"); // "clear": the password in clear; "forgotten": a protected copy
    QTest::addColumn<QString>("steps");  // and the empty value of a "Remember Password" cleared without one
    QTest::addColumn<bool>("remembered");
    const auto row = [](const char* name, const QString& before, const QString& steps, bool remembered) {
        QTest::newRow(name) << before << steps << remembered;
    };
    row("remembered, read back", "", "load save load", true);
    row("found in clear, moved at the first start", "clear", "load load", true);
    row("Remember Password cleared: every copy deleted", "", "load save forget load", false);
    row("found in clear, then Remember Password cleared", "clear", "load forget load", false);
    row("cleared while no keyring answered, the copy goes at the next start", "forgotten", "load", false);
}

void AppTest::keepsPasswordProtected()
{
    QFETCH(QString, before);
    QFETCH(QString, steps);
    QFETCH(bool, remembered);
    const QString pw = "Kept s3cret&1";
    TestEnv env;
    FakeDesktop desk;
    if (before == "forgotten")
        ProtectedSecret("OQCREDIT", "Main").Write(pw);
    if (!before.isEmpty())
        QVERIFY(SettingsStore::SaveSetting("OQCREDIT", "Main", "Password", before == "clear" ? pw : ""));
    [[maybe_unused]] const QString store = SettingsStore::StoreFile("OQCREDIT");
#ifndef Q_OS_WIN
    if (before == "clear") // as an earlier version or an editor may leave it: readable by all
        QVERIFY(QFile::setPermissions(store, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
#endif
    QElapsedTimer clock;
    clock.start();
    QString loaded;
    for (const QString& step : steps.split(' ')) {
        clsProperties props;
        if (step == "load") {
            LoadSettings(props);
            loaded = props.Password();
            continue;
        }
        props.setUserName("demo");
        props.setPassword(pw);
        props.setSendDir(env.path("s/"));
        props.setReceiveDir(env.path("r/"));
        props.setArchiveDir(env.path("a/"));
        props.setSavePassword(step == "save");
        QVERIFY(SaveSettings(props));
    }
    QCOMPARE(loaded, remembered ? pw : "");
#ifdef Q_OS_WIN
    const bool keyring = true;
    QCOMPARE(protectedCopy(pw), remembered ? "sealed" : "<absent>");
#else
    const QString mode = qEnvironmentVariable("QUILL_TEST_KEYRING");
    const bool keyring = mode == "unlocked";
    // A stalled service is not asked again after its first bounded wait.
    const qint64 took = clock.elapsed();
    QVERIFY2(took < ProtectedSecret::KeyringAnswerLimitMs + 3000, qPrintable(QString::number(took) + " ms"));
    if (mode != "stalled")
        QCOMPARE(protectedCopy(pw), keyring && remembered ? "kept" : "<absent>");
    QFile file(store);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().contains(pw.toUtf8()), !keyring && remembered);
    QCOMPARE(env.accessOf(store), "owner only"); // from the first load that found the password there
#endif
    const QString inClear = keyring ? "<absent>" : remembered ? pw : "";
    QCOMPARE(SettingsStore::GetSetting("OQCREDIT", "Main", "Password", "<absent>"), inClear);
    const QString log = QString::fromLatin1(env.readFile("Client.log"));
    QVERIFY(!log.contains(pw));
    QCOMPARE(log.count("Password kept in the settings file: no keyring is available"),
             keyring ? 0 : steps.count("load"));
}

// The command line picks the mode (/c: the configuration program instead of the window; /p:
// the settings window first). A normal start shows the vendor's logo and name, runs the account
// checks (their requests: the account windows' start rows), and has the window apply its button
// rules once the check, and any reissue number it asked for, is done.
void AppTest::startsByCommandLine_data()
{
    QTest::addColumn<StartRow>("row");
    const QString tamsel = "Tamsel Credit Services";
    const auto row = [](const char* name, const StartRow& r) { QTest::newRow(name) << r; };
    row("none: default vendor, no reissue right", {"", tamsel, "demo", "settings windows 0, logo 1, reissue right 0"});
    row("/p: vendor in other case, reissue right",
        {"/p", tamsel.toUpper(), "reissue", "settings windows 1, logo 2, reissue right 1"});
    row("/c inside a word, in either case, also after /p", {"/p x/Config", tamsel, "demo", "configuration"});
}

void AppTest::startsByCommandLine()
{
    QFETCH(StartRow, row);
    const auto& [commandLine, vendor, user, outcome] = row;
    AppRig rig;
    rig.storeAccount(user);
    SetCommandLine(commandLine);
    rig.window.reissueDuringCheck = "R77";
    SettingsStore::SaveSetting("OQConstants", "Settings", "ClientVendor", vendor);
    SettingsStore::SaveSetting("OQConstants", "Settings", "VendorWebsite", "www.vendor.example");
    const bool configuration = Main() == StartupOutcome::Configuration;
    QTRY_VERIFY(!StartupRunning());
    QCOMPARE(SettingsStore::GetSetting("OQConstants", "Settings", "AppPath"), QDir::toNativeSeparators(rig.env.home()));
    QCOMPARE(QStringList(configuration ? "configuration" : outcome), QStringList(outcome));
    // The configuration program is started and the window unloaded, never shown.
    if (configuration) {
        QCOMPARE(rig.shell.calls.value(0).target + ": " + rig.window.calls(),
                 QDir::toNativeSeparators(rig.env.home() + "/OQCFG.EXE")
                     + ": shown 0, checked 0, buttons set after the check 0, unloaded 1");
        return;
    }
    QCOMPARE(QString("settings windows %1, logo %2, reissue right %3")
                 .arg(rig.settingsShown)
                 .arg(rig.window.logo)
                 .arg(Props().CrossCompanyReissue()),
             outcome);
    QCOMPARE(rig.window.calls() + ", programs started " + QString::number(rig.shell.calls.size()),
             "shown 1, checked 1, buttons set after the check 1, unloaded 0, programs started 0");
    QCOMPARE(rig.window.caption, vendor);
    // The vendor's site until the settings are loaded, then the server.
    QCOMPARE(rig.window.tooltips, (QStringList{"Click for www.vendor.example", "Click for " + rig.sim.baseUrl()}));
    // The recording window runs no check: no refresh read sent ahead was taken.
    QCOMPARE(Props().DepartmentID() + Props().ReportListPage(), QString());
    QCOMPARE(rig.boxes.boxes.size(), 0);
}

// A restart asked for while the checks run gives that run up: the answer it still waits for shows
// nothing and reaches no window. The restart's preparation comes first (here: "/p"), and a
// second request while one is pending is ignored.
void AppTest::restartGivesUpTheRunningChecks()
{
    AppRig rig;
    rig.storeAccount();
    rig.sim.scriptStatus("PASSWORDEXPIRED", 200, "yes"); // a failed check, were it still heard
    rig.sim.setLatency(300);
    QCOMPARE(Main(), StartupOutcome::Started);
    QTRY_COMPARE(rig.actions(), QStringList{"PASSWORDEXPIRED"});
    QueueRestart([] { SetCommandLine("/p"); });
    QueueRestart([] { SetCommandLine("/c"); });
    QTRY_VERIFY(!RestartPending() && !StartupRunning());
    QCOMPARE(rig.actions(),
             (QStringList{"PASSWORDEXPIRED", "PASSWORDEXPIRED", "NEWERVERSION", "CROSS_COMPANY_REISSUE"}));
    QCOMPARE(rig.window.calls() + ", settings windows " + QString::number(rig.settingsShown),
             "shown 2, checked 1, buttons set after the check 1, unloaded 0, settings windows 1");
    QCOMPARE(rig.boxes.boxes.size(), 0);
}

// A failing step (a stored setting, or a scripted answer "action status body") ends start-up
// with one box; what the reads sent ahead returned is dropped with it, and nothing is sent ahead
// of the checks that may open a window or end the program. The log names what failed (a failed
// request by its action, with its address) and never holds the password.
void AppTest::failedStepShowsErrorInMain_data()
{
    QTest::addColumn<FailedStepRow>("row");
    const auto row = [](const char* name, const QString& stored, const QString& scripted, const QStringList& sent,
                        const QString& error, const QString& logged) {
        QTest::newRow(name) << FailedStepRow{stored, scripted, sent, error, logged};
    };
    row("stored number malformed", "PollingSleepTime=soon", "", {}, "The setting \"PollingSleepTime\" holds \"soon\"",
        "\"soon\"");
    // The answer a failed check leaves is the request's error text.
    row("password answer not a truth value", "", "PASSWORDEXPIRED 200 yes", {"PASSWORDEXPIRED"}, "<ERROR>",
        "METHOD='PASSWORDEXPIRED'");
    row("reissue check answered 500", "", "CROSS_COMPANY_REISSUE 500",
        {"PASSWORDEXPIRED", "NEWERVERSION", "CROSS_COMPANY_REISSUE"}, "<ERROR>", "METHOD='CROSS_COMPANY_REISSUE'");
    row("server stopped", "ServerURL=http://127.0.0.1:9", "", {}, "<ERROR>", "METHOD='PASSWORDEXPIRED'");
    row("folder cannot be created", "ReceiveDir=NOPARENT", "", {}, "Creating the folder failed for ",
        "no-such-parent/receive/: path not found");
}

void AppTest::failedStepShowsErrorInMain()
{
    QFETCH(FailedStepRow, row);
    const auto& [stored, scripted, sent, error, logged] = row;
    AppRig rig;
    rig.storeAccount();
    const QString key = stored.section('=', 0, 0);
    const QString value = stored.section('=', 1).replace("NOPARENT", rig.env.path("no-such-parent/receive/"));
    if (!key.isEmpty())
        SettingsStore::SaveSetting("OQCREDIT", "Main", key, value);
    if (const QStringList script = scripted.split(' '); script.size() > 1)
        rig.sim.scriptStatus(script[0], script[1].toInt(), script.value(2));
    rig.boxes.expect(vbOK);
    QCOMPARE(Main(), StartupOutcome::Started);
    QTRY_VERIFY(!StartupRunning());
    QCOMPARE(rig.boxes.boxes.size(), 1);
    const QString shown = rig.shown(0);
    QVERIFY2(shown.startsWith("Error in Main|Critical|There has been an error in start up.\r\n\r\nError: " + error),
             qPrintable(shown));
    QCOMPARE(rig.actions(), sent);
    if (!sent.contains("CROSS_COMPANY_REISSUE"))
        QCOMPARE(rig.sim.requests().size(), sent.size());
    // Nothing of the account is taken from the stopped run, and its commands are free again.
    QVERIFY(Props().DepartmentID().isEmpty() && !Props().IsLoginByRef() && !rig.window.accountHeld);
    QCOMPARE(rig.window.calls() + ", ended " + QString::number(rig.ending.count),
             "shown 1, checked 0, buttons set after the check 0, unloaded 0, ended 0");
    const QString log = QString::fromLatin1(rig.env.readFile("errors.log"));
    QVERIFY2(log.startsWith("Date: ") && log.contains(logged) && (key != "ServerURL" || log.contains(value)),
             qPrintable(log));
    QVERIFY(!(log + shown).contains(AppRig::Password));
}

// ShellExecuteEx's outcome as the classic call's code (callers test "<= 32"): success, a classic
// code kept, else the Win32 error mapped, and anything unknown as "out of resources".
void AppTest::shellResultsAreClassicCodes()
{
    using Row = std::tuple<bool, qlonglong, quint32, int>;
    for (const auto& [succeeded, instApp, win32Error, code] :
         {Row{true, 42, 0, 42}, Row{false, 31, 1155, 31}, Row{false, 0, 2, 2}, Row{false, 0, 1155, 31},
          Row{false, 0, 1157, 32}, Row{false, 0, 32, 26}, Row{false, 0, 87, 0}})
        QCOMPARE(std::pair(win32Error, WindowsShell::ClassicCode(succeeded, instApp, win32Error)),
                 std::pair(win32Error, code));
}

// What the Windows shell is given to open: an address exactly as built (a "\\" would make it
// another address), a local file in the system's separators.
void AppTest::windowsShellGetsAddressesAsBuilt()
{
#ifdef Q_OS_WIN
    const QString pdf = "C:\\QUILL\\BORROWER\\SAMPLE.pdf";
#else
    const QString pdf = "C:/QUILL/BORROWER/SAMPLE.pdf";
#endif
    using Row = std::pair<QString, QString>;
    for (const auto& [file, target] :
         {Row{"HTTP://127.0.0.1:1/a/b", "HTTP://127.0.0.1:1/a/b"},
          Row{"mailto:help@vendor.example", "mailto:help@vendor.example"}, Row{"C:/QUILL/BORROWER/SAMPLE.pdf", pdf}})
        QCOMPARE(WindowsShell::ShellTarget(file), target);
}

// The news page: the server's link (relative to BaseUrl, or absolute on any host) with the
// account's values encoded, handed to the shell encoded. A link that does not read as a web
// address is refused with a box and a log entry, and nothing is opened.
void AppTest::newsPageOpensWellFormedOnly_data()
{
    QTest::addColumn<QString>("news");
    QTest::addColumn<QString>("opened"); // empty: refused
    const auto row = [](const char* name, const QString& news, const QString& opened = {}) {
        QTest::newRow(name) << news << opened;
    };
    const QString values = "?Interface=OQCREDIT&username=bob%20smith&CID=C%261&DID=7%3D";
    row("relative, values encoded", "News.asp", "http://127.0.0.1:1/base/News.asp" + values);
    row("another host, non-ASCII", "https://127.0.0.1:2/\u00DC", "https://127.0.0.1:2/%C3%9C" + values);
    row("arguments injected", "https://127.0.0.1:2/x\" --new-window \"file:///C:/Windows/System32/calc.exe");
    row("blank", "News Page.asp");
    row("no host", "http:News.asp");
    row("relative, moved to another host after a server without a slash", "http://127.0.0.1|@127.0.0.2/n");
}

void AppTest::newsPageOpensWellFormedOnly()
{
    QFETCH(QString, news); // after "|", a server address of its own
    QFETCH(QString, opened);
    TestEnv env;
    FakeDesktop desk;
    ShellRecorder shell;
    ScriptedMsgBox boxes;
    env.freshProps();
    const QString server = news.contains('|') ? news.section('|', 0, 0) : "http://127.0.0.1:1/base/";
    news = news.section('|', -1);
    Props().setServerURL(server);
    Props().setNewsBurstUrl(news);
    Props().setUserName("bob smith");
    Props().setCompanyID("C&1");
    Props().setDepartmentID("7=");
    if (opened.isEmpty())
        boxes.expect(vbOK);
    QVERIFY(!ShowNewsBurst());
    QCOMPARE(shell.calls.isEmpty() ? "nothing" : shell.calls.value(0).target, opened.isEmpty() ? "nothing" : opened);
    if (!opened.isEmpty())
        return;
    const QString page = news.startsWith("http") ? news : server + news;
    const QString why = (news.startsWith('@') ? "The news page address leaves the credit vendor's server"
                                              : "The news page address is not a well-formed http or https address")
        + QString(", so it is not opened: ");
    QCOMPARE(boxes.boxes.value(0).shown(),
             "News|Critical|There was an error showing news burst popup window.\r\n\r\n" + why + page);
    QVERIFY(env.readFile("errors.log").contains((why + page + " in ShowNewsBurst").toUtf8()));
}

// The desktop's opener runs on its own: opening returns before the opener ends, and its late
// failure (xdg-open's "no handler", exit 3) reaches the caller afterwards as the classic code 31.
void AppTest::desktopOpenerFailsLate()
{
#ifdef Q_OS_WIN
    QSKIP("the Windows shell answers at once");
#endif
    TestEnv env;
    env.writeFile("bin/xdg-open", "#!/bin/sh\nsleep 1\nexit 3\n");
    QVERIFY(QFile::setPermissions(env.path("bin/xdg-open"), QFile::ReadOwner | QFile::ExeOwner));
    const auto restorePath = qScopeGuard([saved = qgetenv("PATH")] { qputenv("PATH", saved); });
    qputenv("PATH", QFile::encodeName(env.path("bin")) + ":" + qgetenv("PATH"));
    int code = -1;
    QCOMPARE(TheShell().OpenPage("http://127.0.0.1:9/news", [&code](int failed) { code = failed; }), 42);
    QCOMPARE(code, -1); // not waited for: a wait for the opener would have seen it end
    QTRY_COMPARE_WITH_TIMEOUT(code, 31, 5000);
}

QUILL_TEST_MAIN(AppTest)

#include "test_app.moc"
