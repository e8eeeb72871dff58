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
#include <QTest>

namespace {

const QString accountPath = QStringLiteral("/utils/CGI_Utilities.asp?");
const QString reportPath = QStringLiteral("/cia/cgi/marrowCGI.exe?");
const QString demoLogin = QStringLiteral("UserName=demo&Password=Demo2026pass");
const QString refLogin = QStringLiteral("UserName=agent&Password=Agent2026pass&LoginByRefUserName=demo&LoginByRefPassword=");
const QString reissueLogin = QStringLiteral("UserName=reissue&Password=Reissue2026pass");
const QString recentId = QStringLiteral("5A1E0002-0000-4000-8000-00000000D002");
const QString oldId = QStringLiteral("5A1E0003-0000-4000-8000-00000000D003");
const QString rmcrId = QStringLiteral("5A1E0004-0000-4000-8000-00000000D004");
const QString jointId = QStringLiteral("5A1E0005-0000-4000-8000-00000000D005");
const QString reissueId = QStringLiteral("5A1E0007-0000-4000-8000-00000000D007");
const QString coBorrower = QStringLiteral("&CoFirstName=TAYLOR&CoLastName=JOYNER&CoSSN=900110006");
const QString demoContact = QStringLiteral("5550100123||12||dana.demo@quill-broker.example");

// A new pull for the demo borrower who has no report, Experian and Equifax.
const QString newOrder = QStringLiteral(
    "&Keywords=&Reference=DANA+DEMO&FirstName=AVERY&LastName=NEWCOMB&MiddleInitial=J&SSN=900110001"
    "&DOB=07/04/1990&CurAddress=301+MAIN+ST&CurCity=AUSTIN&CurState=TX&CurZip=78701&Suffix=&Joint=FALSE"
    "&EQUIFAX=TRUE&EXPERIAN=TRUE");

struct Reply { int status = 0; QByteArray body, contentType; };

QString changed(QString text, const QString &from, const QString &to) { return text.replace(from, to); }
QString person(const QString &ssn, const QString &first, const QString &last)
{
    return "&SSN=" + ssn + "&FirstName=" + first + "&LastName=" + last;
}

} // namespace

class TestVendorSim : public QObject
{
    Q_OBJECT

private:
    VendorSim m_sim;
    QNetworkAccessManager m_network;

    // Sends the target exactly as written (no re-encoding), like the client's transport.
    Reply call(const QString &target, const QByteArray &verb = "POST")
    {
        QNetworkRequest request(QUrl::fromEncoded((m_sim.baseUrl() + target).toUtf8()));
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
        request.setTransferTimeout(10000);
        return finish(m_network.sendCustomRequest(request, verb));
    }
    Reply finish(QNetworkReply *reply)
    {
        QEventLoop loop;
        connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        if (!reply->isFinished())
            loop.exec();
        Reply r{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll(),
                reply->header(QNetworkRequest::ContentTypeHeader).toByteArray()};
        reply->deleteLater();
        return r;
    }
    QString account(const QString &query) { return QString::fromUtf8(call(accountPath + query).body); }
    QString report(const QString &query, const QString &login = demoLogin)
    {
        return QString::fromUtf8(call(reportPath + login + query).body);
    }
    QString order(const QString &fields = newOrder, const QString &login = demoLogin)
    {
        const QStringList lines = report("&action=REQUEST" + fields + "&Source=Orrery+Client&LOSVersion=1.1.0", login)
                                      .split(QLatin1Char('\n'));
        return lines.size() == 2 && lines[0] == QLatin1String("SUCCESS") ? lines[1] : QString();
    }

private slots:
    void initTestCase()
    {
        m_network.setProxy(QNetworkProxy::NoProxy);
        QVERIFY2(m_sim.start(), "quill-vendor-sim did not start");
    }
    void init() { m_sim.reset(); }

    // One good and one bad request per action of both forms, some followed by requests that show
    // the change; none of them creates a report.
    void answers_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("httpStatus");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("then"); // further targets, each followed by its answer
        const auto row = [](const char *name, const QString &target, int status, const QString &a, const QStringList &then) {
            QTest::newRow(name) << target << status << a << then;
        };
        const auto acc = [&](const char *name, const QString &q, const QString &a, QStringList then = {}) {
            row(name, accountPath + q, 200, a, then);
        };
        const auto rep = [&](const char *name, const QString &login, const QString &q, const QString &a, QStringList then = {}) {
            row(name, reportPath + login + q, 200, a, then);
        };
        const auto refuse = [&](const char *name, const QString &fields, const QString &why) {
            rep(name, demoLogin, "&action=REQUEST" + fields, "FAILED\n" + why);
        };
        const QString download = m_sim.baseUrl() + QStringLiteral("/downloads/QuillClientSetup.exe");
        acc("expired: yes", "Action=PASSWORDEXPIRED&USER=expired", "True");
        acc("expired: unknown user", "Action=PASSWORDEXPIRED&USER=nobody", "Unknown user.");
        // answers() makes 1.2.0 the current version.
        acc("version: older", "Action=NEWERVERSION&USER=demo&APPNAME=OQCREDIT&APPVERSION=1.1.0", download);
        acc("version: newer by number, older as text", "Action=NEWERVERSION&USER=demo&APPNAME=OQCREDIT&APPVERSION=1.10.0", "");
        acc("reissue right: yes", "Action=CROSS_COMPANY_REISSUE&USER=reissue", "TRUE");
        acc("reissue right: no", "Action=CROSS_COMPANY_REISSUE&USER=demo", "");
        acc("password rights: yes", "Action=CHANGEPASSWORDRIGHTS&USER=demo&DEPARTMENTID=QDEMO-LOANS", "True");
        acc("password rights: unknown", "Action=CHANGEPASSWORDRIGHTS&USER=nobody&DEPARTMENTID=", "False");
        acc("report list page", "Action=GETREPORTLISTPAGE&USER=demo&DEPARTMENTID=QDEMO-LOANS", "/ReportList.asp");
        acc("credentials: good", "Action=VALIDATECREDENTIALS&USER=demo&PASSWORD=Demo2026pass", "");
        acc("credentials: bad", "Action=VALIDATECREDENTIALS&USER=demo&PASSWORD=demo2026pass", "Invalid user name or password.");
        acc("date requested", "Action=DATEREQUESTED&RID=" + oldId, QDate::currentDate().addDays(-45).toString("MM/dd/yyyy"));
        acc("date requested: unknown", "Action=DATEREQUESTED&RID=NOPE", "");
        acc("login by reference", "Action=LOGINBYREFERENCE&USER=demo", "Alex Agent*agent*Agent2026pass");
        acc("login by reference: none", "Action=LOGINBYREFERENCE&USER=agent", "");
        acc("supplement page", "Action=GETSUPPLEMENTPAGE&USER=demo&DEPARTMENTID=QDEMO-LOANS", "/web/Supplement.asp");
        acc("summary page", "Action=GETSUMMARYPAGE&USER=demo&DEPARTMENTID=QDEMO-LOANS", "/web/Summary.asp?RID=");
        acc("rmcr page", "Action=GETRMCRPAGE&USER=demo&DEPARTMENTID=QDEMO-LOANS", "/web/RMCR.asp");
        acc("department", "Action=GETDEPARTMENTID&USER=demo", "QDEMO-LOANS");
        acc("department: unknown", "Action=GETDEPARTMENTID&USER=nobody", "");
        acc("bureau rights: no TU", "Action=REQUESTBUREAURIGHTS&USER=partner", "EFQ1 EXP1 TU0");
        acc("bureau rights: unknown", "Action=REQUESTBUREAURIGHTS&USER=nobody", "EFQ0 EXP0 TU0");
        acc("report status", "Action=GETREPORTSTATUS&RID=" + rmcrId, "64");
        acc("report status: unknown", "Action=GETREPORTSTATUS&RID=NOPE", "");
        acc("los version: unknown guid", "Action=UPDATELOSVERSION&guid=NOPE&LOSVersion=1.1.0", "Unknown request.");
        acc("contact info: unknown", "Action=GETCONTACTINFO&USER=nobody&COMPANYID=&DEPARTMENTID=", "");
        row("account form, unknown action", accountPath + "Action=FROBNICATE", 400, "Unknown action: FROBNICATE", {});
        row("report form, unknown action", reportPath + demoLogin + "&action=FROBNICATE", 400, "Unknown action: FROBNICATE", {});
        row("other path", "/nothing/here?x=1", 404, "Not found", {});

        // Contact values are decoded like a browser's form; a refused update leaves the record alone.
        const QString contact = accountPath + "Action=GETCONTACTINFO&USER=demo&COMPANYID=&DEPARTMENTID=QDEMO-LOANS";
        const auto phone = [&](const char *name, const QString &sent, const QString &stored) {
            acc(name, "Action=UPDATECONTACTINFO&USER=demo&DEPARTMENTID=QDEMO-LOANS&NEWPHONE=" + sent + "&NEWEXT=7&NEWEMAIL=d%40q.example",
                "CONTACTINFOCHANGED", {contact, stored + "||7||d@q.example"});
        };
        phone("contact: plus", "555+0100", "555 0100");
        phone("contact: reserved characters", "a%26b%3Dc%2Bd", "a&b=c+d");
        phone("contact: UTF-8", "Ren%C3%A9e", QStringLiteral("Ren\u00e9e"));
        phone("contact: Windows-1252 byte", "Ren%E9e", QStringLiteral("Ren\u00e9e"));
        const QString update = QStringLiteral("Action=UPDATECONTACTINFO&NEWPHONE=1&NEWEXT=&");
        const QStringList unchanged{contact, demoContact};
        acc("contact: unknown user", update + "USER=nobody&DEPARTMENTID=&NEWEMAIL=", "Unknown user.", unchanged);
        acc("contact: other department", update + "USER=demo&DEPARTMENTID=OTHER&NEWEMAIL=", "Department does not match this user.",
            unchanged);
        acc("contact: e-mail without @", update + "USER=demo&DEPARTMENTID=QDEMO-LOANS&NEWEMAIL=dana", "Invalid e-mail address.", unchanged);

        // A changed password is the one that validates and is no longer expired.
        const auto password = [&](const char *name, const QString &user, const QString &oldPass, const QString &newPass,
                                  const QString &answer) {
            const bool done = answer == QLatin1String("PASSWORDCHANGED");
            QStringList then{accountPath + "Action=VALIDATECREDENTIALS&USER=" + user + "&PASSWORD=" + newPass,
                             done || newPass == oldPass ? QString() : QStringLiteral("Invalid user name or password.")};
            if (done)
                then << accountPath + "Action=PASSWORDEXPIRED&USER=" + user << QStringLiteral("False");
            acc(name, "Action=CHANGEPASSWORD&USER=" + user + "&OLDPASS=" + oldPass + "&NEWPASS=" + newPass, answer, then);
        };
        password("password: expired account", "expired", "Expired2026pass", "Renewed2027", "PASSWORDCHANGED");
        password("password: old one wrong", "demo", "demo2026pass", "Fresh2027pass", "The existing password is not correct.");
        password("password: too short", "demo", "Demo2026pass", "Ab1cdef", "The new password must be at least 8 characters long.");
        password("password: no upper case", "demo", "Demo2026pass", "fresh2027pass", "The new password must contain an upper case letter.");
        password("password: no digit", "demo", "Demo2026pass", "FreshPassword", "The new password must contain a number.");
        password("password: unchanged", "demo", "Demo2026pass", "Demo2026pass", "The new password must differ from the existing password.");
        password("password: unknown user", "nobody", "x", "Fresh2027pass", "Unknown user.");

        const auto search = [](const QString &ssn, const QString &first, const QString &last) {
            return "&action=FIND_REPORT" + person(ssn, first, last);
        };
        const QString jordan = person("900110002", "JORDAN", "SAMPLE");
        const QString find = "&action=FIND_REPORT" + jordan;
        const QString found = "SUCCESS\n" + recentId + "\n4 4 4\n1\nJORDAN\nL\nSAMPLE";
        const QString jointFound = "SUCCESS\n" + jointId + "\n4 4 0\n1\nRILEY\n\nJOYNER";
        const QString badLogin = QStringLiteral("FAILED\nInvalid password");
        const QString notFound = QStringLiteral("FAILED\nReport not found.");
        rep("own login, names in other case", demoLogin, search("900110002", "jordan", "Sample"), found);
        rep("wrong password", "UserName=demo&Password=wrong", find, badLogin);
        rep("by reference", refLogin + "Demo2026pass", find, found);
        rep("by reference, other's password wrong", changed(refLogin, "Agent2026pass", "bad") + "Demo2026pass", find, badLogin);
        rep("by reference, not allowed", "UserName=demo&Password=Demo2026pass&LoginByRefUserName=agent&LoginByRefPassword=Agent2026pass",
            find, "FAILED\nYou may not order on behalf of demo.");
        rep("first name differs", demoLogin, search("900110002", "JORDANA", "SAMPLE"), notFound);
        rep("joint, with co-borrower", demoLogin, search("900110005", "RILEY", "JOYNER") + coBorrower, jointFound);
        rep("joint report, searched alone", demoLogin, search("900110005", "RILEY", "JOYNER"), notFound);
        rep("other company's report", demoLogin, search("900110007", "QUINN", "OTHERCO"), notFound);
        // Finding another company's report by its reissue number grants access to it.
        rep("reissue number", reissueLogin, "&action=GET_STATUS&guid=" + reissueId, notFound,
            {reportPath + reissueLogin + "&action=FIND_REPORT&ReIssueNum=RX20260417",
             "SUCCESS\n" + reissueId + "\n4 4 0\n1\nQUINN\n\nOTHERCO",
             reportPath + reissueLogin + "&action=GET_STATUS&guid=" + reissueId, "SUCCESS\n4\n4\n0"});
        rep("reissue number, unknown", reissueLogin, "&action=FIND_REPORT&ReIssueNum=RX1", notFound);
        rep("reissue number, no right", demoLogin, "&action=FIND_REPORT&ReIssueNum=RX20260417",
            "FAILED\nCross-company reissue is not enabled for this account.");
        rep("pdf of RMCR-pending report", demoLogin, "&action=GET_PDF&guid=" + rmcrId, "FAILED\nThe report is at RMCR pending status.");
        rep("data in other format", demoLogin, "&action=GET_DATA&guid=" + recentId + "&DataFormat=XML", "FAILED\nUnsupported data format.");

        refuse("order, no bureau", changed(newOrder, "&EQUIFAX=TRUE&EXPERIAN=TRUE", ""), "At least one bureau must be selected.");
        refuse("order, short SSN", changed(newOrder, "SSN=900110001", "SSN=90011"),
               "The borrower's social security number must have 9 digits.");
        refuse("order, joint without co-borrower", changed(newOrder, "Joint=FALSE", "Joint=TRUE"),
               "The co-borrower's first and last name are required.");
        refuse("order, birth date not a date", changed(newOrder, "07/04/1990", "13/45/1990"),
               "The borrower's date of birth is not a date (MM/DD/YYYY).");
        rep("order, bureau without right", "UserName=partner&Password=Partner2026pass", "&action=REQUEST" + newOrder + "&TRANSUNION=TRUE",
            "FAILED\nYou are not permitted to order TransUnion.");
        refuse("upgrade without report", changed(newOrder, "Keywords=&", "Keywords=UPGRADE&"), "There is no report to add a bureau to.");
        refuse("upgrade adding nothing", "&Keywords=UPGRADE&Joint=FALSE&EXPERIAN=TRUE&EQUIFAX=TRUE" + jordan,
               "The report already has every requested bureau.");
        refuse("repull of RMCR-pending report", "&Keywords=REQUEST&Joint=FALSE&EXPERIAN=TRUE" + person("900110004", "MORGAN", "PENDER"),
               "The report is at RMCR pending status.");
        refuse("unknown order keyword", changed(newOrder, "Keywords=&", "Keywords=MAGIC&"), "Unknown order keyword MAGIC.");

        // The search the client makes from a demo EXPORT.DAT finds the report the case is about (the
        // other cases are loaded by the check-existing window tests).
        const auto demo = [&](const char *caseName, const QString &expected) {
            QFile file(VendorSim::demoCaseDir(QString::fromLatin1(caseName)) + QStringLiteral("/EXPORT.DAT"));
            const QByteArray line = file.open(QIODevice::ReadOnly) ? file.readLine() : QByteArray();
            QList<QByteArray> f = line.chopped(2).split('\t');
            if (!line.endsWith("\r\n") || (f.size() != 17 && f.size() != 23))
                f.clear(); // a malformed file searches for nobody
            const auto word = [&f](int i) { return QString::fromLatin1(f.value(i)).section(QLatin1Char(' '), 0, 0); };
            const auto digits = [&f](int i) { return QString::fromLatin1(f.value(i)).remove(QRegularExpression("[^0-9]")); };
            QString query = search(digits(2), word(1), word(0));
            if (!f.value(5).isEmpty())
                query += "&CoFirstName=" + word(4) + "&CoLastName=" + word(3) + "&CoSSN=" + digits(5);
            rep(qPrintable(QStringLiteral("demo case ") + QLatin1String(caseName)), demoLogin, query, expected);
        };
        demo("old", "SUCCESS\n" + oldId + "\n4 4 4\n1\nCASEY\nR\nOLDFIELD");
        demo("joint", jointFound);
    }
    void answers()
    {
        QFETCH(QString, target);
        QFETCH(int, httpStatus);
        QFETCH(QString, expected);
        QFETCH(QStringList, then);
        m_sim.setLatestVersion(QStringLiteral("1.2.0"));
        const qsizetype before = m_sim.reports().size();
        const Reply r = call(target);
        QCOMPARE(r.status, httpStatus);
        QCOMPARE(QString::fromUtf8(r.body), expected);
        for (qsizetype i = 0; i + 1 < then.size(); i += 2)
            QCOMPARE(QString::fromUtf8(call(then[i]).body), then[i + 1]);
        QCOMPARE(m_sim.reports().size(), before);
    }

    void aboutPublishesSupportAndPolicy()
    {
        const QStringList parts = account("Action=GETABOUT&USER=demo&DEPARTMENTID=QDEMO-LOANS").split(QStringLiteral("||"));
        QCOMPARE(parts.size(), 3);
        QVERIFY(parts[2].contains(QStringLiteral("8 or more characters")));
    }

    // An order progresses over polls to its final codes and a PDF. A repull starts every bureau
    // afresh, an upgrade keeps the finished ones. While in progress only the identical order of its
    // owner is found pending; then it is the report a search finds, and it remembers who placed it.
    void orders_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("fields");
        QTest::addColumn<int>("statusPolls");
        QTest::addColumn<int>("pdfPolls");
        QTest::addColumn<QString>("working"); // the bureau codes while in progress
        QTest::addColumn<QString>("done");
        QTest::addColumn<QVariantMap>("stored");
        const QString all = QStringLiteral("&EQUIFAX=TRUE&EXPERIAN=TRUE&TRANSUNION=TRUE");
        const QString repull = "&Keywords=REQUEST&Joint=FALSE" + person("900110002", "JORDAN", "SAMPLE") + all;
        const QString upgrade = "&Keywords=UPGRADE&Joint=TRUE" + person("900110005", "RILEY", "JOYNER") + coBorrower + all;
        QTest::newRow("finished at once") << demoLogin << newOrder << 0 << 0 << "" << "4\n4\n0" << QVariantMap{{"source", "Orrery Client"}};
        QTest::newRow("several polls") << demoLogin << newOrder << 3 << 2 << "1\n1\n0" << "4\n4\n0" << QVariantMap{{"previousId", ""}};
        QTest::newRow("by reference") << refLogin + "Demo2026pass" << newOrder << 1 << 0 << "1\n1\n0" << "4\n4\n0"
                                      << QVariantMap{{"owner", "agent"}, {"placedBy", "demo"}};
        QTest::newRow("repull") << demoLogin << repull << 1 << 0 << "1\n1\n1" << "4\n4\n4" << QVariantMap{{"previousId", recentId}};
        QTest::newRow("upgrade") << demoLogin << upgrade << 2 << 1 << "4\n4\n1" << "4\n4\n4" << QVariantMap{{"previousId", jointId}};
    }
    void orders()
    {
        QFETCH(QString, login);
        QFETCH(QString, fields);
        QFETCH(int, statusPolls);
        QFETCH(int, pdfPolls);
        QFETCH(QString, working);
        QFETCH(QString, done);
        QFETCH(QVariantMap, stored);
        m_sim.setStatusPolls(statusPolls);
        m_sim.setPdfPolls(pdfPolls);
        const QString guid = order(fields, login);
        QVERIFY(!guid.isEmpty());
        const auto ask = [&](const QString &action) { return report("&action=" + action + "&guid=" + guid, login); };
        const auto pending = [&](const QString &who, const QString &form) { return account(who + "&Action=FINDPENDING" + form); };
        QCOMPARE(pending(login, fields), statusPolls > 0 ? guid : QString());
        QCOMPARE(pending(login, changed(fields, "EQUIFAX=TRUE", "EQUIFAX=FALSE")), QString());
        QCOMPARE(pending(changed(login, "2026pass", "x"), fields), QString());
        // A pdf request while the bureaus work is answered PENDING and counts as a status poll.
        for (int i = 0; i < statusPolls; ++i)
            QCOMPARE(ask(i == 1 ? "GET_PDF" : "GET_STATUS"), i == 1 ? QStringLiteral("PENDING") : "SUCCESS\n" + working);
        QCOMPARE(ask("GET_STATUS"), "SUCCESS\n" + done);
        QCOMPARE(pending(login, fields), QString());
        QVERIFY(report("&action=FIND_REPORT" + fields, login).startsWith("SUCCESS\n" + guid + "\n"));
        for (int i = 0; i < pdfPolls; ++i)
            QCOMPARE(ask("GET_PDF"), QStringLiteral("PENDING"));
        const QStringList ready = ask("GET_PDF").split(QLatin1Char('\n'));
        QCOMPARE(ready.size(), 2);
        QCOMPARE(ready[0], QStringLiteral("SUCCESS"));
        m_sim.scriptStatus(QStringLiteral("PDFFILE"), 500, QStringLiteral("broken")); // the download itself can fail once
        QCOMPARE(call(ready[1], "GET").status, 500);
        const Reply file = call(ready[1], "GET");
        QCOMPARE(file.status, 200);
        QCOMPARE(file.contentType, QByteArrayLiteral("application/pdf"));
        QVERIFY(file.body.startsWith("%PDF"));
        QCOMPARE(account("Action=UPDATELOSVERSION&guid=" + guid + "&LOSVersion=1.1.7"), QString());
        const QJsonObject made = m_sim.reports().last().toObject();
        QCOMPARE(made.value("id").toString(), guid);
        QCOMPARE(made.value("losVersion").toString(), QStringLiteral("1.1.7"));
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            QCOMPARE(made.value(it.key()).toString(), it.value().toString());
    }

    void getDataHonoursItsFields()
    {
        const QString data = report("&action=GET_DATA&UpdateMessage=Credit+report+recieved&BorrowerFile=__XFILE__&guid="
                                    + jointId + "&DataFormat=QUILL&reference=demo");
        QVERIFY(data.endsWith(QLatin1String("\r\n")));
        const QStringList lines = data.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), QStringLiteral("QUILL-LIABILITIES\t1"));
        for (const char *line : {"FILE\t__XFILE__", "MESSAGE\tCredit report recieved", "REFERENCE\tdemo",
                                 "COBORROWER\tJOYNER\tTAYLOR\tANN\t\t900110006\t11/23/1989"})
            QVERIFY2(lines.contains(QLatin1String(line)), line);
        const int liabilities = int(lines.filter(QRegularExpression(QStringLiteral("^LIABILITY\t"))).size());
        QVERIFY(liabilities >= 3);
        QCOMPARE(lines.last(), QStringLiteral("END\t%1").arg(liabilities));
    }

    // Every page shows its content and, escaped, the values it received.
    void webPages_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("shows");
        QTest::newRow("report list") << "/ReportList.asp" << recentId;
        QTest::newRow("summary") << "/web/Summary.asp" << "TAYLOR ANN JOYNER";
        for (const char *path : {"/web/Supplement.asp", "/web/RMCR.asp", "/web/NewsBurst.asp"})
            QTest::newRow(path) << QString::fromLatin1(path) << "<td>" + jointId + "</td>";
    }
    void webPages()
    {
        QFETCH(QString, path);
        QFETCH(QString, shows);
        const Reply page = call(path + "?RID=" + jointId + "&Username=demo&BorFirstname=%3Cb%3EAL%60S%20%26%20CO", "GET");
        QCOMPARE(page.status, 200);
        QVERIFY(page.contentType.startsWith("text/html"));
        QVERIFY(page.body.contains(shows.toUtf8()));
        QVERIFY(!page.body.contains(reissueId.toUtf8())); // another company's report
        QVERIFY(page.body.contains("<th>BorFirstname</th><td>&lt;b&gt;AL`S &amp; CO</td>"));
        QVERIFY(!page.body.contains("<b>AL"));
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
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("httpStatus");
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("times");
        const QString reportTarget = reportPath + demoLogin + "&guid=" + recentId + "&action=";
        QTest::newRow("FAILED alone") << "FIND_REPORT" << reportTarget + "FIND_REPORT" + person("900110002", "JORDAN", "SAMPLE") << 200
                                      << "FAILED" << 1;
        QTest::newRow("CR LF lines, twice") << "GET_STATUS" << reportTarget + "GET_STATUS" << 200 << "SUCCESS\r\n1\r\n4\r\n0\r\n" << 2;
        QTest::newRow("server error") << "GETABOUT" << accountPath + "Action=GETABOUT&USER=demo" << 500 << "Internal error" << 1;
        QTest::newRow("action name in lower case, empty") << "get_pdf" << reportTarget + "GET_PDF" << 503 << "" << 1;
    }
    void scriptedAnswersAreServedVerbatimThenNormal()
    {
        QFETCH(QString, action);
        QFETCH(QString, target);
        QFETCH(int, httpStatus);
        QFETCH(QString, body);
        QFETCH(int, times);
        m_sim.setPdfPolls(0); // so that the normal answer is the same before and after
        const Reply normal = call(target);
        m_sim.scriptStatus(action, httpStatus, body, times);
        QCOMPARE(account("Action=GETDEPARTMENTID&USER=demo"), QStringLiteral("QDEMO-LOANS")); // other actions unchanged
        for (int i = 0; i < times; ++i) {
            const Reply scripted = call(target);
            QCOMPARE(scripted.status, httpStatus);
            QCOMPARE(scripted.body, body.toUtf8());
        }
        const Reply after = call(target);
        QCOMPARE(after.status, normal.status);
        QCOMPARE(after.body, normal.body);
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
    }

    void latencyDelaysWithoutBlocking()
    {
        m_sim.setLatency(600);
        const QNetworkRequest request(QUrl(m_sim.baseUrl() + accountPath + "Action=GETDEPARTMENTID&USER=agent"));
        QNetworkReply *abandoned = m_network.get(request); // a client giving up before its answer is due must not harm the server
        QTest::qWait(100);
        abandoned->abort();
        abandoned->deleteLater();
        // Three requests at once must each wait and overlap: a sleeping server would need three times as long.
        QList<QNetworkReply *> replies;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 3; ++i)
            replies.append(m_network.get(request));
        for (QNetworkReply *reply : replies)
            QCOMPARE(finish(reply).body, QByteArrayLiteral("QDEMO-LOANS"));
        QVERIFY2(timer.elapsed() >= 600, "answer came before the latency");
        QVERIFY2(timer.elapsed() < 1500, "parallel answers were serialised");
    }

    void resetReturnsToTheSeed()
    {
        const qsizetype seeded = m_sim.reports().size();
        QVERIFY(!order().isEmpty());
        m_sim.script(QStringLiteral("GETDEPARTMENTID"), QStringLiteral("SCRIPTED"));
        m_sim.reset();
        QCOMPARE(m_sim.reports().size(), seeded);
        QCOMPARE(account("Action=GETDEPARTMENTID&USER=demo"), QStringLiteral("QDEMO-LOANS"));
    }
};

QTEST_GUILESS_MAIN(TestVendorSim)
#include "test_vendor_sim.moc"
