#include "test_app.h"

#include "EndRecorder.h"
#include "RecordingMainWindow.h"
#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "VendorSim.h"
#include "app/AppContext.h"
#include "app/StartupLinks.h"
#include "app/StartupSteps.h"
#include "app/basMain.h"
#include "app/basSettings.h"
#include "app/clsProperties.h"
#include "platform/SettingsStore.h"

#include <QTcpServer>
#include <QTest>

namespace {

struct StartupRig {
    RecordingMainWindow window;
    int settingsShown = 0;
    // What the settings window does while it is up.
    std::function<void()> settingsWindow;
    EndRecorder ending;
    StartupRig()
    {
        StartupLinks::SetMainWindowFactory([this] { return &window; });
        StartupLinks::ShowSettingsWindow() = [this] {
            ++settingsShown;
            if (settingsWindow)
                settingsWindow();
        };
    }
    ~StartupRig()
    {
        StartupLinks::SetMainWindowFactory(nullptr);
        StartupLinks::ShowSettingsWindow() = nullptr;
        SetCommandLine(QString());
    }
};

const QString kPassword = QStringLiteral("Demo2026pass");

// A loopback address with nothing listening on it.
QString closedServerUrl()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}

} // namespace

MainTest::MainTest() = default;
MainTest::~MainTest() = default;

void MainTest::initTestCase()
{
    m_sim = std::make_unique<VendorSim>();
    QVERIFY(m_sim->start());
}

void MainTest::init()
{
    m_sim->reset();
}

void MainTest::storeCompleteSettings(const QString& user)
{
    SettingsStore::SaveSetting("OQCREDIT", "Main", "ServerURL", m_sim->baseUrl());
    SettingsStore::SaveSetting("OQCREDIT", "Main", "UserName", user);
    SettingsStore::SaveSetting("OQCREDIT", "Main", "Password", kPassword);
}

void MainTest::commandLineSelectsMode_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("configuration");
    QTest::addColumn<bool>("settingsWindow");
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("/p") << "/p" << false << true;
    QTest::newRow("/P is not /p") << "/P" << false << false;
    QTest::newRow("/c inside a word") << "x/config" << true << false;
    QTest::newRow("/C") << "/C" << true << false;
    QTest::newRow("/c and /p") << "/p /c" << true << false;
}

void MainTest::commandLineSelectsMode()
{
    QFETCH(QString, commandLine);
    QFETCH(bool, configuration);
    QFETCH(bool, settingsWindow);
    TestEnv env;
    FakeDesktop desk;
    ShellRecorder shell;
    ScriptedMsgBox boxes;
    StartupRig rig;
    storeCompleteSettings();
    SetCommandLine(commandLine);
    const StartupOutcome outcome = Main();
    QCOMPARE(outcome == StartupOutcome::Configuration, configuration);
    QCOMPARE(rig.settingsShown, settingsWindow ? 1 : 0);
    if (configuration) {
        QCOMPARE(shell.calls.size(), 1);
        QCOMPARE(shell.calls[0].verb, QString("start"));
        QCOMPARE(shell.calls[0].target, env.home() + "/OQCFG.EXE");
        QCOMPARE(rig.window.shown, 0);
        QCOMPARE(rig.window.unloaded, 1);
    } else {
        QCOMPARE(rig.window.shown, 1);
    }
    QCOMPARE(SettingsStore::GetSetting("OQConstants", "Settings", "AppName"), QString("OQCREDIT"));
    QCOMPARE(SettingsStore::GetSetting("OQConstants", "Settings", "AppPath"), env.home());
}

void MainTest::emptyStoreOpensSettingsWindow()
{
    TestEnv env;
    FakeDesktop desk;
    ScriptedMsgBox boxes;
    StartupRig rig;
    QString serverWhenAsked;
    // The user points the program at the stand-in server.
    rig.settingsWindow = [&] {
        serverWhenAsked = Props().ServerURL();
        Props().setServerURL(m_sim->baseUrl());
        Props().setUserName("demo");
        Props().setPassword(kPassword);
    };
    QCOMPARE(Main(), StartupOutcome::Started);
    QCOMPARE(rig.settingsShown, 1);
    QCOMPARE(serverWhenAsked, Vendor::DefaultWebsite);
    QCOMPARE(rig.window.version, QString("1.1.0"));
    QCOMPARE(rig.window.caption, Vendor::DefaultName);
    QCOMPARE(rig.window.logo, 1);
    // After the settings are settled the logo points at the server address.
    QCOMPARE(rig.window.tooltips.first(), "Click for " + Vendor::DefaultWebsite);
    QCOMPARE(rig.window.tooltips.last(), "Click for " + m_sim->baseUrl());
}

void MainTest::vendorNameSelectsLogo_data()
{
    QTest::addColumn<QString>("vendor");
    QTest::addColumn<int>("logo");
    QTest::newRow("default vendor") << "Tamsel Credit Services" << 1;
    QTest::newRow("other case") << "TAMSEL Credit Services" << 2;
    QTest::newRow("other vendor") << "Lakeside Credit" << 2;
}

void MainTest::vendorNameSelectsLogo()
{
    QFETCH(QString, vendor);
    QFETCH(int, logo);
    TestEnv env;
    FakeDesktop desk;
    ScriptedMsgBox boxes;
    StartupRig rig;
    storeCompleteSettings();
    SettingsStore::SaveSetting("OQConstants", "Settings", "ClientVendor", vendor);
    SettingsStore::SaveSetting("OQConstants", "Settings", "VendorWebsite", "www.vendor.example");
    Main();
    QCOMPARE(rig.window.logo, logo);
    QCOMPARE(rig.window.caption, vendor);
    QCOMPARE(rig.window.tooltips.first(), QString("Click for www.vendor.example"));
    QCOMPARE(rig.window.tooltips.last(), "Click for " + m_sim->baseUrl());
}

void MainTest::failedStepShowsErrorInMain()
{
    TestEnv env;
    FakeDesktop desk;
    ScriptedMsgBox boxes;
    StartupRig rig;
    storeCompleteSettings();
    SettingsStore::SaveSetting("OQCREDIT", "Main", "PollingSleepTime", "soon");
    boxes.expect();
    QCOMPARE(Main(), StartupOutcome::Started);
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, QString("Error in Main"));
    QCOMPARE(boxes.boxes[0].icon(), int(vbCritical));
    QVERIFY(boxes.boxes[0].text.startsWith("There has been an error in start up.\r\n\r\nError: "));
    QVERIFY(boxes.boxes[0].text.contains("PollingSleepTime"));
    QCOMPARE(rig.window.checks, 0);
    QCOMPARE(rig.window.shown, 1);
    const QString log = QString::fromLatin1(env.readFile("errors.log"));
    QVERIFY(log.startsWith("Date: ") && log.contains("\"soon\""));
}

void MainTest::existingReportSetsButtons_data()
{
    QTest::addColumn<QString>("reportId");
    QTest::addColumn<QString>("reissue");
    QTest::addColumn<QStringList>("disabled");
    QTest::addColumn<bool>("pullCaption");
    const QStringList six = {"cmdPrint", "cmdView", "cmdRMCR", "cmdImport", "cmdAddBureau", "cmdRequestSupp"};
    QTest::newRow("no report") << "" << "" << six << true;
    QTest::newRow("search error") << "ERROR" << "" << (six + QStringList{"cmdRepull"}) << false;
    QTest::newRow("found by reissue") << "G-1" << "R77"
        << QStringList{"cmdRMCR", "cmdAddBureau", "cmdRequestSupp", "cmdRepull"} << false;
    QTest::newRow("found") << "G-1" << "" << QStringList() << false;
}

void MainTest::existingReportSetsButtons()
{
    QFETCH(QString, reportId);
    QFETCH(QString, reissue);
    QFETCH(QStringList, disabled);
    QFETCH(bool, pullCaption);
    TestEnv env;
    FakeDesktop desk;
    ScriptedMsgBox boxes;
    StartupRig rig;
    storeCompleteSettings();
    rig.window.reportId = reportId;
    rig.window.reissueDuringCheck = reissue;
    Main();
    QCOMPARE(rig.window.checks, 1);
    QStringList actuallyDisabled;
    for (auto it = rig.window.enabledState.cbegin(); it != rig.window.enabledState.cend(); ++it)
        if (!it.value()) actuallyDisabled << it.key();
    actuallyDisabled.sort();
    disabled.sort();
    QCOMPARE(actuallyDisabled, disabled);
    QCOMPARE(rig.window.texts.contains("cmdRepull"), pullCaption);
    if (pullCaption)
        QCOMPARE(rig.window.texts["cmdRepull"], QString("&Pull Credit|Pull New Credit Report"));
}

void MainTest::accountChecksRunInOrder_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("crossCompany");
    QTest::newRow("no reissue right") << "demo" << false;
    QTest::newRow("reissue right") << "reissue" << true;
}

void MainTest::accountChecksRunInOrder()
{
    QFETCH(QString, user);
    QFETCH(bool, crossCompany);
    TestEnv env;
    FakeDesktop desk;
    ScriptedMsgBox boxes;
    StartupRig rig;
    storeCompleteSettings(user);
    QCOMPARE(Main(), StartupOutcome::Started);
    QCOMPARE(m_sim->requests(), (QStringList{
        "POST /utils/CGI_Utilities.asp?Action=PASSWORDEXPIRED&USER=" + user,
        "POST /utils/CGI_Utilities.asp?Action=NEWERVERSION&USER=" + user + "&APPNAME=OQCREDIT&APPVERSION=1.1.0",
        "POST /utils/CGI_Utilities.asp?Action=CROSS_COMPANY_REISSUE&USER=" + user,
    }));
    QCOMPARE(Props().CrossCompanyReissue(), crossCompany);
    QCOMPARE(rig.window.checks, 1);
    QCOMPARE(boxes.boxes.size(), 0);
}

void MainTest::failedAccountCheckStopsStartup_data()
{
    QTest::addColumn<QString>("action");       // the action that is made to fail
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("httpStatus");
    QTest::addColumn<QStringList>("sent");
    const QString check = "PASSWORDEXPIRED", version = "NEWERVERSION", reissue = "CROSS_COMPANY_REISSUE";
    QTest::newRow("password answer not a truth value") << check << "yes" << 200 << QStringList{check};
    QTest::newRow("version answer not a web address") << version << "ftp://files.example/new.exe" << 200
                                                       << QStringList{check, version};
    QTest::newRow("reissue check answered 500") << reissue << "" << 500 << QStringList{check, version, reissue};
    QTest::newRow("server stopped") << "" << "" << 0 << QStringList();
}

void MainTest::failedAccountCheckStopsStartup()
{
    QFETCH(QString, action);
    QFETCH(QString, answer);
    QFETCH(int, httpStatus);
    QFETCH(QStringList, sent);
    TestEnv env;
    FakeDesktop desk;
    ScriptedMsgBox boxes;
    StartupRig rig;
    storeCompleteSettings();
    const QString stopped = closedServerUrl();
    if (httpStatus == 0)
        SettingsStore::SaveSetting("OQCREDIT", "Main", "ServerURL", stopped);
    else
        m_sim->scriptStatus(action, httpStatus, answer);
    boxes.expect(vbOK);
    QCOMPARE(Main(), StartupOutcome::Started);

    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, QString("Error in Main"));
    QCOMPARE(boxes.boxes[0].icon(), int(vbCritical));
    // The answer the failed check left is the request's error text.
    QVERIFY2(boxes.boxes[0].text.startsWith("There has been an error in start up.\r\n\r\nError: <ERROR>"),
             qPrintable(boxes.boxes[0].text));
    QStringList actionsSent;
    for (const QString& line : m_sim->requests())
        actionsSent << line.section("Action=", 1).section('&', 0, 0);
    QCOMPARE(actionsSent, sent);
    QCOMPARE(rig.window.checks, 0);
    QCOMPARE(rig.window.shown, 1);
    QCOMPARE(rig.ending.count, 0);
    const QString log = QString::fromLatin1(env.readFile("errors.log"));
    QVERIFY(log.startsWith("Date: "));
    QVERIFY(!log.contains(kPassword));
    QVERIFY(!boxes.boxes[0].text.contains(kPassword));
    // The failed request is in the log, its password masked.
    QVERIFY2(log.contains("METHOD='" + (sent.isEmpty() ? QString("PASSWORDEXPIRED") : sent.last()) + "'"), qPrintable(log));
    if (httpStatus == 0)
        QVERIFY2(log.contains(stopped), qPrintable(log));
}
