#include "test_ui_account.h"

#include "EndRecorder.h"
#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "VendorSim.h"
#include "app/AppContext.h"
#include "app/basSettings.h"
#include "app/clsProperties.h"
#include "platform/SettingsStore.h"
#include "ui/account/frmPrefs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QString kUser = QStringLiteral("demo");
const QString kPassword = QStringLiteral("Demo2026pass");
const QString kAbsent = QStringLiteral("<absent>");
const QStringList kAccountKeys = {"SendDir", "ReceiveDir", "ArchiveDir", "ServerURL", "CompanyID", "UserName", "Password"};

struct Rig {
    TestEnv env;
    FakeDesktop desk;
    ScriptedMsgBox boxes;
    EndRecorder ending;
    Rig()
    {
        // The settings object as start-up leaves it before the window opens: an empty store.
        env.freshProps();
        LoadSettings(Props());
        frmPrefs::setUserCancelled(false);
    }
};

QString stored(const QString& key)
{
    return SettingsStore::GetSetting("OQCREDIT", "Main", key, kAbsent);
}

// A loopback port with nothing listening on it.
QString closedServerUrl()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}

QLineEdit* box(QWidget& w, const char* name)
{
    return w.findChild<QLineEdit*>(QLatin1String(name));
}

void type(QWidget& w, const char* name, const QString& text)
{
    QLineEdit* b = box(w, name);
    b->clear();
    QTest::keyClicks(b, text);
}

void click(QWidget& w, const char* name)
{
    QTest::mouseClick(w.findChild<QAbstractButton*>(QLatin1String(name)), Qt::LeftButton);
}

void enter(QWidget& w, const QString& server, const QString& user, const QString& password, const QString& confirm)
{
    type(w, "txtServerURL", server);
    type(w, "txtUserName", user);
    type(w, "txtPassword", password);
    type(w, "txtPasswordConfirm", confirm);
}

void closeWithoutQuestion()
{
    if (frmPrefs* left = frmPrefs::loaded()) {
        frmPrefs::setUserCancelled(true);
        frmPrefs::Unload();
        frmPrefs::setUserCancelled(false);
    }
}

// Shows the settings window modally, as start-up does, and runs script on it once its modal
// loop runs. Whatever the script leaves open is closed without the quit question, so the call
// returns on every path.
void showSettings(const std::function<void(frmPrefs&)>& script)
{
    QTimer::singleShot(0, [script] {
        auto* window = qobject_cast<frmPrefs*>(QApplication::activeModalWidget());
        if (window)
            script(*window);
        else
            QTest::qFail("The settings window is not the active modal window", __FILE__, __LINE__);
        closeWithoutQuestion();
    });
    frmPrefs::ShowModal();
}

} // namespace

PrefsTest::PrefsTest() = default;
PrefsTest::~PrefsTest() = default;

void PrefsTest::initTestCase()
{
    m_sim = std::make_unique<VendorSim>();
    QVERIFY(m_sim->start());
}

void PrefsTest::init()
{
    m_sim->reset();
}

void PrefsTest::cleanup()
{
    closeWithoutQuestion();
    frmPrefs::setUserCancelled(false);
}

void PrefsTest::loadShowsStoredAccount_data()
{
    QTest::addColumn<bool>("userCancelled");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("filled");
    QTest::addColumn<bool>("remember");
    QTest::newRow("password known") << false << "pw 1" << true << true;
    QTest::newRow("no password") << false << "" << true << false;
    QTest::newRow("user cancelled leaves boxes empty") << true << "pw 1" << false << false;
}

void PrefsTest::loadShowsStoredAccount()
{
    QFETCH(bool, userCancelled);
    QFETCH(QString, password);
    QFETCH(bool, filled);
    QFETCH(bool, remember);
    Rig rig;
    Props().setServerURL("host.example/q");
    Props().setUserName("dana");
    Props().setPassword(password);
    frmPrefs::setUserCancelled(userCancelled);
    frmPrefs& w = frmPrefs::instance();
    QCOMPARE(w.windowTitle(), QString("Configure Account"));
    QCOMPARE(box(w, "txtServerURL")->text(), filled ? QString("host.example/q") : QString());
    QCOMPARE(box(w, "txtUserName")->text(), filled ? QString("dana") : QString());
    QCOMPARE(box(w, "txtPassword")->text(), filled ? password : QString());
    QCOMPARE(box(w, "txtPasswordConfirm")->text(), filled ? password : QString());
    QCOMPARE(w.findChild<QCheckBox*>("cbxSavePwd")->isChecked(), remember);
    QCOMPARE(box(w, "txtPassword")->echoMode(), QLineEdit::Password);
    QCOMPARE(box(w, "txtPasswordConfirm")->echoMode(), QLineEdit::Password);
}

void PrefsTest::showingFocusesFirstEmptyBox_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("clearConfirm");
    QTest::addColumn<QString>("focus");
    QTest::newRow("nothing known") << "" << "" << "" << false << "txtServerURL";
    QTest::newRow("server only") << "host" << "" << "" << false << "txtUserName";
    QTest::newRow("user but no server") << "" << "dana" << "pw" << false << "txtServerURL";
    QTest::newRow("no password") << "host" << "dana" << "" << false << "txtPassword";
    QTest::newRow("no confirmation") << "host" << "dana" << "pw" << true << "txtPasswordConfirm";
}

void PrefsTest::showingFocusesFirstEmptyBox()
{
    QFETCH(QString, server);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(bool, clearConfirm);
    QFETCH(QString, focus);
    Rig rig;
    Props().setServerURL(server);
    Props().setUserName(user);
    Props().setPassword(password);
    if (clearConfirm)
        box(frmPrefs::instance(), "txtPasswordConfirm")->clear();
    QString focused;
    showSettings([&](frmPrefs& w) { focused = w.focusWidget() ? w.focusWidget()->objectName() : QString(); });
    QCOMPARE(focused, focus);
}

void PrefsTest::focusedBoxSelectsItsText()
{
    Rig rig;
    Props().setServerURL("host");
    Props().setUserName("dana smith");
    Props().setPassword("pw");
    QString selected;
    showSettings([&](frmPrefs& w) {
        w.activateWindow();
        if (!QTest::qWaitForWindowActive(&w))
            return;
        box(w, "txtPassword")->setFocus();
        box(w, "txtUserName")->deselect();
        box(w, "txtUserName")->setFocus();
        selected = box(w, "txtUserName")->selectedText();
    });
    QCOMPARE(selected, QString("dana smith"));
}

void PrefsTest::localValidationRefusesInOrder_data()
{
    // "SIM" stands for the stand-in server's address, so nothing could leave this machine even
    // if a check let the entries through.
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("server ampersand") << "SIM&x" << "a'b" << "" << "" << "Server URL contains illegal characters" << "txtServerURL";
    QTest::newRow("server asterisk at the end") << "SIM/a/long/path/to/nowhere*" << kUser << kPassword << kPassword
                                                << "Server URL contains illegal characters" << "txtServerURL";
    QTest::newRow("user apostrophe") << "SIM" << "o'hara" << "p=w" << "" << "User Name contains illegal characters" << "txtUserName";
    QTest::newRow("password ampersand before empty server") << "" << "" << "p&w" << "" << "Password contains illegal characters" << "txtPassword";
    QTest::newRow("confirmation equals sign") << "" << "" << "" << "p=w" << "Confirm password contains illegal characters" << "txtPasswordConfirm";
    QTest::newRow("confirmation double quote") << "SIM" << kUser << kPassword << "a\"b" << "Confirm password contains illegal characters" << "txtPasswordConfirm";
    QTest::newRow("empty server") << "" << kUser << kPassword << kPassword << "Please enter a Server URL" << "txtServerURL";
    QTest::newRow("empty user") << "SIM" << "" << "" << "" << "Please enter a User Name" << "txtUserName";
    QTest::newRow("empty password") << "SIM" << kUser << "" << kPassword << "Please enter a password" << "txtPassword";
    QTest::newRow("empty confirmation") << "SIM" << kUser << kPassword << "" << "Please confirm the password" << "txtPasswordConfirm";
    QTest::newRow("confirmation differs in case") << "SIM" << kUser << kPassword << kPassword.toLower()
        << "The Password and Confirm Password fields do not match.  Please re-type both fields." << "txtPassword";
    QTest::newRow("confirmation differs by a blank") << "SIM" << kUser << kPassword << kPassword + " "
        << "The Password and Confirm Password fields do not match.  Please re-type both fields." << "txtPassword";
}

void PrefsTest::localValidationRefusesInOrder()
{
    QFETCH(QString, server);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, confirm);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    server.replace("SIM", m_sim->baseUrl());
    const bool mismatch = message.startsWith("The Password");
    Rig rig;
    rig.boxes.expect(vbOK);
    QString focused;
    bool stillOpen = false;
    QStringList boxTexts;
    showSettings([&](frmPrefs& w) {
        enter(w, server, user, password, confirm);
        click(w, "cmdOK");
        focused = w.focusWidget() ? w.focusWidget()->objectName() : QString();
        stillOpen = w.isVisible();
        boxTexts = {box(w, "txtServerURL")->text(), box(w, "txtUserName")->text(), box(w, "txtPassword")->text(),
                    box(w, "txtPasswordConfirm")->text()};
    });
    QCOMPARE(rig.boxes.boxes.size(), 1);
    QCOMPARE(rig.boxes.boxes[0].text, message);
    QCOMPARE(rig.boxes.boxes[0].title, QString("OQCREDIT"));
    QCOMPARE(rig.boxes.boxes[0].style, int(vbOKOnly));
    QCOMPARE(focused, focus);
    QVERIFY(stillOpen);
    const QStringList expectedTexts = mismatch ? QStringList{server, user, "", ""}
                                               : QStringList{server, user, password, confirm};
    QCOMPARE(boxTexts, expectedTexts);
    QCOMPARE(m_sim->requests(), QStringList());
    QCOMPARE(stored("ServerURL"), kAbsent);
}

void PrefsTest::serverRefusalKeepsWindowOpen_data()
{
    QTest::addColumn<QString>("scripted");   // the server's next answer; null: its own judgement
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("request");
    QTest::newRow("reason from the server") << "Account locked." << true << kUser << kPassword << "Account locked."
        << "POST /utils/CGI_Utilities.asp?Action=VALIDATECREDENTIALS&USER=demo&PASSWORD=Demo2026pass";
    QTest::newRow("a word meaning success is still a reason") << "SUCCESS" << true << kUser << kPassword << "SUCCESS"
        << "POST /utils/CGI_Utilities.asp?Action=VALIDATECREDENTIALS&USER=demo&PASSWORD=Demo2026pass";
    QTest::newRow("wrong password") << QString() << true << kUser << "Demo2026PASS" << "Invalid user name or password."
        << "POST /utils/CGI_Utilities.asp?Action=VALIDATECREDENTIALS&USER=demo&PASSWORD=Demo2026PASS";
    QTest::newRow("user name of blanks is sent") << QString() << true << "   " << kPassword << "Invalid user name or password."
        << "POST /utils/CGI_Utilities.asp?Action=VALIDATECREDENTIALS&USER=+++&PASSWORD=Demo2026pass";
    QTest::newRow("nothing listening") << QString() << false << kUser << kPassword << "Invalid Internet Connection" << "";
}

void PrefsTest::serverRefusalKeepsWindowOpen()
{
    QFETCH(QString, scripted);
    QFETCH(bool, reachable);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, problem);
    QFETCH(QString, request);
    Rig rig;
    if (!scripted.isNull())
        m_sim->script("VALIDATECREDENTIALS", scripted);
    const QString server = reachable ? m_sim->baseUrl() : closedServerUrl();
    Props().setServerURL("http://old.example");
    Props().setUserName("olduser");
    Props().setPassword("oldpw");
    if (!reachable)
        rig.boxes.expect(vbOK);   // the unreachable-server box of the request itself
    rig.boxes.expect(vbOK);
    bool stillOpen = false;
    showSettings([&](frmPrefs& w) {
        enter(w, server, user, password, password);
        click(w, "cmdOK");
        stillOpen = w.isVisible();
    });
    QVERIFY(stillOpen);
    QCOMPARE(rig.boxes.boxes.size(), reachable ? 1 : 2);
    if (!reachable)
        QCOMPARE(rig.boxes.boxes[0].title, QString("Invalid Internet Connection Found"));
    const ScriptedMsgBox::Box& shown = rig.boxes.boxes.last();
    QCOMPARE(shown.title, QString("Validation Problem"));
    QCOMPARE(shown.style, int(vbOKOnly | vbExclamation));
    QCOMPARE(shown.text, "Your user credentials could not be validated against our system.\r\nProblem: " + problem);
    QCOMPARE(m_sim->requests(), request.isEmpty() ? QStringList() : QStringList{request});
    // The typed address is taken; the credentials and the store are not.
    QCOMPARE(Props().ServerURL(), server);
    QCOMPARE(Props().BaseUrl(), server);
    QCOMPARE(Props().UserName(), QString("olduser"));
    QCOMPARE(Props().Password(), QString("oldpw"));
    QCOMPARE(stored("ServerURL"), kAbsent);
    QCOMPARE(stored("UserName"), kAbsent);
    QVERIFY(rig.desk.hourglassShown > 0);
    QCOMPARE(rig.desk.busyDepth, 0);
    QCOMPARE(rig.ending.count, 0);
}

void PrefsTest::acceptedCredentialsAreStored_data()
{
    QTest::addColumn<bool>("remember");
    QTest::newRow("password remembered") << true;
    QTest::newRow("password not remembered") << false;
}

void PrefsTest::acceptedCredentialsAreStored()
{
    QFETCH(bool, remember);
    Rig rig;
    SettingsStore::SaveSetting("OQCREDIT", "Main", "Password", "stale");
    bool closedByOK = false;
    bool cancelledWhileStoring = true;
    showSettings([&](frmPrefs& w) {
        enter(w, m_sim->baseUrl(), kUser, kPassword, kPassword);
        w.findChild<QCheckBox*>("cbxSavePwd")->setChecked(remember);
        click(w, "cmdOK");
        closedByOK = !w.isVisible();
        cancelledWhileStoring = frmPrefs::UserCancelled();
    });
    QVERIFY(closedByOK);
    QVERIFY(!cancelledWhileStoring);
    QCOMPARE(frmPrefs::loaded(), nullptr);
    QCOMPARE(rig.boxes.boxes.size(), 0);
    QCOMPARE(rig.ending.count, 0);
    QCOMPARE(m_sim->requests(),
             QStringList{"POST /utils/CGI_Utilities.asp?Action=VALIDATECREDENTIALS&USER=demo&PASSWORD=Demo2026pass"});
    QCOMPARE(Props().UserName(), kUser);
    QCOMPARE(Props().Password(), kPassword);
    QCOMPARE(Props().SavePassword(), remember);
    QCOMPARE(stored("ServerURL"), m_sim->baseUrl());
    QCOMPARE(stored("UserName"), kUser);
    QCOMPARE(stored("Password"), remember ? kPassword : kAbsent);
    QCOMPARE(stored("SendDir"), rig.env.path("send/"));
    QCOMPARE(stored("PollingSleepTime"), QString("3000"));
    QVERIFY(rig.desk.hourglassShown > 0);
    QCOMPARE(rig.desk.busyDepth, 0);
}

void PrefsTest::leavingAsksToQuit_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("answer");
    QTest::newRow("Cancel, then No") << "cancel" << int(vbNo);
    QTest::newRow("Cancel, then Yes") << "cancel" << int(vbYes);
    QTest::newRow("close box, then No") << "close" << int(vbNo);
    QTest::newRow("close box, then Yes") << "close" << int(vbYes);
    QTest::newRow("Escape, then Yes") << "escape" << int(vbYes);
}

void PrefsTest::leavingAsksToQuit()
{
    QFETCH(QString, how);
    QFETCH(int, answer);
    Rig rig;
    Props().setClientWebsite("www.site.example");
    rig.boxes.expect(answer);
    bool stillOpen = false;
    QString userText;
    showSettings([&](frmPrefs& w) {
        type(w, "txtUserName", "typed");
        if (how == "cancel")
            click(w, "cmdCancel");
        else if (how == "close")
            w.close();
        else
            QTest::keyClick(&w, Qt::Key_Escape);
        stillOpen = w.isVisible();
        userText = box(w, "txtUserName")->text();
    });
    QCOMPARE(rig.boxes.boxes.size(), 1);
    QCOMPARE(rig.boxes.boxes[0].title, QString("Quit?"));
    QCOMPARE(rig.boxes.boxes[0].style, int(vbYesNo | vbExclamation));
    QCOMPARE(rig.boxes.boxes[0].text,
             QString("You can not access www.site.example\r\n without a valid Company ID, UserName and Password.\r\n\r\nQuit?"));
    const bool quit = answer == vbYes;
    QCOMPARE(stillOpen, !quit);
    QCOMPARE(userText, QString("typed"));
    QCOMPARE(rig.ending.count, quit ? 1 : 0);
    QCOMPARE(WindowHooks::EndRequested(), quit);
    QCOMPARE(stored("UserName"), kAbsent);
    QCOMPARE(m_sim->requests(), QStringList());
}

void PrefsTest::resetDeletesStoredAccountOnly()
{
    Rig rig;
    for (const QString& key : kAccountKeys)
        SettingsStore::SaveSetting("OQCREDIT", "Main", key, "old " + key);
    SettingsStore::SaveSetting("OQCREDIT", "Main", "DaysOldTimeFrame", "45");
    Props().setServerURL(m_sim->baseUrl());
    Props().setUserName(kUser);
    Props().setPassword(kPassword);
    QStringList afterReset;
    QStringList boxTexts;
    bool closedByOK = false;
    showSettings([&](frmPrefs& w) {
        click(w, "cmdReset");
        for (const QString& key : kAccountKeys)
            afterReset << stored(key);
        afterReset << stored("DaysOldTimeFrame");
        boxTexts = {box(w, "txtServerURL")->text(), box(w, "txtUserName")->text(), box(w, "txtPassword")->text()};
        click(w, "cmdOK");
        closedByOK = !w.isVisible();
    });
    QCOMPARE(afterReset, QStringList(kAccountKeys.size(), kAbsent) << "45");
    QCOMPARE(boxTexts, (QStringList{m_sim->baseUrl(), kUser, kPassword}));
    QCOMPARE(Props().ServerURL(), m_sim->baseUrl());
    // OK after Reset stores what the boxes still show.
    QVERIFY(closedByOK);
    QCOMPARE(stored("ServerURL"), m_sim->baseUrl());
    QCOMPARE(stored("UserName"), kUser);
    QCOMPARE(stored("Password"), kPassword);
    QCOMPARE(rig.boxes.boxes.size(), 0);
}

void PrefsTest::userCancelledUnloadsSilently()
{
    Rig rig;
    Props().setServerURL("host");
    Props().setUserName("dana");
    frmPrefs::instance();
    frmPrefs::setUserCancelled(true);
    QVERIFY(frmPrefs::Unload());
    QCOMPARE(frmPrefs::loaded(), nullptr);
    QCOMPARE(rig.boxes.boxes.size(), 0);
    QCOMPARE(rig.ending.count, 0);
    // Without the flag, unloading asks, and No keeps the window.
    frmPrefs::setUserCancelled(false);
    frmPrefs::instance();
    rig.boxes.expect(vbNo);
    QVERIFY(!frmPrefs::Unload());
    QVERIFY(frmPrefs::loaded() != nullptr);
    QCOMPARE(rig.boxes.boxes.size(), 1);
    QCOMPARE(rig.ending.count, 0);
}
