#include "test_account.h"

#include "AccountRig.h"


void AccountWindowsTest::initTestCase()
{
    QVERIFY(m_sim.start());
}

void AccountWindowsTest::init()
{
    m_sim.reset();
}

void AccountWindowsTest::clickSelectsWholeText_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : kBoxes)
        QTest::newRow(name) << QString::fromLatin1(name);
}

// A click into a box selects its whole text, though the click places the cursor after the
// focus has arrived.
void AccountWindowsTest::clickSelectsWholeText()
{
    QFETCH(QString, name);
    Rig rig;
    QString selected;
    bool focused = false;
    showSettings([&](frmPrefs& w) {
        QLineEdit* target = box(w, qPrintable(name));
        target->setText("some text here");
        box(w, name == kBoxes[0] ? kBoxes[1] : kBoxes[0])->setFocus();
        QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
        QTest::qWait(30);
        selected = target->selectedText();
        focused = target->hasFocus();
    });
    QVERIFY(focused);
    QCOMPARE(selected, QString("some text here"));
}

void AccountWindowsTest::localValidationRefusesInOrder_data()
{
    // Entries: server, user, password, confirmation. "SIM" stands for the stand-in server's
    // address, so nothing could leave this machine even if a check let the entries through.
    // Rows also break rules checked later, so the order shows.
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString mismatch = "The Password and Confirm Password fields do not match.  Please re-type both fields.";
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
    QTest::newRow("confirmation differs in case") << QStringList{"SIM", kUser, kPassword, kPassword.toLower()} << mismatch << "txtPassword";
}

void AccountWindowsTest::localValidationRefusesInOrder()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    entries[0].replace("SIM", m_sim.baseUrl());
    Rig rig;
    rig.boxes.expect(vbOK);
    QString focused;
    bool stillOpen = false;
    QStringList shown;
    showSettings([&](frmPrefs& w) {
        enter(w, entries);
        click(w, "cmdOK");
        focused = focusedName(w);
        stillOpen = w.isVisible();
        for (const char* name : kBoxes)
            shown << box(w, name)->text();
    });
    QCOMPARE(rig.boxes.boxes.size(), 1);
    QCOMPARE(rig.boxes.boxes[0].text, message);
    QCOMPARE(rig.boxes.boxes[0].title, QString("OQCREDIT"));
    QCOMPARE(focused, focus);
    QVERIFY(stillOpen);
    // Only a mismatch empties the two password boxes.
    if (message.startsWith("The Password"))
        entries[2] = entries[3] = QString();
    QCOMPARE(shown, entries);
    QCOMPARE(m_sim.requests(), QStringList());
    QCOMPARE(stored("ServerURL"), kAbsent);
}

void AccountWindowsTest::serverRefusalKeepsWindowOpen_data()
{
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<QString>("problem");
    QTest::newRow("a word meaning success is still a reason") << true << "SUCCESS";
    QTest::newRow("nothing listening") << false << "Invalid Internet Connection";
}

void AccountWindowsTest::serverRefusalKeepsWindowOpen()
{
    QFETCH(bool, reachable);
    QFETCH(QString, problem);
    Rig rig;
    QString server = m_sim.baseUrl();
    if (reachable) {
        m_sim.script("VALIDATECREDENTIALS", problem);
    } else {
        QTcpServer probe;   // a loopback port with nothing listening on it
        probe.listen(QHostAddress::LocalHost, 0);
        server = QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
        probe.close();
        rig.boxes.expect(vbOK);   // the unreachable-server box of the request itself
    }
    Props().setServerURL("http://old.example");
    Props().setUserName("olduser");
    Props().setPassword("oldpw");
    rig.boxes.expect(vbOK);
    bool stillOpen = false;
    showSettings([&](frmPrefs& w) {
        enter(w, QStringList{server} + kAccount);
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
    QCOMPARE(m_sim.requests(), reachable ? QStringList(kValidate + kPassword) : QStringList());
    // The typed address is taken; the credentials and the store are not.
    QCOMPARE((QStringList{Props().ServerURL(), Props().BaseUrl(), Props().UserName(), Props().Password()}),
             (QStringList{server, server, "olduser", "oldpw"}));
    QCOMPARE((QStringList{stored("ServerURL"), stored("UserName")}), (QStringList{kAbsent, kAbsent}));
    QVERIFY(rig.desk.hourglassShown > 0);
    QCOMPARE(rig.desk.busyDepth, 0);
    QCOMPARE(rig.ending.count, 0);
}

void AccountWindowsTest::acceptedCredentialsAreStored_data()
{
    QTest::addColumn<bool>("remember");
    QTest::addColumn<bool>("reset");
    QTest::newRow("password remembered") << true << false;
    QTest::newRow("password not remembered") << false << false;
    // Reset empties the account keys of the store only; OK then stores what the boxes, filled
    // from the settings object, still show, the password remembered because one was known.
    QTest::newRow("Reset, then OK") << true << true;
}

void AccountWindowsTest::acceptedCredentialsAreStored()
{
    QFETCH(bool, remember);
    QFETCH(bool, reset);
    Rig rig;
    for (const QString& key : kAccountKeys)
        SettingsStore::SaveSetting("OQCREDIT", "Main", key, "old " + key);
    SettingsStore::SaveSetting("OQCREDIT", "Main", "DaysOldTimeFrame", "45");
    if (reset) {
        Props().setServerURL(m_sim.baseUrl());
        Props().setUserName(kUser);
        Props().setPassword(kPassword);
    }
    QStringList afterReset;
    bool closedByOK = false;
    bool cancelledWhileStoring = true;
    showSettings([&](frmPrefs& w) {
        if (reset) {
            click(w, "cmdReset");
            for (const QString& key : kAccountKeys + QStringList{"DaysOldTimeFrame"})
                afterReset << stored(key);
        } else {
            enter(w, QStringList{m_sim.baseUrl()} + kAccount);
            w.findChild<QCheckBox*>("cbxSavePwd")->setChecked(remember);
        }
        click(w, "cmdOK");
        closedByOK = !w.isVisible();
        cancelledWhileStoring = frmPrefs::UserCancelled();
    });
    if (reset)
        QCOMPARE(afterReset, QStringList(kAccountKeys.size(), kAbsent) << "45");
    QVERIFY(closedByOK);
    QVERIFY(!cancelledWhileStoring);
    QCOMPARE(rig.boxes.boxes.size(), 0);
    QCOMPARE(rig.ending.count, 0);
    QCOMPARE(m_sim.requests(), QStringList(kValidate + kPassword));
    QCOMPARE((QStringList{Props().UserName(), Props().Password()}), (QStringList{kUser, kPassword}));
    QCOMPARE(Props().SavePassword(), remember);
    QCOMPARE(stored("ServerURL"), m_sim.baseUrl());
    QCOMPARE(stored("UserName"), kUser);
    QCOMPARE(stored("Password"), remember ? kPassword : kAbsent);
    QCOMPARE(stored("SendDir"), rig.env.path("send/"));
    QVERIFY(rig.desk.hourglassShown > 0);
    QCOMPARE(rig.desk.busyDepth, 0);
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
    QString userText;
    showSettings([&](frmPrefs& w) {
        QTest::keyClicks(box(w, "txtUserName"), "typed");
        click(w, "cmdCancel");
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
    QCOMPARE(m_sim.requests(), QStringList());
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
    const QString server = m_sim.baseUrl();
    if (quit)
        rig.boxes.expect(vbYes);
    QString serverShown, focused;
    bool closed = false;
    whenModal<frmPrefs>(
        [&](frmPrefs& w) {
            serverShown = box(w, "txtServerURL")->text();
            focused = focusedName(w);
            if (!quit)
                enter(w, QStringList{server} + kAccount);
            click(w, quit ? "cmdCancel" : "cmdOK");
            closed = !w.isVisible();
        },
        closeSettingsWithoutQuestion);
    QCOMPARE(Main(), StartupOutcome::Started);
    QVERIFY(closed);
    QCOMPARE(serverShown, Vendor::DefaultWebsite);
    QCOMPARE(focused, QString("txtUserName"));   // the first empty box
    QCOMPARE(rig.window.logo, 1);
    QCOMPARE(rig.window.tooltips.first(), "Click for " + Vendor::DefaultWebsite);
    QCOMPARE(rig.boxes.boxes.size(), quit ? 1 : 0);
    QCOMPARE(rig.ending.count, quit ? 1 : 0);
    QCOMPARE(rig.window.checks, quit ? 0 : 1);
    QCOMPARE(actionsWithoutRefreshReads(m_sim.requests()), quit ? QStringList() : (QStringList{"VALIDATECREDENTIALS", "PASSWORDEXPIRED",
                                                                              "NEWERVERSION", "CROSS_COMPANY_REISSUE"}));
    if (!quit) {
        // Once the settings are settled the logo points at the server.
        QCOMPARE(rig.window.tooltips.last(), "Click for " + server);
        QCOMPARE(stored("ServerURL"), server);
        QCOMPARE(stored("Password"), kAbsent);   // no password was known, so none is remembered
    }
}
