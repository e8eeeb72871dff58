#include "AppRig.h"
#include "ModalDriver.h"
#include "ServiceRig.h"
#include "service/clsReportStatus.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace {

const QString kAccount = QStringLiteral("POST /utils/CGI_Utilities.asp?");

QStringList g_passwordWindow; // the change-password window's calls: "automatic" or "user"

// A setting read (first) and written (second) as text ("true"/"false" for flags).
using Setting = std::pair<std::function<QString()>, std::function<void(const QString&)>>;
// clang-format off
#define QUILL_FLAG(n) {#n, {[] { return QString(Props().n() ? "true" : "false"); }, \
                           [](const QString& v) { Props().set##n(v == "true"); }}}
#define QUILL_TEXT(n) {#n, {[] { return Props().n(); }, [](const QString& v) { Props().set##n(v); }}}
const QMap<QString, Setting> kSettings{
    QUILL_FLAG(CrossCompanyReissue), QUILL_FLAG(CanChangePassword), QUILL_FLAG(bEFQ_Right), QUILL_FLAG(bEXP_Right),
    QUILL_FLAG(bTU_Right), QUILL_TEXT(SuppPageLink), QUILL_TEXT(PhoneNumber), QUILL_TEXT(SupportEmail),
    QUILL_TEXT(PasswordSpecs), QUILL_TEXT(ReportListPage),
    {"LoginByRef", {[] { return QString(Props().IsLoginByRef() ? "true" : "false"); },
                    [](const QString& v) { Props().setLoginByRef(v == "true"); }}},
    {"References", {[] {   // LongName/UserName/Password of each; written: one earlier entry
         QStringList got;
         for (const auto& ref : Props().LoginByReferences())
             got << ref->LongName() + "/" + ref->UserName() + "/" + ref->Password();
         return got.join(',');
     }, [](const QString&) {
         auto old = std::make_shared<clsLoginByRef>();
         old->setLongName("Old"), old->setUserName("old"), old->setPassword("pw");
         Props().setLoginByReferences({old});
     }}},
    {"PasswordWindow", {[] { return g_passwordWindow.join(','); }, [](const QString&) { g_passwordWindow.clear(); }}}};
// clang-format on

struct AnswerRow {
    Operation operation;
    QString action, answer;
    bool result;
    QString answerAfter;  // "=": the server's answer; with "<ERROR>": the start of a logged error text
    QStringList settings; // "Name=value" afterwards; "<before>": left alone
    QString box;          // "title|text" (its start) of the one message box; empty: none
    QString block;        // sent instead of the demo user's
    QString target;       // the one request the server receives; empty: none when a block is given
    bool byRef = false;   // logged in by reference (targets only)
};
// NEWERVERSION as an operation, on a desktop that records what it opens: its answer, then what
// was opened and whether the program was asked to end.
void newerVersion(const QString& block, QObject* context, ServiceReply done)
{
    auto shell = std::make_shared<ShellRecorder>();
    auto ending = std::make_shared<EndRecorder>();
    CheckForNewerVersion(block, context, [shell, ending, done](ServiceOutcome outcome) {
        QString& answer = outcome.ok() ? outcome.answer : outcome.errorText;
        for (const auto& call : shell->calls)
            answer += "|" + call.verb + " " + call.target;
        answer += QString("|end %1").arg(ending->count);
        done(outcome);
    });
}

// A search as an operation: its answer, then the report id, bureau codes, report type, overall
// status and error text it read into a new status.
void findReportStatus(const QString& block, QObject* context, ServiceReply done)
{
    FindReport(block, context, [done](ServiceOutcome outcome, std::shared_ptr<clsReportStatus> status) {
        if (!status) {
            done(outcome);
            return;
        }
        QStringList codes;
        for (int code : {int(status->nStatusEXP()), int(status->nStatusEFX()), int(status->nStatusTU()),
                         int(status->nReportType()), int(status->nStatusReport())})
            codes << QString::number(code);
        QString& answer = outcome.ok() ? outcome.answer : outcome.errorText;
        answer += "|" + status->sReportID() + "|" + codes.join(' ') + "|" + status->sErrorText();
        done(outcome);
    });
}

} // namespace

Q_DECLARE_METATYPE(AnswerRow)

void ServiceTest::answers_data()
{
    QTest::addColumn<AnswerRow>("row");
    const auto add = [](const char* name, Operation op, const QString& action, const QString& answer, bool result,
                        const QString& after, const QStringList& settings = {}, const QString& box = {},
                        const QString& block = {}, const QString& target = {}, bool byRef = false) {
        QTest::newRow(name) << AnswerRow{op, action, answer, result, after, settings, box, block, target, byRef};
    };
    const QString same = "=";
    // Blocks are read back exactly into the form fields sent, with the credentials where each
    // form wants them (the reference's own when logged in by reference).
    const QString own = "UserName=demo&Password=Demo2026pass";
    const QString byRef = "UserName=al%2B1&Password=x+y%26z&LoginByRefUserName=demo&LoginByRefPassword=Demo2026pass";
    // Blanks at the ends and inside, "+", "#", "&", "=", "%", "/", "?", ";", non-ASCII letters and
    // a character beyond 16 bits (a surrogate pair).
    const QString odd = QString::fromUtf8(" Zoë Ø a+b#c&d=e%f/g?h;i 😀 ");
    const QString oddSent = "&SSN=123456789&FirstName=+Zo%C3%AB+%C3%98+a%2Bb%23c%26d%3De%25f%2Fg%3Fh%3Bi+%F0%9F%98%80+";
    const QString order = ParamBlock("REQUEST").add("SSN", "123456789").add("FirstName", odd).text();
    add("sent: credentialed account form", &FindPending, "FINDPENDING", "GUID-9", true, same, {}, "", order,
        kAccount + own + "&Action=FINDPENDING" + oddSent);
    add("sent: order by reference", &Request, "REQUEST", "SUCCESS\nG-1", true, "G-1", {}, "", order,
        "POST /cia/cgi/marrowCGI.exe?" + byRef + "&action=REQUEST" + oddSent
            + "&Source=Orrery+Client&LOSVersion=" + ClientVersion(),
        true);
    const auto fields = [&](const char* name, const QString& block, const QString& sent) {
        add(name, &CheckMessages, "CHECKMESSAGES", "", true, "", {}, "", block,
            kAccount + "Action=CHECKMESSAGES" + sent, true);
    };
    fields("sent: markup and line breaks",
           ParamBlock("X").add("A'B&C\tD", "a & b <c> 'd' \"e\"\r\ntwo\rthree\n").text(),
           "&A%27B%26C%09D=a+%26+b+%3Cc%3E+%27d%27+%22e%22%0D%0Atwo%0Dthree%0A");
    const QString controls = QString("a") + QChar(1) + "b" + QChar(0x1F) + "\tc" + QChar(0xFFFF);
    fields("sent: control characters dropped, TAB kept",
           ParamBlock("X").add("NOTE", controls).add(QString("U") + QChar(2) + "SER", "bob").text(),
           "&NOTE=ab%09c&USER=bob");
    fields("sent: other elements skipped",
           "<PARAMETERS METHOD='X'><NOTE FIELDNAME='N'>x</NOTE><CRITERIA FIELDNAME=\"A\">1</CRITERIA></PARAMETERS>",
           "&A=1");
    const Operation reissue = &CheckCrossCompanyReissue;
    add("reissue right", reissue, "CROSS_COMPANY_REISSUE", "TRUE", true, same, {"CrossCompanyReissue=true"});
    add("no reissue right", reissue, "CROSS_COMPANY_REISSUE", "", true, same, {"CrossCompanyReissue=false"});
    add("password expired", &CheckPasswordExpired, "PASSWORDEXPIRED", "True", true, same, {"PasswordWindow=automatic"});
    add("password current", &CheckPasswordExpired, "PASSWORDEXPIRED", "0", true, same, {"PasswordWindow="});
    add("yes is no truth value", &CheckPasswordExpired, "PASSWORDEXPIRED", "yes", false, errorStart(13),
        {"PasswordWindow="});
    const Operation rights = &GetChangePasswordRights;
    add("password rights empty", rights, "CHANGEPASSWORDRIGHTS", "", true, same, {"CanChangePassword=true"});
    add("password rights False", rights, "CHANGEPASSWORDRIGHTS", "False", true, same, {"CanChangePassword=false"});
    add("report list default", &GetReportListPage, "GETREPORTLISTPAGE", "", true, same,
        {"ReportListPage=/ReportList.asp"});
    add("page link trims blanks only", &GetSupplementPage, "GETSUPPLEMENTPAGE", "  \t/s.asp\r\n ", true, same,
        {"SuppPageLink=\t/s.asp\r\n"});
    add("support data", &GetAbout, "GETABOUT", "555||help@x||8 letters", true, same,
        {"SupportEmail=help@x", "PasswordSpecs=8 letters"});
    add("support data short", &GetAbout, "GETABOUT", "555||help@x", false, errorStart(9),
        {"PhoneNumber=555", "PasswordSpecs=<before>"});
    add("all bureaus", &RequestBureauRights, "REQUESTBUREAURIGHTS", "", true, same,
        {"bEFQ_Right=true", "bEXP_Right=true", "bTU_Right=true"});
    add("bureau tokens, case-sensitive", &RequestBureauRights, "REQUESTBUREAURIGHTS", "EXP0 efq0 xTU0y", true, same,
        {"bEFQ_Right=true", "bEXP_Right=false", "bTU_Right=false"});
    add("credentials valid", &ValidateCredentials, "VALIDATECREDENTIALS", "", true, "");
    add("any text refuses credentials", &ValidateCredentials, "VALIDATECREDENTIALS", "SUCCESS", false, same);
    add("nothing pending", &FindPending, "FINDPENDING", "", false, "");
    add("nothing pending but a line break", &FindPending, "FINDPENDING", "\r\n", false, "");
    add("pending GUID with CR LF", &FindPending, "FINDPENDING", "GUID-9\r\n", true, "GUID-9");
    // Neither is a GUID to follow nor a "none pending": the order is not sent.
    add("pending search refused", &FindPending, "FINDPENDING", "FAILED\nInvalid password", false, errorStart(6001));
    add("pending answer of two lines", &FindPending, "FINDPENDING", "Busy\ntry later", false, errorStart(5));
    add("version stored", &UpdateLOSVersion, "UPDATELOSVERSION", "", true, "");
    add("version refused", &UpdateLOSVersion, "UPDATELOSVERSION", "No such request.", false, same);
    add("no references", &LoginByReference, "LOGINBYREFERENCE", "", true, same,
        {"LoginByRef=false", "References=Old/old/pw"});
    add("references, duplicate name keeps the first", &LoginByReference, "LOGINBYREFERENCE",
        "Alex Agent*agent*pw 1|ALEX agent*b*2|Bo*bo*pw2", true, same,
        {"LoginByRef=true", "References=Alex Agent/agent/pw 1,Bo/bo/pw2"});
    const QString newer = "New Version Available at ";
    add("newer version: none", &newerVersion, "NEWERVERSION", "", true, "|end 0");
    add("newer version: accepted", &newerVersion, "NEWERVERSION", "http://127.0.0.1:1/Q.exe", true,
        "http://127.0.0.1:1/Q.exe|open http://127.0.0.1:1/Q.exe|end 1", {}, newer);
    add("newer version: handed over encoded", &newerVersion, "NEWERVERSION", "http://127.0.0.1:1/\u00DCber.exe#a#b",
        true, "http://127.0.0.1:1/\u00DCber.exe#a#b|open http://127.0.0.1:1/%C3%9Cber.exe#a%23b|end 1", {}, newer);
    // Refused before anything is asked or opened, whatever the host.
    const QString notOpened = errorStart(5)
        + "<ERROR_DESC>The download address is not a well-formed http or https "
          "address, so it is not opened: ";
    for (const auto& [name, refused] :
         {std::pair<const char*, QString>{"file address", "file:///tmp/Setup.exe"},
          {"arguments injected", "https://127.0.0.1:1/x\" --new-window \"file:///C:/x.exe"},
          {"line break", "http://127.0.0.1:1/Q\r\n.exe"},
          {"control character", "http://127.0.0.1:1/Q\x01.exe"}})
        add(qPrintable(QString("newer version refused: ") + name), &CheckForNewerVersion, "NEWERVERSION", refused,
            false, notOpened + refused);
    // A search keeps the status it read as far as the record reads; the overall status is
    // the server's GETREPORTSTATUS (64 throughout).
    add("search: not found", &findReportStatus, "FIND_REPORT", "FAILED\nReport not found.", true, "||0 0 0 0 0|");
    add("search: not found with CR LF", &findReportStatus, "FIND_REPORT", "FAILED\r\nReport not found.\r\n", true,
        "ERROR|ERROR|0 0 0 0 0|Report not found.\r", {},
        "Problem/Error|There was a problem when finding existing report.\r\n\r\nProblem: Report not found.\r");
    // No report ID read: a failed search, never "no report".
    for (const QString& answer : {"", "SUCCESS"})
        add(qPrintable("search: no report ID in " + (answer.isEmpty() ? "an empty answer" : answer)), &findReportStatus,
            "FIND_REPORT", answer, true, "ERROR|ERROR|0 0 0 0 0|", {},
            "Error/Problem|There was a problem loading credit report information.");
    add("search: found", &findReportStatus, "FIND_REPORT", "SUCCESS\nRPT-1\n2 0 1\n3\nANN\nM\nLEE", true,
        "RPT-1|RPT-1|2 0 1 3 64|");
    add("search: two bureau codes", &findReportStatus, "FIND_REPORT", "SUCCESS\nR-1\n2 0\n1\nANN\nB\nLEE", true,
        "R-1|R-1|2 0 0 0 0|", {},
        "Error/Problem|There was a problem loading credit report information.\r\nProblem: Subscript out of range");
    const QString failedBox = "Error Submitting Request|";
    const QString refusal = errorStart(6001) + "<ERROR_DESC>FAILED";
    add("order: GUID with CR LF", &Request, "REQUEST", "SUCCESS\r\nGUID-8\r\n", true, "GUID-8");
    add("order: FAILED alone", &Request, "REQUEST", "FAILED", false,
        refusal + "</ERROR_DESC><ERROR_SOURCE>Request</ERROR_SOURCE>", {},
        failedBox + "There was an error submitting request.");
    add("order: FAILED with a message", &Request, "REQUEST", "FAILED\nAt least one bureau must be selected.", false,
        refusal + "\nAt least one bureau must be selected.</ERROR_DESC>", {},
        failedBox + "At least one bureau must be selected.");
    add("order: empty GUID line", &Request, "REQUEST", "SUCCESS\n  \t\r\nmore", false,
        errorStart(5) + "<ERROR_DESC>The server answered without a request GUID");
    // A block that does not read fails with its box and an error text instead of sending a
    // request without fields.
    const QString unread = "Error in BuildKeyValueString|Error: ";
    add("block: bare ampersand", &CheckMessages, "CHECKMESSAGES", "", false, errorStart(5), {}, unread + "5-",
        "<PARAMETERS METHOD='X'><CRITERIA FIELDNAME='A'>a&b</CRITERIA></PARAMETERS>");
    add("block: criterion without a name", &CheckMessages, "CHECKMESSAGES", "", false, errorStart(91), {},
        unread + "91-",
        "<PARAMETERS METHOD='X'><CRITERIA FIELDNAME='PASSWORD'>" + ReportFixture::Password
            + "</CRITERIA><CRITERIA>orphan</CRITERIA></PARAMETERS>");
}

void ServiceTest::answers()
{
    QFETCH(AnswerRow, row);
    WindowHooks::ShowChangePassword() = [](bool user) { g_passwordWindow << (user ? "user" : "automatic"); };
    auto reference = std::make_shared<clsLoginByRef>();
    reference->setUserName("al+1");
    reference->setPassword("x y&z");
    Props().setLoginReference(reference); // set in every row: only the flag may select it
    Props().setLoginByRef(row.byRef);
    // Each setting starts opposite to its expected value, so that leaving it alone cannot pass.
    for (const QString& s : row.settings) {
        const QString value = s.section('=', 1);
        kSettings[s.section('=', 0, 0)].second(value == "true" ? "false" : value == "false" ? "true" : "<before>");
    }
    m_sim.script(row.action, row.answer);
    m_sim.script("GETREPORTSTATUS", "64");
    if (!row.box.isEmpty())
        m_rig->boxes.expect(vbYes); // a question accepted
    QString out = QStringLiteral("previous");
    const QString sent = row.block.isEmpty() ? block(row.action) : row.block;
    QCOMPARE(run(row.operation, sent, out), row.result);

    const QString expected = row.answerAfter == "=" ? row.answer : row.answerAfter;
    if (expected.contains("<ERROR>"))
        QVERIFY2(isLoggedError(out, expected, sent), qPrintable(out));
    else
        QCOMPARE(out + "|log " + QString::number(logEntries()), expected + "|log 0");
    // Asked at most once; a failed order may exist at the vendor unless the server refused it.
    if (!row.target.isEmpty())
        QCOMPARE(m_sim.requests(), QStringList{row.target});
    else
        QCOMPARE(m_sim.requests().filter("ction=" + row.action).size(), row.block.isEmpty() ? 1 : 0);
    if (row.operation == static_cast<Operation>(&Request) && !row.result)
        QCOMPARE(m_last.mayHaveArrived, m_last.kind != ServiceOutcome::Kind::Refused);
    for (const QString& s : row.settings)
        QCOMPARE(kSettings[s.section('=', 0, 0)].first(), s.section('=', 1));
    const ScriptedMsgBox::Box box = m_rig->boxes.boxes.value(0); // (a box not expected fails at once)
    QVERIFY2((box.title + "|" + box.text).startsWith(row.box), qPrintable(box.text));
}

// The platform's own box (not the scripted one): the server's words are shown as they are,
// no link in them can be followed, and a long answer is cut with a note.
void ServiceTest::serverTextReachesTheRealBoxAsPlainTextCut()
{
    const QString page = "<b>Refused</b> <a href=\"file:///etc/passwd\">details</a><img src=\"http://evil.example/t\">";
    m_sim.script("REQUEST", "FAILED\n" + page + QString(10000, 'x'));
    QStringList seen; // of each box: its text, whether plain and whether its links can be followed
    ModalDriver user;
    user.on("QMessageBox", [&seen](QWidget* box) {
        const QLabel* label = box->findChild<QLabel*>("qt_msgbox_label");
        const bool links = label->textInteractionFlags() & (Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        seen << label->text() + QString("|plain %1|links %2").arg(label->textFormat() == Qt::PlainText).arg(links);
        static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    Seam<MessageBoxes>::set(nullptr); // until the next test's rig installs its scripted boxes again
    QString out;
    QVERIFY(!run(&Request, ParamBlock("REQUEST").add("SSN", "123456789").text(), out));
    const QString cut =
        page + QString(4000 - page.size(), 'x') + QString("... (%1 more characters not shown)").arg(6000 + page.size());
    QCOMPARE(seen, QStringList{cut + "|plain 1|links 0"});
}
