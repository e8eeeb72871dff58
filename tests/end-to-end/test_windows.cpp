#include "AppRig.h"
#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "VendorSim.h"
#include "app/basMain.h"
#include "core/AppContext.h"
#include "platform/SettingsStore.h"
#include "ui/RegisterWindows.h"
#include "ui/ordering/frmMain.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

// Start-up with the program's own windows against the stand-in server's demo data.
class TestWindows : public QObject
{
    Q_OBJECT

private slots:
    void startShowsTheLoanAndMenusOpenTheirWindows();
};

namespace {

// Triggers a File menu item of the main window and returns the object name of the modal window
// it opened, closing that again; it may appear only after a server request has returned.
QString openFromMenu(QWidget& main, const char* item)
{
    QString seen;
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [&, timer, polls = 0]() mutable {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog && ++polls < 3000)
            return;
        timer->stop();
        timer->deleteLater();
        if (!dialog)
            return;
        seen = dialog->objectName();
        auto* close = dialog->findChild<QAbstractButton*>("cmdCancel");
        QTest::mouseClick(close ? close : dialog->findChild<QAbstractButton*>("cmdOK"), Qt::LeftButton);
    });
    timer->start(5);
    main.findChild<QAction*>(item)->trigger();
    return seen;
}

} // namespace

void TestWindows::startShowsTheLoanAndMenusOpenTheirWindows()
{
    VendorSim sim;
    QVERIFY(sim.start());
    TestEnv env;
    ScriptedMsgBox boxes;
    ShellRecorder shell;
    EndRecorder ending;
    SettingsStore::SaveSetting("OQCREDIT", "Main", "ServerURL", sim.baseUrl());
    SettingsStore::SaveSetting("OQCREDIT", "Main", "UserName", "demo");
    SettingsStore::SaveSetting("OQCREDIT", "Main", "Password", "Demo2026pass");
    env.writeFile("quill/data/.keep", "");
    env.writeFile(env.windows() + "/WINQUILL.INI",
                  "[Directories]\r\nApplication=" + env.path("quill/").toUtf8() + "\r\nFolder0="
                      + env.path("quill/data/").toUtf8() + "\r\n");
    QFile demoLoan(VendorSim::demoCaseDir("recent") + "/EXPORT.DAT");
    QVERIFY(demoLoan.open(QIODevice::ReadOnly));
    env.writeFile("receive/EXPORT.DAT", demoLoan.readAll());

    RegisterWindows();
    QCOMPARE(Main(), StartupOutcome::Started);
    QCOMPARE(sim.requests().filter("action=FIND_REPORT").size(), 1);
    auto* window = dynamic_cast<frmMain*>(WindowHooks::MainWindow());
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->findChild<QLineEdit*>("lblBorLast")->text(), QString("SAMPLE"));
    QVERIFY(window->findChild<QAbstractButton*>("cmdView")->isEnabled());

    // The File menu's account commands open their windows; Change Password by choice closes
    // without the quit question.
    QCOMPARE(openFromMenu(*window, "mnuAbout"), QString("frmAbout"));
    QCOMPARE(openFromMenu(*window, "mnuChangePassword"), QString("frmChangePass"));
    QCOMPARE(openFromMenu(*window, "mnuContactInfo"), QString("frmUpdateContactInfo"));
    QVERIFY(sim.requests().last().contains("Action=GETCONTACTINFO&USER=demo"));
    QCOMPARE(boxes.boxes.size(), 0);
    QCOMPARE(ending.count, 0);

    window->close();
    QCOMPARE(ending.count, 1);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_windows.moc"
