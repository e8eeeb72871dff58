#include "test_account.h"

#include "AccountRig.h"

#include <QDir>
#include <QTcpServer>

namespace {

const QStringList kBoxes = {"txtServerURL", "txtUserName", "txtPassword", "txtPasswordConfirm"};
const QStringList kAccount = {kUser, kPassword, kPassword};   // user, password, confirmation
const QStringList kAccountKeys = {"SendDir", "ReceiveDir", "ArchiveDir", "ServerURL", "CompanyID", "UserName", "Password"};
const QString kValidate = kUtil + "VALIDATECREDENTIALS&USER=demo&PASSWORD=" + kPassword;

} // namespace

void AccountWindowsTest::localValidationRefusesInOrder_data()
{
    // Entries: server, user, password, confirmation. "SIM" stands for the stand-in server's
    // address. Rows also break rules checked later, so the order shows.
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("server character, last of a long address") << QStringList{"SIM/a/long/path*", "a'b", "", ""}
        << "Server URL contains illegal characters" << "txtServerURL";
    QTest::newRow("user character") << QStringList{"SIM", "o'hara", "p=w", ""} << "User Name contains illegal characters" << "txtUserName";
    QTest::newRow("password character before empty server") << QStringList{"", "", "p&w", ""} << "Password contains illegal characters" << "txtPassword";
    QTest::newRow("confirmation character before empty boxes") << QStringList{"", "", "", "a\"b"}
        << "Confirm password contains illegal characters" << "txtPasswordConfirm";
    QTest::newRow("empty server") << (QStringList{""} + kAccount) << "Please enter a Server URL" << "txtServerURL";
    QTest::newRow("empty user") << QStringList{"SIM", "", "", ""} << "Please enter a User Name" << "txtUserName";
    QTest::newRow("empty password") << QStringList{"SIM", kUser, "", kPassword} << "Please enter a password" << "txtPassword";
    QTest::newRow("empty confirmation") << QStringList{"SIM", kUser, kPassword, ""} << "Please confirm the password" << "txtPasswordConfirm";
    QTest::newRow("confirmation differs in case") << QStringList{"SIM", kUser, kPassword, kPassword.toLower()}
        << "The Password and Confirm Password fields do not match.  Please re-type both fields." << "txtPassword";
}

void AccountWindowsTest::localValidationRefusesInOrder()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    Rig rig;
    entries[0].replace("SIM", rig.sim.baseUrl());
    rig.boxes.expect(vbOK);
    QStringList after;
    whenModal<frmPrefs>([&](frmPrefs& w) {
        enter(w, kBoxes, entries);
        click(w, "cmdOK");
        after << focusedName(w) << QString::number(w.isVisible());
        for (const QString& name : kBoxes)
            after << box(w, name)->text();
    });
    frmPrefs::ShowModal();
    QCOMPARE(rig.shown(0), "OQCREDIT|0|" + message);
    // Only a mismatch empties the two password boxes.
    if (message.startsWith("The Password"))
        entries[2] = entries[3] = QString();
    QCOMPARE(after, QStringList({focus, "1"}) + entries);
    QCOMPARE(rig.sim.requests(), QStringList());
    QCOMPARE(stored("ServerURL"), kAbsent);
}

void AccountWindowsTest::okOutcomes_data()
{
    QTest::addColumn<QString>("server");   // "sim", or "closed": a port nothing listens on
    QTest::addColumn<QString>("answer");   // VALIDATECREDENTIALS' answer; "": the server's own
    QTest::addColumn<bool>("remember");
    QTest::addColumn<bool>("reset");       // Reset first, then OK on what the boxes still show
    QTest::addColumn<QString>("problem");  // the Validation Problem's reason; empty: accepted
    QTest::newRow("password remembered") << "sim" << "" << true << false << "";
    QTest::newRow("password not remembered") << "sim" << "" << false << false << "";
    QTest::newRow("Reset, then OK") << "sim" << "" << true << true << "";
    QTest::newRow("a word meaning success is still a reason") << "sim" << "SUCCESS" << true << false << "SUCCESS";
    QTest::newRow("nothing listening") << "closed" << "" << true << false << "Invalid Internet Connection";
}

// OK: accepted credentials are stored and the window closes; a refusal keeps it open with the
// typed address taken and nothing stored.
void AccountWindowsTest::okOutcomes()
{
    QFETCH(QString, server);
    QFETCH(QString, answer);
    QFETCH(bool, remember);
    QFETCH(bool, reset);
    QFETCH(QString, problem);
    Rig rig;
    QString url = rig.sim.baseUrl();
    if (server == "closed") {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        url = QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
        rig.boxes.expect(vbOK);   // the request's own unreachable-server box
    }
    if (!answer.isEmpty())
        rig.sim.script("VALIDATECREDENTIALS", answer);
    for (const QString& key : kAccountKeys)
        SettingsStore::SaveSetting("OQCREDIT", "Main", key, "old " + key);
    SettingsStore::SaveSetting("OQCREDIT", "Main", "DaysOldTimeFrame", "45");
    Props().setServerURL(reset ? url : "http://old.example");
    Props().setUserName(reset ? kUser : "olduser");
    Props().setPassword(reset ? kPassword : "oldpw");
    if (!problem.isEmpty())
        rig.boxes.expect(vbOK);
    QStringList afterReset;
    bool closedByOK = false;
    bool cancelledWhileStoring = true;
    whenModal<frmPrefs>([&](frmPrefs& w) {
        if (reset) {
            click(w, "cmdReset");
            for (const QString& key : kAccountKeys + QStringList{"DaysOldTimeFrame"})
                afterReset << stored(key);
        } else {
            enter(w, kBoxes, QStringList{url} + kAccount);
            w.findChild<QCheckBox*>("cbxSavePwd")->setChecked(remember);
        }
        click(w, "cmdOK");
        closedByOK = !w.isVisible();
        cancelledWhileStoring = frmPrefs::UserCancelled();
    });
    frmPrefs::ShowModal();
    if (reset)   // Reset empties the account keys of the store only
        QCOMPARE(afterReset, QStringList(kAccountKeys.size(), kAbsent) << "45");
    QCOMPARE(closedByOK, problem.isEmpty());
    QVERIFY(!cancelledWhileStoring);
    QCOMPARE(rig.sim.requests(), server == "closed" ? QStringList() : QStringList(kValidate));
    QVERIFY(rig.desk.hourglassShown > 0);
    QCOMPARE(rig.desk.busyDepth, 0);
    QCOMPARE(rig.ending.count, 0);
    if (!problem.isEmpty()) {
        QCOMPARE(rig.shown(rig.boxes.boxes.size() - 1), "Validation Problem|" + QString::number(vbOKOnly | vbExclamation)
                 + "|Your user credentials could not be validated against our system.\r\nProblem: " + problem);
        QCOMPARE((QStringList{Props().ServerURL(), Props().BaseUrl(), Props().UserName(), Props().Password(), stored("UserName")}),
                 (QStringList{url, url, "olduser", "oldpw", "old UserName"}));
        return;
    }
    QCOMPARE(rig.boxes.boxes.size(), 0);
    QCOMPARE((QStringList{Props().UserName(), Props().Password(), stored("ServerURL"), stored("UserName"), stored("Password"),
                          stored("SendDir")}),
             (QStringList{kUser, kPassword, url, kUser, remember ? kPassword : kAbsent,
                          QDir::toNativeSeparators(rig.env.path("send/"))}));
    QCOMPARE(Props().SavePassword(), remember);
}

void AccountWindowsTest::cancelAsksToQuit_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("No") << int(vbNo);
    QTest::newRow("Yes") << int(vbYes);
}

void AccountWindowsTest::cancelAsksToQuit()
{
    QFETCH(int, answer);
    Rig rig;
    Props().setClientWebsite("www.site.example");
    rig.boxes.expect(answer);
    bool stillOpen = false;
    QString userText, selected;
    whenModal<frmPrefs>([&](frmPrefs& w) {
        // A click into a box selects its whole text, though the click places the cursor after
        // the focus has arrived.
        for (const QString& name : kBoxes) {
            box(w, name)->setText(name);
            box(w, name == kBoxes[0] ? kBoxes[1] : kBoxes[0])->setFocus();
            QTest::mouseClick(box(w, name), Qt::LeftButton, {}, box(w, name)->rect().center());
            QTest::qWait(30);
            selected += box(w, name)->hasFocus() ? box(w, name)->selectedText() : QString();
        }
        box(w, "txtUserName")->clear();
        QTest::keyClicks(box(w, "txtUserName"), "typed");
        click(w, "cmdCancel");
        stillOpen = w.isVisible();
        userText = box(w, "txtUserName")->text();
    });
    frmPrefs::ShowModal();
    QCOMPARE(selected, kBoxes.join(""));
    QCOMPARE(rig.shown(0), "Quit?|" + QString::number(vbYesNo | vbExclamation) + "|You can not access www.site.example"
             "\r\n without a valid Company ID, UserName and Password.\r\n\r\nQuit?");
    const bool quit = answer == vbYes;
    QCOMPARE(stillOpen, !quit);
    QCOMPARE(userText, QString("typed"));
    QCOMPARE(rig.ending.count, quit ? 1 : 0);
    QCOMPARE(WindowHooks::EndRequested(), quit);
    QCOMPARE(stored("UserName"), kAbsent);
    QCOMPARE(rig.sim.requests(), QStringList());
}

void AccountWindowsTest::emptyStoreAtStartOpensSettingsWindow_data()
{
    QTest::addColumn<bool>("quit");
    QTest::newRow("valid account, then the account checks") << false;
    QTest::newRow("Cancel and Yes skip the checks") << true;
}

void AccountWindowsTest::emptyStoreAtStartOpensSettingsWindow()
{
    QFETCH(bool, quit);
    Rig rig;
    const QString server = rig.sim.baseUrl();
    if (quit)
        rig.boxes.expect(vbYes);
    QString serverShown, focused;
    bool closed = false;
    whenModal<frmPrefs>([&](frmPrefs& w) {
        serverShown = box(w, "txtServerURL")->text();
        focused = focusedName(w);
        if (!quit)
            enter(w, kBoxes, QStringList{server} + kAccount);
        click(w, quit ? "cmdCancel" : "cmdOK");
        closed = !w.isVisible();
    });
    QCOMPARE(Main(), StartupOutcome::Started);
    QVERIFY(closed);
    QCOMPARE(serverShown, Vendor::DefaultWebsite);
    QCOMPARE(focused, QString("txtUserName"));   // the first empty box
    QCOMPARE(rig.window.logo, 1);
    QCOMPARE(rig.window.tooltips.first(), "Click for " + Vendor::DefaultWebsite);
    QCOMPARE(rig.ending.count, quit ? 1 : 0);
    QCOMPARE(rig.window.checks, quit ? 0 : 1);
    QCOMPARE(actions(rig.sim.requests()), quit ? QStringList() : (QStringList{"VALIDATECREDENTIALS", "PASSWORDEXPIRED",
                                                                            "NEWERVERSION", "CROSS_COMPANY_REISSUE"}));
    if (!quit) {
        // Once the settings are settled the logo points at the server.
        QCOMPARE(rig.window.tooltips.last(), "Click for " + server);
        QCOMPARE(stored("ServerURL"), server);
        QCOMPARE(stored("Password"), kAbsent);   // no password was known, so none is remembered
    }
}
