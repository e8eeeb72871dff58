#include "test_app.h"

#include "FolderWatch.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "core/basSettings.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

namespace {

void store(const QString& key, const QString& value)
{
    QVERIFY(SettingsStore::SaveSetting("OQCREDIT", "Main", key, value));
}

QString stored(const QString& key)
{
    return SettingsStore::GetSetting("OQCREDIT", "Main", key, "<absent>");
}

} // namespace

void SettingsTest::emptyStoreGivesDefaults()
{
    TestEnv env;
    FakeDesktop desk;
    clsProperties props;
    props.setClientWebsite(Vendor::DefaultWebsite);
    QVERIFY(!LoadSettings(props));
    QCOMPARE(props.ServerURL(), Vendor::DefaultWebsite);
    QCOMPARE(props.BaseUrl(), "https://" + Vendor::DefaultWebsite);
    QCOMPARE(props.UserName(), QString());
    QCOMPARE(props.Password(), QString());
    QCOMPARE(props.SendDir(), env.home() + "/send/");
    QCOMPARE(props.ReceiveDir(), env.home() + "/receive/");
    QCOMPARE(props.ArchiveDir(), env.home() + "/archive/");
    for (const char* name : {"send", "receive", "archive"})
        QVERIFY(QFileInfo(env.path(name)).isDir());
    QCOMPARE(props.DaysOldTimeFrame(), qint16(30));
    QCOMPARE(props.PollingSleepTime(), 3000);
    QCOMPARE(props.AspUtil(), QString("/utils/CGI_Utilities.asp?"));
    QCOMPARE(props.PostLocation(), QString("/cia/cgi/marrowCGI.exe?"));
    QVERIFY(QFileInfo(SettingsStore::StoreFile("OQCREDIT")).path().startsWith(env.config()));
}

void SettingsTest::emptyServerAndWebsiteUseFixedAddress()
{
    TestEnv env;
    FakeDesktop desk;
    clsProperties props;
    store("UserName", "demo");
    store("Password", "pw");
    QVERIFY(!LoadSettings(props));
    QCOMPARE(props.ServerURL(), QString());
    QCOMPARE(props.BaseUrl(), Vendor::DefaultHttpsAddress);
}

void SettingsTest::serverUrlSetsBaseUrl_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("base");
    QTest::newRow("capital scheme kept") << "HTTP://Host.example" << "HTTP://Host.example";
    QTest::newRow("no scheme") << "host.example/path" << "https://host.example/path";
    QTest::newRow("host beginning with http") << "httpbin.example" << "httpbin.example";
    QTest::newRow("https kept") << "https://a.example" << "https://a.example";
}

void SettingsTest::serverUrlSetsBaseUrl()
{
    QFETCH(QString, typed);
    QFETCH(QString, base);
    TestEnv env;
    FakeDesktop desk;
    store("ServerURL", typed);
    clsProperties props;
    LoadSettings(props);
    QCOMPARE(props.ServerURL(), typed);
    QCOMPARE(props.BaseUrl(), base);
    clsProperties direct;
    direct.setServerURL(typed);
    QCOMPARE(direct.BaseUrl(), base);
}

void SettingsTest::saveAndLoadRoundTrip_data()
{
    QTest::addColumn<bool>("savePassword");
    QTest::newRow("password kept") << true;
    QTest::newRow("password deleted") << false;
}

void SettingsTest::saveAndLoadRoundTrip()
{
    QFETCH(bool, savePassword);
    TestEnv env;
    FakeDesktop desk;
    store("Password", "old");
    clsProperties props;
    props.setServerURL("http://127.0.0.1:9");
    props.setUserName("demo");
    props.setPassword("Sec ret&1");
    props.setSendDir(env.path("s/"));
    props.setReceiveDir(env.path("r/"));
    props.setArchiveDir(env.path("a/"));
    props.setDaysOldTimeFrame(45);
    props.setPollingSleepTime(250);
    props.setSavePassword(savePassword);
    SaveSettings(props);

    QCOMPARE(stored("Password"), savePassword ? QString("Sec ret&1") : QString("<absent>"));
    QCOMPARE(stored("DaysOldTimeFrame"), QString("45"));
    clsProperties loaded;
    QCOMPARE(LoadSettings(loaded), savePassword);
    QCOMPARE(loaded.ServerURL(), QString("http://127.0.0.1:9"));
    QCOMPARE(loaded.UserName(), QString("demo"));
    QCOMPARE(loaded.SendDir(), env.path("s/"));
    QVERIFY(QFileInfo(env.path("a")).isDir());
    QCOMPARE(loaded.DaysOldTimeFrame(), qint16(45));
    QCOMPARE(loaded.PollingSleepTime(), 250);
    QVERIFY(env.readFile("Client.log").contains("]  Saving Settings\r\n"));
}

void SettingsTest::malformedNumberFailsNamingKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("words") << "DaysOldTimeFrame" << "thirty";
    QTest::newRow("out of 16-bit range") << "DaysOldTimeFrame" << "40000";
    QTest::newRow("fraction") << "PollingSleepTime" << "2.5";
    QTest::newRow("out of 32-bit range") << "PollingSleepTime" << "3000000000";
}

void SettingsTest::malformedNumberFailsNamingKey()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    TestEnv env;
    FakeDesktop desk;
    store(key, value);
    clsProperties props;
    try {
        LoadSettings(props);
        QFAIL("LoadSettings accepted a malformed number");
    } catch (const AppError& e) {
        QVERIFY(e.Number > 0);
        QVERIFY2(e.Description.contains(key) && e.Description.contains(value), qPrintable(e.Description));
    }
}

void SettingsTest::loginByRefKeepsFirstAnswer()
{
    clsProperties props;
    QVERIFY(!props.CanLoginByRef());
    props.setLoginByRef(true);
    props.setLoginByRef(false);
    QVERIFY(props.CanLoginByRef());
    QVERIFY(!props.IsLoginByRef());
    clsProperties other;
    other.setLoginByRef(false);
    other.setLoginByRef(true);
    QVERIFY(!other.CanLoginByRef());
    QVERIFY(other.IsLoginByRef());
}

void SettingsTest::loadingNeverLogsPassword()
{
    TestEnv env;
    FakeDesktop desk;
    store("ServerURL", "http://127.0.0.1:1");
    store("UserName", "demo");
    store("Password", "Pa55wordXYZ");
    clsProperties props;
    QVERIFY(LoadSettings(props));
    props.setSavePassword(true);
    SaveSettings(props);
    const QByteArray log = env.readFile("Client.log");
    QVERIFY(!log.contains("Pa55wordXYZ"));
    const QList<QByteArray> lines = log.split('\n');
    QCOMPARE(lines.size(), 8);   // seven entries and the empty tail
    QVERIFY(lines[0].endsWith("]  Loading Settings\r"));
    QVERIFY(lines[1].contains("]  Loaded Settings - Send Directory: " + env.home().toLatin1() + "/send/\r"));
    QVERIFY(lines[4].endsWith("]  Loaded Settings - ServerURL: http://127.0.0.1:1\r"));
    QVERIFY(lines[5].endsWith("]  Loaded Settings - UserID:    demo\r"));
    QVERIFY(lines[6].endsWith("]  Saving Settings\r"));
}

void SettingsTest::storeFoldersFromBackslashPaths()
{
    TestEnv env;
    FakeDesktop desk;
    store("SendDir", env.home() + "\\mine\\");
    clsProperties props;
    LoadSettings(props);
    QCOMPARE(props.SendDir(), env.home() + "/mine/");
    QVERIFY(QFileInfo(env.path("mine")).isDir());
}

// One save replaces the settings file once, whole: there is no moment at which the file holds
// some new values next to old ones.
void SettingsTest::oneSaveIsOneWholeWrite()
{
    TestEnv env;
    FakeDesktop desk;
    store("Password", "old");
    store("Unrelated", "kept");
    FolderWatch watch(QFileInfo(SettingsStore::StoreFile("OQCREDIT")).absolutePath());
    QVERIFY(watch.available());
    clsProperties props;
    props.setServerURL("https://vendor.example");
    props.setUserName("demo");
    props.setPassword("secret");
    props.setSendDir(env.path("s/"));
    props.setReceiveDir(env.path("r/"));
    props.setArchiveDir(env.path("a/"));
    props.setDaysOldTimeFrame(45);
    props.setPollingSleepTime(250);
    props.setSavePassword(false);
    SaveSettings(props);
    QCOMPARE(watch.writes("OQCREDIT.ini"), 1);
    QCOMPARE(stored("ServerURL"), QString("https://vendor.example"));
    QCOMPARE(stored("PollingSleepTime"), QString("250"));
    QCOMPARE(stored("Password"), QString("<absent>"));
    QCOMPARE(stored("Unrelated"), QString("kept"));
}
