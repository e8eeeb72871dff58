#include "EndRecorder.h"
#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "VendorSim.h"
#include "core/AppContext.h"
#include "app/basMain.h"
#include "platform/SettingsStore.h"
#include "ui/RegisterWindows.h"
#include "ui/account/frmChangePass.h"
#include "ui/ordering/frmMain.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

// Start-up with the program's own windows against the stand-in server's demo data, for the
// account whose password has expired.
class TestExpiredPassword : public QObject
{
    Q_OBJECT

private slots:
    void changeAtStartLeadsToMainWindow();
};

namespace {

// Triggers a File menu item of the main window and returns what the modal window it opened
// (objectName windowName) showed: its title and the texts of the named children. The window is
// closed again on every path; it may appear only after a server request has returned.
QStringList openFromMenu(QWidget& main, const char* item, const QString& windowName, const QStringList& children)
{
    QStringList seen;
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [&, timer, polls = 0]() mutable {
        QWidget* dialog = QApplication::activeModalWidget();
        if ((!dialog || dialog->objectName() != windowName) && ++polls < 3000)
            return;
        timer->stop();
        timer->deleteLater();
        if (!dialog)
            return;
        seen << dialog->windowTitle();
        for (const QString& name : children) {
            QObject* child = dialog->findChild<QObject*>(name);
            seen << (child ? child->property("text").toString() : "<missing " + name + ">");
        }
        auto* close = dialog->findChild<QAbstractButton*>("cmdCancel");
        QTest::mouseClick(close ? close : dialog->findChild<QAbstractButton*>("cmdOK"), Qt::LeftButton);
    });
    timer->start(5);
    main.findChild<QAction*>(item)->trigger();
    return seen;
}

} // namespace

namespace {

const QString kOld = QStringLiteral("Expired2026pass");
const QString kNew = QStringLiteral("Renewed2026pass");

// Fills and confirms the change-password window once start-up shows it; closes it on every path.
void changeWhenAsked(QString& heading)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, &heading, polls = 0]() mutable {
        auto* window = qobject_cast<frmChangePass*>(QApplication::activeModalWidget());
        if (!window && ++polls < 3000)
            return;
        timer->deleteLater();
        timer->stop();
        if (!window) {
            QTest::qFail("The change-password window did not appear", __FILE__, __LINE__);
            return;
        }
        heading = window->findChild<QWidget*>("lblLabels")->property("text").toString();
        QTest::keyClicks(window->findChild<QLineEdit*>("txtOldPassword"), kOld);
        QTest::keyClicks(window->findChild<QLineEdit*>("txtNewPassword"), kNew);
        QTest::keyClicks(window->findChild<QLineEdit*>("txtConfirmPassword"), kNew);
        window->findChild<QCheckBox*>("cbxSavePwd")->setChecked(true);
        QTest::mouseClick(window->findChild<QAbstractButton*>("cmdOK"), Qt::LeftButton);
        if (window->isVisible()) {
            window->setUserInitiated(true);
            window->reject();
        }
    });
    timer->start(5);
}

} // namespace

void TestExpiredPassword::changeAtStartLeadsToMainWindow()
{
    VendorSim sim;
    QVERIFY(sim.start());
    TestEnv env;
    ScriptedMsgBox boxes;
    ShellRecorder shell;
    EndRecorder ending;
    SettingsStore::SaveSetting("OQCREDIT", "Main", "ServerURL", sim.baseUrl());
    SettingsStore::SaveSetting("OQCREDIT", "Main", "UserName", "expired");
    SettingsStore::SaveSetting("OQCREDIT", "Main", "Password", kOld);
    env.writeFile("quill/data/.keep", "");
    env.writeFile(env.windows() + "/WINQUILL.INI",
                  "[Directories]\r\nApplication=" + env.path("quill/").toUtf8() + "\r\nFolder0="
                      + env.path("quill/data/").toUtf8() + "\r\n");
    QFile demoLoan(VendorSim::demoCaseDir("recent") + "/EXPORT.DAT");
    QVERIFY(demoLoan.open(QIODevice::ReadOnly));
    env.writeFile("receive/EXPORT.DAT", demoLoan.readAll());

    RegisterWindows();
    boxes.expect(vbOK);   // "Password changed successfully."
    QString heading;
    changeWhenAsked(heading);
    QCOMPARE(Main(), StartupOutcome::Started);

    QCOMPARE(heading, QString("Your password has expired."));
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].text, QString("Password changed successfully."));
    QCOMPARE(SettingsStore::GetSetting("OQCREDIT", "Main", "Password"), kNew);
    QCOMPARE(ending.count, 0);
    // Start-up went on past the change: the vendor took the new password and the loan is on screen.
    const QStringList requests = sim.requests();
    QVERIFY(requests.size() > 4);
    QVERIFY(requests[1].contains("Action=CHANGEPASSWORD&USER=expired&OLDPASS=" + kOld + "&NEWPASS=" + kNew));
    QVERIFY(requests[2].contains("Action=NEWERVERSION"));
    QVERIFY(requests.filter("action=FIND_REPORT").size() == 1);
    auto* window = dynamic_cast<frmMain*>(WindowHooks::MainWindow());
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->findChild<QLineEdit*>("lblBorLast")->text(), QString("SAMPLE"));
    QVERIFY(window->findChild<QAbstractButton*>("cmdView")->isEnabled());

    // The File menu's account commands open their windows; Change Password by choice closes
    // without the quit question.
    QCOMPARE(openFromMenu(*window, "mnuAbout", "frmAbout", {"lblTitle", "lblPhone"}),
             (QStringList{"About OQCREDIT", "OQCREDIT for Tamsel Credit Services", "(555) 010-0199"}));
    QCOMPARE(openFromMenu(*window, "mnuChangePassword", "frmChangePass", {"lblLabels", "lblUsername"}),
             (QStringList{"Password Expired", "Change Your Password", "expired"}));
    QCOMPARE(openFromMenu(*window, "mnuContactInfo", "frmUpdateContactInfo", {"txtEmail", "txtPhoneNum"}),
             (QStringList{"Update Contact Information", "", ""}));
    QVERIFY(sim.requests().last().contains("Action=GETCONTACTINFO&USER=expired"));
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(ending.count, 0);

    window->close();
    QCOMPARE(ending.count, 1);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestExpiredPassword test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_expired_password.moc"
