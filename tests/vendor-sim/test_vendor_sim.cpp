// Talks HTTP to a running quill-vendor-sim, the way the client does. The client's own tests
// script most answers; this holds the server's rules that they do not reach (refusals,
// password and contact rules, search matching, order progress) on its demo data.

#include "VendorSim.h"

#include <QDate>
#include <QEventLoop>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QTest>

namespace {

const QString acc = QStringLiteral("/utils/CGI_Utilities.asp?Action=");
const QString demo = QStringLiteral("/cia/cgi/marrowCGI.exe?UserName=demo&Password=Demo2026pass");
const QString recentId = QStringLiteral("5A1E0002-0000-4000-8000-00000000D002");
const QString jointId = QStringLiteral("5A1E0005-0000-4000-8000-00000000D005");
const QString reissueId = QStringLiteral("5A1E0007-0000-4000-8000-00000000D007");
const QString jordan = QStringLiteral("&SSN=900110002&FirstName=JORDAN&LastName=SAMPLE");
const QString joint = QStringLiteral("&SSN=900110005&FirstName=RILEY&LastName=JOYNER");
const QString coBorrower = QStringLiteral("&CoFirstName=TAYLOR&CoLastName=JOYNER&CoSSN=900110006");
// A new pull for the demo borrower who has no report, Experian and Equifax.
const QString newOrder = QStringLiteral("&Keywords=&Reference=DANA+DEMO&FirstName=AVERY&LastName=NEWCOMB&MiddleInitial=J&SSN=900110001"
    "&DOB=07/04/1990&CurAddress=301+MAIN+ST&CurCity=AUSTIN&CurState=TX&CurZip=78701&Suffix=&Joint=FALSE&EQUIFAX=TRUE&EXPERIAN=TRUE");

// An order's login and fields, the GET_STATUS polls that show ordered bureaus at "1" (working) and
// the GET_PDF polls answered PENDING, the final codes, and what the server stores about it.
struct OrderRow {
    QString login, fields;
    int statusPolls, pdfPolls;
    QString working, done;
    QVariantMap stored;
};

QString changed(QString text, const QString& from, const QString& to) { return text.replace(from, to); }

} // namespace

Q_DECLARE_METATYPE(OrderRow)

class TestVendorSim : public QObject
{
    Q_OBJECT
    VendorSim m_sim;
    QNetworkAccessManager m_network;

    // Sends the target exactly as written (no re-encoding); the answer, after "<status>" unless 200.
    QString call(const QString& target, const QByteArray& verb = "POST")
    {
        QNetworkRequest request(QUrl::fromEncoded((m_sim.baseUrl() + target).toUtf8()));
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
        QNetworkReply* reply = m_network.sendCustomRequest(request, verb);
        QEventLoop loop;
        connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        if (!reply->isFinished())
            loop.exec();
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        return (status == 200 ? QString() : QString("<%1>").arg(status)) + QString::fromUtf8(reply->readAll());
    }

private slots:
    void initTestCase()
    {
        m_network.setProxy(QNetworkProxy::NoProxy);
        QVERIFY2(m_sim.start(), "quill-vendor-sim did not start");
    }
    void init() { m_sim.reset(); }

    // Targets, each followed by its answer; a request may show what the one before changed. None creates a report.
    void answers_data()
    {
        QTest::addColumn<QStringList>("exchanges");
        const auto row = [](const char* name, const QStringList& exchanges) { QTest::newRow(name) << exchanges; };
        const auto order = [&](const char* name, const QString& fields, const QString& why) { row(name, {demo + "&action=REQUEST" + fields, "FAILED\n" + why}); };
        row("version: newer by number, older as text", {acc + "NEWERVERSION&USER=demo&APPNAME=OQCREDIT&APPVERSION=1.10.0", ""});
        row("credentials: letter case counts", {acc + "VALIDATECREDENTIALS&USER=demo&PASSWORD=demo2026pass", "Invalid user name or password."});
        row("date requested", {acc + "DATEREQUESTED&RID=5A1E0003-0000-4000-8000-00000000D003", QDate::currentDate().addDays(-45).toString("MM/dd/yyyy")});
        row("bureau rights: no TU", {acc + "REQUESTBUREAURIGHTS&USER=partner", "EFQ1 EXP1 TU0"});
        row("unknown actions, other paths", {acc + "FROBNICATE", "<400>Unknown action: FROBNICATE", demo + "&action=FROBNICATE",
                                              "<400>Unknown action: FROBNICATE", "/nothing/here?x=1", "<404>Not found"});
        // Contact values are decoded like a browser's form; a refused update leaves the record alone.
        const QString update = acc + "UPDATECONTACTINFO&USER=demo&DEPARTMENTID=QDEMO-LOANS&NEWEXT=7&NEWEMAIL=d%40q.example&NEWPHONE=";
        const QString contact = acc + "GETCONTACTINFO&USER=demo&COMPANYID=&DEPARTMENTID=QDEMO-LOANS";
        row("contact: plus and reserved characters", {update + "555+a%26b%3Dc%2Bd", "CONTACTINFOCHANGED", contact, "555 a&b=c+d||7||d@q.example"});
        row("contact: Windows-1252 byte", {update + "Ren%E9e", "CONTACTINFOCHANGED", contact, QStringLiteral("Ren\u00e9e||7||d@q.example")});
        const QString unchanged = QStringLiteral("5550100123||12||dana.demo@quill-broker.example");
        row("contact: other department", {changed(update, "QDEMO-LOANS", "OTHER") + "1", "Department does not match this user.", contact, unchanged});
        // A changed password is the one that validates and is no longer expired; a refused one does not validate.
        const QString change = acc + "CHANGEPASSWORD&USER=demo&OLDPASS=Demo2026pass&NEWPASS=";
        const QString validate = acc + "VALIDATECREDENTIALS&USER=demo&PASSWORD=", refused = "Invalid user name or password.";
        row("password: changed", {change + "Fresh2027pass", "PASSWORDCHANGED", validate + "Fresh2027pass", "", acc + "PASSWORDEXPIRED&USER=demo", "False"});
        row("password: old one wrong", {changed(change, "Demo", "demo") + "Fresh2027pass", "The existing password is not correct.", validate + "Fresh2027pass", refused});
        row("password: too short", {change + "Ab1cdef", "The new password must be at least 8 characters long.", validate + "Ab1cdef", refused});
        row("password: no digit", {change + "FreshPassword", "The new password must contain a number.", validate + "FreshPassword", refused});
        const QString find = demo + "&action=FIND_REPORT", notFound = "FAILED\nReport not found.";
        row("own login, names in other case", {find + "&SSN=900110002&FirstName=jordan&LastName=Sample", "SUCCESS\n" + recentId + "\n4 4 4\n1\nJORDAN\nL\nSAMPLE"});
        row("wrong password", {changed(find, "Demo2026pass", "wrong") + jordan, "FAILED\nInvalid password"});
        row("by reference, not allowed", {find + "&LoginByRefUserName=agent&LoginByRefPassword=Agent2026pass" + jordan, "FAILED\nYou may not order on behalf of demo."});
        row("first name differs", {find + changed(jordan, "JORDAN", "JORDANA"), notFound});
        row("joint, with co-borrower", {find + joint + coBorrower, "SUCCESS\n" + jointId + "\n4 4 0\n1\nRILEY\n\nJOYNER", find + joint, notFound});
        row("other company's report", {find + "&SSN=900110007&FirstName=QUINN&LastName=OTHERCO", notFound});
        // Finding another company's report by its reissue number grants access to it.
        const QString reissue = "/cia/cgi/marrowCGI.exe?UserName=reissue&Password=Reissue2026pass&action=";
        row("reissue number", {reissue + "GET_STATUS&guid=" + reissueId, notFound, reissue + "FIND_REPORT&ReIssueNum=RX20260417",
                               "SUCCESS\n" + reissueId + "\n4 4 0\n1\nQUINN\n\nOTHERCO", reissue + "GET_STATUS&guid=" + reissueId, "SUCCESS\n4\n4\n0"});
        row("reissue number, no right", {find + "&ReIssueNum=RX20260417", "FAILED\nCross-company reissue is not enabled for this account."});
        order("order, no bureau", changed(newOrder, "&EQUIFAX=TRUE&EXPERIAN=TRUE", ""), "At least one bureau must be selected.");
        order("order, joint without co-borrower", changed(newOrder, "Joint=FALSE", "Joint=TRUE"), "The co-borrower's first and last name are required.");
        row("order, bureau without right", {changed(demo, "demo&Password=Demo", "partner&Password=Partner") + "&action=REQUEST" + newOrder + "&TRANSUNION=TRUE",
                                            "FAILED\nYou are not permitted to order TransUnion."});
        order("upgrade adding nothing", "&Keywords=UPGRADE&Joint=FALSE&EXPERIAN=TRUE&EQUIFAX=TRUE" + jordan, "The report already has every requested bureau.");
        order("repull of RMCR-pending report", "&Keywords=REQUEST&Joint=FALSE&EXPERIAN=TRUE&SSN=900110004&FirstName=MORGAN&LastName=PENDER",
              "The report is at RMCR pending status.");
    }

    void answers()
    {
        QFETCH(QStringList, exchanges);
        m_sim.setLatestVersion(QStringLiteral("1.2.0"));
        const qsizetype before = m_sim.reports().size();
        for (qsizetype i = 0; i + 1 < exchanges.size(); i += 2)
            QCOMPARE(call(exchanges[i]), exchanges[i + 1]);
        QCOMPARE(m_sim.reports().size(), before);
    }

    // An order progresses over polls to its final codes and a PDF. A repull starts every bureau
    // afresh, an upgrade keeps the finished ones. While in progress only the identical order of its
    // owner is found pending; then it is the report a search finds, and it remembers who placed it.
    void orders_data()
    {
        QTest::addColumn<OrderRow>("row");
        const QString all = QStringLiteral("&EQUIFAX=TRUE&EXPERIAN=TRUE&TRANSUNION=TRUE");
        const QString own = "UserName=demo&Password=Demo2026pass";
        const QString agent = "UserName=agent&Password=Agent2026pass&LoginByRefUserName=demo&LoginByRefPassword=Demo2026pass";
        QTest::newRow("finished at once") << OrderRow{own, newOrder, 0, 0, "", "4\n4\n0", {{"source", "Orrery Client"}}};
        QTest::newRow("by reference") << OrderRow{agent, newOrder, 1, 0, "1\n1\n0", "4\n4\n0", {{"owner", "agent"}, {"placedBy", "demo"}}};
        QTest::newRow("repull") << OrderRow{own, "&Keywords=REQUEST&Joint=FALSE" + jordan + all, 1, 0, "1\n1\n1", "4\n4\n4", {{"previousId", recentId}}};
        QTest::newRow("upgrade") << OrderRow{own, "&Keywords=UPGRADE&Joint=TRUE" + joint + coBorrower + all, 2, 1, "4\n4\n1", "4\n4\n4",
                                             {{"previousId", jointId}}};
    }

    void orders()
    {
        QFETCH(OrderRow, row);
        const auto& [login, fields, statusPolls, pdfPolls, working, done, expected] = row;
        QVariantMap stored = expected;
        m_sim.setStatusPolls(statusPolls);
        m_sim.setPdfPolls(pdfPolls);
        const auto report = [&](const QString& query) { return call("/cia/cgi/marrowCGI.exe?" + login + query); };
        const QStringList placed = report("&action=REQUEST" + fields + "&Source=Orrery+Client&LOSVersion=1.1.0").split('\n');
        QCOMPARE(placed.value(0), QStringLiteral("SUCCESS"));
        const QString guid = placed.value(1);
        const auto ask = [&](const QString& action) { return report("&action=" + action + "&guid=" + guid); };
        const auto pending = [&](const QString& who, const QString& form) { return call(acc + "FINDPENDING&" + who + form); };
        QCOMPARE(pending(login, fields), statusPolls > 0 ? guid : QString());
        QCOMPARE(pending(login, changed(fields, "EQUIFAX=TRUE", "EQUIFAX=FALSE")), QString());
        QCOMPARE(pending(changed(login, "2026pass", "x"), fields), QString());
        // A pdf request while the bureaus work is answered PENDING and counts as a status poll.
        for (int i = 0; i < statusPolls; ++i)
            QCOMPARE(ask(i == 1 ? "GET_PDF" : "GET_STATUS"), i == 1 ? QStringLiteral("PENDING") : "SUCCESS\n" + working);
        QCOMPARE(ask("GET_STATUS"), "SUCCESS\n" + done);
        QCOMPARE(pending(login, fields), QString());
        QVERIFY(report("&action=FIND_REPORT" + fields).startsWith("SUCCESS\n" + guid + "\n"));
        for (int i = 0; i < pdfPolls; ++i)
            QCOMPARE(ask("GET_PDF"), QStringLiteral("PENDING"));
        const QStringList ready = ask("GET_PDF").split(QLatin1Char('\n'));
        QCOMPARE(ready.value(0), QStringLiteral("SUCCESS"));
        QVERIFY(call(ready.value(1), "GET").startsWith("%PDF"));
        QCOMPARE(call(acc + "UPDATELOSVERSION&guid=" + guid + "&LOSVersion=1.1.7"), QString());
        const QJsonObject made = m_sim.reports().last().toObject();
        stored.insert("id", guid);
        stored.insert("losVersion", "1.1.7");
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            QCOMPARE(made.value(it.key()).toString(), it.value().toString());
    }
};

QTEST_GUILESS_MAIN(TestVendorSim)
#include "test_vendor_sim.moc"
