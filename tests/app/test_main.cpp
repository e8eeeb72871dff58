#include "test_app.h"

#include "AppRig.h"
#include "FolderWatch.h"
#include "app/basMain.h"
#include "core/clsConfig.h"
#include "platform/SettingsStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

// The command line picks the mode (/c: the configuration program instead of the window; /p:
// the settings window first). A normal start shows the vendor's logo and name, reads the host's
// files once, and runs the account checks. The button rules themselves are the main window's
// (TestCheckExisting::buttonRules); start-up has the window apply them once the check, and any
// reissue number it asked for, is done.
void MainTest::startsByCommandLine_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("configuration");
    QTest::addColumn<bool>("settingsWindow");
    QTest::addColumn<QString>("vendor");
    QTest::addColumn<int>("logo");
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("crossCompany");
    const QString tamsel = "Tamsel Credit Services";
    QTest::newRow("none: default vendor, no reissue right") << "" << false << false << tamsel << 1 << "demo" << false;
    QTest::newRow("/p: vendor in other case, reissue right") << "/p" << false << true << tamsel.toUpper() << 2 << "reissue" << true;
    QTest::newRow("/P is not /p") << "/P" << false << false << tamsel << 1 << "demo" << false;
    QTest::newRow("/c inside a word") << "x/config" << true << false << tamsel << 1 << "demo" << false;
    QTest::newRow("/C") << "/C" << true << false << tamsel << 1 << "demo" << false;
    QTest::newRow("/c and /p") << "/p /c" << true << false << tamsel << 1 << "demo" << false;
}

void MainTest::startsByCommandLine()
{
    QFETCH(QString, commandLine);
    QFETCH(bool, configuration);
    QFETCH(bool, settingsWindow);
    QFETCH(QString, vendor);
    QFETCH(int, logo);
    QFETCH(QString, user);
    QFETCH(bool, crossCompany);
    AppRig rig;
    rig.storeAccount(user);
    SetCommandLine(commandLine);
    rig.window.reissueDuringCheck = "R77";
    SettingsStore::SaveSetting("OQConstants", "Settings", "ClientVendor", vendor);
    SettingsStore::SaveSetting("OQConstants", "Settings", "VendorWebsite", "www.vendor.example");
    // The host's files are read once per start-up, however many values and data folders they hold.
    QByteArray winQuill = "[Directories]\r\nApplication=C:\\QUILL\r\n";
    for (int k = 0; k < 30; ++k)
        winQuill += "Folder" + QByteArray::number(k) + "=C:\\DATA" + QByteArray::number(k) + "\r\n";
    rig.env.writeFile(rig.env.windows() + "/WINQUILL.INI", winQuill);
    rig.env.writeFile("Config.ini", "[Interface]\r\nServerIP=10.0.0.1\r\nCompany=ACME\r\n");
    FolderWatch windows(rig.env.windows());
    FolderWatch home(rig.env.home());
    QCOMPARE(Main() == StartupOutcome::Configuration, configuration);
    QCOMPARE(rig.settingsShown, settingsWindow ? 1 : 0);
    QCOMPARE(rig.window.shown + rig.window.checks * 10 + rig.window.buttonsAfterCheck * 100 + rig.window.unloaded * 1000,
             configuration ? 1000 : 111);
    QCOMPARE(rig.shell.calls.size(), configuration ? 1 : 0);
    QCOMPARE(SettingsStore::GetSetting("OQConstants", "Settings", "AppPath"), QDir::toNativeSeparators(rig.env.home()));
    if (configuration) {
        QCOMPARE(rig.shell.calls[0].target, QDir::toNativeSeparators(rig.env.home() + "/OQCFG.EXE"));
        return;
    }
    QCOMPARE(Props().oConfig().QuillAppDataFolder(30), QString("C:\\DATA29\\"));
    QCOMPARE(Props().oConfig().sConfigCompany(), QString("ACME"));
    QCOMPARE(rig.window.logo, logo);
    QCOMPARE(rig.window.caption, vendor);
    // The vendor's site until the settings are loaded, then the server.
    QCOMPARE(rig.window.tooltips, (QStringList{"Click for www.vendor.example", "Click for " + rig.sim.baseUrl()}));
    QCOMPARE(rig.sent(), (QStringList{
        "POST /utils/CGI_Utilities.asp?Action=PASSWORDEXPIRED&USER=" + user,
        "POST /utils/CGI_Utilities.asp?Action=NEWERVERSION&USER=" + user + "&APPNAME=OQCREDIT&APPVERSION=1.1.0",
        "POST /utils/CGI_Utilities.asp?Action=CROSS_COMPANY_REISSUE&USER=" + user,
    }));
    QCOMPARE(Props().CrossCompanyReissue(), crossCompany);
    // The recording window runs no check: no refresh read sent ahead was taken.
    QCOMPARE(Props().DepartmentID(), QString());
    QCOMPARE(Props().ReportListPage(), QString());
    QCOMPARE(rig.boxes.boxes.size(), 0);
#ifndef Q_OS_LINUX
    QSKIP("the host files' opens are counted through inotify (FolderWatch), on Linux only");
#endif
    QVERIFY(windows.available() && home.available());
    QCOMPARE(windows.opens("WINQUILL.INI"), 1);
    QCOMPARE(home.opens("Config.ini"), 1);
}

void MainTest::failedStepShowsErrorInMain_data()
{
    // A failing step is a stored setting ("key=value"; CLOSED stands for a loopback address
    // nothing listens on) or a scripted answer ("action status body").
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("scripted");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QString>("error");   // how the error text after "Error: " starts
    QTest::addColumn<QString>("logged");
    QTest::newRow("stored number malformed") << "PollingSleepTime=soon" << "" << QStringList()
        << "The setting \"PollingSleepTime\" holds \"soon\"" << "\"soon\"";
    // The answer a failed check leaves is the request's error text.
    QTest::newRow("password answer not a truth value") << "" << "PASSWORDEXPIRED 200 yes" << QStringList{"PASSWORDEXPIRED"}
        << "<ERROR>" << "METHOD='PASSWORDEXPIRED'";
    QTest::newRow("version check answered 500") << "" << "NEWERVERSION 500" << QStringList{"PASSWORDEXPIRED", "NEWERVERSION"}
        << "<ERROR>" << "METHOD='NEWERVERSION'";
    QTest::newRow("reissue check answered 500") << "" << "CROSS_COMPANY_REISSUE 500"
        << QStringList{"PASSWORDEXPIRED", "NEWERVERSION", "CROSS_COMPANY_REISSUE"}
        << "<ERROR>" << "METHOD='CROSS_COMPANY_REISSUE'";
    QTest::newRow("server stopped") << "ServerURL=CLOSED" << "" << QStringList() << "<ERROR>" << "METHOD='PASSWORDEXPIRED'";
    QTest::newRow("folder cannot be created") << "ReceiveDir=NOPARENT" << "" << QStringList()
        << "Creating the folder failed for " << "no-such-parent/receive/: path not found";
}

void MainTest::failedStepShowsErrorInMain()
{
    QFETCH(QString, stored);
    QFETCH(QString, scripted);
    QFETCH(QStringList, sent);
    QFETCH(QString, error);
    QFETCH(QString, logged);
    AppRig rig;
    rig.storeAccount();
    const QString key = stored.section('=', 0, 0);
    QString value = stored.section('=', 1);
    if (value == "CLOSED") {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        value = QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
        probe.close();
    }
    if (value == "NOPARENT")
        value = rig.env.path("no-such-parent/receive/");
    if (!key.isEmpty())
        SettingsStore::SaveSetting("OQCREDIT", "Main", key, value);
    if (const QStringList script = scripted.split(' '); script.size() > 1)
        rig.sim.scriptStatus(script[0], script[1].toInt(), script.value(2));
    rig.boxes.expect(vbOK);
    QCOMPARE(Main(), StartupOutcome::Started);

    QCOMPARE(rig.boxes.boxes.size(), 1);
    const ScriptedMsgBox::Box& shown = rig.boxes.boxes[0];
    QCOMPARE(shown.title, QString("Error in Main"));
    QCOMPARE(shown.icon(), int(vbCritical));
    QVERIFY2(shown.text.startsWith("There has been an error in start up.\r\n\r\nError: " + error), qPrintable(shown.text));
    QVERIFY(!shown.text.contains(AppRig::Password));
    QCOMPARE(rig.actions(), sent);
    // Nothing is sent ahead of the checks that may open a window or end the program.
    if (!sent.contains("CROSS_COMPANY_REISSUE"))
        QCOMPARE(rig.sim.requests().size(), sent.size());
    // What the reads sent ahead returned is dropped with the failing step.
    QCOMPARE(Props().DepartmentID(), QString());
    QVERIFY(!Props().IsLoginByRef());
    QCOMPARE(rig.window.checks, 0);
    QCOMPARE(rig.window.shown, 1);
    QCOMPARE(rig.ending.count, 0);
    // The log names what failed (a failed request by its action, with its address) and never
    // holds the password.
    const QString log = QString::fromLatin1(rig.env.readFile("errors.log"));
    QVERIFY(log.startsWith("Date: "));
    QVERIFY2(log.contains(logged) && (key != "ServerURL" || log.contains(value)), qPrintable(log));
    QVERIFY(!log.contains(AppRig::Password));
}

// The desktop's opener takes a second and then fails: the window is not held meanwhile, and the
// failure is shown when the opener reports it.
void MainTest::newsPageOpensWithoutWaiting()
{
#ifdef Q_OS_WIN
    QSKIP("the Windows shell answers at once; a late failure is the desktop opener's (xdg-open)");
#endif
    TestEnv env;
    FakeDesktop desk;
    ScriptedMsgBox boxes;
    env.freshProps();
    Props().setNewsBurstUrl("http://127.0.0.1:9/web/NewsBurst.asp");
    QTemporaryDir bin;
    QFile opener(bin.filePath("xdg-open"));
    QVERIFY(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\nsleep 1\nexit 3\n");
    opener.close();
    QVERIFY(opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit() + ":" + path);
    boxes.expect(vbOK);

    QElapsedTimer clock;
    clock.start();
    ShowNewsBurst();
    const qint64 held = clock.elapsed();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.boxes.size(), 1, 5000);
    qputenv("PATH", path);

    QVERIFY2(held < 500, qPrintable(QString::number(held)));
    QCOMPARE(boxes.boxes[0].text, QString("There was an error showing news burst popup window.\r\n\r\n"
                                          "31- There is no application associated with the given filename extension."));
}

// Reload asked for while a nested loop runs (a modal window, a request's wait): start-up runs
// again only once that loop has ended and control is back in the main loop.
void MainTest::restartWaitsForNestedLoops()
{
    AppRig rig;
    rig.storeAccount();
    QEventLoop mainLoop;
    bool nestedOver = false;
    bool overAtRestart = false;
    int levelAtRestart = -1;
    QTimer::singleShot(0, &mainLoop, [&] {
        QEventLoop nested;
        QueueRestart([&] {
            overAtRestart = nestedOver;
            levelAtRestart = QThread::currentThread()->loopLevel();
        });
        QTimer::singleShot(150, &nested, &QEventLoop::quit);
        nested.exec();
        nestedOver = true;
        QTimer::singleShot(100, &mainLoop, &QEventLoop::quit);
    });
    mainLoop.exec();
    QTRY_COMPARE_WITH_TIMEOUT(rig.window.shown, 1, 5000);

    QVERIFY(overAtRestart);
    QCOMPARE(levelAtRestart, 1);
}
