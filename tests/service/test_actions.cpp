#include "test_actions.h"

#include "ScriptedMsgBox.h"
#include "ServiceCalls.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "VendorSim.h"
#include "app/AppContext.h"
#include "app/WindowHooks.h"
#include "app/clsProperties.h"
#include "platform/AppError.h"
#include "platform/HttpRequest.h"
#include "service/ParamBlock.h"
#include "service/basActions.h"
#include "service/clsReportStatus.h"

#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QString kUser = QString::fromUtf8("ann lee");
const QString kPassword = QString::fromUtf8("s3cret pw+#&é");
const QString kPasswordEncoded = QStringLiteral("s3cret+pw%2B%23%26%C3%A9");
const QString kAccount = QStringLiteral("POST /utils/CGI_Utilities.asp?");
const QString kReport = QStringLiteral("POST /cia/cgi/marrowCGI.exe?");
// An answer column holding this is not scripted: the server answers from its seed.
const QString kServerAnswer = QStringLiteral("<server>");

QString userBlock(const QString& method)
{
    return ParamBlock(method).add("USER", kUser).add("PASSWORD", kPassword).text();
}

// The form fields of a logged "METHOD target" line, decoded once.
QMap<QString, QString> decodedFields(const QString& requestLine)
{
    const auto decode = [](QString s) {
        s.replace(QLatin1Char('+'), QLatin1Char(' '));
        return QString::fromUtf8(QByteArray::fromPercentEncoding(s.toLatin1()));
    };
    QMap<QString, QString> fields;
    for (const QString& part : requestLine.section(QLatin1Char('?'), 1).split(QLatin1Char('&'), Qt::SkipEmptyParts))
        fields.insert(decode(part.section(QLatin1Char('='), 0, 0)), decode(part.section(QLatin1Char('='), 1)));
    return fields;
}

// A setting of the settings object read and written as text ("true"/"false" for flags).
struct SettingAccess {
    std::function<QString()> read;
    std::function<void(const QString&)> write;
};

SettingAccess flag(bool (clsProperties::*get)() const, void (clsProperties::*set)(const bool&))
{
    return {[get] { return (Props().*get)() ? QStringLiteral("true") : QStringLiteral("false"); },
            [set](const QString& v) { (Props().*set)(v == QLatin1String("true")); }};
}

SettingAccess text(QString (clsProperties::*get)() const, void (clsProperties::*set)(const QString&))
{
    return {[get] { return (Props().*get)(); }, [set](const QString& v) { (Props().*set)(v); }};
}

SettingAccess setting(const QString& name)
{
    static const QMap<QString, SettingAccess> table{
        {"CrossCompanyReissue", flag(&clsProperties::CrossCompanyReissue, &clsProperties::setCrossCompanyReissue)},
        {"CanChangePassword", flag(&clsProperties::CanChangePassword, &clsProperties::setCanChangePassword)},
        {"bEFQ_Right", flag(&clsProperties::bEFQ_Right, &clsProperties::setbEFQ_Right)},
        {"bEXP_Right", flag(&clsProperties::bEXP_Right, &clsProperties::setbEXP_Right)},
        {"bTU_Right", flag(&clsProperties::bTU_Right, &clsProperties::setbTU_Right)},
        {"ReportListPage", text(&clsProperties::ReportListPage, &clsProperties::setReportListPage)},
        {"SuppPageLink", text(&clsProperties::SuppPageLink, &clsProperties::setSuppPageLink)},
        {"SummaryPageLink", text(&clsProperties::SummaryPageLink, &clsProperties::setSummaryPageLink)},
        {"RMCRPageLink", text(&clsProperties::RMCRPageLink, &clsProperties::setRMCRPageLink)},
        {"DepartmentID", text(&clsProperties::DepartmentID, &clsProperties::setDepartmentID)},
        {"PhoneNumber", text(&clsProperties::PhoneNumber, &clsProperties::setPhoneNumber)},
        {"SupportEmail", text(&clsProperties::SupportEmail, &clsProperties::setSupportEmail)},
        {"PasswordSpecs", text(&clsProperties::PasswordSpecs, &clsProperties::setPasswordSpecs)},
    };
    if (!table.contains(name))
        qFatal("no setting %s", qPrintable(name));
    return table.value(name);
}

// What a setting holds before the operation runs, so that leaving it alone cannot pass for
// setting it. "<before>" expects the setting to be left alone.
QString opposite(const QString& expected)
{
    if (expected == QLatin1String("true") || expected == QLatin1String("false"))
        return expected == QLatin1String("true") ? QStringLiteral("false") : QStringLiteral("true");
    return QStringLiteral("<before>");
}

} // namespace

ActionsTest::ActionsTest() = default;

ActionsTest::~ActionsTest()
{
    delete m_sim;
}

void ActionsTest::initTestCase()
{
    m_sim = new VendorSim;
    QVERIFY2(m_sim->start(), "the stand-in vendor server did not start");
    m_showChangePassword = WindowHooks::ShowChangePassword();
    m_endProgram = WindowHooks::EndProgram();
}

void ActionsTest::init()
{
    m_sim->reset();
    m_env = new TestEnv;
    m_desk = new FakeDesktop;
    m_boxes = new ScriptedMsgBox;
    m_env->freshProps();
    Props().setServerURL(m_sim->baseUrl());
    Props().setClientWebsite(m_sim->baseUrl());
    Props().setAspUtil("/utils/CGI_Utilities.asp?");
    Props().setPostLocation("/cia/cgi/marrowCGI.exe?");
    Props().setUserName(kUser);
    Props().setPassword(kPassword);
}

void ActionsTest::cleanup()
{
    WindowHooks::ShowChangePassword() = m_showChangePassword;
    WindowHooks::EndProgram() = m_endProgram;
    WindowHooks::EndRequested() = false;
    qunsetenv("QUILLCLIENT_HTTP_TIMEOUT_MS");
    const QByteArray log = m_env->readFile("errors.log");
    delete m_boxes;
    delete m_desk;
    delete m_env;
    QVERIFY2(!log.contains("s3cret"), "a password reached errors.log");
}

int ActionsTest::logEntries() const
{
    return ErrorLogEntries(m_env->readFile("errors.log"));
}

void ActionsTest::requestTargets_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("loginByRef");
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("target");
    const QString own = "UserName=ann+lee&Password=" + kPasswordEncoded;
    const QString byRef = "UserName=al%2B1&Password=x+y%26z&LoginByRefUserName=ann+lee&LoginByRefPassword=" + kPasswordEncoded;
    const QString dept = ParamBlock("CHECKMESSAGES").add("USER", kUser).add("DEPARTMENTID", "D#1&2").text();
    const QString order = ParamBlock("REQUEST").add("SSN", "123456789").add("FirstName", "Ann Marie").text();
    const QString reissue = ParamBlock("FIND_REPORT").add("ReIssueNum", "R 7").text();
    const QString notFound = "FAILED\nReport not found.";
    for (bool ref : {false, true}) {
        const QString by = ref ? " by reference" : "";
        QTest::addRow("account form%s", qPrintable(by)) << "CheckMessages" << "CHECKMESSAGES" << ref << dept << ""
            << kAccount + "Action=CHECKMESSAGES&USER=ann+lee&DEPARTMENTID=D%231%262";
        QTest::addRow("credentialed account form%s", qPrintable(by)) << "FindPending" << "FINDPENDING" << ref << order
            << "GUID-9" << kAccount + (ref ? byRef : own) + "&Action=FINDPENDING&SSN=123456789&FirstName=Ann+Marie";
        QTest::addRow("report form%s", qPrintable(by)) << "FindReport" << "FIND_REPORT" << ref << reissue << notFound
            << kReport + (ref ? byRef : own) + "&action=FIND_REPORT&ReIssueNum=R+7";
    }
    QTest::newRow("account form without criteria") << "GetAbout" << "GETABOUT" << false
        << "<PARAMETERS METHOD='GETABOUT'></PARAMETERS>" << "a||b||c" << kAccount + "Action=GETABOUT";
    QTest::newRow("version stamp") << "UpdateLOSVersion" << "UPDATELOSVERSION" << false
        << ParamBlock("UPDATELOSVERSION").add("guid", "G 1").add("LOSVersion", "1.1.0").text() << ""
        << kAccount + "Action=UPDATELOSVERSION&guid=G+1&LOSVersion=1.1.0";
}

void ActionsTest::requestTargets()
{
    QFETCH(QString, operation);
    QFETCH(QString, action);
    QFETCH(bool, loginByRef);
    QFETCH(QString, block);
    QFETCH(QString, answer);
    QFETCH(QString, target);
    auto reference = std::make_shared<clsLoginByRef>();
    reference->setLongName("Al");
    reference->setUserName("al+1");
    reference->setPassword("x y&z");
    Props().setLoginReference(reference);   // set in every row: only the flag may select it
    Props().setLoginByRef(loginByRef);
    m_sim->script(action, answer);

    QString out;
    CallOperation(operation, block, out);

    QCOMPARE(m_sim->requests(), QStringList{target});
}

void ActionsTest::valuesArriveUnchanged_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("blanks") << "  two  blanks ";
    QTest::newRow("plus") << "a+b";
    QTest::newRow("hash") << "#fragment";
    QTest::newRow("ampersand and equals") << "a&b=c";
    QTest::newRow("non-ASCII letters") << QString::fromUtf8("Zoë Ñúñez Ødegård");
    QTest::newRow("percent and slashes") << "100%/x?y;z";
}

void ActionsTest::valuesArriveUnchanged()
{
    QFETCH(QString, value);
    Props().setPassword(value);
    Props().setUserName(value + "u");
    m_sim->script("CHECKMESSAGES", "");
    m_sim->script("FIND_REPORT", "FAILED\nReport not found.");

    QString answer;
    QVERIFY(CheckMessages(ParamBlock("CHECKMESSAGES").add("USER", value).add(value, "named").text(), answer));
    std::shared_ptr<clsReportStatus> status;
    QVERIFY(FindReport(ParamBlock("FIND_REPORT").add("LastName", value).text(), status, answer));

    const QStringList lines = m_sim->requests();
    QCOMPARE(lines.size(), 2);
    const auto account = decodedFields(lines[0]);
    QCOMPARE(account.value("USER"), value);
    QCOMPARE(account.value(value), QStringLiteral("named"));
    const auto report = decodedFields(lines[1]);
    QCOMPARE(report.value("UserName"), value + "u");
    QCOMPARE(report.value("Password"), value);
    QCOMPARE(report.value("LastName"), value);
}

void ActionsTest::answers_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("answerAfter");   // "=": the server's answer; "<ERROR n>": an error text
    QTest::addColumn<QStringList>("settings");  // "Name=value" afterwards
    const QString same = "=";
    QTest::newRow("reissue right") << "CheckCrossCompanyReissue" << "CROSS_COMPANY_REISSUE" << "TRUE" << true << same
                                   << QStringList{"CrossCompanyReissue=true"};
    QTest::newRow("no reissue right") << "CheckCrossCompanyReissue" << "CROSS_COMPANY_REISSUE" << "" << true << same
                                      << QStringList{"CrossCompanyReissue=false"};
    QTest::newRow("password rights empty") << "GetChangePasswordRights" << "CHANGEPASSWORDRIGHTS" << "" << true << same
                                           << QStringList{"CanChangePassword=true"};
    QTest::newRow("password rights False") << "GetChangePasswordRights" << "CHANGEPASSWORDRIGHTS" << "False" << true
                                           << same << QStringList{"CanChangePassword=false"};
    QTest::newRow("password rights maybe") << "GetChangePasswordRights" << "CHANGEPASSWORDRIGHTS" << "maybe" << false
                                           << "<ERROR 13>" << QStringList{};
    QTest::newRow("report list default") << "GetReportListPage" << "GETREPORTLISTPAGE" << "" << true << same
                                         << QStringList{"ReportListPage=/ReportList.asp"};
    QTest::newRow("report list blanks kept") << "GetReportListPage" << "GETREPORTLISTPAGE" << "   " << true << same
                                             << QStringList{"ReportListPage=   "};
    QTest::newRow("supplement trims blanks only") << "GetSupplementPage" << "GETSUPPLEMENTPAGE" << "  /s.asp\r\n "
                                                  << true << same << QStringList{"SuppPageLink=/s.asp\r\n"};
    QTest::newRow("rmcr keeps tab") << "GetRMCRPage" << "GETRMCRPAGE" << "\t/r.asp " << true << same
                                    << QStringList{"RMCRPageLink=\t/r.asp"};
    QTest::newRow("department") << "GetDepartmentID" << "GETDEPARTMENTID" << " D-1 " << true << same
                                << QStringList{"DepartmentID=D-1"};
    QTest::newRow("support data") << "GetAbout" << "GETABOUT" << "555||help@x||8 letters" << true << same
                                  << QStringList{"PhoneNumber=555", "SupportEmail=help@x", "PasswordSpecs=8 letters"};
    QTest::newRow("support data short") << "GetAbout" << "GETABOUT" << "555||help@x" << false << "<ERROR 9>"
                                        << QStringList{"PhoneNumber=555", "SupportEmail=help@x", "PasswordSpecs=<before>"};
    QTest::newRow("all bureaus") << "RequestBureauRights" << "REQUESTBUREAURIGHTS" << "" << true << same
                                 << QStringList{"bEFQ_Right=true", "bEXP_Right=true", "bTU_Right=true"};
    QTest::newRow("EXP0") << "RequestBureauRights" << "REQUESTBUREAURIGHTS" << "EXP0" << true << same
                          << QStringList{"bEFQ_Right=true", "bEXP_Right=false", "bTU_Right=true"};
    QTest::newRow("tokens are case-sensitive") << "RequestBureauRights" << "REQUESTBUREAURIGHTS" << "efq0 xTU0y" << true
                                               << same << QStringList{"bEFQ_Right=true", "bTU_Right=false"};
    QTest::newRow("credentials valid") << "ValidateCredentials" << "VALIDATECREDENTIALS" << "" << true << "" << QStringList{};
    QTest::newRow("credentials refused") << "ValidateCredentials" << "VALIDATECREDENTIALS" << "Invalid password." << false
                                         << same << QStringList{};
    QTest::newRow("any text refuses credentials") << "ValidateCredentials" << "VALIDATECREDENTIALS" << "SUCCESS" << false
                                                  << same << QStringList{};
    QTest::newRow("nothing pending") << "FindPending" << "FINDPENDING" << "" << false << "" << QStringList{};
    QTest::newRow("pending request") << "FindPending" << "FINDPENDING" << "GUID-1" << true << same << QStringList{};
    QTest::newRow("version stored") << "UpdateLOSVersion" << "UPDATELOSVERSION" << "" << true << "" << QStringList{};
    QTest::newRow("version refused") << "UpdateLOSVersion" << "UPDATELOSVERSION" << "No such request." << false << same
                                     << QStringList{};
}

void ActionsTest::answers()
{
    QFETCH(QString, operation);
    QFETCH(QString, action);
    QFETCH(QString, answer);
    QFETCH(bool, result);
    QFETCH(QString, answerAfter);
    QFETCH(QStringList, settings);
    for (const QString& s : settings)
        setting(s.section('=', 0, 0)).write(opposite(s.section('=', 1)));
    m_sim->script(action, answer);

    QString out = QStringLiteral("previous");
    QCOMPARE(CallOperation(operation, userBlock(action), out), result);

    if (answerAfter.startsWith("<ERROR ")) {
        QVERIFY2(out.startsWith("<ERROR><ERROR_NO>" + answerAfter.mid(7).chopped(1) + "</ERROR_NO>"), qPrintable(out));
        QCOMPARE(logEntries(), 1);
    } else {
        QCOMPARE(out, answerAfter == "=" ? answer : answerAfter);
        QCOMPARE(logEntries(), 0);
    }
    for (const QString& s : settings)
        QCOMPARE(setting(s.section('=', 0, 0)).read(), s.section('=', 1));
}

void ActionsTest::passwordExpired_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("windowRegistered");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("windowShown");
    QTest::newRow("True") << "True" << true << true << true;
    QTest::newRow("true without a window") << "true" << false << true << false;
    QTest::newRow("FALSE") << "FALSE" << true << true << false;
    QTest::newRow("0") << "0" << true << true << false;
    QTest::newRow("empty") << "" << true << true << false;
    QTest::newRow("yes is no truth value") << "yes" << true << false << false;
}

void ActionsTest::passwordExpired()
{
    QFETCH(QString, answer);
    QFETCH(bool, windowRegistered);
    QFETCH(bool, result);
    QFETCH(bool, windowShown);
    QList<bool> shown;
    WindowHooks::ShowChangePassword() = nullptr;
    if (windowRegistered)
        WindowHooks::ShowChangePassword() = [&shown](bool userInitiated) { shown << userInitiated; };
    m_sim->script("PASSWORDEXPIRED", answer);

    QString out;
    QCOMPARE(CheckPasswordExpired(userBlock("PASSWORDEXPIRED"), out), result);

    QCOMPARE(shown, windowShown ? QList<bool>{false} : QList<bool>{});
    QCOMPARE(logEntries(), result ? 0 : 1);
}

void ActionsTest::newerVersion_data()
{
    QTest::addColumn<QString>("answer");   // "{base}" stands for the server's address
    QTest::addColumn<int>("reply");        // 0: no question expected
    QTest::addColumn<int>("shellCode");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("opened");      // the download address was opened and the program ended
    QTest::addColumn<QString>("errorBox");
    const QString address = "{base}/downloads/QuillClientSetup.exe";
    QTest::newRow("client is current") << "" << 0 << 42 << true << false << "";
    QTest::newRow("user declines") << address << int(vbNo) << 42 << true << false << "";
    QTest::newRow("user accepts the server's address") << kServerAnswer << int(vbYes) << 42 << true << true << "";
    QTest::newRow("shell fails") << address << int(vbYes) << 2 << true << true
        << "There was an error while requesting the download.\r\n\r\n2- The specified file was not found.";
    QTest::newRow("file address") << "file:///tmp/Setup.exe" << 0 << 42 << false << false << "";
    QTest::newRow("relative address") << "/downloads/Setup.exe" << 0 << 42 << false << false << "";
}

void ActionsTest::newerVersion()
{
    QFETCH(QString, answer);
    QFETCH(int, reply);
    QFETCH(int, shellCode);
    QFETCH(bool, result);
    QFETCH(bool, opened);
    QFETCH(QString, errorBox);
    ShellRecorder shell;
    shell.result = shellCode;
    int ends = 0;
    WindowHooks::EndProgram() = [&ends] { ++ends; };
    if (reply)
        m_boxes->expect(reply);
    if (!errorBox.isEmpty())
        m_boxes->expect(vbOK);
    if (answer != kServerAnswer)
        m_sim->script("NEWERVERSION", QString(answer).replace("{base}", m_sim->baseUrl()));
    const QString block = ParamBlock("NEWERVERSION").add("USER", kUser).add("APPNAME", "OQCREDIT").add("APPVERSION", "1.0.0").text();

    QString out;
    QCOMPARE(CheckForNewerVersion(block, out), result);

    const auto& boxes = m_boxes->boxes;
    QCOMPARE(boxes.size(), (reply ? 1 : 0) + (errorBox.isEmpty() ? 0 : 1));
    if (reply) {
        QCOMPARE(boxes[0].title, "New Version Available at " + m_sim->baseUrl());
        QCOMPARE(boxes[0].text, QStringLiteral("There is a newer version of OQCREDIT available for download and "
                                               "installation.\r\n\r\nDo you want to download the newer version?"));
        QCOMPARE(boxes[0].style, int(vbYesNo | vbInformation));
    }
    if (!errorBox.isEmpty())
        QCOMPARE(boxes[1].title + ": " + boxes[1].text, "Error in CheckForNewerVersion: " + errorBox);
    QCOMPARE(shell.calls.size(), opened ? 1 : 0);
    if (opened)
        QCOMPARE(shell.calls[0].verb + " " + shell.calls[0].target, "open " + m_sim->baseUrl() + "/downloads/QuillClientSetup.exe");
    QCOMPARE(ends, opened ? 1 : 0);
    QCOMPARE(WindowHooks::EndRequested(), opened);
    QCOMPARE(logEntries(), result ? 0 : 1);
}

void ActionsTest::loginByReference_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("loginByRef");
    QTest::addColumn<QStringList>("entries");   // LongName/UserName/Password
    QTest::newRow("empty") << "" << true << false << QStringList{"Old/old/pw"};
    QTest::newRow("two users") << "Alex Agent*agent*pw 1|Bo*bo*pw2" << true << true
                               << QStringList{"Alex Agent/agent/pw 1", "Bo/bo/pw2"};
    QTest::newRow("duplicate name keeps the first") << "Al*a*1|AL*b*2|Cy*c*3" << true << true
                                                    << QStringList{"Al/a/1", "Cy/c/3"};
    QTest::newRow("trailing bar") << "Al*a*1|" << false << true << QStringList{"Al/a/1"};
    QTest::newRow("record with two fields") << "Al*a*1|Bo*bo|Cy*c*3" << false << true << QStringList{"Al/a/1"};
}

void ActionsTest::loginByReference()
{
    QFETCH(QString, answer);
    QFETCH(bool, result);
    QFETCH(bool, loginByRef);
    QFETCH(QStringList, entries);
    auto old = std::make_shared<clsLoginByRef>();
    old->setLongName("Old");
    old->setUserName("old");
    old->setPassword("pw");
    Props().setLoginByReferences({old});
    m_sim->script("LOGINBYREFERENCE", answer);

    QString out;
    QCOMPARE(LoginByReference(userBlock("LOGINBYREFERENCE"), out), result);

    QCOMPARE(Props().IsLoginByRef(), loginByRef);
    QStringList got;
    for (const auto& ref : Props().LoginByReferences())
        got << ref->LongName() + "/" + ref->UserName() + "/" + ref->Password();
    QCOMPARE(got, entries);
    QCOMPARE(logEntries(), result ? 0 : 1);
}

void ActionsTest::findReport_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("overallAnswer");   // "<500>": HTTP status 500; "<none>": not asked
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("answerAfter");     // "<ERROR>": an error text
    QTest::addColumn<QString>("reportId");
    QTest::addColumn<QString>("problem");         // the "Problem/Error" box's reason and sErrorText
    QTest::addColumn<QList<int>>("numbers");      // EXP, EFX, TU, report type, overall status
    QTest::addColumn<int>("logEntries");
    const QString found = "SUCCESS\nRPT-1\n2 0 1\n3\nANN\nM\nLEE";
    const QList<int> none{0, 0, 0, 0, 0};
    QTest::newRow("not found") << "FAILED\nReport not found." << "<none>" << true << "" << "" << "" << none << 0;
    QTest::newRow("not found with CR LF") << "FAILED\r\nReport not found.\r\n" << "<none>" << true << "ERROR" << "ERROR"
                                          << "Report not found.\r" << none << 0;
    QTest::newRow("refused") << "FAILED\nAccount locked" << "<none>" << true << "ERROR" << "ERROR" << "Account locked"
                             << none << 0;
    QTest::newRow("FAILED alone") << "FAILED" << "<none>" << false << "<ERROR>" << "" << "" << none << 1;
    QTest::newRow("found") << found << "64" << true << "RPT-1" << "RPT-1" << "" << QList<int>{2, 0, 1, 3, 64} << 0;
    QTest::newRow("found, no overall status") << found << "" << true << "RPT-1" << "RPT-1" << ""
                                              << QList<int>{2, 0, 1, 3, 1} << 0;
    QTest::newRow("found, overall status fails") << found << "<500>" << true << "RPT-1" << "RPT-1" << ""
                                                 << QList<int>{2, 0, 1, 3, 1} << 1;
}

void ActionsTest::findReport()
{
    QFETCH(QString, answer);
    QFETCH(QString, overallAnswer);
    QFETCH(bool, result);
    QFETCH(QString, answerAfter);
    QFETCH(QString, reportId);
    QFETCH(QString, problem);
    QFETCH(QList<int>, numbers);
    QFETCH(int, logEntries);
    if (!problem.isEmpty())
        m_boxes->expect(vbOK);
    m_sim->script("FIND_REPORT", answer);
    if (overallAnswer == "<500>")
        m_sim->scriptStatus("GETREPORTSTATUS", 500, "broken");
    else if (overallAnswer != "<none>")
        m_sim->script("GETREPORTSTATUS", overallAnswer);
    const auto previous = std::make_shared<clsReportStatus>();
    auto status = previous;

    QString out = QStringLiteral("previous");
    QCOMPARE(FindReport(ParamBlock("FIND_REPORT").add("SSN", "123456789").text(), status, out), result);

    QVERIFY(status && status != previous);
    if (answerAfter == "<ERROR>")
        QVERIFY2(out.startsWith("<ERROR><ERROR_NO>9</ERROR_NO>"), qPrintable(out));
    else
        QCOMPARE(out, answerAfter);
    QCOMPARE(status->sReportID(), reportId);
    QCOMPARE(status->sErrorText(), problem);
    QCOMPARE((QList<int>{status->nStatusEXP(), status->nStatusEFX(), status->nStatusTU(), status->nReportType(),
                         status->nStatusReport()}), numbers);
    QCOMPARE(m_boxes->boxes.size(), problem.isEmpty() ? 0 : 1);
    if (!problem.isEmpty())
        QCOMPARE(m_boxes->boxes[0].title + ": " + m_boxes->boxes[0].text,
                 "Problem/Error: There was a problem when finding existing report.\r\n\r\nProblem: " + problem);
    const QStringList requests = m_sim->requests();
    QCOMPARE(requests.size(), overallAnswer == "<none>" ? 1 : 2);
    if (requests.size() == 2)
        QCOMPARE(requests[1], kAccount + "Action=GETREPORTSTATUS&RID=RPT-1");
    QCOMPARE(this->logEntries(), logEntries);
}

void ActionsTest::transportFailures_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("failure");   // "500", "drop" or "timeout"
    QTest::addColumn<qlonglong>("number");
    QTest::addColumn<QString>("prefix");    // what the answer holds before the error text
    QTest::newRow("plain, HTTP 500") << "CheckMessages" << "CHECKMESSAGES" << "500" << qlonglong(ErrNo::HttpStatus) << "";
    QTest::newRow("search, HTTP 500") << "FindReport" << "FIND_REPORT" << "500" << qlonglong(ErrNo::HttpStatus) << "";
    QTest::newRow("credential check, HTTP 500") << "ValidateCredentials" << "VALIDATECREDENTIALS" << "500"
                                                << qlonglong(ErrNo::HttpStatus) << "After MSXML2.XMLHTTP30 Open  ";
    QTest::newRow("plain, dropped connection") << "GetAbout" << "GETABOUT" << "drop" << qlonglong(ErrNo::Transport) << "";
    QTest::newRow("plain, time-out") << "GetDepartmentID" << "GETDEPARTMENTID" << "timeout" << qlonglong(ErrNo::Timeout) << "";
    QTest::newRow("search, time-out") << "FindPending" << "FINDPENDING" << "timeout" << qlonglong(ErrNo::Timeout) << "";
}

void ActionsTest::transportFailures()
{
    QFETCH(QString, operation);
    QFETCH(QString, action);
    QFETCH(QString, failure);
    QFETCH(qlonglong, number);
    QFETCH(QString, prefix);
    if (failure == "timeout")
        qputenv("QUILLCLIENT_HTTP_TIMEOUT_MS", "300");
    if (failure == "500")
        m_sim->scriptStatus(action, 500, "Internal trouble");
    else if (failure == "drop")
        m_sim->scriptDrop(action, 3);   // the network layer retries a request once on a fresh connection
    else
        m_sim->setLatency(1500);
    const QString block = userBlock(action);

    QString out = QStringLiteral("stale answer");
    QVERIFY(!CallOperation(operation, block, out));

    const QString errorStart = prefix + "<ERROR><ERROR_NO>" + QString::number(number) + "</ERROR_NO>";
    QVERIFY2(out.startsWith(errorStart), qPrintable(out));
    QVERIFY(out.endsWith("<INFO><![CDATA[" + block + "]]></INFO></ERROR>"));
    QVERIFY(failure != "500" || out.contains("HTTP status 500"));
    QCOMPARE(logEntries(), 1);
    QVERIFY(m_env->readFile("errors.log").contains(errorStart.toLatin1()));
    QCOMPARE(m_boxes->boxes.size(), 0);
}

void ActionsTest::requestStartedWhileWaitingIsRefused()
{
    m_sim->setLatency(300);
    long nestedError = 0;
    QTimer::singleShot(50, [this, &nestedError] {
        HttpRequest nested;
        nested.open("POST", m_sim->baseUrl() + "/utils/CGI_Utilities.asp?Action=GETABOUT");
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
    QCOMPARE(m_sim->requests().size(), 1);
}
