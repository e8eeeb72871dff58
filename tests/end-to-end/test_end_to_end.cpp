#include "AppRig.h"
#include "RunTests.h"
#include "app/basMain.h"
#include "platform/SettingsStore.h"
#include "ui/RegisterWindows.h"
#include "ui/ordering/frmMain.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>

namespace {

void startProgram(QProcess& process, const QStringList& arguments, const QString& unset = {})
{
    const QString fromEnv = qEnvironmentVariable("QUILLCLIENT_EXE");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.remove(unset);
    process.setProcessEnvironment(environment);
    process.start(fromEnv.isEmpty() ? QCoreApplication::applicationDirPath() + "/quillclient" : fromEnv, arguments);
}

// Triggers a File menu item of the main window and returns the object name of the modal window
// it opened, closing that again; it may appear only after a server request has returned, and a
// window that fetches when it opens can be closed once that request has ended.
QString openFromMenu(QWidget& main, const char* item)
{
    QString seen;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&, polls = 0]() mutable {
        QWidget* dialog = QApplication::activeModalWidget();
        auto* close = dialog ? dialog->findChild<QAbstractButton*>("cmdCancel") : nullptr;
        if (dialog && !close)
            close = dialog->findChild<QAbstractButton*>("cmdOK");
        if ((!close || !close->isEnabled()) && ++polls < 3000)
            return;
        timer.stop();
        if (!dialog)
            return;
        seen = dialog->objectName();
        QTest::mouseClick(close, Qt::LeftButton);
    });
    timer.start(5);
    main.findChild<QAction*>(item)->trigger();
    return seen;
}

} // namespace

// The program as a user starts it: as its own process in fresh folders, and with its own
// windows against the stand-in server's demo data.
class TestEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void firstStartRecordsProgramAndCreatesFolders()
    {
        TestEnv env;
        // Keep every request on this machine: the vendor's default address is not used.
        SettingsStore::SaveSetting("OQConstants", "Settings", "VendorWebsite", "http://127.0.0.1:9");
        QProcess process;
        startProgram(process, {});
        QVERIFY(process.waitForStarted());
        // With nothing stored the settings window waits for the user; the settings are loaded by then.
        QTRY_VERIFY_WITH_TIMEOUT(env.readFile("Client.log").contains("Loaded Settings - UserID:"), 10000);
        process.kill();
        QVERIFY(process.waitForFinished());

        const auto stored = [](const char* key) { return SettingsStore::GetSetting("OQConstants", "Settings", key); };
        QCOMPARE(stored("AppName") + "|" + stored("AppPath"), "OQCREDIT|" + QDir::toNativeSeparators(env.home()));
        for (const char* folder : {"send", "receive", "archive"})
            QVERIFY2(QFileInfo(env.path(folder)).isDir(), folder);
    }

    // /c starts the configuration program and ends without waiting for it or the server (the
    // margin covers a loaded machine).
    void configurationModeStartsProgramAndEnds()
    {
        TestEnv env;
        const QString marker = env.path("configured");
#ifdef Q_OS_WIN
        // A real program stands in there: it creates "configured" beside itself.
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/quill-mark-started.exe", env.path("OQCFG.EXE")));
#else
        env.writeFile("OQCFG.EXE", "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n");
        QFile::setPermissions(env.path("OQCFG.EXE"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
#endif
        QElapsedTimer clock;
        clock.start();
        QProcess process;
        startProgram(process, {"/c"});
        // Under Wine a program's start alone takes seconds (its process and DLLs are set up through
        // the Wine server), more on a loaded machine; a wait for the server would still break this.
        const qint64 bound = QSysInfo::productType() == "windows" ? 15000 : 3000;
        QVERIFY(process.waitForFinished(int(bound) + 2000));
        QVERIFY2(clock.elapsed() < bound, qPrintable(QString::number(clock.elapsed()) + " ms"));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 3000);
    }

    // Without $QUILLCLIENT_HOME the program's folder (logs, send, receive, archive) is on Windows
    // the user's local, not roaming, data folder, however writable the program's own folder seems;
    // elsewhere the program's own folder while it is writable.
    void configurationModeRecordsTheProgramFolderOfTheUser()
    {
        TestEnv env;
        QProcess process;
        startProgram(process, {"/c"}, "QUILLCLIENT_HOME");
        QVERIFY(process.waitForFinished(20000));
        const QString folder = QSysInfo::productType() == "windows"
            ? qEnvironmentVariable("LOCALAPPDATA") + "\\QuillClient"
            : QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
        QCOMPARE(SettingsStore::GetSetting("OQConstants", "Settings", "AppPath"), folder);
        QVERIFY2(QFileInfo(folder).isDir(), qPrintable(folder));
    }

    // The File menu's account commands open their windows; Change Password by choice closes
    // without the quit question.
    void startShowsTheLoanAndMenusOpenTheirWindows()
    {
        VendorSim sim;
        QVERIFY(sim.start());
        TestEnv env;
        ScriptedMsgBox boxes;
        ShellRecorder shell;
        EndRecorder ending;
        for (const auto& [key, value] :
             {std::pair{"ServerURL", sim.baseUrl()}, {"UserName", "demo"}, {"Password", "Demo2026pass"}})
            SettingsStore::SaveSetting("OQCREDIT", "Main", key, value);
        env.writeFile("quill/data/.keep", "");
        const QString ini =
            "[Directories]\r\nApplication=" + env.path("quill/") + "\r\nFolder0=" + env.path("quill/data/");
        env.writeFile(env.windows() + "/WINQUILL.INI", (ini + "\r\n").toUtf8());
        env.writeFile("receive/EXPORT.DAT", env.readFile(VendorSim::demoCaseDir("recent") + "/EXPORT.DAT"));

        RegisterWindows();
        QCOMPARE(Main(), StartupOutcome::Started);
        auto* window = dynamic_cast<frmMain*>(WindowHooks::MainWindow());
        QVERIFY(window && window->isVisible());
        // The account is changed only once the checks are done: the password check may still open its window.
        const auto changeable = [window] {
            return window->findChild<QAction*>("mnuChangePassword")->isEnabled()
                + window->findChild<QAction*>("mnuContactInfo")->isEnabled();
        };
        QCOMPARE(changeable(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!StartupRunning(), 20000); // start-up and its check have ended
        QCOMPARE(sim.requests().filter("action=FIND_REPORT").size(), 1);
        QCOMPARE(changeable(), 2);
        QCOMPARE(window->findChild<QLineEdit*>("lblBorLast")->text(), QString("SAMPLE"));
        QVERIFY(window->findChild<QAbstractButton*>("cmdView")->isEnabled());
        QCOMPARE(openFromMenu(*window, "mnuAbout"), QString("frmAbout"));
        QCOMPARE(openFromMenu(*window, "mnuChangePassword"), QString("frmChangePass"));
        QCOMPARE(openFromMenu(*window, "mnuContactInfo"), QString("frmUpdateContactInfo"));
        QVERIFY(sim.requests().last().contains("Action=GETCONTACTINFO&USER=demo"));
        QCOMPARE(boxes.boxes.size(), 0);
        QCOMPARE(ending.count, 0);
        window->close();
        QCOMPARE(ending.count, 1);
    }
};

QUILL_TEST_MAIN(TestEndToEnd)

#include "test_end_to_end.moc"
