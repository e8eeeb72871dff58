// The account windows (settings, change password, contact information, about) driven through
// their controls against the stand-in server, also as start-up opens them.

#include "AppRig.h"
#include "ModalDriver.h"
#include "RunTests.h"
#include "app/basMain.h"
#include "core/basSettings.h"
#include "platform/ProtectedSecret.h"
#include "platform/SettingsStore.h"
#include "service/basTransport.h"
#include "ui/account/AccountWindows.h"
#include "ui/account/frmAbout.h"
#include "ui/account/frmChangePass.h"
#include "ui/account/frmPrefs.h"
#include "ui/account/frmUpdateContactInfo.h"
#include "ui/ordering/ImageList.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>

class AccountWindowsTest : public QObject
{
    Q_OBJECT
private slots:
    void messages_data();
    void messages();
};

namespace {

// Leaves a window without any question, whatever a script left open, so the caller's ShowModal
// returns on every path.
void leaveQuietly(QWidget* window)
{
    if (qobject_cast<frmPrefs*>(window)) {
        frmPrefs::setUserCancelled(true);
        frmPrefs::Unload();
        frmPrefs::setUserCancelled(false);
    } else if (window->isVisible()) {
        window->setProperty("UserInitiated", true);
        QMetaObject::invokeMethod(window, "reject");
    }
}

// The window's work has ended: no request in flight, and OK usable again (or the window gone).
// No request runs and the window waits for the user: OK, or Cancel alone where nothing can be sent.
bool settled(QWidget* window)
{
    const auto pressable = [window](const char* name) {
        const QWidget* button = window->findChild<QWidget*>(name);
        return button && button->isEnabled();
    };
    return PostsRunning() == 0 && (!window->isVisible() || pressable("cmdOK") || pressable("cmdCancel"));
}

// One row of the table (see messages_data()).
struct Scene {
    QString window; // prefs, pass (by choice), forced, contact, about; "start prefs", "start pass"
    QStringList given, entries, presses;
    int answer;
    QStringList boxes, sent, after;
};

const QString kNew = QStringLiteral("Fresh2026pass");

// What the window shows for key (see messages_data()).
QString windowState(QWidget& w, const QString& key)
{
    if (key == "open")
        return QString::number(w.isVisible());
    if (key == "focus")
        return w.focusWidget() ? w.focusWidget()->objectName() : QString();
    if (key == "title")
        return w.windowTitle();
    if (key == "logo") {
        const QImage shown = w.findChild<QLabel*>("picIcon")->pixmap().toImage();
        const ImageList logos;
        return shown == logos.picture(1).toImage() ? "1" : shown == logos.picture(2).toImage() ? "2" : "?";
    }
    if (key == "plain") { // texts from the server and the settings are never markup or links
        bool plain = true;
        for (const char* other : {"lblTitle", "lblWebsite", "lblPhone", "lblEmail"})
            plain = plain && w.findChild<QLabel*>(other)->textFormat() == Qt::PlainText;
        return QString::number(plain);
    }
    return key.startsWith("txt") ? w.findChild<QLineEdit*>(key)->text() : w.findChild<QLabel*>(key)->text();
}

bool isWindowKey(const QString& key)
{
    return QStringList{"open", "focus", "title", "logo", "plain"}.contains(key)
        || QStringList{"txt", "lbl"}.contains(key.left(3));
}

// What the run holds afterwards for key; for the logs, the expected text when they hold it.
QString runState(AppRig& rig, const QString& key, const QString& expected)
{
    const clsProperties& p = Props();
    QStringList starts;
    for (const ShellRecorder::Call& call : rig.shell.calls)
        starts << call.verb + " " + QDir::fromNativeSeparators(call.target) + " " + QString::number(call.showCommand)
                + " [" + call.arguments.join(",") + "]";
    const QString log = QString::fromLatin1(rig.env.readFile("errors.log"));
    // clang-format off
    const QMap<QString, QString> props = {{"ServerURL", p.ServerURL()}, {"BaseUrl", p.BaseUrl()},
        {"UserName", p.UserName()}, {"Password", p.Password()}, {"SavePassword", QString::number(p.SavePassword())},
        {"contact", p.UserEmail() + "|" + p.UserPhone() + "|" + p.UserPhoneExt()},
        {"ended", QString::number(rig.ending.count)}, {"quit", QString::number(WindowHooks::EndRequested())},
        {"checks", QString::number(rig.window.checks)}, {"hourglass", QString::number(rig.desk.hourglassShown > 0)},
        {"starts", starts.join(" / ")}, {"errors.log", log.contains(expected) ? expected : log}};
    // clang-format on
    if (key == "remembered")
        return TestEnv::rememberedPassword();
    if (key.startsWith("store:")) // folders are stored in the system's form, compared with "/"
        return QDir::fromNativeSeparators(SettingsStore::GetSetting("OQCREDIT", "Main", key.mid(6), "<absent>"));
    return props.value(key, "<unknown key>");
}

} // namespace

// The account windows' messages and outcomes. Each row opens a window (by ShowModal, or at
// start-up), sets the scene, types the entries ("name=value", into the box as a user does; a
// check box is set), presses buttons, Escape or labels in order, each once the work of the one
// before has ended ("a b": b at once after a), answers the boxes (the first with answer, the
// rest with OK), and compares the boxes shown ("title|style|text"; "*": any; "~text": containing
// text), the requests sent (after "Action="; at start-up without the account reads sent ahead)
// and the state afterwards ("key=value", in any order). SIM stands for the stand-in server,
// CLOSED for an address nothing listens on (the discard port), HOME for the program's folder, TMP
// for a temporary folder.
//   given: account[:unsaved], stored (the account in the store), storeBroken, script:ACTION:status:body,
//     drop:ACTION, store:KEY=value, protected:PASSWORD (its protected copy), set:PROPERTY=value,
//     path:PROGRAM (TMP alone on PATH).
//   after, read from the window once the presses are done: open, focus, title, logo, plain (the
//     about texts are plain text), a box or label by name.
//   after, read from the run once the window is gone: ServerURL, BaseUrl, UserName, Password,
//     SavePassword, remembered (the password a next start finds), contact (e-mail|telephone|extension),
//     store:KEY, ended (program ends asked for), quit (the ending state), checks, hourglass (shown at
//     all), starts (the shell's program starts), errors.log (holding the value).
void AccountWindowsTest::messages_data()
{
    QTest::addColumn<Scene>("row");
    using L = QStringList;
    const QString pw = AppRig::Password;
    const auto prefs = [](const QString& server, const QString& user, const QString& pass, const QString& confirm) {
        return L{"txtServerURL=" + server, "txtUserName=" + user, "txtPassword=" + pass,
                 "txtPasswordConfirm=" + confirm};
    };
    const auto passes = [](const QString& old, const QString& fresh, const QString& confirm) {
        return L{"txtOldPassword=" + old, "txtNewPassword=" + fresh, "txtConfirmPassword=" + confirm};
    };
    const auto contact = [](const QString& email, const QString& phone, const QString& ext) {
        return L{"txtEmail=" + email, "txtPhoneNum=" + phone, "txtPhoneExt=" + ext};
    };
    const auto row = [](const char* name, const QString& window, const L& given, const L& entries, const L& presses,
                        int answer, const L& boxes, const L& sent, const L& after) {
        QTest::newRow(name) << Scene{window, given, entries, presses, answer, boxes, sent, after};
    };
    const L ok{"cmdOK"};
    const L account{"account"};

    // The settings window's checks, in order: rows also break rules checked later.
    const auto prefsRefusal = [&](const char* name, const L& entries, const QString& text, const QString& focus) {
        row(name, "prefs", {}, entries, ok, vbOK, {"OQCREDIT|Plain|" + text}, {},
            {"open=1", "focus=" + focus, "store:ServerURL=<absent>"});
    };
    const QString illegal = " contains illegal characters";
    prefsRefusal("server character", prefs("SIM/a/long/path*", "a'b", "", ""), "Server URL" + illegal, "txtServerURL");
    prefsRefusal("user character", prefs("SIM", "o'hara", "p=w", ""), "User Name" + illegal, "txtUserName");
    prefsRefusal("password character before empty server", prefs("", "", "p&w", ""), "Password" + illegal,
                 "txtPassword");
    prefsRefusal("confirmation character", prefs("", "", "", "a\"b"), "Confirm password" + illegal,
                 "txtPasswordConfirm");
    prefsRefusal("empty server", prefs("", "demo", pw, pw), "Please enter a Server URL", "txtServerURL");
    prefsRefusal("empty user", prefs("SIM", "", "", ""), "Please enter a User Name", "txtUserName");
    prefsRefusal("empty password", prefs("SIM", "demo", "", pw), "Please enter a password", "txtPassword");
    prefsRefusal("empty confirmation", prefs("SIM", "demo", pw, ""), "Please confirm the password",
                 "txtPasswordConfirm");
    // Only a mismatch empties the two password boxes.
    row("confirmation differs in case", "prefs", {}, prefs("SIM", "demo", pw, pw.toLower()), ok, vbOK,
        {"OQCREDIT|Plain|The Password and Confirm Password fields do not match.  Please re-type both fields."}, {},
        {"open=1", "focus=txtPassword", "txtServerURL=SIM", "txtUserName=demo", "txtPassword=", "txtPasswordConfirm="});
    // OK: accepted credentials are stored and the window closes; a refusal keeps it open with the
    // typed address taken and nothing stored. Reset empties the account keys of the store only.
    const L old({"store:SendDir=old", "store:ServerURL=old", "store:CompanyID=old", "store:UserName=old",
                 "store:Password=old", "store:DaysOldTimeFrame=45", "set:ServerURL=http://old.example",
                 "set:UserName=olduser", "set:Password=oldpw"});
    const QString validate = "VALIDATECREDENTIALS&USER=demo&PASSWORD=" + pw;
    const L checks{"PASSWORDEXPIRED&USER=demo", "NEWERVERSION&USER=demo&APPNAME=OQCREDIT&APPVERSION=1.1.0",
                   "CROSS_COMPANY_REISSUE&USER=demo"};
    for (bool remember : {true, false})
        row(remember ? "password remembered" : "password not remembered", "prefs", old,
            prefs("SIM", "demo", pw, pw) << "cbxSavePwd=" + QString::number(remember), ok, vbOK, {}, {validate},
            {"open=0", "UserName=demo", "Password=" + pw, "SavePassword=" + QString::number(remember),
             "store:ServerURL=SIM", "store:UserName=demo", "remembered=" + (remember ? pw : "<absent>"),
             "store:SendDir=HOME/send/", "hourglass=1"});
    row("Reset", "prefs", old + L{"protected:old"}, {}, {"cmdReset"}, vbOK, {}, {},
        {"open=1", "store:SendDir=<absent>", "store:ServerURL=<absent>", "store:CompanyID=<absent>",
         "store:UserName=<absent>", "store:Password=<absent>", "remembered=<absent>", "store:DaysOldTimeFrame=45"});
    const QString problem =
        "Validation Problem|Warning|Your user credentials could not be validated against our system.\r\nProblem: ";
    row("a word meaning success is still a reason", "prefs", old + L{"script:VALIDATECREDENTIALS:200:SUCCESS"},
        prefs("SIM", "demo", pw, pw), ok, vbOK, {problem + "SUCCESS"}, {validate},
        {"open=1", "ServerURL=SIM", "BaseUrl=SIM", "UserName=olduser", "Password=oldpw", "store:UserName=old",
         "hourglass=1"});
    row("nothing listening", "prefs", old, prefs("CLOSED", "demo", pw, pw), ok, vbOK,
        {"*", problem + "Invalid Internet Connection"}, {},
        {"open=1", "ServerURL=CLOSED", "UserName=olduser", "store:UserName=old"});
    // Cancel asks to quit: No stays, Yes ends the program.
    const QString quit = "Quit?|Warning YesNo|You can not access www.site.example\r\n without a valid Company ID, "
                         "UserName and Password.\r\n\r\nQuit?";
    // The window opens on the loaded account.
    row("Cancel asks to quit: No", "prefs", {"set:ClientWebsite=www.site.example", "set:ServerURL=http://old.example"},
        {"txtUserName=typed"}, {"cmdCancel"}, vbNo, {quit}, {},
        {"open=1", "ended=0", "quit=0", "txtServerURL=http://old.example"});
    // An empty store at start shows the settings window before anything else.
    row("empty store at start: valid account, then the account checks", "start prefs", {}, prefs("SIM", "demo", pw, pw),
        ok, vbOK, {}, L{validate} + checks, {"open=0", "ended=0", "checks=1", "remembered=<absent>"});
    row("empty store at start: Cancel and Yes skip the checks", "start prefs", {}, {}, {"cmdCancel"}, vbYes,
        {QString(quit).replace("www.site.example", Vendor::DefaultWebsite)}, {}, {"open=0", "ended=1", "checks=0"});

    // The change-password window's checks, in order.
    const auto passRefusal = [&](const char* name, const L& entries, const QString& text, const QString& focus) {
        row(name, "pass", account, entries, ok, vbOK, {"Validation Error|Information|" + text}, {},
            {"open=1", "focus=" + focus, "Password=" + pw});
    };
    passRefusal("old empty", passes("", "a&b", ""), "You must provide your existing password.", "txtOldPassword");
    passRefusal("old differs in case", passes(pw.toUpper(), "", ""),
                "Your existing password does not match what's on file.", "txtOldPassword");
    passRefusal("new empty", passes(" " + pw + " ", "  ", kNew), "You must provide a new password.", "txtNewPassword");
    passRefusal("confirmation empty", passes(pw, kNew, ""), "You must confirm you new password.", "txtConfirmPassword");
    const QString amp = "New&2026pass";
    passRefusal("mismatch before the ampersand", passes(pw, amp, "New2026pass"),
                "Your new password does not match the confirmed one.", "txtNewPassword");
    passRefusal("ampersand", passes(pw, amp, amp), "Your new password can not contain '&' symbol.", "txtNewPassword");
    // OK sends the stored old password and the trimmed new one, once; what the vendor answers
    // decides what is stored and whether the window closes.
    const auto change = [&](const char* name, const QString& window, const L& given, const QString& fresh,
                            bool remember, const QString& box, const L& after) {
        const QString label = window == "forced" ? "Your password has expired." : "Change Your Password";
        row(name, window, given,
            passes("  " + pw, " " + fresh + " ", fresh + "  ") << "cbxSavePwd=" + QString::number(remember), ok, vbOK,
            {box}, {"CHANGEPASSWORD&USER=demo&OLDPASS=" + pw + "&NEWPASS=" + fresh},
            L{"title=Password Expired", "lblLabels=" + label, "lblUsername=demo", "ended=0"} + after);
    };
    const QString done = "Success|Information|Password changed successfully.";
    const QString refusedNumber = "Error Number: 6001\r\nError: ";
    const QString refused = "Save Password Error|Plain|There was an error changing passwords.\r\n" + refusedNumber;
    change("not remembered: the next start asks for the settings", "pass", account, kNew, false, done,
           {"open=0", "Password=" + kNew, "remembered=<absent>"});
    const QString policy = "The new password must be at least 8 characters long.";
    change("the server's policy", "pass", account, "short", true, refused + policy,
           {"open=1", "Password=" + pw, "remembered=" + pw, "errors.log=" + policy});
    change("a refusal repeating both passwords", "pass",
           {"account", "script:CHANGEPASSWORD:200:FAILED: Other2026pass may not follow " + pw}, "Other2026pass", true,
           refused + "FAILED: ***** may not follow *****", {"open=1", "Password=" + pw, "remembered=" + pw});
    change("a page instead of an answer", "pass", {"account", "script:CHANGEPASSWORD:200:<html>Busy</html>"}, kNew,
           true, "~answer was lost: if your old password is refused from now on", {"open=1", "Password=" + pw});
    change("a success word with more after it", "pass", {"account", "script:CHANGEPASSWORD:200:PASSWORDCHANGED later"},
           kNew, true, refused + "PASSWORDCHANGED later", {"open=1", "Password=" + pw});
    // The vendor has the new password: the forced window has done its work, and says what failed.
    change("changed but not stored", "forced", {"account:unsaved", "storeBroken"}, kNew, true,
           "Password Not Saved|Warning|Your password was changed at the vendor, but the new password could not be "
           "saved on this computer.\r\n\r\nUse the new password the next time you are asked for it.",
           {"open=0", "Password=" + kNew});
    // Leaving asks only when the change is forced.
    const QString leave =
        "Change Password|Critical YesNo|You can not continue without changing your password.\r\n\r\nQuit?";
    row("by choice, Cancel", "pass", account, {"txtOldPassword=typed"}, {"cmdCancel"}, vbOK, {}, {},
        {"open=0", "ended=0"});
    row("forced, Escape, Yes", "forced", account, {"txtOldPassword=typed"}, {"Escape"}, vbYes, {leave}, {},
        {"open=0", "ended=1", "quit=1"});
    // An expired password at start shows the forced window before anything else.
    const QString changeSent = "CHANGEPASSWORD&USER=demo&OLDPASS=" + pw + "&NEWPASS=" + kNew;
    row("expired at start: changed, start-up goes on", "start pass", {"stored", "script:PASSWORDEXPIRED:200:True"},
        passes(pw, kNew, kNew) << "cbxSavePwd=1", ok, vbOK, {done}, L{checks[0], changeSent} + checks.mid(1),
        {"lblLabels=Your password has expired.", "checks=1", "ended=0", "remembered=" + kNew});
    // OK is disabled while the change runs: a second press sends nothing.
    row("OK twice: sent once", "pass", account, passes(pw, kNew, kNew), {"cmdOK cmdOK"}, vbOK, {done}, {changeSent},
        {"open=0", "Password=" + kNew});
    // A connection that closes before the answer: the vendor may have acted, so the change is not
    // sent again, and the user sees a failure. A read goes first, so the change travels on a
    // kept-alive connection (where a resend would happen).
    row("dropped: change password", "pass", {"account", "drop:CHANGEPASSWORD"}, passes(pw, kNew, kNew),
        {"lblPasswordSpecs", "cmdOK"}, vbOK, {"*", "~answer was lost: if your old password is refused from now on"},
        {"GETABOUT&USER=demo&DEPARTMENTID=QDEMO-LOANS", changeSent}, {"open=1", "Password=" + pw});

    // The contact window fetches once per run, then checks locally, in order, and sends trimmed.
    const QString fetch = "GETCONTACTINFO&USER=demo&COMPANYID=QDEMO&DEPARTMENTID=QDEMO-LOANS";
    row("contact: ten characters regrouped", "contact", account, {}, {}, vbOK, {}, {fetch},
        L{"title=Update Contact Information", "lblLabels=Update Your Contact Information"}
            + contact("dana.demo@quill-broker.example", "(555) 010-0123", "12"));
    row("contact: known values, nothing fetched", "contact",
        {"account", "set:UserEmail= x@y.example", "set:UserPhone=1"}, {}, {}, vbOK, {}, {},
        contact("x@y.example", "1", ""));
    const QString loadError = "Error In Load UpdateContactInfo|Warning|Error: ";
    // After a failed read the blank boxes cannot be typed into or sent: they would erase the vendor's values.
    row("contact: two parts are no partial fill", "contact", {"account", "script:GETCONTACTINFO:200:5550100123||12"},
        {"txtEmail=new@vendor.example"}, ok, vbOK, {loadError + "9\r\nError Desc: Subscript out of range"}, {fetch},
        contact("", "", "") + L{"contact=||", "open=1"});
    const QString page = "The server's contact information is not in the expected form: <html>a||b||c</html>";
    row("contact: a page instead of an answer", "contact",
        {"account", "script:GETCONTACTINFO:200:<html>a||b||c</html>"}, {}, {}, vbOK,
        {loadError + "13\r\nError Desc: " + page}, {fetch},
        contact("", "", "") + L{"contact=||", "errors.log=" + page});
    const L known{"account", "set:UserEmail=Dana@Vendor.example", "set:UserPhone=5550100", "set:UserPhoneExt=12"};
    const QString kept = "contact=Dana@Vendor.example|5550100|12";
    const auto contactRefusal = [&](const char* name, const L& entries, const QString& text, const QString& focus) {
        row(name, "contact", known, entries, ok, vbOK, {"Validation Error|Critical|" + text}, {},
            {"open=1", "focus=" + focus, kept});
    };
    const QString badEmail = "Invalid email address, ";
    contactRefusal("e-mail character", contact("a'b@c.com", "1*", "2="), "Email address" + illegal, "txtEmail");
    contactRefusal("telephone asterisk", contact("no at sign", "555*0100", "2="), "Phone number" + illegal,
                   "txtPhoneNum");
    contactRefusal("extension character", contact("no at sign", "", "\"12\""), "Phone extension" + illegal,
                   "txtPhoneExt");
    contactRefusal("no @", contact("dana.example.com", "", ""), badEmail + "it must contain '@' character", "txtEmail");
    contactRefusal("dot right after @", contact("dana@.example.com", "", ""), badEmail + "incorrect '.' after the '@'",
                   "txtEmail");
    contactRefusal("one-letter extension", contact("dana@example.c", "", ""), "Invalid domain extension", "txtEmail");
    const QString update = "UPDATECONTACTINFO&USER=demo&DEPARTMENTID=QDEMO-LOANS&NEWPHONE=";
    row("contact changed, sent trimmed", "contact", known, contact(" dana@new.example ", "(555) 010-0199", " 7"), ok,
        vbOK, {"Success|Information|Contact information changed successfully."},
        {update + "%28555%29+010-0199&NEWEXT=7&NEWEMAIL=dana%40new.example"},
        {"open=0", "contact=dana@new.example|(555) 010-0199|7"});
    row("letter case only: no change", "contact", known, contact("DANA@vendor.EXAMPLE ", "5550100", "12"), ok, vbOK,
        {"Success|Information|No changes detected."}, {}, {"open=0", kept});
    const QString otherDepartment = "Department does not match this user.";
    row("contact refused", "contact", known + L{"script:UPDATECONTACTINFO:200:" + otherDepartment},
        contact("dana@new.example", "5550100", "12"), ok, vbOK,
        {"Update Contact Info Error|Plain|There was an error updating contact information.\r\n" + refusedNumber
         + otherDepartment},
        {update + "5550100&NEWEXT=12&NEWEMAIL=dana%40new.example"}, {"open=1", kept, "errors.log=" + otherDepartment});
    row("dropped: update contact information", "contact", {"account", "drop:UPDATECONTACTINFO"},
        {"txtEmail=new@vendor.example"}, ok, vbOK, {"~Error Number: -"},
        {fetch, update + "%28555%29+010-0123&NEWEXT=12&NEWEMAIL=new%40vendor.example"},
        {"open=1", "contact=dana.demo@quill-broker.example|(555) 010-0123|12"});

    // The about window: the vendor's logo by its name (letter case counts), texts as they are.
    const auto about = [&](const char* name, const QString& client, const QString& phone, const QString& logo) {
        row(name, "about",
            {"set:Client=" + client, "set:ClientWebsite=https://vendor.example", "set:PhoneNumber=" + phone,
             "set:SupportEmail=support@vendor.example"},
            {}, ok, vbOK, {}, {},
            {"title=About OQCREDIT", "lblTitle=OQCREDIT for " + client, "lblVersion=Version 1.1.0",
             "lblWebsite=https://vendor.example", "lblPhone=" + phone, "lblEmail=support@vendor.example", "plain=1",
             "logo=" + logo, "open=0"});
    };
    about("about: default vendor", "Tamsel Credit Services", "(555) 010-0199", "1");
    about("about: letter case differs, markup from the server", "Tamsel credit services",
          "<a href=\"file:///etc/passwd\"><b>555</b></a>", "2");
    // The system information program off Windows (there the registry names it): a desktop program
    // on PATH, the only folder on it; a message when there is none.
    row("sysinfo: nothing on PATH", "about", {"path:none"}, {}, {"cmdSysInfo"}, vbOK,
        {"OQCREDIT|Plain|System Information Is Unavailable At This Time"}, {}, {"starts="});
    row("sysinfo: desktop program on PATH", "about", {"path:hardinfo"}, {}, {"cmdSysInfo"}, vbOK, {}, {},
        {"starts=start TMP/hardinfo 1 []"});
}

void AccountWindowsTest::messages()
{
    QFETCH(Scene, row);
    auto& [window, given, entries, presses, answer, boxes, sent, after] = row;
#ifdef Q_OS_WIN
    // Windows has the registry places only (no desktop programs on PATH), and its store is the
    // registry (a folder in the settings file's place breaks only the INI store).
    if (given.join(' ').contains("path:") || given.contains("storeBroken"))
        QSKIP("a row for PATH programs or the INI store");
#endif
    // Start-up's rig with the account windows registered as the program registers them, the settings
    // object as start-up leaves it before the settings window opens (an empty store), and a user
    // playing the modal windows.
    AppRig rig;
    ModalDriver user;
    const auto unload = qScopeGuard([] { frmChangePass::Unload(); });
    rig.env.freshProps();
    LoadSettings(Props());
    RegisterAccountWindows();
    frmPrefs::setUserCancelled(false);
    QTemporaryDir tmp;
    const auto restorePath = qScopeGuard([saved = qgetenv("PATH")] { qputenv("PATH", saved); });
    for (QStringList* list : {&given, &entries, &presses, &boxes, &sent, &after})
        list->replaceInStrings("TMP", tmp.path())
            .replaceInStrings("SIM", rig.sim.baseUrl())
            .replaceInStrings("CLOSED", "http://127.0.0.1:9")
            .replaceInStrings("HOME", rig.env.home());
    // clang-format off
    const QMap<QString, void (clsProperties::*)(const QString&)> setters = {
        {"ServerURL", &clsProperties::setServerURL}, {"UserName", &clsProperties::setUserName},
        {"Password", &clsProperties::setPassword}, {"Client", &clsProperties::setClient},
        {"ClientWebsite", &clsProperties::setClientWebsite}, {"PhoneNumber", &clsProperties::setPhoneNumber},
        {"SupportEmail", &clsProperties::setSupportEmail}, {"UserEmail", &clsProperties::setUserEmail},
        {"UserPhone", &clsProperties::setUserPhone}, {"UserPhoneExt", &clsProperties::setUserPhoneExt}};
    // clang-format on
    for (const QString& step : given) {
        const QString kind = step.section(':', 0, 0);
        const QString rest = step.section(':', 1);
        if (kind == "account") { // the demo account as start-up leaves it once its settings are known
            Props().setServerURL(rig.sim.baseUrl());
            Props().setUserName(AppRig::User);
            Props().setPassword(AppRig::Password);
            Props().setSavePassword(true);
            Props().setCompanyID("QDEMO");
            Props().setDepartmentID("QDEMO-LOANS");
            if (rest != "unsaved")
                SaveSettings(Props());
        } else if (kind == "stored") // the account as a start finds it
            rig.storeAccount();
        else if (kind == "storeBroken") // a folder where the settings file should be
            QVERIFY(QDir().mkpath(SettingsStore::StoreFile("OQCREDIT")));
        else if (kind == "script")
            rig.sim.scriptStatus(rest.section(':', 0, 0), rest.section(':', 1, 1).toInt(), rest.section(':', 2));
        else if (kind == "drop")
            rig.sim.scriptDrop(rest, 2);
        else if (kind == "store")
            SettingsStore::SaveSetting("OQCREDIT", "Main", rest.section('=', 0, 0), rest.section('=', 1));
        else if (kind == "protected") // a protected copy of the password (none where no keyring answers)
            ProtectedSecret("OQCREDIT", "Main").Write(rest);
        else if (kind == "set")
            (Props().*setters[rest.section('=', 0, 0)])(rest.section('=', 1));
        else if (kind == "path") { // a program on PATH, the only folder on it
            QFile program(tmp.filePath(rest));
            QVERIFY(program.open(QIODevice::WriteOnly) && program.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
            qputenv("PATH", tmp.path().toLocal8Bit());
        }
    }
    for (int i = 0; i < boxes.size(); ++i)
        rig.boxes.expect(i == 0 ? answer : int(vbOK));
    // The window a row opens: its class, and how it is opened (start-up: until its checks end).
    const auto startAndWait = [] {
        QCOMPARE(Main(), StartupOutcome::Started);
        QTRY_VERIFY(!StartupRunning());
    };
    const QMap<QString, QPair<const char*, std::function<void()>>> windows{
        {"prefs", {"frmPrefs", [] { frmPrefs::ShowModal(); }}},
        {"pass", {"frmChangePass", [] { frmChangePass::ShowModal(true); }}},
        {"forced", {"frmChangePass", [] { frmChangePass::ShowModal(false); }}},
        {"contact", {"frmUpdateContactInfo", [] { frmUpdateContactInfo::ShowModal(); }}},
        {"about", {"frmAbout", [] { frmAbout::ShowModal(); }}},
        {"start prefs", {"frmPrefs", startAndWait}},
        {"start pass", {"frmChangePass", startAndWait}}};
    // Acts on the next modal window of the class, then leaves it (the row by its name: clang 14
    // does not let a lambda capture a structured binding).
    QStringList seen;
    user.on(windows[window].first, [&](QWidget* w) {
        QTRY_VERIFY(settled(w));
        for (const QString& entry : row.entries) {
            const QString name = entry.section('=', 0, 0);
            if (name.startsWith("cbx"))
                w->findChild<QCheckBox*>(name)->setChecked(entry.endsWith("=1"));
            else { // as the user does: into the box, then typing over what it holds
                auto* typed = w->findChild<QLineEdit*>(name);
                typed->setFocus();
                typed->clear();
                QTest::keyClicks(typed, entry.section('=', 1));
            }
        }
        for (const QString& presses : row.presses) {
            for (const QString& press : presses.split(' ')) {
                if (press == "Escape")
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                else
                    QTest::mouseClick(w->findChild<QWidget*>(press), Qt::LeftButton);
            }
            QTRY_VERIFY(settled(w));
        }
        for (const QString& expected : row.after) {
            const QString key = expected.section('=', 0, 0);
            if (isWindowKey(key))
                seen << key + "=" + windowState(*w, key);
        }
        leaveQuietly(w);
    });
    windows[window].second();
    QCOMPARE(user.pending(), 0);
    for (const QString& expected : after)
        if (!isWindowKey(expected.section('=', 0, 0)))
            seen << expected.section('=', 0, 0) + "="
                    + runState(rig, expected.section('=', 0, 0), expected.section('=', 1));
    std::sort(seen.begin(), seen.end());
    std::sort(after.begin(), after.end());
    QCOMPARE(seen, after);
    QStringList shownBoxes;
    for (int i = 0; i < rig.boxes.boxes.size(); ++i) {
        const QString expected = boxes.value(i);
        shownBoxes << (expected == "*" || (expected.startsWith("~") && rig.shown(i).contains(expected.mid(1)))
                           ? expected
                           : rig.shown(i));
    }
    QCOMPARE(shownBoxes, boxes);
    QStringList requests = window.startsWith("start") ? rig.sent() : rig.sim.requests();
    requests.replaceInStrings("POST /utils/CGI_Utilities.asp?Action=", "");
    QCOMPARE(requests, sent);
    QCOMPARE(rig.desk.busyDepth, 0);
    // No password reaches a log.
    QVERIFY(!(rig.env.readFile("Client.log") + rig.env.readFile("errors.log")).contains("2026pass"));
}

QUILL_TEST_MAIN(AccountWindowsTest)

#include "test_account_windows.moc"
