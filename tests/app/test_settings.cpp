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

QString stored(const QString& key)
{
    return SettingsStore::GetSetting("OQCREDIT", "Main", key, "<absent>");
}

// Client.log as the fixed clock of FakeDesktop stamps it.
QByteArray clientLog(const QStringList& entries)
{
    QByteArray log;
    for (const QString& entry : entries)
        log += "[ 02.03.2026 13.05.09 ]  " + entry.toUtf8() + "\r\n";
    return log;
}

} // namespace

// The store's values ("HOME" stands for the program's folder) and what loading makes of them:
// server, base address, send folder, days, polling time; or the key a malformed number names.
// Nothing stored gives the vendor's website (else the fixed address) and https:// where no
// scheme was typed; a backslash folder is read as a folder.
void SettingsTest::loading_data()
{
    QTest::addColumn<QStringList>("store");
    QTest::addColumn<QString>("website");
    QTest::addColumn<QStringList>("loaded");
    const QString web = Vendor::DefaultWebsite;
    QTest::newRow("empty store") << QStringList() << "" << QStringList{"", Vendor::DefaultHttpsAddress, "HOME/send/", "30", "3000"};
    QTest::newRow("website") << QStringList() << web << QStringList{web, "https://" + web, "HOME/send/", "30", "3000"};
    QTest::newRow("capital scheme kept") << QStringList{"ServerURL=HTTP://Host.example"} << ""
                                         << QStringList{"HTTP://Host.example", "HTTP://Host.example", "HOME/send/", "30", "3000"};
    QTest::newRow("no scheme, backslash folder") << QStringList{"ServerURL=host.example/path", "SendDir=HOME\\mine\\"} << ""
        << QStringList{"host.example/path", "https://host.example/path", "HOME/mine/", "30", "3000"};
    QTest::newRow("complete account, host beginning with http")
        << QStringList{"ServerURL=httpbin.example", "UserName=demo", "Password=Pa55wordXYZ", "DaysOldTimeFrame= 45 ", "PollingSleepTime=-250"}
        << "" << QStringList{"httpbin.example", "httpbin.example", "HOME/send/", "45", "-250"};
    QTest::newRow("words") << QStringList{"DaysOldTimeFrame=thirty"} << "" << QStringList{"DaysOldTimeFrame"};
    QTest::newRow("out of 16-bit range") << QStringList{"DaysOldTimeFrame=40000"} << "" << QStringList{"DaysOldTimeFrame"};
    QTest::newRow("fraction") << QStringList{"PollingSleepTime=2.5"} << "" << QStringList{"PollingSleepTime"};
    QTest::newRow("out of 32-bit range") << QStringList{"PollingSleepTime=3000000000"} << "" << QStringList{"PollingSleepTime"};
}

void SettingsTest::loading()
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
            QVERIFY(e.Number > 0);
            QVERIFY2(e.Description.contains(loaded[0]) && e.Description.contains(store[0].section('=', 1)),
                     qPrintable(e.Description));
        }
        return;
    }
    QCOMPARE(LoadSettings(props), store.contains("Password=Pa55wordXYZ"));
    // The program's folders in the system's form.
    loaded[2] = QDir::toNativeSeparators(loaded[2].replace("HOME", env.home()));
    QCOMPARE((QStringList{props.ServerURL(), props.BaseUrl(), props.SendDir(), QString::number(props.DaysOldTimeFrame()),
                          QString::number(props.PollingSleepTime())}), loaded);
    QCOMPARE((QStringList{props.ReceiveDir(), props.ArchiveDir(), props.AspUtil(), props.PostLocation()}),
             (QStringList{QDir::toNativeSeparators(env.home() + "/receive/"), QDir::toNativeSeparators(env.home() + "/archive/"),
                          "/utils/CGI_Utilities.asp?", "/cia/cgi/marrowCGI.exe?"}));
    for (const QString& folder : {props.SendDir(), props.ReceiveDir(), props.ArchiveDir()})
        QVERIFY(QFileInfo(folder).isDir());
    QVERIFY(QFileInfo(SettingsStore::StoreFile("OQCREDIT")).path().startsWith(env.config()));
    QVERIFY(!env.readFile("Client.log").contains("Pa55wordXYZ"));
}

// One save replaces the settings file once, whole (no moment holds new values beside old ones),
// keeps what it does not know, and reads back; the password only when it is to be saved, and
// never into the log.
void SettingsTest::savesOnceAndReadsBack_data()
{
    QTest::addColumn<bool>("savePassword");
    QTest::newRow("password kept") << true;
    QTest::newRow("password deleted") << false;
}

void SettingsTest::savesOnceAndReadsBack()
{
    QFETCH(bool, savePassword);
    TestEnv env;
    FakeDesktop desk;
    SettingsStore::SaveSetting("OQCREDIT", "Main", "Password", "old");
    SettingsStore::SaveSetting("OQCREDIT", "Main", "Unrelated", "kept");
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
    QCOMPARE(env.readFile("Client.log"), clientLog({"Saving Settings", "Loading Settings",
        "Loaded Settings - Send Directory: " + env.path("s/"), "Loaded Settings - Receive Directory: " + env.path("r/"),
        "Loaded Settings - Archive Directory: " + env.path("a/"), "Loaded Settings - ServerURL: http://127.0.0.1:9",
        "Loaded Settings - UserID:    demo"}));
#ifndef Q_OS_LINUX
    QSKIP("the settings file's writes are counted through inotify (FolderWatch), on Linux only");
#endif
    QVERIFY(watch.available());
    QCOMPARE(watch.writes("OQCREDIT.ini"), 1);
}

// The program's folder from the environment never ends with a separator (the root aside), so
// the folders and files named from it hold no doubled one.
void SettingsTest::programFolderFromEnvironment_data()
{
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("folder");
    QTest::newRow("as set") << "HOME/q" << "HOME/q";
    QTest::newRow("separators after it") << "HOME/q//" << "HOME/q";
    QTest::newRow("one letter, relative") << "q/" << "q";
#ifndef Q_OS_WIN   // there "//" begins a network path
    QTest::newRow("the root") << "//" << "/";
#endif
}

void SettingsTest::programFolderFromEnvironment()
{
    QFETCH(QString, home);
    QFETCH(QString, folder);
    TestEnv env;
    FakeDesktop desk;
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(env.home());
    qputenv("QUILLCLIENT_HOME", QFile::encodeName(QString(home).replace("HOME", env.home())));
    const QString found = QDir::fromNativeSeparators(AppPaths::ProgramFolder());
    clsProperties props;
    if (folder != "/")
        LoadSettings(props);
    QDir::setCurrent(cwd);
    QCOMPARE(found, folder.replace("HOME", env.home()));
    QCOMPARE(QDir::fromNativeSeparators(props.ReceiveDir()), folder == "/" ? QString() : folder + "/receive/");
}
