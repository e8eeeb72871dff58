#include "test_app.h"

#include "FolderWatch.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "core/basSettings.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
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
    QVERIFY(!LoadSettings(props));
    QCOMPARE(props.UserName(), QString());
    QCOMPARE(props.Password(), QString());
    QCOMPARE((QStringList{props.SendDir(), props.ReceiveDir(), props.ArchiveDir()}),
             (QStringList{QDir::toNativeSeparators(env.home() + "/send/"), QDir::toNativeSeparators(env.home() + "/receive/"),
                          QDir::toNativeSeparators(env.home() + "/archive/")}));
    for (const char* name : {"send", "receive", "archive"})
        QVERIFY(QFileInfo(env.path(name)).isDir());
    QCOMPARE(props.DaysOldTimeFrame(), qint16(30));
    QCOMPARE(props.PollingSleepTime(), 3000);
    QCOMPARE(props.AspUtil(), QString("/utils/CGI_Utilities.asp?"));
    QCOMPARE(props.PostLocation(), QString("/cia/cgi/marrowCGI.exe?"));
    QVERIFY(QFileInfo(SettingsStore::StoreFile("OQCREDIT")).path().startsWith(env.config()));
}

// The stored server address (else the vendor's website, else the fixed address) gives the base
// address, with https:// where no scheme was typed; a backslash folder is read as a folder.
void SettingsTest::serverUrlSetsBaseUrl_data()
{
    QTest::addColumn<QString>("typed");   // "<none>": nothing stored
    QTest::addColumn<QString>("website");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("base");
    QTest::newRow("nothing stored: the website") << "<none>" << Vendor::DefaultWebsite << Vendor::DefaultWebsite
                                                 << "https://" + Vendor::DefaultWebsite;
    QTest::newRow("nothing stored, no website") << "<none>" << "" << "" << Vendor::DefaultHttpsAddress;
    QTest::newRow("capital scheme kept") << "HTTP://Host.example" << "" << "HTTP://Host.example" << "HTTP://Host.example";
    QTest::newRow("no scheme") << "host.example/path" << "" << "host.example/path" << "https://host.example/path";
    QTest::newRow("host beginning with http") << "httpbin.example" << "" << "httpbin.example" << "httpbin.example";
}

void SettingsTest::serverUrlSetsBaseUrl()
{
    QFETCH(QString, typed);
    QFETCH(QString, website);
    QFETCH(QString, server);
    QFETCH(QString, base);
    TestEnv env;
    FakeDesktop desk;
    if (typed != "<none>")
        store("ServerURL", typed);
    store("SendDir", QDir::toNativeSeparators(env.home()) + "\\mine\\");
    clsProperties props;
    props.setClientWebsite(website);
    LoadSettings(props);
    QCOMPARE(props.ServerURL(), server);
    QCOMPARE(props.BaseUrl(), base);
    clsProperties direct;
    direct.setServerURL(server);
    QCOMPARE(direct.BaseUrl(), server.isEmpty() ? "https://" : base);
    QCOMPARE(props.SendDir(), QDir::toNativeSeparators(env.home() + "/mine/"));
    QVERIFY(QFileInfo(env.path("mine")).isDir());
}

// One save replaces the settings file once, whole (no moment holds new values beside old ones),
// keeps what it does not know, and reads back; the password only when it is to be saved.
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
    store("Unrelated", "kept");
    FolderWatch watch(QFileInfo(SettingsStore::StoreFile("OQCREDIT")).absolutePath());
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
    QCOMPARE(stored("Unrelated"), QString("kept"));
    clsProperties loaded;
    QCOMPARE(LoadSettings(loaded), savePassword);
    QCOMPARE((QStringList{loaded.ServerURL(), loaded.UserName(), loaded.SendDir(), loaded.ReceiveDir(), loaded.ArchiveDir()}),
             (QStringList{"http://127.0.0.1:9", "demo", env.path("s/"), env.path("r/"), env.path("a/")}));
    QVERIFY(QFileInfo(env.path("a")).isDir());
    QCOMPARE(loaded.DaysOldTimeFrame(), qint16(45));
    QCOMPARE(loaded.PollingSleepTime(), 250);
#ifndef Q_OS_LINUX
    QSKIP("the settings file's writes are counted through inotify (FolderWatch), on Linux only");
#endif
    QVERIFY(watch.available());
    QCOMPARE(watch.writes("OQCREDIT.ini"), 1);
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

// The first answer about login by reference is the one kept.
void SettingsTest::loginByRefKeepsFirstAnswer()
{
    for (bool first : {true, false}) {
        clsProperties props;
        QVERIFY(!props.CanLoginByRef());
        props.setLoginByRef(first);
        props.setLoginByRef(!first);
        QCOMPARE(props.CanLoginByRef(), first);
        QCOMPARE(props.IsLoginByRef(), !first);
    }
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
    QVERIFY(lines[1].contains("]  Loaded Settings - Send Directory: " + QDir::toNativeSeparators(env.home() + "/send/").toLatin1() + "\r"));
    QVERIFY(lines[4].endsWith("]  Loaded Settings - ServerURL: http://127.0.0.1:1\r"));
    QVERIFY(lines[5].endsWith("]  Loaded Settings - UserID:    demo\r"));
    QVERIFY(lines[6].endsWith("]  Saving Settings\r"));
}
