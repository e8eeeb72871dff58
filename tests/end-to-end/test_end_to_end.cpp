#include "TestEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QtTest/QTest>

#include <memory>

// The real program, started as its own process in fresh folders.
class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void firstStartRecordsProgramAndCreatesFolders();
    void configurationModeStartsProgramAndEnds_data();
    void configurationModeStartsProgramAndEnds();
};

namespace {

QString programPath()
{
    const QString fromEnv = qEnvironmentVariable("QUILLCLIENT_EXE");
    return fromEnv.isEmpty() ? QCoreApplication::applicationDirPath() + "/quillclient" : fromEnv;
}

void startProgram(QProcess& process, const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(programPath(), arguments);
}

// The program's settings store, read and written here as the program keeps it: on Windows the
// registry branch (this test and the program share the user's registry), elsewhere the INI file.
std::unique_ptr<QSettings> constantsStore(const TestEnv& env)
{
#ifdef Q_OS_WIN
    Q_UNUSED(env);
    return std::make_unique<QSettings>("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\OQConstants",
                                       QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(env.config() + "/QuillClient/OQConstants.ini", QSettings::IniFormat);
#endif
}

} // namespace

void TestEndToEnd::firstStartRecordsProgramAndCreatesFolders()
{
    TestEnv env;
    // Keep every request on this machine: the vendor's default address is not used.
    constantsStore(env)->setValue("Settings/VendorWebsite", "http://127.0.0.1:9");

    QProcess process;
    startProgram(process, {});
    QVERIFY(process.waitForStarted());
    // With nothing stored the settings window waits for the user; the settings are loaded by then.
    QTRY_VERIFY_WITH_TIMEOUT(env.readFile("Client.log").contains("Loaded Settings - UserID:"), 10000);
    process.kill();
    process.waitForFinished();

    const auto store = constantsStore(env);
    QCOMPARE(store->value("Settings/AppName").toString(), QString("OQCREDIT"));
    QCOMPARE(store->value("Settings/AppPath").toString(), QDir::toNativeSeparators(env.home()));
    for (const char* folder : {"send", "receive", "archive"})
        QVERIFY2(QFileInfo(env.path(folder)).isDir(), folder);
    const QList<QByteArray> lines = env.readFile("Client.log").split('\n');
    QVERIFY(lines[0].endsWith("]  Loading Settings\r"));
    int loaded = 0;
    for (const QByteArray& line : lines)
        loaded += line.contains("]  Loaded Settings - ") ? 1 : 0;
    QCOMPARE(loaded, 5);
}

void TestEndToEnd::configurationModeStartsProgramAndEnds_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("withProgram");
    QTest::newRow("/c with the program") << "/c" << true;
    QTest::newRow("/c without the program") << "/c" << false;
}

void TestEndToEnd::configurationModeStartsProgramAndEnds()
{
    QFETCH(QString, commandLine);
    QFETCH(bool, withProgram);
    TestEnv env;
    const QString marker = env.path("configured");
    if (withProgram) {
#ifdef Q_OS_WIN
        // A real program stands in there: it creates "configured" beside itself.
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/quill-mark-started.exe", env.path("OQCFG.EXE")));
#else
        env.writeFile("OQCFG.EXE", "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n");
        QFile::setPermissions(env.path("OQCFG.EXE"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
#endif
    }
    QElapsedTimer clock;
    clock.start();
    QProcess process;
    startProgram(process, commandLine.split(' '));
    // Ends without waiting for the started program or the server; the margin covers a loaded machine.
#ifdef Q_OS_WIN
    // Under Wine a program's start alone takes seconds (its process and DLLs are set up through
    // the Wine server), more on a loaded machine; a wait for the server would still break this.
    const qint64 bound = 15000;
#else
    const qint64 bound = 3000;
#endif
    QVERIFY(process.waitForFinished(int(bound) + 2000));
    QVERIFY2(clock.elapsed() < bound, qPrintable(QString::number(clock.elapsed()) + " ms"));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    if (withProgram)
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 3000);
    else
        QVERIFY(!QFile::exists(env.path("errors.log")));
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "test_end_to_end.moc"
