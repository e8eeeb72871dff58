#include "AppRig.h"
#include "ServiceRig.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/Seam.h"
#include "service/basOrder.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

const QString kAccount = QStringLiteral("POST /utils/CGI_Utilities.asp?");
const QString kReport = QStringLiteral("POST /cia/cgi/marrowCGI.exe?");
const QString kServerAnswer = QStringLiteral("<server>");   // not scripted: the server answers from its seed

QStringList g_passwordWindow;   // the change-password window's calls: "automatic" or "user"

// A setting read and written as text ("true"/"false" for flags).
struct Setting {
    std::function<QString()> read;
    std::function<void(const QString&)> write;
};
#define QUILL_FLAG(n) {#n, {[] { return QString(Props().n() ? "true" : "false"); }, [](const QString& v) { Props().set##n(v == "true"); }}}
#define QUILL_TEXT(n) {#n, {[] { return Props().n(); }, [](const QString& v) { Props().set##n(v); }}}
const QMap<QString, Setting> kSettings{
    QUILL_FLAG(CrossCompanyReissue), QUILL_FLAG(CanChangePassword), QUILL_FLAG(bEFQ_Right), QUILL_FLAG(bEXP_Right),
    QUILL_FLAG(bTU_Right), QUILL_TEXT(SuppPageLink), QUILL_TEXT(PhoneNumber), QUILL_TEXT(SupportEmail),
    QUILL_TEXT(PasswordSpecs), QUILL_TEXT(ReportListPage),
    {"LoginByRef", {[] { return QString(Props().IsLoginByRef() ? "true" : "false"); }, [](const QString& v) { Props().setLoginByRef(v == "true"); }}},
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
    {"PasswordWindow", {[] { return g_passwordWindow.join(','); }, [](const QString&) {
         g_passwordWindow.clear();
         WindowHooks::ShowChangePassword() = [](bool user) { g_passwordWindow << (user ? "user" : "automatic"); };
     }}}};

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
    QString box;            // "title|text" (its start) of the one message box; empty: none
    QString block;          // sent instead of the demo user's; the server receives nothing
};
struct VersionRow {
    QString answer;   // "{base}" stands for the server's address
    int reply;        // to the download question; 0: no question expected
    int shellCode;
    bool result;
    QString errorBox; // after the shell failed
};
struct ReportRow {
    QString answer;
    QString overallAnswer;   // "<500>": HTTP status 500; "<none>": not asked
    bool result;
    QString answerAfter;     // also the report id, unless an error text
    QString box, errorText;  // box: the one message box's text; empty: none
    QList<int> numbers;      // EXP, EFX, TU, report type, overall status
    int logEntries;
};

} // namespace

Q_DECLARE_METATYPE(TargetRow)
Q_DECLARE_METATYPE(AnswerRow)
Q_DECLARE_METATYPE(VersionRow)
Q_DECLARE_METATYPE(ReportRow)

// Operations against the stand-in vendor server: what they send and how they read the answers.
class ActionsTest : public ServiceTest
{
    Q_OBJECT

private slots:
    // Blocks are read back exactly into the form fields sent, with the credentials where each
    // form wants them (the reference's own when logged in by reference).
    void requestTargets_data()
    {
        QTest::addColumn<TargetRow>("row");
        const QString own = "UserName=ann+lee&Password=s3cret+pw%2B%23%26%C3%A9";
        const QString byRef = "UserName=al%2B1&Password=x+y%26z&LoginByRefUserName=ann+lee&LoginByRefPassword=s3cret+pw%2B%23%26%C3%A9";
        // Blanks at the ends and inside, "+", "#", "&", "=", "%", "/", "?", ";", non-ASCII letters and
        // a character beyond 16 bits (a surrogate pair).
        const QString odd = QString::fromUtf8(" Zoë Ø a+b#c&d=e%f/g?h;i 😀 ");
        const QString oddSent = "+Zo%C3%AB+%C3%98+a%2Bb%23c%26d%3De%25f%2Fg%3Fh%3Bi+%F0%9F%98%80+";
        const QString messages = ParamBlock("CHECKMESSAGES").add("USER", "ann lee").add(odd, odd).text();
        const QString order = ParamBlock("REQUEST").add("SSN", "123456789").add("FirstName", odd).text();
        for (bool ref : {false, true}) {
            const char* by = ref ? " by reference" : "";
            const QString login = ref ? byRef : own;
            QTest::addRow("account form%s", by) << TargetRow{&CheckMessages, "CHECKMESSAGES", ref, messages, "",
                kAccount + "Action=CHECKMESSAGES&USER=ann+lee&" + oddSent + "=" + oddSent};
            QTest::addRow("credentialed account form%s", by) << TargetRow{&FindPending, "FINDPENDING", ref, order, "GUID-9",
                kAccount + login + "&Action=FINDPENDING&SSN=123456789&FirstName=" + oddSent};
            QTest::addRow("report form%s", by) << TargetRow{&findReportAnswer, "FIND_REPORT", ref, ParamBlock("FIND_REPORT").add("LastName", odd).text(),
                "FAILED\nReport not found.", kReport + login + "&action=FIND_REPORT&LastName=" + oddSent};
            QTest::addRow("order%s", by) << TargetRow{&Request, "REQUEST", ref, order, "SUCCESS\nG-1", kReport + login
                + "&action=REQUEST&SSN=123456789&FirstName=" + oddSent + "&Source=Orrery+Client&LOSVersion=" + ClientVersion()};
        }
        QTest::newRow("version stamp") << TargetRow{&UpdateLOSVersion, "UPDATELOSVERSION", false,
            ParamBlock("UPDATELOSVERSION").add("guid", "G 2").add("LOSVersion", "1.1.0").text(), "", kAccount + "Action=UPDATELOSVERSION&guid=G+2&LOSVersion=1.1.0"};
        const auto fields = [](const char* name, const QString& block, const QString& sent) {
            QTest::newRow(name) << TargetRow{&CheckMessages, "CHECKMESSAGES", false, block, "", kAccount + "Action=CHECKMESSAGES" + sent};
        };
        fields("markup and line breaks", ParamBlock("X").add("A'B&C\tD", "a & b <c> 'd' \"e\"\r\ntwo\rthree\n").text(),
               "&A%27B%26C%09D=a+%26+b+%3Cc%3E+%27d%27+%22e%22%0D%0Atwo%0Dthree%0A");
        fields("control characters dropped, TAB kept", ParamBlock("X").add("NOTE", QString("a") + QChar(1) + "b" + QChar(0x1F) + "\tc"
            + QChar(0xFFFF)).add(QString("U") + QChar(2) + "SER", "bob").text(), "&NOTE=ab%09c&USER=bob");
        fields("other elements skipped", "<PARAMETERS METHOD='X'><NOTE FIELDNAME='N'>x</NOTE><CRITERIA FIELDNAME=\"A\">1</CRITERIA></PARAMETERS>", "&A=1");
    }

    void requestTargets()
    {
        QFETCH(TargetRow, row);
        Props().setUserName("ann lee");
        Props().setPassword(QString::fromUtf8("s3cret pw+#&é"));
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
        const auto add = [](const char* name, const AnswerRow& row) { QTest::newRow(name) << row; };
        const QString same = "=";
        add("reissue right", {&CheckCrossCompanyReissue, "CROSS_COMPANY_REISSUE", "TRUE", true, same, {"CrossCompanyReissue=true"}});
        add("no reissue right", {&CheckCrossCompanyReissue, "CROSS_COMPANY_REISSUE", "", true, same, {"CrossCompanyReissue=false"}});
        add("password expired", {&CheckPasswordExpired, "PASSWORDEXPIRED", "True", true, same, {"PasswordWindow=automatic"}});
        add("password expired, no window", {&CheckPasswordExpired, "PASSWORDEXPIRED", "true", true, same, {}});
        add("password current, 0", {&CheckPasswordExpired, "PASSWORDEXPIRED", "0", true, same, {"PasswordWindow="}});
        add("password current, empty", {&CheckPasswordExpired, "PASSWORDEXPIRED", "", true, same, {"PasswordWindow="}});
        add("yes is no truth value", {&CheckPasswordExpired, "PASSWORDEXPIRED", "yes", false, errorStart(13), {"PasswordWindow="}});
        add("password rights empty", {&GetChangePasswordRights, "CHANGEPASSWORDRIGHTS", "", true, same, {"CanChangePassword=true"}});
        add("password rights False", {&GetChangePasswordRights, "CHANGEPASSWORDRIGHTS", "False", true, same, {"CanChangePassword=false"}});
        add("password rights maybe", {&GetChangePasswordRights, "CHANGEPASSWORDRIGHTS", "maybe", false, errorStart(13), {}});
        add("report list default", {&GetReportListPage, "GETREPORTLISTPAGE", "", true, same, {"ReportListPage=/ReportList.asp"}});
        add("report list blanks kept", {&GetReportListPage, "GETREPORTLISTPAGE", "   ", true, same, {"ReportListPage=   "}});
        add("page link trims blanks only", {&GetSupplementPage, "GETSUPPLEMENTPAGE", "  \t/s.asp\r\n ", true, same, {"SuppPageLink=\t/s.asp\r\n"}});
        add("support data", {&GetAbout, "GETABOUT", "555||help@x||8 letters", true, same,
                             {"PhoneNumber=555", "SupportEmail=help@x", "PasswordSpecs=8 letters"}});
        add("support data short", {&GetAbout, "GETABOUT", "555||help@x", false, errorStart(9),
                                   {"PhoneNumber=555", "SupportEmail=help@x", "PasswordSpecs=<before>"}});
        add("all bureaus", {&RequestBureauRights, "REQUESTBUREAURIGHTS", "", true, same, {"bEFQ_Right=true", "bEXP_Right=true", "bTU_Right=true"}});
        add("bureau tokens, case-sensitive", {&RequestBureauRights, "REQUESTBUREAURIGHTS", "EXP0 efq0 xTU0y", true, same,
                                              {"bEFQ_Right=true", "bEXP_Right=false", "bTU_Right=false"}});
        add("credentials valid", {&ValidateCredentials, "VALIDATECREDENTIALS", "", true, "", {}});
        add("any text refuses credentials", {&ValidateCredentials, "VALIDATECREDENTIALS", "SUCCESS", false, same, {}});
        add("nothing pending", {&FindPending, "FINDPENDING", "", false, "", {}});
        add("pending request", {&FindPending, "FINDPENDING", "GUID-1", true, same, {}});
        add("version stored", {&UpdateLOSVersion, "UPDATELOSVERSION", "", true, "", {}});
        add("version refused", {&UpdateLOSVersion, "UPDATELOSVERSION", "No such request.", false, same, {}});
        add("no references", {&LoginByReference, "LOGINBYREFERENCE", "", true, same, {"LoginByRef=false", "References=Old/old/pw"}});
        add("references, duplicate name keeps the first", {&LoginByReference, "LOGINBYREFERENCE", "Alex Agent*agent*pw 1|ALEX agent*b*2|Bo*bo*pw2",
            true, same, {"LoginByRef=true", "References=Alex Agent/agent/pw 1,Bo/bo/pw2"}});
        add("references, trailing bar", {&LoginByReference, "LOGINBYREFERENCE", "Al*a*1|", false, errorStart(9), {"LoginByRef=true", "References=Al/a/1"}});
        const QString failedBox = "Error Submitting Request|";
        add("order: GUID on line 1", {&Request, "REQUEST", "SUCCESS\nGUID-7", true, "GUID-7", {}});
        add("order: GUID with CR LF", {&Request, "REQUEST", "SUCCESS\r\nGUID-8\r\n", true, "GUID-8", {}});
        add("order: FAILED alone", {&Request, "REQUEST", "FAILED", false, errorStart(6001) + "<ERROR_DESC>FAILED</ERROR_DESC><ERROR_SOURCE>Request</ERROR_SOURCE>",
                                    {}, failedBox + "There was an error submitting request."});
        add("order: FAILED with a message", {&Request, "REQUEST", "FAILED\nAt least one bureau must be selected.", false,
            errorStart(6001) + "<ERROR_DESC>FAILED\nAt least one bureau must be selected.</ERROR_DESC>", {}, failedBox + "At least one bureau must be selected."});
        add("order: no GUID line", {&Request, "REQUEST", "SUCCESS", false, errorStart(9), {}});
        add("order: empty GUID line", {&Request, "REQUEST", "SUCCESS\n  \t\r\nmore", false, errorStart(5) + "<ERROR_DESC>The server answered without a request GUID", {}});
        add("order: a page, not an answer", {&Request, "REQUEST", "<html>\nGUID-X\n</html>", false,
            errorStart(ErrNo::NotProtocol) + "<ERROR_DESC>The server's answer is not a protocol answer", {}});
        // A block that does not read fails with its box and an error text instead of sending a
        // request without fields.
        const QString unread = "Error in BuildKeyValueString|Error: ";
        const auto block = [](const QString& criteria) { return "<PARAMETERS METHOD='X'>" + criteria + "</PARAMETERS>"; };
        add("block: bare ampersand", {&CheckMessages, "CHECKMESSAGES", "", false, errorStart(5), {}, unread + "5-",
                                      block("<CRITERIA FIELDNAME='A'>a&b</CRITERIA>")});
        add("block: control character", {&CheckMessages, "CHECKMESSAGES", "", false, errorStart(5), {}, unread + "5-",
                                         block("<CRITERIA FIELDNAME='A'>a\x01</CRITERIA>")});
        add("block: criterion without a name", {&CheckMessages, "CHECKMESSAGES", "", false, errorStart(91), {}, unread + "91-",
            block("<CRITERIA FIELDNAME='PASSWORD'>" + ReportFixture::Password + "</CRITERIA><CRITERIA>orphan</CRITERIA>")});
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
            m_rig->boxes.expect(vbOK);
        QString out = QStringLiteral("previous");
        const QString sent = row.block.isEmpty() ? block(row.action) : row.block;
        QCOMPARE(row.operation(sent, out), row.result);

        const QString expected = row.answerAfter == "=" ? row.answer : row.answerAfter;
        if (expected.contains("<ERROR>"))
            QVERIFY2(isLoggedError(out, expected, sent), qPrintable(out));
        else
            QCOMPARE(out + "|log " + QString::number(logEntries()), expected + "|log 0");
        // Asked at most once; a failed order may exist at the vendor unless the server refused it.
        QCOMPARE(m_sim.requests().size(), row.block.isEmpty() ? 1 : 0);
        if (row.operation == &Request && !row.result)
            QCOMPARE(OrderMayHaveArrived(out), !out.startsWith(errorStart(ErrNo::Refused)));
        for (const QString& s : row.settings)
            QCOMPARE(kSettings[s.section('=', 0, 0)].read(), s.section('=', 1));
        QCOMPARE(boxes().size(), row.box.isEmpty() ? 0 : 1);
        if (!row.box.isEmpty()) {
            QVERIFY2((boxes()[0].title + "|" + boxes()[0].text).startsWith(row.box), qPrintable(boxes()[0].text));
            QCOMPARE(boxes()[0].icon(), int(vbCritical));
        }
    }

    void newerVersion_data()
    {
        QTest::addColumn<VersionRow>("row");
        const QString address = "{base}/downloads/QuillClientSetup.exe";
        QTest::newRow("client is current") << VersionRow{"", 0, 42, true, ""};
        QTest::newRow("user declines") << VersionRow{address, vbNo, 42, true, ""};
        QTest::newRow("user accepts the server's address") << VersionRow{kServerAnswer, vbYes, 42, true, ""};
        QTest::newRow("shell fails") << VersionRow{address, vbYes, 2, true,
            "There was an error while requesting the download.\r\n\r\n2- The specified file was not found."};
        QTest::newRow("file address") << VersionRow{"file:///tmp/Setup.exe", 0, 42, false, ""};
    }

    void newerVersion()
    {
        QFETCH(VersionRow, row);
        Props().setClientWebsite(m_sim.baseUrl());
        ShellRecorder shell;
        shell.result = row.shellCode;
        EndRecorder ending;
        if (row.reply)
            m_rig->boxes.expect(row.reply);
        if (!row.errorBox.isEmpty())
            m_rig->boxes.expect(vbOK);
        if (row.answer != kServerAnswer)
            m_sim.script("NEWERVERSION", QString(row.answer).replace("{base}", m_sim.baseUrl()));
        QString out;
        const QString sent = ParamBlock("NEWERVERSION").add("USER", "demo").add("APPNAME", "OQCREDIT").add("APPVERSION", "1.0.0").text();
        QCOMPARE(CheckForNewerVersion(sent, out), row.result);

        QStringList shown;
        for (const auto& box : boxes())
            shown << box.title + "|" + box.text;
        QCOMPARE(shown.size(), (row.reply ? 1 : 0) + (row.errorBox.isEmpty() ? 0 : 1));
        if (row.reply)
            QVERIFY(shown[0].startsWith("New Version Available at " + m_sim.baseUrl() + "|"));
        if (!row.errorBox.isEmpty())
            QVERIFY(shown[1].endsWith("|" + row.errorBox));
        const bool opened = row.reply == vbYes;
        QStringList launched;
        for (const auto& call : shell.calls)
            launched << call.verb + " " + call.target;
        QCOMPARE(launched, opened ? QStringList{"open " + m_sim.baseUrl() + "/downloads/QuillClientSetup.exe"} : QStringList{});
        QCOMPARE((QList<int>{ending.count, int(WindowHooks::EndRequested())}), QList<int>(2, opened ? 1 : 0));
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
            m_rig->boxes.expect(vbOK);
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
        QCOMPARE((QList<int>{status->nStatusEXP(), status->nStatusEFX(), status->nStatusTU(), status->nReportType(), status->nStatusReport()}),
                 row.numbers);
        QCOMPARE(boxes().size(), row.box.isEmpty() ? 0 : 1);
        if (!row.box.isEmpty())
            QCOMPARE(boxes()[0].text, row.box);
        QCOMPARE(m_sim.requests().mid(1), row.overallAnswer == "<none>" ? QStringList() : QStringList{kAccount + "Action=GETREPORTSTATUS&RID=RPT-1"});
        QCOMPARE(logEntries(), row.logEntries);
    }

    // The platform's own box (not the scripted one): the server's words are shown as they are,
    // no link in them can be followed, and a long answer is cut with a note.
    void serverTextReachesTheRealBoxAsPlainTextCut_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("shown");
        const QString page = "<b>Refused</b> <a href=\"file:///etc/passwd\">details</a><img src=\"http://evil.example/t\">";
        QTest::newRow("refusal that is HTML") << "FAILED\n" + page << page;
        QTest::newRow("refusal of 10000 characters") << "FAILED\n" + QString(10000, 'x') << QString(4000, 'x') + "... (6000 more characters not shown)";
    }

    void serverTextReachesTheRealBoxAsPlainTextCut()
    {
        QFETCH(QString, answer);
        QFETCH(QString, shown);
        m_sim.script("REQUEST", answer);
        QStringList seen;   // of each box: its text, whether plain and whether its links can be followed
        QTimer poll;
        connect(&poll, &QTimer::timeout, &poll, [&seen] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                const QLabel* label = box->findChild<QLabel*>("qt_msgbox_label");
                const auto links = Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard;
                seen << label->text() + QString("|plain %1|links %2").arg(label->textFormat() == Qt::PlainText).arg(bool(label->textInteractionFlags() & links));
                box->button(QMessageBox::Ok)->click();
            }
        });
        poll.start(10);
        Seam<MessageBoxes>::set(nullptr);
        QString out;
        const bool result = Request(ParamBlock("REQUEST").add("SSN", "123456789").text(), out);
        Seam<MessageBoxes>::set(&m_rig->boxes);
        QVERIFY(!result);
        QCOMPARE(seen, QStringList{shown + "|plain 1|links 0"});
    }
};

int runActionsTest(int argc, char** argv)
{
    ActionsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_actions.moc"
