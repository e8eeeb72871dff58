#include "test_app.h"

#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "app/AppContext.h"
#include "app/StartupLinks.h"
#include "app/StartupSteps.h"
#include "app/basMain.h"
#include "app/basSettings.h"
#include "app/clsProperties.h"
#include "platform/SettingsStore.h"

#include <QTest>

namespace {

// Records what start-up does to the main window.
class RecordingMainWindow : public IMainWindow
{
public:
    void SetVersionLabel(const QString& v) override { version = v; }
    void SetCaption(const QString& c) override { caption = c; }
    void SetLogo(int index) override { logo = index; }
    void SetLogoTooltip(const QString& t) override { tooltips << t; }
    void ShowWindow() override { ++shown; }
    void Unload() override { ++unloaded; }
    // The reissue window sets the number while the check runs.
    void CheckForExisting() override
    {
        ++checks;
        if (!reissueDuringCheck.isEmpty())
            Props().setReissueNumber(reissueDuringCheck);
    }
    QString ExistingReportID() const override { return reportId; }
    void SetButtonEnabled(const QString& name, bool enabled) override { enabledState[name] = enabled; }
    void SetButtonText(const QString& name, const QString& caption, const QString& tip) override
    {
        texts[name] = caption + "|" + tip;
    }

    QString version, caption, reportId, reissueDuringCheck;
    QStringList tooltips;
    int logo = 0, shown = 0, unloaded = 0, checks = 0;
    QMap<QString, bool> enabledState;
    QMap<QString, QString> texts;
};

struct StartupRig {
    RecordingMainWindow window;
    int settingsShown = 0;
    StartupRig()
    {
        StartupLinks::SetMainWindowFactory([this] { return &window; });
        StartupLinks::ShowSettingsWindow() = [this] { ++settingsShown; };
    }
    ~StartupRig()
    {
        StartupLinks::SetMainWindowFactory(nullptr);
        StartupLinks::ShowSettingsWindow() = nullptr;
        SetCommandLine(QString());
    }
};

void storeCompleteSettings()
{
    SettingsStore::SaveSetting("OQCREDIT", "Main", "ServerURL", "http://127.0.0.1:9");
    SettingsStore::SaveSetting("OQCREDIT", "Main", "UserName", "demo");
    SettingsStore::SaveSetting("OQCREDIT", "Main", "Password", "pw");
}

} // namespace

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
    StartupRig rig;
    QCOMPARE(Main(), StartupOutcome::Started);
    QCOMPARE(rig.settingsShown, 1);
    QCOMPARE(rig.window.version, QString("1.1.0"));
    QCOMPARE(rig.window.caption, Vendor::DefaultName);
    QCOMPARE(rig.window.logo, 1);
    // After the settings are settled the logo points at the server address.
    QCOMPARE(rig.window.tooltips.last(), "Click for " + Props().ServerURL());
    QCOMPARE(Props().ServerURL(), Vendor::DefaultWebsite);
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
    StartupRig rig;
    storeCompleteSettings();
    SettingsStore::SaveSetting("OQConstants", "Settings", "ClientVendor", vendor);
    SettingsStore::SaveSetting("OQConstants", "Settings", "VendorWebsite", "www.vendor.example");
    Main();
    QCOMPARE(rig.window.logo, logo);
    QCOMPARE(rig.window.caption, vendor);
    QCOMPARE(rig.window.tooltips.first(), QString("Click for www.vendor.example"));
    QCOMPARE(rig.window.tooltips.last(), QString("Click for http://127.0.0.1:9"));
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
