#include "test_account.h"

#include "AccountRig.h"

#include <QDir>

namespace {

const QString kNew = QStringLiteral("Fresh2026pass");
const QStringList kPassBoxes = {"txtOldPassword", "txtNewPassword", "txtConfirmPassword"};

} // namespace

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
    rig.account();
    rig.boxes.expect(vbOK);
    QString focused, selection;
    bool stillOpen = false;
    whenModal<frmChangePass>([&](frmChangePass& w) {
        enter(w, kPassBoxes, entries);
        click(w, "cmdOK");
        focused = focusedName(w);
        selection = box(w, focus)->selectedText();
        stillOpen = w.isVisible();
    });
    frmChangePass::ShowModal(true);
    QCOMPARE(rig.shown(0), "Validation Error|" + QString::number(vbOKOnly | vbInformation) + "|" + message);
    QCOMPARE(focused + "|" + (selected.isEmpty() ? QString() : selection), focus + "|" + selected);
    QVERIFY(stillOpen);
    QCOMPARE(rig.sim.requests(), QStringList());
    QCOMPARE(Props().Password(), kPassword);
}

void ChangePassTest::okOutcomes_data()
{
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("answer");     // scripted answer; empty: the server's own
    QTest::addColumn<bool>("remember");
    QTest::addColumn<bool>("userInitiated");
    QTest::addColumn<bool>("storeBroken");   // the settings store cannot be written
    QTest::addColumn<QString>("box");        // title|text of the one box
    const QString done = "Success|Password changed successfully.";
    const QString refused = "Save Password Error|There was an error changing passwords.\r\nError Number: 6001\r\nError: ";
    QTest::newRow("remembered, forced") << kNew << "" << true << false << false << done;
    QTest::newRow("not remembered: the next start asks for the settings") << kNew << "" << false << true << false << done;
    QTest::newRow("success word in lower case") << kNew << "passwordchanged" << true << true << false << done;
    QTest::newRow("the server's policy") << "short" << "" << true << true << false
        << refused + "The new password must be at least 8 characters long.";
    QTest::newRow("a refusal repeating both passwords") << "Other2026pass" << "FAILED: Other2026pass may not follow " + kPassword
        << true << true << false << refused + "FAILED: ***** may not follow *****";
    QTest::newRow("a success word with more after it") << kNew << "PASSWORDCHANGED later" << true << true << false
        << refused + "PASSWORDCHANGED later";
    // The vendor has the new password: the forced window has done its work, and says what failed.
    QTest::newRow("changed but not stored") << kNew << "" << true << false << true
        << "Password Not Saved|Your password was changed at the vendor, but the new password could not be saved on "
           "this computer.\r\n\r\nUse the new password the next time you are asked for it.";
}

// OK sends the stored old password and the trimmed new one; what the vendor answers decides
// what is stored and whether the window closes. No password reaches a log or a box.
void ChangePassTest::okOutcomes()
{
    QFETCH(QString, newPassword);
    QFETCH(QString, answer);
    QFETCH(bool, remember);
    QFETCH(bool, userInitiated);
    QFETCH(bool, storeBroken);
    QFETCH(QString, box);
#ifdef Q_OS_WIN
    if (storeBroken)
        QSKIP("the store is the registry on Windows: a folder in the settings file's place breaks only the INI store");
#endif
    Rig rig;
    rig.account(!storeBroken);
    if (storeBroken)   // a folder where the settings file should be
        QVERIFY(QDir().mkpath(SettingsStore::StoreFile("OQCREDIT")));
    if (!answer.isEmpty())
        rig.sim.script("CHANGEPASSWORD", answer);
    rig.boxes.expect(vbOK);
    QStringList seen;
    bool closed = false;
    whenModal<frmChangePass>([&](frmChangePass& w) {
        seen << w.windowTitle() << w.findChild<QLabel*>("lblLabels")->text() << w.findChild<QLabel*>("lblUsername")->text()
             << QString::number(w.findChild<QCheckBox*>("cbxSavePwd")->isChecked());
        // Blanks around the entries are ignored; the new password is sent and kept trimmed.
        enter(w, kPassBoxes, {"  " + kPassword, " " + newPassword + " ", newPassword + "  "});
        w.findChild<QCheckBox*>("cbxSavePwd")->setChecked(remember);
        click(w, "cmdOK");
        closed = !w.isVisible();
    });
    frmChangePass::ShowModal(userInitiated);
    const bool changed = box.startsWith("Success") || storeBroken;
    QCOMPARE(seen, (QStringList{"Password Expired", userInitiated ? "Change Your Password" : "Your password has expired.",
                                kUser, "0"}));
    QCOMPARE(rig.sim.requests(), QStringList(kUtil + "CHANGEPASSWORD&USER=demo&OLDPASS=" + kPassword + "&NEWPASS=" + newPassword));
    QCOMPARE(rig.boxes.boxes.size(), 1);
    QCOMPARE(rig.boxes.boxes[0].title + "|" + rig.boxes.boxes[0].text, box);
    QCOMPARE(closed, changed);
    QCOMPARE(Props().Password(), changed ? newPassword : kPassword);
    QCOMPARE(rig.ending.count, 0);
    QCOMPARE(rig.desk.busyDepth, 0);
    const QByteArray logs = rig.env.readFile("Client.log") + rig.env.readFile("errors.log");
    QVERIFY(!logs.contains(newPassword.toUtf8()) && !logs.contains(kPassword.toUtf8()));
    if (storeBroken)
        return;
    QCOMPARE(stored("Password"), !changed ? kPassword : remember ? kNew : kAbsent);
    if (!changed)
        QVERIFY(rig.env.readFile("errors.log").contains(box.section("Error: ", 1).toUtf8()));
    // What the next start finds: without a stored password start-up shows the settings window.
    rig.env.freshProps();
    QCOMPARE(LoadSettings(Props()), remember || !changed);
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
    rig.account();
    if (changedBefore) {
        rig.boxes.expect(vbOK);
        whenModal<frmChangePass>([&](frmChangePass& w) {
            enter(w, kPassBoxes, {kPassword, kNew, kNew});
            click(w, "cmdOK");
        });
        frmChangePass::ShowModal(true);
        rig.boxes.boxes.clear();
    }
    if (answer)
        rig.boxes.expect(answer);
    bool stillOpen = false;
    QString typedOld;
    whenModal<frmChangePass>([&](frmChangePass& w) {
        QTest::keyClicks(box(w, "txtOldPassword"), "typed");
        if (how == "Escape")
            QTest::keyClick(&w, Qt::Key_Escape);
        else
            click(w, "cmdCancel");
        stillOpen = w.isVisible();
        typedOld = box(w, "txtOldPassword")->text();
    });
    frmChangePass::ShowModal(userInitiated);
    QCOMPARE(rig.shown(0), answer ? "Change Password|" + QString::number(vbYesNo | vbCritical)
                                        + "|You can not continue without changing your password.\r\n\r\nQuit?" : "|0|");
    QCOMPARE(stillOpen, answer == vbNo);
    if (stillOpen)
        QCOMPARE(typedOld, QString("typed"));
    QCOMPARE(rig.ending.count, answer == vbYes ? 1 : 0);
    QCOMPARE(WindowHooks::EndRequested(), answer == vbYes);
    QCOMPARE(rig.sim.requests().size(), changedBefore ? 1 : 0);
}

void ChangePassTest::policyHelpFromServerOrDefault_data()
{
    QTest::addColumn<int>("httpStatus");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("help");   // caption|text
    const QString fallback = "Help - Default|Your new password must consist of: \n\r\nAtleast 1 upper case letter\r\n"
                             "Atleast 1 lower case letter\r\nAtleast 1 number\n\r\nIt must be 8 or more characters long";
    QTest::newRow("the server's policy") << 200 << "(555) 010-0199||help@vendor.example||Ten characters or more."
                                         << "Help|Ten characters or more.";
    QTest::newRow("server error") << 500 << "oops" << fallback;
    QTest::newRow("two parts only") << 200 << "555||help@vendor.example" << fallback;
}

// A click on the policy label asks the vendor; a failed fetch shows the default policy, and a
// second failure keeps that text.
void ChangePassTest::policyHelpFromServerOrDefault()
{
    QFETCH(int, httpStatus);
    QFETCH(QString, answer);
    QFETCH(QString, help);
    Rig rig;
    rig.account();
    rig.sim.scriptStatus("GETABOUT", httpStatus, answer);
    rig.boxes.expect(vbOK);
    rig.boxes.expect(vbOK);
    QString tooltip;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    whenModal<frmChangePass>([&](frmChangePass& w) {
        auto* label = w.findChild<QLabel*>("lblPasswordSpecs");
        tooltip = label->toolTip();
        cursor = label->cursor().shape();
        QTest::mouseClick(label, Qt::LeftButton);
        rig.sim.scriptStatus("GETABOUT", 500, "down");
        QTest::mouseClick(label, Qt::LeftButton);
    });
    frmChangePass::ShowModal(true);
    QCOMPARE(tooltip, QString("Click for Password Specifications"));
    QCOMPARE(cursor, Qt::WhatsThisCursor);
    QCOMPARE(rig.sim.requests().value(0), kUtil + "GETABOUT&USER=demo&DEPARTMENTID=QDEMO-LOANS");
    const QString info = "|" + QString::number(vbOKOnly | vbInformation) + "|";
    QCOMPARE(rig.shown(0), QString(help).replace("|", info));
    QCOMPARE(rig.shown(1), "Help - Default" + info + frmChangePass::DefaultPasswordSpecs());
    QCOMPARE(rig.desk.busyDepth, 0);
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
    rig.account();
    rig.sim.scriptDrop(action, 2);
    for (int i = 0; i < boxes; ++i)
        rig.boxes.expect(vbOK);
    bool stillOpen = false;
    QString contactBefore;
    if (action == "CHANGEPASSWORD") {
        whenModal<frmChangePass>([&](frmChangePass& w) {
            QTest::mouseClick(w.findChild<QLabel*>("lblPasswordSpecs"), Qt::LeftButton);
            enter(w, kPassBoxes, {kPassword, kNew, kNew});
            click(w, "cmdOK");
            stillOpen = w.isVisible();
        });
        frmChangePass::ShowModal(true);
    } else {
        whenModal<frmUpdateContactInfo>([&](frmUpdateContactInfo& w) {
            contactBefore = Props().UserEmail();
            box(w, "txtEmail")->setText("new@vendor.example");
            click(w, "cmdOK");
            stillOpen = w.isVisible();
        });
        frmUpdateContactInfo::ShowModal();
    }
    QVERIFY(stillOpen);
    QCOMPARE(actions(rig.sim.requests(), false), sent);
    QCOMPARE(rig.boxes.boxes.size(), boxes);
    QVERIFY2(rig.boxes.boxes.last().text.contains("Error Number: -"), qPrintable(rig.boxes.boxes.last().text));
    QCOMPARE(Props().Password(), kPassword);
    QCOMPARE(Props().UserEmail(), contactBefore);
}

void ChangePassTest::expiredPasswordAtStart_data()
{
    QTest::addColumn<bool>("change");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("changed: start-up goes on") << true
        << QStringList{"PASSWORDEXPIRED", "CHANGEPASSWORD", "NEWERVERSION", "CROSS_COMPANY_REISSUE"};
    QTest::newRow("Cancel and Yes: the program ends") << false << QStringList{"PASSWORDEXPIRED"};
}

// Start-up with an expired password shows the forced window before anything else.
void ChangePassTest::expiredPasswordAtStart()
{
    QFETCH(bool, change);
    QFETCH(QStringList, sent);
    Rig rig;
    for (const auto& [key, value] : QList<QPair<QString, QString>>{{"ServerURL", rig.sim.baseUrl()}, {"UserName", kUser},
                                                                   {"Password", kPassword}})
        SettingsStore::SaveSetting("OQCREDIT", "Main", key, value);
    rig.sim.script("PASSWORDEXPIRED", "True");
    rig.boxes.expect(change ? vbOK : vbYes);
    QString heading;
    whenModal<frmChangePass>([&](frmChangePass& w) {
        heading = w.findChild<QLabel*>("lblLabels")->text();
        if (change) {
            enter(w, kPassBoxes, {kPassword, kNew, kNew});
            w.findChild<QCheckBox*>("cbxSavePwd")->setChecked(true);
        }
        click(w, change ? "cmdOK" : "cmdCancel");
    });
    QCOMPARE(Main(), StartupOutcome::Started);
    QCOMPARE(heading, QString("Your password has expired."));
    QCOMPARE(actions(rig.sim.requests()), sent);
    QCOMPARE(rig.window.checks, change ? 1 : 0);
    QCOMPARE(rig.ending.count, change ? 0 : 1);
    QCOMPARE(stored("Password"), change ? kNew : kPassword);
}
