// Talks HTTP to a running quill-vendor-sim, the way the client does, and checks the answers the
// client relies on: formats, refusals, report progress, scripted answers, the log and latency.

#include "VendorSim.h"

#include <QDate>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

namespace {

const QString accountPath = QStringLiteral("/utils/CGI_Utilities.asp?");
const QString reportPath = QStringLiteral("/cia/cgi/marrowCGI.exe?");
const QString demoLogin = QStringLiteral("UserName=demo&Password=Demo2026pass");
const QString recentId = QStringLiteral("5A1E0002-0000-4000-8000-00000000D002");
const QString oldId = QStringLiteral("5A1E0003-0000-4000-8000-00000000D003");
const QString rmcrId = QStringLiteral("5A1E0004-0000-4000-8000-00000000D004");
const QString jointId = QStringLiteral("5A1E0005-0000-4000-8000-00000000D005");
const QString reissueId = QStringLiteral("5A1E0007-0000-4000-8000-00000000D007");

// A new pull for the demo borrower who has no report, Experian and Equifax.
const QString newOrder = QStringLiteral(
    "&Keywords=&Reference=DANA+DEMO&FirstName=AVERY&LastName=NEWCOMB&MiddleInitial=J&SSN=900110001"
    "&DOB=07/04/1990&CurAddress=301+MAIN+ST&CurCity=AUSTIN&CurState=TX&CurZip=78701&Suffix=&Joint=FALSE"
    "&EQUIFAX=TRUE&EXPERIAN=TRUE");

struct Reply {
    int status = 0;
    QByteArray body;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QByteArray contentType;
};

} // namespace

class TestVendorSim : public QObject
{
    Q_OBJECT

private:
    VendorSim m_sim;
    QNetworkAccessManager m_network;

    // Sends the target exactly as written (no re-encoding), like the client's transport.
    Reply call(const QString &target, const QByteArray &verb = "POST", QNetworkAccessManager *network = nullptr)
    {
        QNetworkRequest request(QUrl::fromEncoded((m_sim.baseUrl() + target).toUtf8()));
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
        QNetworkReply *reply = (network ? network : &m_network)->sendCustomRequest(request, verb);
        QEventLoop loop;
        connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        Reply r;
        r.error = reply->isFinished() ? reply->error() : QNetworkReply::TimeoutError;
        r.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        r.body = reply->readAll();
        r.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
        reply->abort();
        reply->deleteLater();
        return r;
    }
    QString account(const QString &query) { return QString::fromUtf8(call(accountPath + query).body); }
    QString report(const QString &query, const QString &login = demoLogin)
    {
        return QString::fromUtf8(call(reportPath + login + query).body);
    }
    QString order(const QString &fields = newOrder)
    {
        const QStringList lines = report(QStringLiteral("&action=REQUEST") + fields
                                         + QStringLiteral("&Source=Orrery+Client&LOSVersion=1.1.0")).split(QLatin1Char('\n'));
        return lines.size() == 2 && lines[0] == QLatin1String("SUCCESS") ? lines[1] : QString();
    }
    QString status(const QString &guid) { return report(QStringLiteral("&action=GET_STATUS&guid=") + guid); }
    static QString daysAgo(int days)
    {
        return QDate::currentDate().addDays(-days).toString(QStringLiteral("MM/dd/yyyy"));
    }

private slots:
    void initTestCase()
    {
        m_network.setProxy(QNetworkProxy::NoProxy);
        QVERIFY2(m_sim.start(), "quill-vendor-sim did not start");
    }
    void init() { m_sim.reset(); }

    void accountActionAnswers_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const QString &q, const QString &a) { QTest::newRow(name) << q << a; };
        row("expired: no", "Action=PASSWORDEXPIRED&USER=demo", "False");
        row("expired: yes", "Action=PASSWORDEXPIRED&USER=expired", "True");
        row("expired: unknown user", "Action=PASSWORDEXPIRED&USER=nobody", "Unknown user.");
        row("version: current", "Action=NEWERVERSION&USER=demo&APPNAME=OQCREDIT&APPVERSION=1.1.0", "");
        row("reissue right: yes", "Action=CROSS_COMPANY_REISSUE&USER=reissue", "TRUE");
        row("reissue right: no", "Action=CROSS_COMPANY_REISSUE&USER=demo", "");
        row("messages: news", "Action=CHECKMESSAGES&USER=demo&DEPARTMENTID=QDEMO-LOANS", "/web/NewsBurst.asp");
        row("messages: none", "Action=CHECKMESSAGES&USER=agent&DEPARTMENTID=QDEMO-LOANS", "");
        row("password rights: yes", "Action=CHANGEPASSWORDRIGHTS&USER=demo&DEPARTMENTID=QDEMO-LOANS", "True");
        row("password rights: unknown", "Action=CHANGEPASSWORDRIGHTS&USER=nobody&DEPARTMENTID=", "False");
        row("report list page", "Action=GETREPORTLISTPAGE&USER=demo&DEPARTMENTID=QDEMO-LOANS", "/ReportList.asp");
        row("credentials: good", "Action=VALIDATECREDENTIALS&USER=demo&PASSWORD=Demo2026pass", "");
        row("credentials: bad", "Action=VALIDATECREDENTIALS&USER=demo&PASSWORD=demo2026pass", "Invalid user name or password.");
        row("date requested", "Action=DATEREQUESTED&RID=" + oldId, daysAgo(45));
        row("date requested: unknown", "Action=DATEREQUESTED&RID=NOPE", "");
        row("login by reference", "Action=LOGINBYREFERENCE&USER=demo", "Alex Agent*agent*Agent2026pass");
        row("login by reference: none", "Action=LOGINBYREFERENCE&USER=agent", "");
        row("supplement page", "Action=GETSUPPLEMENTPAGE&USER=demo&DEPARTMENTID=QDEMO-LOANS", "/web/Supplement.asp");
        row("summary page", "Action=GETSUMMARYPAGE&USER=demo&DEPARTMENTID=QDEMO-LOANS", "/web/Summary.asp?RID=");
        row("rmcr page", "Action=GETRMCRPAGE&USER=demo&DEPARTMENTID=QDEMO-LOANS", "/web/RMCR.asp");
        row("department", "Action=GETDEPARTMENTID&USER=demo", "QDEMO-LOANS");
        row("department: unknown", "Action=GETDEPARTMENTID&USER=nobody", "");
        row("bureau rights: all", "Action=REQUESTBUREAURIGHTS&USER=demo", "EFQ1 EXP1 TU1");
        row("bureau rights: no TU", "Action=REQUESTBUREAURIGHTS&USER=partner", "EFQ1 EXP1 TU0");
        row("bureau rights: unknown", "Action=REQUESTBUREAURIGHTS&USER=nobody", "EFQ0 EXP0 TU0");
        row("report status: rmcr", "Action=GETREPORTSTATUS&RID=" + rmcrId, "64");
        row("report status: active", "Action=GETREPORTSTATUS&RID=" + recentId, "1");
        row("report status: unknown", "Action=GETREPORTSTATUS&RID=NOPE", "");
        row("los version", "Action=UPDATELOSVERSION&guid=" + recentId + "&LOSVersion=1.1.0", "");
        row("los version: unknown guid", "Action=UPDATELOSVERSION&guid=NOPE&LOSVersion=1.1.0", "Unknown request.");
        row("contact info", "Action=GETCONTACTINFO&USER=demo&COMPANYID=&DEPARTMENTID=QDEMO-LOANS",
            "5550100123||12||dana.demo@quill-broker.example");
        row("contact info: unknown", "Action=GETCONTACTINFO&USER=nobody&COMPANYID=&DEPARTMENTID=", "");
    }
    void accountActionAnswers()
    {
        QFETCH(QString, query);
        QFETCH(QString, expected);
        const Reply r = call(accountPath + query);
        QCOMPARE(r.status, 200);
        QCOMPARE(QString::fromUtf8(r.body), expected);
    }

    void aboutPublishesSupportAndPolicy()
    {
        const QStringList parts = account("Action=GETABOUT&USER=demo&DEPARTMENTID=QDEMO-LOANS").split(QStringLiteral("||"));
        QCOMPARE(parts.size(), 3);
        QCOMPARE(parts[0], QStringLiteral("(555) 010-0199"));
        QCOMPARE(parts[1], QStringLiteral("support@quill-credit.example"));
        QVERIFY(parts[2].contains(QStringLiteral("8 or more characters")));
    }

    void unknownActionsAreRejected_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("account form") << accountPath + "Action=FROBNICATE&USER=demo";
        QTest::newRow("report form") << reportPath + demoLogin + "&action=FROBNICATE";
        QTest::newRow("other path") << QStringLiteral("/nothing/here?x=1");
    }
    void unknownActionsAreRejected()
    {
        QFETCH(QString, target);
        QVERIFY(call(target).status >= 400);
    }

    void newerVersionComparesNumerically_data()
    {
        QTest::addColumn<QString>("clientVersion");
        QTest::addColumn<bool>("offered");
        QTest::newRow("older") << "1.1.0" << true;
        QTest::newRow("same") << "1.2.0" << false;
        QTest::newRow("newer by number, older as text") << "1.10.0" << false;
        QTest::newRow("none") << "" << true;
    }
    void newerVersionComparesNumerically()
    {
        QFETCH(QString, clientVersion);
        QFETCH(bool, offered);
        m_sim.setLatestVersion(QStringLiteral("1.2.0"));
        const QString answer = account("Action=NEWERVERSION&USER=demo&APPNAME=OQCREDIT&APPVERSION=" + clientVersion);
        if (offered)
            QCOMPARE(answer, m_sim.baseUrl() + QStringLiteral("/downloads/QuillClientSetup.exe"));
        else
            QCOMPARE(answer, QString());
    }

    void reportFormChecksCredentials_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("expected");
        const QString found = "SUCCESS\n" + recentId + "\n4 4 4\n1\nJORDAN\nL\nSAMPLE";
        QTest::newRow("own login") << demoLogin << found;
        QTest::newRow("user name in other case") << "UserName=DEMO&Password=Demo2026pass" << found;
        QTest::newRow("wrong password") << "UserName=demo&Password=wrong" << "FAILED\nInvalid password";
        QTest::newRow("unknown user") << "UserName=nobody&Password=Demo2026pass" << "FAILED\nInvalid password";
        QTest::newRow("by reference") << "UserName=agent&Password=Agent2026pass&LoginByRefUserName=demo&LoginByRefPassword=Demo2026pass" << found;
        QTest::newRow("by reference, own password wrong")
            << "UserName=agent&Password=Agent2026pass&LoginByRefUserName=demo&LoginByRefPassword=bad" << "FAILED\nInvalid password";
        QTest::newRow("by reference, other's password wrong")
            << "UserName=agent&Password=bad&LoginByRefUserName=demo&LoginByRefPassword=Demo2026pass" << "FAILED\nInvalid password";
        QTest::newRow("by reference, not allowed")
            << "UserName=demo&Password=Demo2026pass&LoginByRefUserName=agent&LoginByRefPassword=Agent2026pass"
            << "FAILED\nYou may not order on behalf of demo.";
    }
    void reportFormChecksCredentials()
    {
        QFETCH(QString, login);
        QFETCH(QString, expected);
        QCOMPARE(report("&action=FIND_REPORT&SSN=900110002&FirstName=JORDAN&LastName=SAMPLE", login), expected);
    }

    void everyReportActionRefusesWrongPassword_data()
    {
        QTest::addColumn<QString>("action");
        for (const char *a : {"FIND_REPORT", "REQUEST", "GET_STATUS", "GET_PDF", "GET_DATA"})
            QTest::newRow(a) << QString::fromLatin1(a);
    }
    void everyReportActionRefusesWrongPassword()
    {
        QFETCH(QString, action);
        QCOMPARE(report("&action=" + action + "&guid=" + recentId + newOrder, QStringLiteral("UserName=demo&Password=x")),
                 QStringLiteral("FAILED\nInvalid password"));
    }

    void findReport_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("criteria");
        QTest::addColumn<QString>("expected");
        const QString notFound = QStringLiteral("FAILED\nReport not found.");
        QTest::newRow("names in other case") << demoLogin << "&SSN=900110002&FirstName=jordan&LastName=Sample"
                                             << "SUCCESS\n" + recentId + "\n4 4 4\n1\nJORDAN\nL\nSAMPLE";
        QTest::newRow("first name differs") << demoLogin << "&SSN=900110002&FirstName=JORDANA&LastName=SAMPLE" << notFound;
        QTest::newRow("no report") << demoLogin << "&SSN=900110001&FirstName=AVERY&LastName=NEWCOMB" << notFound;
        QTest::newRow("joint, with co-borrower")
            << demoLogin << "&SSN=900110005&FirstName=RILEY&LastName=JOYNER&CoFirstName=TAYLOR&CoLastName=JOYNER&CoSSN=900110006"
            << "SUCCESS\n" + jointId + "\n4 4 0\n1\nRILEY\n\nJOYNER";
        QTest::newRow("joint report, searched alone") << demoLogin << "&SSN=900110005&FirstName=RILEY&LastName=JOYNER" << notFound;
        QTest::newRow("other company's report") << demoLogin << "&SSN=900110007&FirstName=QUINN&LastName=OTHERCO" << notFound;
        QTest::newRow("reissue number")
            << "UserName=reissue&Password=Reissue2026pass" << "&ReIssueNum=RX20260417&SSN=900110001&FirstName=X&LastName=Y"
            << "SUCCESS\n" + reissueId + "\n4 4 0\n1\nQUINN\n\nOTHERCO";
        QTest::newRow("reissue number, unknown") << "UserName=reissue&Password=Reissue2026pass" << "&ReIssueNum=RX1" << notFound;
        QTest::newRow("reissue number, no right")
            << demoLogin << "&ReIssueNum=RX20260417" << "FAILED\nCross-company reissue is not enabled for this account.";
    }
    void findReport()
    {
        QFETCH(QString, login);
        QFETCH(QString, criteria);
        QFETCH(QString, expected);
        QCOMPARE(report("&action=FIND_REPORT" + criteria, login), expected);
    }

    void reissueGrantsAccessToTheReport()
    {
        const QString login = QStringLiteral("UserName=reissue&Password=Reissue2026pass");
        QCOMPARE(status(reissueId), QStringLiteral("FAILED\nReport not found."));
        QVERIFY(report("&action=GET_STATUS&guid=" + reissueId, login).startsWith(QLatin1String("FAILED")));
        QVERIFY(report("&action=FIND_REPORT&ReIssueNum=RX20260417", login).startsWith(QLatin1String("SUCCESS")));
        QCOMPARE(report("&action=GET_STATUS&guid=" + reissueId, login), QStringLiteral("SUCCESS\n4\n4\n0"));
    }

    void orderProgressesOverPolls_data()
    {
        QTest::addColumn<int>("statusPolls");
        QTest::addColumn<int>("pdfPolls");
        QTest::newRow("finished at once") << 0 << 0;
        QTest::newRow("two status polls, one pdf poll") << 2 << 1;
        QTest::newRow("four status polls, three pdf polls") << 4 << 3;
    }
    void orderProgressesOverPolls()
    {
        QFETCH(int, statusPolls);
        QFETCH(int, pdfPolls);
        m_sim.setStatusPolls(statusPolls);
        m_sim.setPdfPolls(pdfPolls);
        const QString guid = order();
        QVERIFY(!guid.isEmpty());
        for (int i = 0; i < statusPolls; ++i)
            QCOMPARE(status(guid), QStringLiteral("SUCCESS\n1\n1\n0"));
        QCOMPARE(status(guid), QStringLiteral("SUCCESS\n4\n4\n0"));
        for (int i = 0; i < pdfPolls; ++i)
            QCOMPARE(report("&action=GET_PDF&guid=" + guid), QStringLiteral("PENDING"));
        const QStringList ready = report("&action=GET_PDF&guid=" + guid).split(QLatin1Char('\n'));
        QCOMPARE(ready.size(), 2);
        QVERIFY(ready[1].startsWith(QLatin1String("/")));
        const Reply pdf = call(ready[1], "GET");
        QCOMPARE(pdf.status, 200);
        QCOMPARE(pdf.contentType, QByteArrayLiteral("application/pdf"));
        QVERIFY(pdf.body.startsWith("%PDF"));
        QVERIFY(pdf.body.size() > 1000);
    }

    void pdfWaitsForTheBureaus()
    {
        m_sim.setStatusPolls(2);
        m_sim.setPdfPolls(0);
        const QString guid = order();
        QCOMPARE(report("&action=GET_PDF&guid=" + guid), QStringLiteral("PENDING"));
        QCOMPARE(report("&action=GET_PDF&guid=" + guid), QStringLiteral("PENDING"));
        QVERIFY(report("&action=GET_PDF&guid=" + guid).startsWith(QLatin1String("SUCCESS\n/")));
    }

    void requestIsRefused_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("reason");
        QString noBureau = newOrder;
        noBureau.remove(QStringLiteral("&EQUIFAX=TRUE&EXPERIAN=TRUE"));
        QString shortSsn = newOrder;
        shortSsn.replace(QStringLiteral("SSN=900110001"), QStringLiteral("SSN=90011"));
        QString jointNoCo = newOrder;
        jointNoCo.replace(QStringLiteral("Joint=FALSE"), QStringLiteral("Joint=TRUE"));
        QString badDob = newOrder;
        badDob.replace(QStringLiteral("07/04/1990"), QStringLiteral("13/45/1990"));
        QTest::newRow("no bureau") << demoLogin << noBureau << "At least one bureau must be selected.";
        QTest::newRow("short SSN") << demoLogin << shortSsn << "The borrower's social security number must have 9 digits.";
        QTest::newRow("joint without co-borrower") << demoLogin << jointNoCo << "The co-borrower's first and last name are required.";
        QTest::newRow("birth date not a date") << demoLogin << badDob << "The borrower's date of birth is not a date (MM/DD/YYYY).";
        QTest::newRow("bureau without right") << "UserName=partner&Password=Partner2026pass" << newOrder + "&TRANSUNION=TRUE"
                                              << "You are not permitted to order TransUnion.";
        QTest::newRow("upgrade without report") << demoLogin << QString(newOrder).replace("Keywords=&", "Keywords=UPGRADE&")
                                                << "There is no report to add a bureau to.";
        QTest::newRow("upgrade adding nothing")
            << demoLogin
            << "&Keywords=UPGRADE&FirstName=JORDAN&LastName=SAMPLE&SSN=900110002&Joint=FALSE&EXPERIAN=TRUE&EQUIFAX=TRUE"
            << "The report already has every requested bureau.";
        QTest::newRow("repull of RMCR-pending report")
            << demoLogin << "&Keywords=REQUEST&FirstName=MORGAN&LastName=PENDER&SSN=900110004&Joint=FALSE&EXPERIAN=TRUE"
            << "The report is at RMCR pending status.";
        QTest::newRow("unknown keyword") << demoLogin << QString(newOrder).replace("Keywords=&", "Keywords=MAGIC&")
                                         << "Unknown order keyword MAGIC.";
    }
    void requestIsRefused()
    {
        QFETCH(QString, login);
        QFETCH(QString, fields);
        QFETCH(QString, reason);
        QCOMPARE(report("&action=REQUEST" + fields, login), "FAILED\n" + reason);
        QCOMPARE(m_sim.reports().size(), 5); // nothing was created
    }

    void repullMakesANewestVersion()
    {
        const QString guid = order("&Keywords=REQUEST&Reference=DANA+DEMO&FirstName=JORDAN&LastName=SAMPLE&SSN=900110002"
                                   "&Joint=FALSE&EQUIFAX=TRUE&EXPERIAN=TRUE&TRANSUNION=TRUE");
        QVERIFY(!guid.isEmpty());
        QVERIFY(guid != recentId);
        const QJsonObject made = m_sim.reports().last().toObject();
        QCOMPARE(made.value("previousId").toString(), recentId);
        QCOMPARE(made.value("source").toString(), QStringLiteral("Orrery Client"));
        QVERIFY(report("&action=FIND_REPORT&SSN=900110002&FirstName=JORDAN&LastName=SAMPLE").startsWith("SUCCESS\n" + guid + "\n"));
    }

    void upgradeKeepsFinishedBureausAndAddsNewOnes()
    {
        m_sim.setStatusPolls(1);
        const QString guid = order("&Keywords=UPGRADE&Reference=DANA+DEMO&FirstName=RILEY&LastName=JOYNER&SSN=900110005"
                                   "&Joint=TRUE&CoFirstName=TAYLOR&CoLastName=JOYNER&CoSSN=900110006"
                                   "&EQUIFAX=TRUE&EXPERIAN=TRUE&TRANSUNION=TRUE");
        QVERIFY(!guid.isEmpty());
        QCOMPARE(status(guid), QStringLiteral("SUCCESS\n4\n4\n1"));
        QCOMPARE(status(guid), QStringLiteral("SUCCESS\n4\n4\n4"));
    }

    void findPendingFindsAnIdenticalOrderInProgress_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("fields");
        QTest::addColumn<int>("pollsFirst");
        QTest::addColumn<bool>("found");
        QTest::newRow("identical") << demoLogin << newOrder << 0 << true;
        QTest::newRow("other bureaus") << demoLogin << newOrder + "&TRANSUNION=TRUE" << 0 << false;
        QTest::newRow("wrong password") << "UserName=demo&Password=x" << newOrder << 0 << false;
        QTest::newRow("finished already") << demoLogin << newOrder << 3 << false;
    }
    void findPendingFindsAnIdenticalOrderInProgress()
    {
        QFETCH(QString, login);
        QFETCH(QString, fields);
        QFETCH(int, pollsFirst);
        QFETCH(bool, found);
        m_sim.setStatusPolls(3);
        const QString guid = order();
        for (int i = 0; i < pollsFirst; ++i)
            status(guid);
        QCOMPARE(account(login + "&Action=FINDPENDING" + fields), found ? guid : QString());
    }

    void getDataHonoursItsFields_data()
    {
        QTest::addColumn<QString>("message");
        QTest::newRow("blanks as +") << "Credit+report+recieved+and+populated+by+quill.example";
        QTest::newRow("blanks as %20") << "Credit%20report%20recieved%20and%20populated%20by%20quill.example";
    }
    void getDataHonoursItsFields()
    {
        QFETCH(QString, message);
        const QString data = report("&action=GET_DATA&UpdateMessage=" + message + "&BorrowerFile=__XFILE__&guid=" + jointId
                                    + "&DataFormat=QUILL&reference=demo");
        QVERIFY(data.endsWith(QLatin1String("\r\n")));
        const QStringList lines = data.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), QStringLiteral("QUILL-LIABILITIES\t1"));
        QVERIFY(lines.contains(QStringLiteral("FILE\t__XFILE__")));
        QVERIFY(lines.contains(QStringLiteral("MESSAGE\tCredit report recieved and populated by quill.example")));
        QVERIFY(lines.contains(QStringLiteral("REFERENCE\tdemo")));
        QVERIFY(lines.contains(QStringLiteral("COBORROWER\tJOYNER\tTAYLOR\tANN\t\t900110006\t11/23/1989")));
        const int liabilities = int(lines.filter(QRegularExpression(QStringLiteral("^LIABILITY\t"))).size());
        QVERIFY(liabilities >= 3);
        QCOMPARE(lines.last(), QStringLiteral("END\t%1").arg(liabilities));
    }

    void getDataRefusals_data()
    {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("expected");
        QTest::newRow("other format") << "&guid=" + recentId + "&DataFormat=XML" << "FAILED\nUnsupported data format.";
        QTest::newRow("unknown report") << QStringLiteral("&guid=NOPE&DataFormat=QUILL") << "FAILED\nReport not found.";
    }
    void getDataRefusals()
    {
        QFETCH(QString, fields);
        QFETCH(QString, expected);
        QCOMPARE(report("&action=GET_DATA" + fields), expected);
    }

    void rmcrPendingReportHasNoPdf()
    {
        QCOMPARE(report("&action=GET_PDF&guid=" + rmcrId), QStringLiteral("FAILED\nThe report is at RMCR pending status."));
    }

    void formValuesAreDecodedLikeABrowser_data()
    {
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("stored");
        QTest::newRow("plus") << "555+0100" << "555 0100";
        QTest::newRow("percent 20") << "555%200100" << "555 0100";
        QTest::newRow("reserved characters") << "a%26b%3Dc%2Bd" << "a&b=c+d";
        QTest::newRow("UTF-8") << "Ren%C3%A9e" << QStringLiteral("Ren\u00e9e");
        QTest::newRow("Windows-1252 byte") << "Ren%E9e" << QStringLiteral("Ren\u00e9e");
    }
    void formValuesAreDecodedLikeABrowser()
    {
        QFETCH(QString, sent);
        QFETCH(QString, stored);
        QCOMPARE(account("Action=UPDATECONTACTINFO&USER=demo&DEPARTMENTID=QDEMO-LOANS&NEWPHONE=" + sent
                         + "&NEWEXT=7&NEWEMAIL=dana%40quill-broker.example"),
                 QStringLiteral("CONTACTINFOCHANGED"));
        QCOMPARE(account("Action=GETCONTACTINFO&USER=demo&COMPANYID=&DEPARTMENTID=QDEMO-LOANS"),
                 stored + "||7||dana@quill-broker.example");
    }

    void updateContactInfoRefusals_data()
    {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unknown user") << "USER=nobody&DEPARTMENTID=&NEWPHONE=1&NEWEXT=&NEWEMAIL=" << "Unknown user.";
        QTest::newRow("other department") << "USER=demo&DEPARTMENTID=OTHER&NEWPHONE=1&NEWEXT=&NEWEMAIL="
                                          << "Department does not match this user.";
        QTest::newRow("e-mail without @") << "USER=demo&DEPARTMENTID=QDEMO-LOANS&NEWPHONE=1&NEWEXT=&NEWEMAIL=dana"
                                          << "Invalid e-mail address.";
    }
    void updateContactInfoRefusals()
    {
        QFETCH(QString, fields);
        QFETCH(QString, expected);
        QCOMPARE(account("Action=UPDATECONTACTINFO&" + fields), expected);
        QCOMPARE(account("Action=GETCONTACTINFO&USER=demo&COMPANYID=&DEPARTMENTID=QDEMO-LOANS"),
                 QStringLiteral("5550100123||12||dana.demo@quill-broker.example"));
    }

    void changePasswordEnforcesThePolicy_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("oldPass");
        QTest::addColumn<QString>("newPass");
        QTest::addColumn<QString>("expected");
        QTest::newRow("good") << "demo" << "Demo2026pass" << "Fresh2027pass" << "PASSWORDCHANGED";
        QTest::newRow("expired account") << "expired" << "Expired2026pass" << "Renewed2027" << "PASSWORDCHANGED";
        QTest::newRow("old password wrong") << "demo" << "demo2026pass" << "Fresh2027pass" << "The existing password is not correct.";
        QTest::newRow("too short") << "demo" << "Demo2026pass" << "Ab1cdef" << "The new password must be at least 8 characters long.";
        QTest::newRow("no upper case") << "demo" << "Demo2026pass" << "fresh2027pass" << "The new password must contain an upper case letter.";
        QTest::newRow("no lower case") << "demo" << "Demo2026pass" << "FRESH2027PASS" << "The new password must contain a lower case letter.";
        QTest::newRow("no digit") << "demo" << "Demo2026pass" << "FreshPassword" << "The new password must contain a number.";
        QTest::newRow("unchanged") << "demo" << "Demo2026pass" << "Demo2026pass" << "The new password must differ from the existing password.";
        QTest::newRow("unknown user") << "nobody" << "x" << "Fresh2027pass" << "Unknown user.";
    }
    void changePasswordEnforcesThePolicy()
    {
        QFETCH(QString, user);
        QFETCH(QString, oldPass);
        QFETCH(QString, newPass);
        QFETCH(QString, expected);
        QCOMPARE(account("Action=CHANGEPASSWORD&USER=" + user + "&OLDPASS=" + oldPass + "&NEWPASS=" + newPass), expected);
        const bool changed = expected == QLatin1String("PASSWORDCHANGED");
        if (newPass != oldPass)
            QCOMPARE(account("Action=VALIDATECREDENTIALS&USER=" + user + "&PASSWORD=" + newPass).isEmpty(), changed);
        if (changed)
            QCOMPARE(account("Action=PASSWORDEXPIRED&USER=" + user), QStringLiteral("False"));
    }

    void losVersionIsStoredOnTheOrder()
    {
        const QString guid = order();
        QCOMPARE(account("Action=UPDATELOSVERSION&guid=" + guid + "&LOSVersion=1.1.7"), QString());
        QCOMPARE(m_sim.reports().last().toObject().value("losVersion").toString(), QStringLiteral("1.1.7"));
    }

    void loginByReferenceOrdersOnTheOtherAccount()
    {
        const QString login = QStringLiteral("UserName=agent&Password=Agent2026pass&LoginByRefUserName=demo&LoginByRefPassword=Demo2026pass");
        const QStringList lines = report("&action=REQUEST" + newOrder, login).split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("SUCCESS"));
        const QJsonObject made = m_sim.reports().last().toObject();
        QCOMPARE(made.value("id").toString(), lines.value(1));
        QCOMPARE(made.value("owner").toString(), QStringLiteral("agent"));
        QCOMPARE(made.value("placedBy").toString(), QStringLiteral("demo"));
    }

    void webPagesShowWhatTheyReceivedEscaped_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("report list") << "/ReportList.asp";
        QTest::newRow("supplement") << "/web/Supplement.asp";
        QTest::newRow("rmcr") << "/web/RMCR.asp";
        QTest::newRow("summary") << "/web/Summary.asp";
        QTest::newRow("news") << "/web/NewsBurst.asp";
    }
    void webPagesShowWhatTheyReceivedEscaped()
    {
        QFETCH(QString, path);
        const Reply page = call(path + "?RID=" + recentId + "&Username=demo&BorFirstname=%3Cb%3EAL%60S%20%26%20CO", "GET");
        QCOMPARE(page.status, 200);
        QVERIFY(page.contentType.startsWith("text/html"));
        QVERIFY(page.body.contains("<th>BorFirstname</th><td>&lt;b&gt;AL`S &amp; CO</td>"));
        QVERIFY(!page.body.contains("<b>AL"));
        QVERIFY(page.body.contains(recentId.toUtf8()));
    }

    void summaryAndListShowTheReports()
    {
        QVERIFY(call("/web/Summary.asp?RID=" + jointId, "GET").body.contains("TAYLOR ANN JOYNER"));
        const QByteArray list = call("/ReportList.asp?username=demo", "GET").body;
        QVERIFY(list.contains(recentId.toUtf8()));
        QVERIFY(!list.contains(reissueId.toUtf8())); // another company's report
    }

    void newsIsAnsweredUntilRead()
    {
        const QString check = QStringLiteral("Action=CHECKMESSAGES&USER=demo&DEPARTMENTID=QDEMO-LOANS");
        QCOMPARE(account(check), QStringLiteral("/web/NewsBurst.asp"));
        QCOMPARE(call("/web/NewsBurst.asp?Interface=OQCREDIT&username=demo&CID=&DID=QDEMO-LOANS", "GET").status, 200);
        QCOMPARE(account(check), QString());
    }

    void scriptedAnswersAreServedVerbatimThenNormal_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("httpStatus");
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("times");
        QTest::newRow("FAILED alone") << "FIND_REPORT" << 200 << "FAILED" << 1;
        QTest::newRow("CR LF lines, twice") << "GET_STATUS" << 200 << "SUCCESS\r\n1\r\n4\r\n0\r\n" << 2;
        QTest::newRow("HTML page") << "GETDEPARTMENTID" << 200 << "<html><body>Server busy</body></html>" << 1;
        QTest::newRow("empty") << "PASSWORDEXPIRED" << 200 << "" << 1;
        QTest::newRow("server error") << "GETABOUT" << 500 << "Internal error" << 1;
        QTest::newRow("action name in lower case") << "get_pdf" << 503 << "" << 1;
    }
    void scriptedAnswersAreServedVerbatimThenNormal()
    {
        QFETCH(QString, action);
        QFETCH(int, httpStatus);
        QFETCH(QString, body);
        QFETCH(int, times);
        m_sim.setPdfPolls(0); // so that the normal answer is the same before and after
        const QString target = action.toUpper().contains(QLatin1Char('_'))
            ? reportPath + demoLogin + "&action=" + action.toUpper() + "&guid=" + recentId
                  + "&SSN=900110002&FirstName=JORDAN&LastName=SAMPLE"
            : accountPath + "Action=" + action.toUpper() + "&USER=demo&DEPARTMENTID=QDEMO-LOANS";
        const Reply normal = call(target);
        m_sim.scriptStatus(action, httpStatus, body, times);
        for (int i = 0; i < times; ++i) {
            const Reply scripted = call(target);
            QCOMPARE(scripted.status, httpStatus);
            QCOMPARE(scripted.body, body.toUtf8());
        }
        const Reply after = call(target);
        QCOMPARE(after.status, normal.status);
        QCOMPARE(after.body, normal.body);
    }

    void scriptOnlyTouchesItsAction()
    {
        m_sim.script(QStringLiteral("GETDEPARTMENTID"), QStringLiteral("SCRIPTED"));
        QCOMPARE(account("Action=GETREPORTLISTPAGE&USER=demo"), QStringLiteral("/ReportList.asp"));
        QCOMPARE(account("Action=GETDEPARTMENTID&USER=demo"), QStringLiteral("SCRIPTED"));
    }

    void droppedConnectionsGetNoAnswer_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("target");
        QTest::newRow("account action") << "VALIDATECREDENTIALS" << accountPath + "Action=VALIDATECREDENTIALS&USER=demo&PASSWORD=Demo2026pass";
        QTest::newRow("report action") << "GET_STATUS" << reportPath + demoLogin + "&action=GET_STATUS&guid=" + recentId;
    }
    void droppedConnectionsGetNoAnswer()
    {
        QFETCH(QString, action);
        QFETCH(QString, target);
        m_sim.scriptDrop(action);
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_sim.port());
        QVERIFY(socket.waitForConnected(5000));
        socket.write("POST " + target.toUtf8() + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 0\r\n\r\n");
        QVERIFY(socket.waitForDisconnected(5000));
        QCOMPARE(socket.readAll(), QByteArray());
        QCOMPARE(call(target).status, 200);
    }

    // The network stack resends a request once when its connection closes unanswered, so a client
    // sees the drop only when two answers in a row are dropped.
    void droppedTwiceReachesANetworkClient()
    {
        const QString target = accountPath + "Action=GETDEPARTMENTID&USER=demo";
        QCOMPARE(call(target).status, 200); // a kept-alive connection, as the client has
        m_sim.scriptDrop(QStringLiteral("GETDEPARTMENTID"), 2);
        const Reply dropped = call(target);
        QCOMPARE(dropped.status, 0);
        QCOMPARE(dropped.error, QNetworkReply::RemoteHostClosedError);
        QCOMPARE(call(target).body, QByteArrayLiteral("QDEMO-LOANS"));
    }

    void scriptedPdfDownloadFails()
    {
        m_sim.setPdfPolls(0);
        const QString path = report("&action=GET_PDF&guid=" + recentId).section(QLatin1Char('\n'), 1);
        m_sim.scriptStatus(QStringLiteral("PDFFILE"), 500, QStringLiteral("broken"));
        QCOMPARE(call(path, "GET").status, 500);
        QVERIFY(call(path, "GET").body.startsWith("%PDF"));
    }

    void requestLogKeepsRawTargetsInOrder()
    {
        const QStringList sent{
            "POST " + accountPath + "Action=GETABOUT&USER=demo&DEPARTMENTID=QDEMO+LOANS",
            "GET " + accountPath + "Action=GETDEPARTMENTID&USER=demo%20x%26y%60",
            "POST " + reportPath + demoLogin + "&action=GET_STATUS&guid=" + recentId,
        };
        for (const QString &line : sent)
            call(line.section(QLatin1Char(' '), 1), line.section(QLatin1Char(' '), 0, 0).toUtf8());
        m_sim.setLatency(0); // a control request, which must not appear in the log
        QCOMPARE(m_sim.requests(), sent);
        m_sim.clearRequests();
        QCOMPARE(m_sim.requests(), QStringList());
    }

    void latencyDelaysWithoutBlocking()
    {
        m_sim.setLatency(600);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(account("Action=GETDEPARTMENTID&USER=demo"), QStringLiteral("QDEMO-LOANS"));
        QVERIFY2(timer.elapsed() >= 600, "answer came before the latency");

        // Three requests at once must overlap: a sleeping server would need three times as long.
        QList<QNetworkReply *> replies;
        QNetworkAccessManager parallel;
        parallel.setProxy(QNetworkProxy::NoProxy);
        timer.restart();
        for (int i = 0; i < 3; ++i) {
            QNetworkRequest r(QUrl(m_sim.baseUrl() + accountPath + "Action=GETDEPARTMENTID&USER=agent"));
            replies.append(parallel.get(r));
        }
        for (QNetworkReply *reply : replies) {
            if (!reply->isFinished()) {
                QEventLoop loop;
                connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
                loop.exec();
            }
            QCOMPARE(reply->readAll(), QByteArrayLiteral("QDEMO-LOANS"));
            reply->deleteLater();
        }
        QVERIFY2(timer.elapsed() < 1500, "parallel answers were serialised");
    }

    void clientGivingUpDuringLatencyLeavesServerWell()
    {
        m_sim.setLatency(300);
        {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, m_sim.port());
            QVERIFY(socket.waitForConnected(5000));
            socket.write("POST " + (accountPath + "Action=GETDEPARTMENTID&USER=demo").toUtf8()
                         + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 0\r\n\r\n");
            QVERIFY(socket.waitForBytesWritten(5000));
        } // closed before the answer is due
        QTest::qWait(400);
        QCOMPARE(account("Action=GETDEPARTMENTID&USER=agent"), QStringLiteral("QDEMO-LOANS"));
    }

    void resetReturnsToTheSeed()
    {
        QVERIFY(!order().isEmpty());
        QCOMPARE(account("Action=CHANGEPASSWORD&USER=demo&OLDPASS=Demo2026pass&NEWPASS=Fresh2027pass"), QStringLiteral("PASSWORDCHANGED"));
        m_sim.script(QStringLiteral("GETDEPARTMENTID"), QStringLiteral("SCRIPTED"));
        m_sim.reset();
        QCOMPARE(account("Action=VALIDATECREDENTIALS&USER=demo&PASSWORD=Demo2026pass"), QString());
        QCOMPARE(m_sim.reports().size(), 5);
        QCOMPARE(account("Action=GETDEPARTMENTID&USER=demo"), QStringLiteral("QDEMO-LOANS"));
    }

    void demoExportFilesMatchTheSeed_data()
    {
        QTest::addColumn<QString>("caseName");
        QTest::addColumn<QString>("expectedSearch");
        QTest::newRow("no-report") << "no-report" << "FAILED\nReport not found.";
        QTest::newRow("recent") << "recent" << recentId;
        QTest::newRow("old") << "old" << oldId;
        QTest::newRow("rmcr-pending") << "rmcr-pending" << rmcrId;
        QTest::newRow("joint") << "joint" << jointId;
    }
    // The search the client makes from each demo EXPORT.DAT finds the report the case is about.
    void demoExportFilesMatchTheSeed()
    {
        QFETCH(QString, caseName);
        QFETCH(QString, expectedSearch);
        QFile file(VendorSim::demoCaseDir(caseName) + QStringLiteral("/EXPORT.DAT"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray line = file.readLine();
        QVERIFY(line.endsWith("\r\n"));
        const QList<QByteArray> f = line.chopped(2).split('\t');
        QVERIFY(f.size() == 17 || f.size() == 23);
        const auto digits = [](QByteArray s) { return QString::fromLatin1(s).remove(QRegularExpression("[^0-9]")); };
        const auto firstWord = [](const QByteArray &s) { return QString::fromLatin1(s).section(QLatin1Char(' '), 0, 0); };
        QString criteria = "&SSN=" + digits(f[2]) + "&FirstName=" + firstWord(f[1]) + "&LastName=" + firstWord(f[0]);
        if (!f[5].isEmpty())
            criteria += "&CoFirstName=" + firstWord(f[4]) + "&CoLastName=" + firstWord(f[3]) + "&CoSSN=" + digits(f[5]);
        const QString answer = report("&action=FIND_REPORT" + criteria);
        QCOMPARE(answer.startsWith(QLatin1String("SUCCESS")) ? answer.section(QLatin1Char('\n'), 1, 1) : answer, expectedSearch);
    }
};

QTEST_GUILESS_MAIN(TestVendorSim)
#include "test_vendor_sim.moc"
