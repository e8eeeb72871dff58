// Talks HTTP to a running quill-vendor-sim, the way the client does. Most of the server is
// exercised by the client's own tests; this holds the rules the client tests script around
// (refusals, password and contact rules, search matching, order progress) and the demo data.

#include "VendorSim.h"

#include <QDate>
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
        QNetworkReply *reply = m_network.sendCustomRequest(request, verb);
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

private slots:
    void initTestCase()
    {
        m_network.setProxy(QNetworkProxy::NoProxy);
        QVERIFY2(m_sim.start(), "quill-vendor-sim did not start");
    }
    void init() { m_sim.reset(); }

    // One request per rule, some followed by requests that show the change; none creates a report.
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
        // answers() makes 1.2.0 the current version.
        acc("version: newer by number, older as text", "Action=NEWERVERSION&USER=demo&APPNAME=OQCREDIT&APPVERSION=1.10.0", "");
        acc("credentials: letter case counts", "Action=VALIDATECREDENTIALS&USER=demo&PASSWORD=demo2026pass",
            "Invalid user name or password.");
        acc("date requested", "Action=DATEREQUESTED&RID=" + oldId, QDate::currentDate().addDays(-45).toString("MM/dd/yyyy"));
        acc("bureau rights: no TU", "Action=REQUESTBUREAURIGHTS&USER=partner", "EFQ1 EXP1 TU0");
        acc("los version: unknown guid", "Action=UPDATELOSVERSION&guid=NOPE&LOSVersion=1.1.0", "Unknown request.");
        row("account form, unknown action", accountPath + "Action=FROBNICATE", 400, "Unknown action: FROBNICATE", {});
        row("report form, unknown action", reportPath + demoLogin + "&action=FROBNICATE", 400, "Unknown action: FROBNICATE", {});
        row("other path", "/nothing/here?x=1", 404, "Not found", {});

        // Contact values are decoded like a browser's form; a refused update leaves the record alone.
        const QString contact = accountPath + "Action=GETCONTACTINFO&USER=demo&COMPANYID=&DEPARTMENTID=QDEMO-LOANS";
        const auto phone = [&](const char *name, const QString &sent, const QString &stored) {
            acc(name, "Action=UPDATECONTACTINFO&USER=demo&DEPARTMENTID=QDEMO-LOANS&NEWPHONE=" + sent + "&NEWEXT=7&NEWEMAIL=d%40q.example",
                "CONTACTINFOCHANGED", {contact, stored + "||7||d@q.example"});
        };
        phone("contact: plus and reserved characters", "555+a%26b%3Dc%2Bd", "555 a&b=c+d");
        phone("contact: Windows-1252 byte", "Ren%E9e", QStringLiteral("Ren\u00e9e"));
        const QString update = QStringLiteral("Action=UPDATECONTACTINFO&NEWPHONE=1&NEWEXT=&");
        const QStringList unchanged{contact, QStringLiteral("5550100123||12||dana.demo@quill-broker.example")};
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
        password("password: old one wrong", "demo", "demo2026pass", "Fresh2027pass", "The existing password is not correct.");
        password("password: too short", "demo", "Demo2026pass", "Ab1cdef", "The new password must be at least 8 characters long.");
        password("password: no digit", "demo", "Demo2026pass", "FreshPassword", "The new password must contain a number.");
        password("password: unchanged", "demo", "Demo2026pass", "Demo2026pass", "The new password must differ from the existing password.");

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
        rep("reissue number, no right", demoLogin, "&action=FIND_REPORT&ReIssueNum=RX20260417",
            "FAILED\nCross-company reissue is not enabled for this account.");
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
        refuse("upgrade adding nothing", "&Keywords=UPGRADE&Joint=FALSE&EXPERIAN=TRUE&EQUIFAX=TRUE" + jordan,
               "The report already has every requested bureau.");
        refuse("repull of RMCR-pending report", "&Keywords=REQUEST&Joint=FALSE&EXPERIAN=TRUE" + person("900110004", "MORGAN", "PENDER"),
               "The report is at RMCR pending status.");
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
        const QStringList placed = report("&action=REQUEST" + fields + "&Source=Orrery+Client&LOSVersion=1.1.0", login).split('\n');
        QCOMPARE(placed.value(0), QStringLiteral("SUCCESS"));
        const QString guid = placed.value(1);
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
        QCOMPARE(ready.value(0), QStringLiteral("SUCCESS"));
        const Reply file = call(ready.value(1), "GET");
        QCOMPARE(file.contentType, QByteArrayLiteral("application/pdf"));
        QVERIFY(file.body.startsWith("%PDF"));
        QCOMPARE(account("Action=UPDATELOSVERSION&guid=" + guid + "&LOSVersion=1.1.7"), QString());
        const QJsonObject made = m_sim.reports().last().toObject();
        QCOMPARE(made.value("id").toString(), guid);
        QCOMPARE(made.value("losVersion").toString(), QStringLiteral("1.1.7"));
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            QCOMPARE(made.value(it.key()).toString(), it.value().toString());
    }

    // A scripted answer is served verbatim as often as asked, to that action only, then the
    // server answers normally again; the action name is matched in any letter case.
    void scriptedAnswersThenNormal()
    {
        m_sim.setPdfPolls(0);
        const QString target = reportPath + demoLogin + "&guid=" + recentId + "&action=GET_PDF";
        const Reply normal = call(target);
        m_sim.scriptStatus("get_pdf", 503, "", 2);
        QCOMPARE(account("Action=GETDEPARTMENTID&USER=demo"), QStringLiteral("QDEMO-LOANS"));
        for (int i = 0; i < 2; ++i) {
            const Reply scripted = call(target);
            QCOMPARE(scripted.status, 503);
            QCOMPARE(scripted.body, QByteArray());
        }
        const Reply after = call(target);
        QCOMPARE(after.status, normal.status);
        QCOMPARE(after.body, normal.body);
    }
};

QTEST_GUILESS_MAIN(TestVendorSim)
#include "test_vendor_sim.moc"
