#include "test_ui_account.h"

#include "EndRecorder.h"
#include "ModalDriver.h"
#include "RecordingMainWindow.h"
#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "VendorSim.h"
#include "app/WindowHooks.h"
#include "app/basMain.h"
#include "platform/SettingsStore.h"
#include "ui/account/AccountWindows.h"
#include "ui/account/frmPasswordExpired.h"
#include "ui/account/frmPrefs.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

// Start-up with the account windows registered as the program registers them, and a main
// window that records.
struct Rig {
    TestEnv env;
    FakeDesktop desk;
    ShellRecorder shell;
    ScriptedMsgBox boxes;
    EndRecorder ending;
    RecordingMainWindow window;
    Rig()
    {
        StartupLinks::SetMainWindowFactory([this] { return &window; });
        RegisterAccountWindows();
        frmPrefs::setUserCancelled(false);
    }
    ~Rig()
    {
        StartupLinks::SetMainWindowFactory(nullptr);
        StartupLinks::ShowSettingsWindow() = nullptr;
        WindowHooks::ShowChangePassword() = nullptr;
        SetCommandLine(QString());
    }
};

void storeAccount(const QString& server)
{
    SettingsStore::SaveSetting("OQCREDIT", "Main", "ServerURL", server);
    SettingsStore::SaveSetting("OQCREDIT", "Main", "UserName", "demo");
    SettingsStore::SaveSetting("OQCREDIT", "Main", "Password", "Demo2026pass");
}

void closeSettingsWithoutQuestion()
{
    frmPrefs::setUserCancelled(true);
    frmPrefs::Unload();
    frmPrefs::setUserCancelled(false);
}

void type(QWidget& w, const char* name, const QString& text)
{
    auto* box = w.findChild<QLineEdit*>(QLatin1String(name));
    box->clear();
    QTest::keyClicks(box, text);
}

void click(QWidget& w, const char* name)
{
    QTest::mouseClick(w.findChild<QAbstractButton*>(QLatin1String(name)), Qt::LeftButton);
}

// The action names of the requests the server received, in order.
QStringList actions(const QStringList& requests)
{
    QStringList names;
    for (const QString& line : requests) {
        const qsizetype at = line.indexOf(QLatin1String("Action="), 0, Qt::CaseInsensitive);
        names << (at < 0 ? line : line.mid(at + 7).section(QLatin1Char('&'), 0, 0));
    }
    return names;
}

} // namespace

StartupAccountTest::StartupAccountTest() = default;
StartupAccountTest::~StartupAccountTest() = default;

void StartupAccountTest::initTestCase()
{
    m_sim = std::make_unique<VendorSim>();
    QVERIFY(m_sim->start());
}

void StartupAccountTest::init()
{
    m_sim->reset();
}

void StartupAccountTest::cleanup()
{
    if (frmPrefs::loaded())
        closeSettingsWithoutQuestion();
}

void StartupAccountTest::settingsWindowAtStartThenChecks()
{
    Rig rig;
    const QString server = m_sim->baseUrl();
    bool typedAndConfirmed = false;
    whenModal<frmPrefs>(
        [&](frmPrefs& w) {
            type(w, "txtServerURL", server);
            type(w, "txtUserName", "demo");
            type(w, "txtPassword", "Demo2026pass");
            type(w, "txtPasswordConfirm", "Demo2026pass");
            click(w, "cmdOK");
            typedAndConfirmed = !w.isVisible();
        },
        [] { if (frmPrefs::loaded()) closeSettingsWithoutQuestion(); });
    QCOMPARE(Main(), StartupOutcome::Started);
    QVERIFY(typedAndConfirmed);
    QCOMPARE(frmPrefs::loaded(), nullptr);
    QCOMPARE(actions(m_sim->requests()),
             (QStringList{"VALIDATECREDENTIALS", "PASSWORDEXPIRED", "NEWERVERSION", "CROSS_COMPANY_REISSUE"}));
    QCOMPARE(rig.window.checks, 1);
    QCOMPARE(rig.window.tooltips.last(), "Click for " + server);
    QCOMPARE(rig.boxes.boxes.size(), 0);
    QCOMPARE(SettingsStore::GetSetting("OQCREDIT", "Main", "ServerURL"), server);
}

void StartupAccountTest::quittingSettingsWindowSkipsChecks()
{
    Rig rig;
    rig.boxes.expect(vbYes);
    whenModal<frmPrefs>([](frmPrefs& w) { click(w, "cmdCancel"); },
                        [] { if (frmPrefs::loaded()) closeSettingsWithoutQuestion(); });
    QCOMPARE(Main(), StartupOutcome::Started);
    QCOMPARE(rig.boxes.boxes.size(), 1);
    QCOMPARE(rig.boxes.boxes[0].title, QString("Quit?"));
    QCOMPARE(rig.ending.count, 1);
    QVERIFY(WindowHooks::EndRequested());
    QCOMPARE(m_sim->requests(), QStringList());
    QCOMPARE(rig.window.checks, 0);
}

void StartupAccountTest::expiredPasswordWindow_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<int>("existingChecks");
    QTest::newRow("continue") << "cmdContinue"
                              << QStringList{"PASSWORDEXPIRED", "NEWERVERSION", "CROSS_COMPANY_REISSUE"} << 1;
    QTest::newRow("quit") << "cmdQuit" << QStringList{"PASSWORDEXPIRED"} << 0;
}

void StartupAccountTest::expiredPasswordWindow()
{
    QFETCH(QString, button);
    QFETCH(QStringList, sent);
    QFETCH(int, existingChecks);
    Rig rig;
    storeAccount(m_sim->baseUrl());
    m_sim->script("PASSWORDEXPIRED", "True");
    QString title, heading;
    whenModal<frmPasswordExpired>(
        [&](frmPasswordExpired& w) {
            title = w.windowTitle();
            heading = w.findChild<QLabel*>("lblHeading")->text();
            click(w, button.toLatin1().constData());
        },
        [] {
            if (frmPasswordExpired* left = frmPasswordExpired::loaded())
                left->accept();
        });
    QCOMPARE(Main(), StartupOutcome::Started);
    QCOMPARE(title, QString("Password Expired"));
    QCOMPARE(heading, QString("Your password has expired."));
    QCOMPARE(frmPasswordExpired::loaded(), nullptr);
    QCOMPARE(actions(m_sim->requests()), sent);
    QCOMPARE(rig.window.checks, existingChecks);
    QCOMPARE(rig.ending.count, existingChecks ? 0 : 1);
    QCOMPARE(rig.boxes.boxes.size(), 0);
}
