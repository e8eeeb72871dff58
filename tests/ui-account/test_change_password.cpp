#include "test_account.h"

#include "AccountRig.h"

#include "core/basLog.h"
#include "platform/AppPaths.h"

#include <QDir>
#include <QLabel>

namespace {

const QString kNew = QStringLiteral("Fresh2026pass");
const QString kChange = QStringLiteral("POST /utils/CGI_Utilities.asp?Action=CHANGEPASSWORD&USER=demo&OLDPASS=");
const char* const kPassBoxes[] = {"txtOldPassword", "txtNewPassword", "txtConfirmPassword"};

// The demo account as start-up leaves it once its settings are known.
void knownAccount(VendorSim& sim, bool stored = true)
{
    Props().setServerURL(sim.baseUrl());
    Props().setUserName(kUser);
    Props().setPassword(kPassword);
    Props().setSavePassword(true);
    if (stored)
        SaveSettings(Props());
}

void closeChangePassQuietly()
{
    if (frmChangePass* w = frmChangePass::loaded(); w && w->isVisible()) {
        w->setUserInitiated(true);
        w->reject();
    }
}

// Shows the change-password window as its callers do and runs script on it; whatever the
// script leaves open is closed without the quit question.
void showChangePass(bool userInitiated, const std::function<void(frmChangePass&)>& script)
{
    whenModal<frmChangePass>(script, closeChangePassQuietly);
    frmChangePass::ShowModal(userInitiated);
}

void enterPasswords(QWidget& w, const QStringList& entries)
{
    for (int i = 0; i < 3; ++i) {
        box(w, kPassBoxes[i])->clear();
        QTest::keyClicks(box(w, kPassBoxes[i]), entries[i]);
    }
}

} // namespace

void ChangePassTest::initTestCase()
{
    QVERIFY(m_sim.start());
}

void ChangePassTest::init()
{
    m_sim.reset();
}

void ChangePassTest::localChecksRefuseInOrder_data()
{
    // Entries: old, new, confirmation. Rows also break rules checked later, so the order shows.
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("selected");
    QTest::newRow("old empty") << QStringList{"", "a&b", ""} << "You must provide your existing password."
                               << "txtOldPassword" << "";
    QTest::newRow("old only blanks") << QStringList{"   ", kNew, kNew} << "You must provide your existing password."
                                     << "txtOldPassword" << "";
    QTest::newRow("old differs in case") << QStringList{kPassword.toUpper(), "", ""}
        << "Your existing password does not match what's on file." << "txtOldPassword" << kPassword.toUpper();
    QTest::newRow("new empty") << QStringList{" " + kPassword + " ", "  ", kNew} << "You must provide a new password."
                               << "txtNewPassword" << "";
    QTest::newRow("confirmation empty") << QStringList{kPassword, kNew, ""} << "You must confirm you new password."
                                        << "txtConfirmPassword" << "";
    QTest::newRow("mismatch reported before the ampersand") << QStringList{kPassword, "New&2026pass", "New2026pass"}
        << "Your new password does not match the confirmed one." << "txtNewPassword" << "New&2026pass";
    QTest::newRow("ampersand") << QStringList{kPassword, "New&2026pass", "New&2026pass"}
        << "Your new password can not contain '&' symbol." << "txtNewPassword" << "New&2026pass";
}

void ChangePassTest::localChecksRefuseInOrder()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(QString, selected);
    Rig rig;
    knownAccount(m_sim);
    rig.boxes.expect(vbOK);
    QString focused, selection;
    bool stillOpen = false;
    showChangePass(true, [&](frmChangePass& w) {
        enterPasswords(w, entries);
        click(w, "cmdOK");
        focused = focusedName(w);
        selection = box(w, focus.toLatin1().constData())->selectedText();
        stillOpen = w.isVisible();
    });
    QCOMPARE(rig.boxes.boxes.size(), 1);
    QCOMPARE(rig.boxes.boxes[0].text, message);
    QCOMPARE(rig.boxes.boxes[0].title, QString("Validation Error"));
    QCOMPARE(rig.boxes.boxes[0].style, int(vbOKOnly | vbInformation));
    QCOMPARE(focused, focus);
    if (!selected.isEmpty())
        QCOMPARE(selection, selected);
    QVERIFY(stillOpen);
    QCOMPARE(m_sim.requests(), QStringList());
    QCOMPARE(Props().Password(), kPassword);
}

void ChangePassTest::acceptedChangeIsSentAndStored_data()
{
    QTest::addColumn<QString>("answer");   // scripted answer; empty: the server's own
    QTest::addColumn<bool>("remember");
    QTest::addColumn<bool>("userInitiated");
    QTest::newRow("remembered, forced") << "" << true << false;
    QTest::newRow("not remembered: the next start asks for the settings") << "" << false << true;
    QTest::newRow("success word in lower case") << "passwordchanged" << true << true;
}

void ChangePassTest::acceptedChangeIsSentAndStored()
{
    QFETCH(QString, answer);
    QFETCH(bool, remember);
    QFETCH(bool, userInitiated);
    Rig rig;
    knownAccount(m_sim);
    if (!answer.isEmpty())
        m_sim.script("CHANGEPASSWORD", answer);
    rig.boxes.expect(vbOK);
    QString heading, user, caption;
    bool closed = false;
    showChangePass(userInitiated, [&](frmChangePass& w) {
        heading = w.findChild<QLabel*>("lblLabels")->text();
        user = w.findChild<QLabel*>("lblUsername")->text();
        caption = w.windowTitle();
        QVERIFY(!w.findChild<QCheckBox*>("cbxSavePwd")->isChecked());
        // Blanks around the entries are ignored; the new password is sent and kept trimmed.
        enterPasswords(w, {"  " + kPassword, " " + kNew + " ", kNew + "  "});
        w.findChild<QCheckBox*>("cbxSavePwd")->setChecked(remember);
        click(w, "cmdOK");
        closed = !w.isVisible();
    });
    QVERIFY(closed);
    QCOMPARE(heading, userInitiated ? QString("Change Your Password") : QString("Your password has expired."));
    QCOMPARE(user, kUser);
    QCOMPARE(caption, QString("Password Expired"));
    QCOMPARE(m_sim.requests(), QStringList(kChange + kPassword + "&NEWPASS=" + kNew));
    QCOMPARE(rig.boxes.boxes.size(), 1);
    QCOMPARE(rig.boxes.boxes[0].text, QString("Password changed successfully."));
    QCOMPARE(rig.boxes.boxes[0].title, QString("Success"));
    QCOMPARE(rig.boxes.boxes[0].style, int(vbOKOnly | vbInformation));
    QCOMPARE(Props().Password(), kNew);
    QCOMPARE(Props().SavePassword(), remember);
    QCOMPARE(stored("Password"), remember ? kNew : kAbsent);
    QCOMPARE(rig.ending.count, 0);
    QVERIFY(rig.desk.hourglassShown > 0);
    QCOMPARE(rig.desk.busyDepth, 0);
    // What the next start finds: without a stored password the settings are incomplete, so
    // start-up shows the settings window.
    rig.env.freshProps();
    QCOMPARE(LoadSettings(Props()), remember);
    // Neither password reached a log.
    const QByteArray logs = rig.env.readFile("Client.log") + rig.env.readFile("errors.log");
    QVERIFY(!logs.contains(kNew.toUtf8()));
    QVERIFY(!logs.contains(kPassword.toUtf8()));
}

void ChangePassTest::refusalShowsAnswerWithoutPasswords_data()
{
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("answer");     // scripted answer; empty: the server's own
    QTest::addColumn<QString>("expected");   // the description the box shows
    QTest::newRow("the server's policy") << "short" << ""
        << "The new password must be at least 8 characters long.";
    QTest::newRow("a refusal repeating both passwords") << "Other2026pass"
        << "FAILED: Other2026pass may not follow " + kPassword << "FAILED: ***** may not follow *****";
    QTest::newRow("a success word with more after it") << kNew << "PASSWORDCHANGED later" << "PASSWORDCHANGED later";
}

void ChangePassTest::refusalShowsAnswerWithoutPasswords()
{
    QFETCH(QString, newPassword);
    QFETCH(QString, answer);
    QFETCH(QString, expected);
    Rig rig;
    knownAccount(m_sim);
    if (!answer.isEmpty())
        m_sim.script("CHANGEPASSWORD", answer);
    rig.boxes.expect(vbOK);
    bool stillOpen = false;
    showChangePass(true, [&](frmChangePass& w) {
        enterPasswords(w, {kPassword, newPassword, newPassword});
        w.findChild<QCheckBox*>("cbxSavePwd")->setChecked(true);
        click(w, "cmdOK");
        stillOpen = w.isVisible();
    });
    QVERIFY(stillOpen);
    QCOMPARE(rig.boxes.boxes.size(), 1);
    QCOMPARE(rig.boxes.boxes[0].text,
             "There was an error changing passwords.\r\nError Number: 6001\r\nError: " + expected);
    QCOMPARE(rig.boxes.boxes[0].title, QString("Save Password Error"));
    QCOMPARE(m_sim.requests().size(), 1);
    QCOMPARE(Props().Password(), kPassword);
    QCOMPARE(stored("Password"), kPassword);
    const QByteArray errors = rig.env.readFile("errors.log");
    QVERIFY(errors.contains(expected.toUtf8()));
    QVERIFY(!errors.contains(newPassword.toUtf8()));
    QVERIFY(!errors.contains(kPassword.toUtf8()));
}

void ChangePassTest::changeThatCannotBeStoredSaysSo()
{
    Rig rig;
    knownAccount(m_sim, false);
    // A folder where the settings file should be: the store cannot be written.
    QVERIFY(QDir().mkpath(SettingsStore::StoreFile("OQCREDIT")));
    rig.boxes.expect(vbOK);
    bool closed = false;
    showChangePass(false, [&](frmChangePass& w) {
        enterPasswords(w, {kPassword, kNew, kNew});
        w.findChild<QCheckBox*>("cbxSavePwd")->setChecked(true);
        click(w, "cmdOK");
        closed = !w.isVisible();
    });
    QVERIFY(closed);   // the vendor has the new password: the forced window has done its work
    QCOMPARE(m_sim.requests().size(), 1);
    QCOMPARE(rig.boxes.boxes.size(), 1);
    QCOMPARE(rig.boxes.boxes[0].title, QString("Password Not Saved"));
    QCOMPARE(rig.boxes.boxes[0].text,
             QString("Your password was changed at the vendor, but the new password could not be saved on this "
                     "computer.\r\n\r\nUse the new password the next time you are asked for it."));
    QCOMPARE(rig.boxes.boxes[0].style, int(vbOKOnly | vbExclamation));
    QCOMPARE(Props().Password(), kNew);
    QCOMPARE(rig.ending.count, 0);
}

void ChangePassTest::leavingAsksOnlyWhenForced_data()
{
    QTest::addColumn<bool>("userInitiated");
    QTest::addColumn<bool>("changedBefore");   // a change succeeded earlier in this run
    QTest::addColumn<QString>("how");          // "cmdCancel" or "Escape"
    QTest::addColumn<int>("answer");           // 0: no question expected
    QTest::newRow("by choice, Cancel") << true << false << "cmdCancel" << 0;
    QTest::newRow("forced, Cancel, No") << false << false << "cmdCancel" << int(vbNo);
    QTest::newRow("forced, Escape, Yes") << false << false << "Escape" << int(vbYes);
    QTest::newRow("forced after an earlier change") << false << true << "cmdCancel" << 0;
}

void ChangePassTest::leavingAsksOnlyWhenForced()
{
    QFETCH(bool, userInitiated);
    QFETCH(bool, changedBefore);
    QFETCH(QString, how);
    QFETCH(int, answer);
    Rig rig;
    knownAccount(m_sim);
    if (changedBefore) {
        rig.boxes.expect(vbOK);
        showChangePass(true, [&](frmChangePass& w) {
            enterPasswords(w, {kPassword, kNew, kNew});
            click(w, "cmdOK");
        });
        rig.boxes.boxes.clear();
    }
    if (answer)
        rig.boxes.expect(answer);
    bool stillOpen = false;
    QString typedOld;
    showChangePass(userInitiated, [&](frmChangePass& w) {
        QTest::keyClicks(box(w, "txtOldPassword"), "typed");
        if (how == "Escape")
            QTest::keyClick(&w, Qt::Key_Escape);
        else
            click(w, "cmdCancel");
        stillOpen = w.isVisible();
        typedOld = box(w, "txtOldPassword")->text();
    });
    QCOMPARE(rig.boxes.boxes.size(), answer ? 1 : 0);
    if (answer) {
        QCOMPARE(rig.boxes.boxes[0].text, QString("You can not continue without changing your password.\r\n\r\nQuit?"));
        QCOMPARE(rig.boxes.boxes[0].title, QString("Change Password"));
        QCOMPARE(rig.boxes.boxes[0].style, int(vbYesNo | vbCritical));
    }
    QCOMPARE(stillOpen, answer == vbNo);
    if (stillOpen)
        QCOMPARE(typedOld, QString("typed"));
    QCOMPARE(rig.ending.count, answer == vbYes ? 1 : 0);
    QCOMPARE(WindowHooks::EndRequested(), answer == vbYes);
    QCOMPARE(m_sim.requests().size(), changedBefore ? 1 : 0);
}

void ChangePassTest::policyHelpFromServerOrDefault_data()
{
    QTest::addColumn<int>("httpStatus");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    const QString fallback = frmChangePass::DefaultPasswordSpecs();
    QTest::newRow("the server's policy") << 200 << "(555) 010-0199||help@vendor.example||Ten characters or more."
                                         << "Help" << "Ten characters or more.";
    QTest::newRow("server error") << 500 << "oops" << "Help - Default" << fallback;
    QTest::newRow("two parts only") << 200 << "555||help@vendor.example" << "Help - Default" << fallback;
}

void ChangePassTest::policyHelpFromServerOrDefault()
{
    QFETCH(int, httpStatus);
    QFETCH(QString, answer);
    QFETCH(QString, caption);
    QFETCH(QString, text);
    QCOMPARE(frmChangePass::DefaultPasswordSpecs(),
             QString("Your new password must consist of: \n\r\nAtleast 1 upper case letter\r\nAtleast 1 lower case "
                     "letter\r\nAtleast 1 number\n\r\nIt must be 8 or more characters long"));
    Rig rig;
    knownAccount(m_sim);
    Props().setDepartmentID("QDEMO-LOANS");
    m_sim.scriptStatus("GETABOUT", httpStatus, answer);
    rig.boxes.expect(vbOK);
    rig.boxes.expect(vbOK);
    QString tooltip;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    showChangePass(true, [&](frmChangePass& w) {
        auto* label = w.findChild<QLabel*>("lblPasswordSpecs");
        tooltip = label->toolTip();
        cursor = label->cursor().shape();
        QTest::mouseClick(label, Qt::LeftButton);
        // A second click asks again; the text kept from the first stays when that fails too.
        m_sim.scriptStatus("GETABOUT", 500, "down");
        QTest::mouseClick(label, Qt::LeftButton);
    });
    QCOMPARE(tooltip, QString("Click for Password Specifications"));
    QCOMPARE(cursor, Qt::WhatsThisCursor);
    QCOMPARE(m_sim.requests().first(),
             QString("POST /utils/CGI_Utilities.asp?Action=GETABOUT&USER=demo&DEPARTMENTID=QDEMO-LOANS"));
    QCOMPARE(rig.boxes.boxes.size(), 2);
    QCOMPARE(rig.boxes.boxes[0].title, caption);
    QCOMPARE(rig.boxes.boxes[0].text, text);
    QCOMPARE(rig.boxes.boxes[0].style, int(vbOKOnly | vbInformation));
    QCOMPARE(rig.boxes.boxes[1].title, QString("Help - Default"));
    QCOMPARE(rig.boxes.boxes[1].text, frmChangePass::DefaultPasswordSpecs());
    QCOMPARE(rig.desk.busyDepth, 0);
}

void ChangePassTest::expiredPasswordAtStart_data()
{
    QTest::addColumn<bool>("change");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("changed: start-up goes on") << true
        << QStringList{"PASSWORDEXPIRED", "CHANGEPASSWORD", "NEWERVERSION", "CROSS_COMPANY_REISSUE"};
    QTest::newRow("Cancel and Yes: the program ends") << false << QStringList{"PASSWORDEXPIRED"};
}

void ChangePassTest::expiredPasswordAtStart()
{
    QFETCH(bool, change);
    QFETCH(QStringList, sent);
    Rig rig;
    SettingsStore::SaveSetting("OQCREDIT", "Main", "ServerURL", m_sim.baseUrl());
    SettingsStore::SaveSetting("OQCREDIT", "Main", "UserName", kUser);
    SettingsStore::SaveSetting("OQCREDIT", "Main", "Password", kPassword);
    m_sim.script("PASSWORDEXPIRED", "True");
    rig.boxes.expect(change ? vbOK : vbYes);
    QString heading;
    whenModal<frmChangePass>(
        [&](frmChangePass& w) {
            heading = w.findChild<QLabel*>("lblLabels")->text();
            if (change) {
                enterPasswords(w, {kPassword, kNew, kNew});
                w.findChild<QCheckBox*>("cbxSavePwd")->setChecked(true);
                click(w, "cmdOK");
            } else {
                click(w, "cmdCancel");
            }
        },
        closeChangePassQuietly);
    QCOMPARE(Main(), StartupOutcome::Started);
    QCOMPARE(heading, QString("Your password has expired."));
    QCOMPARE(actionsWithoutRefreshReads(m_sim.requests()), sent);
    QCOMPARE(rig.window.checks, change ? 1 : 0);
    QCOMPARE(rig.ending.count, change ? 0 : 1);
    QCOMPARE(stored("Password"), change ? kNew : kPassword);
}

void ChangePassTest::droppedConnectionSendsOnce_data()
{
    // Both account changes: the connection closes before the answer. The vendor may have acted,
    // so the request must not be sent again; the user sees a failure, not a success. A read goes
    // first, so the change travels on a kept-alive connection (where a resend would happen).
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<int>("boxes");   // the policy help's box, then the failure
    QTest::newRow("change password") << "CHANGEPASSWORD" << QStringList{"GETABOUT", "CHANGEPASSWORD"} << 2;
    QTest::newRow("update contact information") << "UPDATECONTACTINFO"
                                                << QStringList{"GETCONTACTINFO", "UPDATECONTACTINFO"} << 1;
}

void ChangePassTest::droppedConnectionSendsOnce()
{
    QFETCH(QString, action);
    QFETCH(QStringList, sent);
    QFETCH(int, boxes);
    Rig rig;
    knownAccount(m_sim);
    m_sim.scriptDrop(action, 2);
    for (int i = 0; i < boxes; ++i)
        rig.boxes.expect(vbOK);
    bool stillOpen = false;
    QString contactBefore;
    if (action == "CHANGEPASSWORD") {
        showChangePass(true, [&](frmChangePass& w) {
            QTest::mouseClick(w.findChild<QLabel*>("lblPasswordSpecs"), Qt::LeftButton);
            enterPasswords(w, {kPassword, kNew, kNew});
            click(w, "cmdOK");
            stillOpen = w.isVisible();
        });
    } else {
        whenModal<frmUpdateContactInfo>(
            [&](frmUpdateContactInfo& w) {
                contactBefore = Props().UserEmail();
                box(w, "txtEmail")->setText("new@vendor.example");
                click(w, "cmdOK");
                stillOpen = w.isVisible();
            },
            [] { if (frmUpdateContactInfo* w = frmUpdateContactInfo::loaded()) w->reject(); });
        frmUpdateContactInfo::ShowModal();
    }
    QVERIFY(stillOpen);
    QCOMPARE(actions(m_sim.requests()), sent);
    QCOMPARE(rig.boxes.boxes.size(), boxes);
    QVERIFY2(rig.boxes.boxes.last().text.contains("Error Number: -"), qPrintable(rig.boxes.boxes.last().text));
    QCOMPARE(Props().Password(), kPassword);
    if (!contactBefore.isEmpty())
        QCOMPARE(Props().UserEmail(), contactBefore);
}
