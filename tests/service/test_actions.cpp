#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "VendorSim.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/HttpRequest.h"
#include "service/ParamBlock.h"
#include "service/basActions.h"
#include "service/basOrder.h"
#include "service/clsReportStatus.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

using Operation = bool (*)(const QString&, QString&);
Q_DECLARE_METATYPE(Operation)

namespace {

const QString kUser = QStringLiteral("ann lee");
const QString kPassword = QString::fromUtf8("s3cret pw+#&é");
const QString kPasswordEncoded = QStringLiteral("s3cret+pw%2B%23%26%C3%A9");
const QString kAccount = QStringLiteral("POST /utils/CGI_Utilities.asp?");
const QString kReport = QStringLiteral("POST /cia/cgi/marrowCGI.exe?");
// An answer column holding this is not scripted: the server answers from its seed.
const QString kServerAnswer = QStringLiteral("<server>");

// A search's answer, with the report id it read appended.
bool findReportAnswer(const QString& block, QString& answer)
{
    std::shared_ptr<clsReportStatus> status;
    const bool result = FindReport(block, status, answer);
    if (status && !status->sReportID().isEmpty())
        answer += "|report id " + status->sReportID();
    return result;
}

QString userBlock(const QString& method)
{
    return ParamBlock(method).add("USER", kUser).add("PASSWORD", kPassword).text();
}

QString errorStart(long number)
{
    return "<ERROR><ERROR_NO>" + QString::number(number) + "</ERROR_NO>";
}

quint16 closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();   // nothing listens once server is gone
}

// The change-password window's calls ("automatic" or "user"); the window exists only in rows that watch it.
QStringList g_passwordWindow;

// A setting read and written as text ("true"/"false" for flags).
struct Setting {
    std::function<QString()> read;
    std::function<void(const QString&)> write;
};
#define QUILL_FLAG(n) \
    {#n, {[] { return QString(Props().n() ? "true" : "false"); }, [](const QString& v) { Props().set##n(v == "true"); }}}
#define QUILL_TEXT(n) {#n, {[] { return Props().n(); }, [](const QString& v) { Props().set##n(v); }}}
const QMap<QString, Setting> kSettings{
    QUILL_FLAG(CrossCompanyReissue), QUILL_FLAG(CanChangePassword), QUILL_FLAG(bEFQ_Right), QUILL_FLAG(bEXP_Right),
    QUILL_FLAG(bTU_Right), QUILL_TEXT(SuppPageLink), QUILL_TEXT(PhoneNumber),
    QUILL_TEXT(SupportEmail), QUILL_TEXT(PasswordSpecs), QUILL_TEXT(ReportListPage), QUILL_TEXT(DepartmentID),
    {"LoginByRef", {[] { return QString(Props().IsLoginByRef() ? "true" : "false"); },
                    [](const QString& v) { Props().setLoginByRef(v == "true"); }}},
    // LongName/UserName/Password of each; written: one earlier entry.
    {"References", {[] {
         QStringList got;
         for (const auto& ref : Props().LoginByReferences())
             got << ref->LongName() + "/" + ref->UserName() + "/" + ref->Password();
         return got.join(',');
     }, [](const QString&) {
         auto old = std::make_shared<clsLoginByRef>();
         old->setLongName("Old");
         old->setUserName("old");
         old->setPassword("pw");
         Props().setLoginByReferences({old});
     }}},
    {"PasswordWindow", {[] { return g_passwordWindow.join(','); }, [](const QString&) {
         WindowHooks::ShowChangePassword() = [](bool user) { g_passwordWindow << (user ? "user" : "automatic"); };
     }}}};

// The data row of each test.
struct TargetRow {
    Operation operation;
    QString action;
    bool loginByRef;
    QString block, answer, target;   // answer: scripted; target: the one request the server receives
};
struct AnswerRow {
    Operation operation;
    QString action, answer;
    bool result;
    QString answerAfter;    // "=": the server's answer; with "<ERROR>": the start of a logged error text
    QStringList settings;   // "Name=value" afterwards; "<before>": left alone
    QString box;            // "title|text" of the one message box; empty: none
};
struct VersionRow {
    QString answer;   // "{base}" stands for the server's address
    int reply;        // to the download question; 0: no question expected
    int shellCode;
    bool result;
    bool opened;      // the download address was opened and the program ended
    QString errorBox;
};
struct ReportRow {
    QString answer;
    QString overallAnswer;   // "<500>": HTTP status 500; "<none>": not asked
    bool result;
    QString answerAfter;     // also the report id, unless an error text
    QString box;             // the one message box's text; empty: none
    QString errorText;
    QList<int> numbers;      // EXP, EFX, TU, report type, overall status
    int logEntries;
};
struct FailureRow {
    Operation operation;
    QString action;
    QString failure;       // "closed" (nothing listening), "500", "drop", "timeout" or "html" (a web page)
    QString answerAfter;   // as in AnswerRow
    QString boxText;       // the connection box; empty: none
    bool loggedApart = false;   // answerAfter is no error text, yet the error text was logged once
};

} // namespace

Q_DECLARE_METATYPE(TargetRow)
Q_DECLARE_METATYPE(AnswerRow)
Q_DECLARE_METATYPE(VersionRow)
Q_DECLARE_METATYPE(ReportRow)
Q_DECLARE_METATYPE(FailureRow)

// Operations against the stand-in vendor server on 127.0.0.1.
class ActionsTest : public QObject
{
    Q_OBJECT
    VendorSim m_sim;
    struct PerTest {
        TestEnv env;
        FakeDesktop desk;
        ScriptedMsgBox boxes;
    };
    std::optional<PerTest> m_test;
    std::function<void(bool)> m_showChangePassword = WindowHooks::ShowChangePassword();
    std::function<void()> m_endProgram = WindowHooks::EndProgram();

    int logEntries() const { return int(m_test->env.readFile("errors.log").count("Date: ")); }

    // The answer is `expected` and nothing was logged, or, when `expected` holds "<ERROR>", it is
    // `expected` followed by the rest of an error text about `block`, logged once.
    void checkAnswer(const QString& out, const QString& expected, const QString& block)
    {
        if (!expected.contains("<ERROR>")) {
            QCOMPARE(out, expected);
            QCOMPARE(logEntries(), 0);
            return;
        }
        QVERIFY2(out.startsWith(expected), qPrintable(out));
        // The version stamp also records what it answered: "In:<block>\r\nOut:<answer>".
        const QString info = out.section("<INFO><![CDATA[", 1);
        QVERIFY2((info == block + "]]></INFO></ERROR>" || info.startsWith("In:" + block + "\r\nOut:")), qPrintable(out));
        QCOMPARE(logEntries(), 1);
        QVERIFY(m_test->env.readFile("errors.log").contains(expected.mid(expected.indexOf("<ERROR>")).toUtf8()));
    }

private slots:
    void initTestCase() { QVERIFY2(m_sim.start(), "the stand-in vendor server did not start"); }

    void init()
    {
        m_sim.reset();
        m_test.emplace();
        m_test->env.freshProps();
        WindowHooks::ShowChangePassword() = nullptr;
        g_passwordWindow.clear();
        Props().setServerURL(m_sim.baseUrl());
        Props().setClientWebsite(m_sim.baseUrl());
        Props().setAspUtil("/utils/CGI_Utilities.asp?");
        Props().setPostLocation("/cia/cgi/marrowCGI.exe?");
        Props().setUserName(kUser);
        Props().setPassword(kPassword);
    }

    void cleanup()
    {
        WindowHooks::ShowChangePassword() = m_showChangePassword;
        WindowHooks::EndProgram() = m_endProgram;
        WindowHooks::EndRequested() = false;
        qunsetenv("QUILLCLIENT_HTTP_TIMEOUT_MS");
        const QByteArray log = m_test->env.readFile("errors.log");
        m_test.reset();
        QVERIFY2(!log.contains("s3cret"), "a password reached errors.log");
    }

    void requestTargets_data()
    {
        QTest::addColumn<TargetRow>("row");
        const QString own = "UserName=ann+lee&Password=" + kPasswordEncoded;
        const QString byRef = "UserName=al%2B1&Password=x+y%26z&LoginByRefUserName=ann+lee&LoginByRefPassword=" + kPasswordEncoded;
        // Blanks at the ends and inside, "+", "#", "&", "=", "%", "/", "?", ";" and non-ASCII letters.
        const QString odd = QString::fromUtf8(" Zoë Ø a+b#c&d=e%f/g?h;i ");
        const QString oddSent = "+Zo%C3%AB+%C3%98+a%2Bb%23c%26d%3De%25f%2Fg%3Fh%3Bi+";
        const QString messages = ParamBlock("CHECKMESSAGES").add("USER", kUser).add(odd, odd).text();
        const QString order = ParamBlock("REQUEST").add("SSN", "123456789").add("FirstName", odd).text();
        const QString search = ParamBlock("FIND_REPORT").add("LastName", odd).text();
        for (bool ref : {false, true}) {
            const char* by = ref ? " by reference" : "";
            QTest::addRow("account form%s", by) << TargetRow{&CheckMessages, "CHECKMESSAGES", ref, messages, "",
                kAccount + "Action=CHECKMESSAGES&USER=ann+lee&" + oddSent + "=" + oddSent};
            QTest::addRow("credentialed account form%s", by) << TargetRow{&FindPending, "FINDPENDING", ref, order, "GUID-9",
                kAccount + (ref ? byRef : own) + "&Action=FINDPENDING&SSN=123456789&FirstName=" + oddSent};
            QTest::addRow("report form%s", by) << TargetRow{&findReportAnswer, "FIND_REPORT", ref, search,
                "FAILED\nReport not found.", kReport + (ref ? byRef : own) + "&action=FIND_REPORT&LastName=" + oddSent};
            QTest::addRow("order%s", by) << TargetRow{&Request, "REQUEST", ref, order, "SUCCESS\nG-1", kReport + (ref ? byRef : own)
                + "&action=REQUEST&SSN=123456789&FirstName=" + oddSent + "&Source=Orrery+Client&LOSVersion=" + ClientVersion()};
        }
        // Sent at most once, the version stamp is an account form like any other.
        QTest::newRow("version stamp") << TargetRow{&UpdateLOSVersion, "UPDATELOSVERSION", false,
            ParamBlock("UPDATELOSVERSION").add("guid", "G 2").add("LOSVersion", "1.1.0").text(), "",
            kAccount + "Action=UPDATELOSVERSION&guid=G+2&LOSVersion=1.1.0"};
    }

    void requestTargets()
    {
        QFETCH(TargetRow, row);
        auto reference = std::make_shared<clsLoginByRef>();
        reference->setUserName("al+1");
        reference->setPassword("x y&z");
        Props().setLoginReference(reference);   // set in every row: only the flag may select it
        Props().setLoginByRef(row.loginByRef);
        m_sim.script(row.action, row.answer);

        QString out;
        QVERIFY(row.operation(row.block, out));
        QCOMPARE(m_sim.requests(), QStringList{row.target});
    }

    void answers_data()
    {
        QTest::addColumn<AnswerRow>("row");
        const QString same = "=";
        QTest::newRow("reissue right")
            << AnswerRow{&CheckCrossCompanyReissue, "CROSS_COMPANY_REISSUE", "TRUE", true, same, {"CrossCompanyReissue=true"}};
        QTest::newRow("no reissue right")
            << AnswerRow{&CheckCrossCompanyReissue, "CROSS_COMPANY_REISSUE", "", true, same, {"CrossCompanyReissue=false"}};
        QTest::newRow("password expired") << AnswerRow{&CheckPasswordExpired, "PASSWORDEXPIRED", "True", true, same,
                                                       {"PasswordWindow=automatic"}};
        QTest::newRow("password expired, no window") << AnswerRow{&CheckPasswordExpired, "PASSWORDEXPIRED", "true", true, same, {}};
        QTest::newRow("password current, 0")
            << AnswerRow{&CheckPasswordExpired, "PASSWORDEXPIRED", "0", true, same, {"PasswordWindow="}};
        QTest::newRow("password current, empty")
            << AnswerRow{&CheckPasswordExpired, "PASSWORDEXPIRED", "", true, same, {"PasswordWindow="}};
        QTest::newRow("yes is no truth value")
            << AnswerRow{&CheckPasswordExpired, "PASSWORDEXPIRED", "yes", false, errorStart(13), {"PasswordWindow="}};
        QTest::newRow("password rights empty")
            << AnswerRow{&GetChangePasswordRights, "CHANGEPASSWORDRIGHTS", "", true, same, {"CanChangePassword=true"}};
        QTest::newRow("password rights False")
            << AnswerRow{&GetChangePasswordRights, "CHANGEPASSWORDRIGHTS", "False", true, same, {"CanChangePassword=false"}};
        QTest::newRow("password rights maybe")
            << AnswerRow{&GetChangePasswordRights, "CHANGEPASSWORDRIGHTS", "maybe", false, errorStart(13), {}};
        QTest::newRow("report list default")
            << AnswerRow{&GetReportListPage, "GETREPORTLISTPAGE", "", true, same, {"ReportListPage=/ReportList.asp"}};
        QTest::newRow("report list blanks kept")
            << AnswerRow{&GetReportListPage, "GETREPORTLISTPAGE", "   ", true, same, {"ReportListPage=   "}};
        QTest::newRow("page link trims blanks only")
            << AnswerRow{&GetSupplementPage, "GETSUPPLEMENTPAGE", "  \t/s.asp\r\n ", true, same, {"SuppPageLink=\t/s.asp\r\n"}};
        QTest::newRow("support data") << AnswerRow{&GetAbout, "GETABOUT", "555||help@x||8 letters", true, same,
                                                   {"PhoneNumber=555", "SupportEmail=help@x", "PasswordSpecs=8 letters"}};
        QTest::newRow("support data short") << AnswerRow{&GetAbout, "GETABOUT", "555||help@x", false, errorStart(9),
                                                         {"PhoneNumber=555", "SupportEmail=help@x", "PasswordSpecs=<before>"}};
        QTest::newRow("all bureaus") << AnswerRow{&RequestBureauRights, "REQUESTBUREAURIGHTS", "", true, same,
                                                  {"bEFQ_Right=true", "bEXP_Right=true", "bTU_Right=true"}};
        QTest::newRow("bureau tokens, case-sensitive") << AnswerRow{&RequestBureauRights, "REQUESTBUREAURIGHTS",
            "EXP0 efq0 xTU0y", true, same, {"bEFQ_Right=true", "bEXP_Right=false", "bTU_Right=false"}};
        QTest::newRow("credentials valid") << AnswerRow{&ValidateCredentials, "VALIDATECREDENTIALS", "", true, "", {}};
        QTest::newRow("any text refuses credentials")
            << AnswerRow{&ValidateCredentials, "VALIDATECREDENTIALS", "SUCCESS", false, same, {}};
        QTest::newRow("nothing pending") << AnswerRow{&FindPending, "FINDPENDING", "", false, "", {}};
        QTest::newRow("pending request") << AnswerRow{&FindPending, "FINDPENDING", "GUID-1", true, same, {}};
        QTest::newRow("version stored") << AnswerRow{&UpdateLOSVersion, "UPDATELOSVERSION", "", true, "", {}};
        QTest::newRow("version refused")
            << AnswerRow{&UpdateLOSVersion, "UPDATELOSVERSION", "No such request.", false, same, {}};
        QTest::newRow("no references") << AnswerRow{&LoginByReference, "LOGINBYREFERENCE", "", true, same,
                                                    {"LoginByRef=false", "References=Old/old/pw"}};
        QTest::newRow("references, duplicate name keeps the first") << AnswerRow{&LoginByReference, "LOGINBYREFERENCE",
            "Alex Agent*agent*pw 1|ALEX agent*b*2|Bo*bo*pw2", true, same,
            {"LoginByRef=true", "References=Alex Agent/agent/pw 1,Bo/bo/pw2"}};
        QTest::newRow("references, trailing bar") << AnswerRow{&LoginByReference, "LOGINBYREFERENCE", "Al*a*1|", false,
                                                               errorStart(9), {"LoginByRef=true", "References=Al/a/1"}};
        const QString failedBox = "Error Submitting Request|";
        QTest::newRow("order: GUID on line 1") << AnswerRow{&Request, "REQUEST", "SUCCESS\nGUID-7", true, "GUID-7", {}};
        QTest::newRow("order: GUID with CR LF") << AnswerRow{&Request, "REQUEST", "SUCCESS\r\nGUID-8\r\n", true, "GUID-8", {}};
        QTest::newRow("order: FAILED alone") << AnswerRow{&Request, "REQUEST", "FAILED", false,
            errorStart(6001) + "<ERROR_DESC>FAILED</ERROR_DESC><ERROR_SOURCE>Request</ERROR_SOURCE>", {},
            failedBox + "There was an error submitting request."};
        QTest::newRow("order: FAILED with a message") << AnswerRow{&Request, "REQUEST", "FAILED\nAt least one bureau must be selected.",
            false, errorStart(6001) + "<ERROR_DESC>FAILED\nAt least one bureau must be selected.</ERROR_DESC>", {},
            failedBox + "At least one bureau must be selected."};
        QTest::newRow("order: no GUID line") << AnswerRow{&Request, "REQUEST", "SUCCESS", false, errorStart(9), {}};
        QTest::newRow("order: empty GUID line") << AnswerRow{&Request, "REQUEST", "SUCCESS\n  \t\r\nmore", false,
            errorStart(5) + "<ERROR_DESC>The server answered without a request GUID", {}};
        QTest::newRow("order: a page, not an answer") << AnswerRow{&Request, "REQUEST", "<html>\nGUID-X\n</html>", false,
            errorStart(-2146697208) + "<ERROR_DESC>The server's answer is not a protocol answer", {}};
    }

    void answers()
    {
        QFETCH(AnswerRow, row);
        // Each setting starts opposite to its expected value, so that leaving it alone cannot pass.
        for (const QString& s : row.settings) {
            const QString value = s.section('=', 1);
            kSettings[s.section('=', 0, 0)].write(value == "true" ? "false" : value == "false" ? "true" : "<before>");
        }
        m_sim.script(row.action, row.answer);
        if (!row.box.isEmpty())
            m_test->boxes.expect(vbOK);

        QString out = QStringLiteral("previous");
        const QString block = userBlock(row.action);
        QCOMPARE(row.operation(block, out), row.result);

        checkAnswer(out, row.answerAfter == "=" ? row.answer : row.answerAfter, block);
        for (const QString& s : row.settings)
            QCOMPARE(kSettings[s.section('=', 0, 0)].read(), s.section('=', 1));
        QCOMPARE(m_test->boxes.boxes.size(), row.box.isEmpty() ? 0 : 1);
        if (!row.box.isEmpty()) {
            QCOMPARE(m_test->boxes.boxes[0].title + "|" + m_test->boxes.boxes[0].text, row.box);
            QCOMPARE(m_test->boxes.boxes[0].icon(), int(vbCritical));
        }
    }

    void newerVersion_data()
    {
        QTest::addColumn<VersionRow>("row");
        const QString address = "{base}/downloads/QuillClientSetup.exe";
        QTest::newRow("client is current") << VersionRow{"", 0, 42, true, false, ""};
        QTest::newRow("user declines") << VersionRow{address, vbNo, 42, true, false, ""};
        QTest::newRow("user accepts the server's address") << VersionRow{kServerAnswer, vbYes, 42, true, true, ""};
        QTest::newRow("shell fails") << VersionRow{address, vbYes, 2, true, true,
            "There was an error while requesting the download.\r\n\r\n2- The specified file was not found."};
        QTest::newRow("file address") << VersionRow{"file:///tmp/Setup.exe", 0, 42, false, false, ""};
    }

    void newerVersion()
    {
        QFETCH(VersionRow, row);
        ShellRecorder shell;
        shell.result = row.shellCode;
        int ends = 0;
        WindowHooks::EndProgram() = [&ends] { ++ends; };
        if (row.reply)
            m_test->boxes.expect(row.reply);
        if (!row.errorBox.isEmpty())
            m_test->boxes.expect(vbOK);
        if (row.answer != kServerAnswer)
            m_sim.script("NEWERVERSION", QString(row.answer).replace("{base}", m_sim.baseUrl()));
        const QString block =
            ParamBlock("NEWERVERSION").add("USER", kUser).add("APPNAME", "OQCREDIT").add("APPVERSION", "1.0.0").text();

        QString out;
        QCOMPARE(CheckForNewerVersion(block, out), row.result);

        const auto& boxes = m_test->boxes.boxes;
        QCOMPARE(boxes.size(), (row.reply ? 1 : 0) + (row.errorBox.isEmpty() ? 0 : 1));
        if (row.reply)
            QCOMPARE(boxes[0].title, "New Version Available at " + m_sim.baseUrl());
        if (!row.errorBox.isEmpty())
            QCOMPARE(boxes[1].text, row.errorBox);
        QStringList launched;
        for (const auto& call : shell.calls)
            launched << call.verb + " " + call.target;
        QCOMPARE(launched, row.opened ? QStringList{"open " + m_sim.baseUrl() + "/downloads/QuillClientSetup.exe"} : QStringList{});
        QCOMPARE(ends, row.opened ? 1 : 0);
        QCOMPARE(WindowHooks::EndRequested(), row.opened);
        QCOMPARE(logEntries(), row.result ? 0 : 1);
    }

    void findReport_data()
    {
        QTest::addColumn<ReportRow>("row");
        const QString found = "SUCCESS\nRPT-1\n2 0 1\n3\nANN\nM\nLEE";
        const QString problem = "There was a problem when finding existing report.\r\n\r\nProblem: ";
        const QString loading = "There was a problem loading credit report information.\r\nProblem: ";
        const QList<int> none{0, 0, 0, 0, 0};
        QTest::newRow("not found") << ReportRow{"FAILED\nReport not found.", "<none>", true, "", "", "", none, 0};
        QTest::newRow("not found with CR LF") << ReportRow{"FAILED\r\nReport not found.\r\n", "<none>", true, "ERROR",
                                                           problem + "Report not found.\r", "Report not found.\r", none, 0};
        QTest::newRow("FAILED alone") << ReportRow{"FAILED", "<none>", false, errorStart(9), "", "", none, 1};
        QTest::newRow("found") << ReportRow{found, "64", true, "RPT-1", "", "", {2, 0, 1, 3, 64}, 0};
        QTest::newRow("found, no overall status") << ReportRow{found, "", true, "RPT-1", "", "", {2, 0, 1, 3, 1}, 0};
        QTest::newRow("found, overall status fails") << ReportRow{found, "<500>", true, "RPT-1", "", "", {2, 0, 1, 3, 1}, 1};
        // A malformed record keeps what was read before the fault and asks for no overall status.
        QTest::newRow("two bureau codes") << ReportRow{"SUCCESS\nR-1\n2 0\n1\nANN\nB\nLEE", "<none>", true, "R-1",
                                                       loading + "Subscript out of range", "", {2, 0, 0, 0, 0}, 0};
        QTest::newRow("report type not a number") << ReportRow{"SUCCESS\nR-1\n2 0 1\nX\nANN\nB\nLEE", "<none>", true, "R-1",
                                                               loading + "Type mismatch", "", {2, 0, 1, 0, 0}, 0};
    }

    void findReport()
    {
        QFETCH(ReportRow, row);
        if (!row.box.isEmpty())
            m_test->boxes.expect(vbOK);
        m_sim.script("FIND_REPORT", row.answer);
        if (row.overallAnswer == "<500>")
            m_sim.scriptStatus("GETREPORTSTATUS", 500, "broken");
        else if (row.overallAnswer != "<none>")
            m_sim.script("GETREPORTSTATUS", row.overallAnswer);
        const auto previous = std::make_shared<clsReportStatus>();
        auto status = previous;

        QString out = QStringLiteral("previous");
        QCOMPARE(FindReport(ParamBlock("FIND_REPORT").add("SSN", "123456789").text(), status, out), row.result);

        QVERIFY(status && status != previous);
        const bool errorText = row.answerAfter.startsWith("<ERROR>");
        QVERIFY2(errorText ? out.startsWith(row.answerAfter) : out == row.answerAfter, qPrintable(out));
        QCOMPARE(status->sReportID(), errorText ? QString() : row.answerAfter);
        QCOMPARE(status->sErrorText(), row.errorText);
        QCOMPARE((QList<int>{status->nStatusEXP(), status->nStatusEFX(), status->nStatusTU(), status->nReportType(),
                             status->nStatusReport()}), row.numbers);
        QCOMPARE(m_test->boxes.boxes.size(), row.box.isEmpty() ? 0 : 1);
        if (!row.box.isEmpty())
            QCOMPARE(m_test->boxes.boxes[0].text, row.box);
        const QStringList requests = m_sim.requests();
        QCOMPARE(requests.size(), row.overallAnswer == "<none>" ? 1 : 2);
        if (requests.size() == 2)
            QCOMPARE(requests[1], kAccount + "Action=GETREPORTSTATUS&RID=RPT-1");
        QCOMPARE(logEntries(), row.logEntries);
    }

    void transportFailures_data()
    {
        QTest::addColumn<FailureRow>("row");
        const QString https = "\r\n\r\nPossible invalid https layer.";
        const QString pull = "A valid connection to the internet is needed to pull credit." + https;
        const QString validate = "A valid connection to the internet is needed to validate user." + https;
        QTest::newRow("plain, refused connection")
            << FailureRow{&CheckMessages, "CHECKMESSAGES", "closed", errorStart(ErrNo::Unreachable), ""};
        QTest::newRow("search, refused connection")
            << FailureRow{&findReportAnswer, "FIND_REPORT", "closed", errorStart(ErrNo::Unreachable), pull};
        QTest::newRow("pending search, refused connection")
            << FailureRow{&FindPending, "FINDPENDING", "closed", errorStart(ErrNo::Unreachable), pull};
        QTest::newRow("credential check, refused connection")
            << FailureRow{&ValidateCredentials, "VALIDATECREDENTIALS", "closed", "Invalid Internet Connection", validate, true};
        QTest::newRow("plain, HTTP 500") << FailureRow{&CheckMessages, "CHECKMESSAGES", "500", errorStart(ErrNo::HttpStatus), ""};
        QTest::newRow("credential check, HTTP 500") << FailureRow{&ValidateCredentials, "VALIDATECREDENTIALS", "500",
            "After MSXML2.XMLHTTP30 Open  " + errorStart(ErrNo::HttpStatus), ""};
        QTest::newRow("plain, dropped connection") << FailureRow{&GetAbout, "GETABOUT", "drop", errorStart(ErrNo::Transport), ""};
        QTest::newRow("search, time-out") << FailureRow{&FindPending, "FINDPENDING", "timeout", errorStart(ErrNo::Timeout), ""};
        QTest::newRow("order, dropped connection") << FailureRow{&Request, "REQUEST", "drop", errorStart(ErrNo::Transport), ""};
        // A web page where a protocol answer belongs (a portal, a proxy's error page) is never a
        // report ID, a page link or a GUID.
        const QString page = errorStart(ErrNo::NotProtocol);
        QTest::newRow("search, page") << FailureRow{&findReportAnswer, "FIND_REPORT", "html", page, ""};
        QTest::newRow("pending search, page") << FailureRow{&FindPending, "FINDPENDING", "html", page, ""};
        QTest::newRow("report list page, page") << FailureRow{&GetReportListPage, "GETREPORTLISTPAGE", "html", page, ""};
        QTest::newRow("department, page") << FailureRow{&GetDepartmentID, "GETDEPARTMENTID", "html", page, ""};
        QTest::newRow("credential check, page")
            << FailureRow{&ValidateCredentials, "VALIDATECREDENTIALS", "html", "After MSXML2.XMLHTTP30 Send  " + page, ""};
        QTest::newRow("version stamp, page") << FailureRow{&UpdateLOSVersion, "UPDATELOSVERSION", "html", page, ""};
    }

    void transportFailures()
    {
        QFETCH(FailureRow, row);
        if (!row.boxText.isEmpty())
            m_test->boxes.expect(vbOK);
        if (row.failure == "closed") {
            Props().setServerURL(QStringLiteral("http://127.0.0.1:%1").arg(closedPort()));
        } else if (row.failure == "500") {
            m_sim.scriptStatus(row.action, 500, "Internal trouble");
        } else if (row.failure == "drop") {
            m_sim.scriptDrop(row.action, 3);   // the network layer retries a request once on a fresh connection
        } else if (row.failure == "html") {
            m_sim.scriptStatus(row.action, 200, "  <html><body>SUCCESS\nRPT-9\n4 4 4\n1\nA\nB\nC</body></html>");
        } else {
            qputenv("QUILLCLIENT_HTTP_TIMEOUT_MS", "300");
            m_sim.setLatency(1500);
        }
        const QString block = userBlock(row.action);
        Props().setReportListPage("/before.asp");
        Props().setDepartmentID("DEPT-BEFORE");

        QString out = QStringLiteral("stale answer");
        QVERIFY(!row.operation(block, out));
        QCOMPARE(Props().ReportListPage() + " " + Props().DepartmentID(), QString("/before.asp DEPT-BEFORE"));
        QVERIFY2(!out.contains("report id") && !out.contains("<html>"), qPrintable(out));
        QVERIFY(row.failure != "html" || m_sim.requests().size() == 1);

        if (row.loggedApart) {
            QCOMPARE(out, row.answerAfter);
            QCOMPARE(logEntries(), 1);
            QVERIFY(m_test->env.readFile("errors.log").contains(errorStart(ErrNo::Unreachable).toUtf8()));
        } else {
            checkAnswer(out, row.answerAfter, block);
        }
        QVERIFY(row.failure != "500" || out.contains("HTTP status 500"));
        QCOMPARE(m_test->boxes.boxes.size(), row.boxText.isEmpty() ? 0 : 1);
        if (!row.boxText.isEmpty())
            QCOMPARE(m_test->boxes.boxes[0].text, row.boxText);
    }

    void addressOtherThanWebIsRefused_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("local file") << "file:///etc/hostname";
        QTest::newRow("unencoded blank") << QStringLiteral("http://127.0.0.1:%1/a b").arg(closedPort());
    }

    void addressOtherThanWebIsRefused()
    {
        QFETCH(QString, address);
        HttpRequest request;
        request.open("POST", address);
        try {
            request.send();
            QFAIL("the request was sent");
        } catch (const AppError& e) {
            QCOMPARE(e.Number, ErrNo::Transport);
            QVERIFY(e.Description.contains("not a valid http or https address"));
        }
        QCOMPARE(request.status(), 0);
    }

    void requestStartedWhileWaitingIsRefused()
    {
        m_sim.setLatency(300);
        long nestedError = 0;
        QTimer::singleShot(50, [this, &nestedError] {
            HttpRequest nested;
            nested.open("POST", m_sim.baseUrl() + "/utils/CGI_Utilities.asp?Action=GETABOUT");
            try {
                nested.send();
            } catch (const AppError& e) {
                nestedError = e.Number;
            }
        });

        QString out;
        QVERIFY(GetDepartmentID(ParamBlock("GETDEPARTMENTID").add("USER", "demo").text(), out));
        QCOMPARE(nestedError, ErrNo::Transport);
        QCOMPARE(out, QStringLiteral("QDEMO-LOANS"));
        QCOMPARE(m_sim.requests().size(), 1);
    }
};

int runActionsTest(int argc, char** argv)
{
    ActionsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_actions.moc"
