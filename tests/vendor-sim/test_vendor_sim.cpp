// Talks HTTP to a running quill-vendor-sim, the way the client does. The client's own tests
// script most answers and walk the server's orders (pending checks, status polls, the PDF); this
// holds the server's rules that they do not reach (refusals, password and contact rules, search
// matching) on its demo data.

#include "VendorSim.h"

#include <QDate>
#include <QEventLoop>
#include <QNetworkProxy>
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
const QString newOrder =
    QStringLiteral("&Keywords=&Reference=DANA+DEMO&FirstName=AVERY&LastName=NEWCOMB&MiddleInitial=J"
                   "&SSN=900110001&DOB=07/04/1990&CurAddress=301+MAIN+ST&CurCity=AUSTIN&CurState=TX"
                   "&CurZip=78701&Suffix=&Joint=FALSE&EQUIFAX=TRUE&EXPERIAN=TRUE");

} // namespace

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
        const auto row = [](const char* name, const auto&... exchanges) {
            QTest::newRow(name) << QStringList{QString(exchanges)...};
        };
        const auto order = [&](const char* name, const QString& fields, const QString& why) {
            row(name, demo + "&action=REQUEST" + fields, "FAILED\n" + why);
        };
        row("version: newer by number, older as text",
            acc + "NEWERVERSION&USER=demo&APPNAME=OQCREDIT&APPVERSION=1.10.0", "");
        row("credentials: letter case counts", acc + "VALIDATECREDENTIALS&USER=demo&PASSWORD=demo2026pass",
            "Invalid user name or password.");
        row("date requested", acc + "DATEREQUESTED&RID=5A1E0003-0000-4000-8000-00000000D003",
            QDate::currentDate().addDays(-45).toString("MM/dd/yyyy"));
        row("bureau rights: no TU", acc + "REQUESTBUREAURIGHTS&USER=partner", "EFQ1 EXP1 TU0");
        row("unknown actions, other paths", acc + "FROBNICATE", "<400>Unknown action: FROBNICATE",
            demo + "&action=FROBNICATE", "<400>Unknown action: FROBNICATE", "/nothing/here?x=1", "<404>Not found");
        // Contact values are decoded like a browser's form; a refused update leaves the record alone.
        const QString update =
            acc + "UPDATECONTACTINFO&USER=demo&DEPARTMENTID=QDEMO-LOANS&NEWEXT=7&NEWEMAIL=d%40q.example&NEWPHONE=";
        const QString contact = acc + "GETCONTACTINFO&USER=demo&COMPANYID=&DEPARTMENTID=QDEMO-LOANS";
        row("contact: plus and reserved characters", update + "555+a%26b%3Dc%2Bd", "CONTACTINFOCHANGED", contact,
            "555 a&b=c+d||7||d@q.example");
        row("contact: Windows-1252 byte", update + "Ren%E9e", "CONTACTINFOCHANGED", contact,
            QStringLiteral("Ren\u00e9e||7||d@q.example"));
        const QString unchanged = QStringLiteral("5550100123||12||dana.demo@quill-broker.example");
        row("contact: other department", QString(update).replace("QDEMO-LOANS", "OTHER") + "1",
            "Department does not match this user.", contact, unchanged);
        // A changed password is the one that validates and is no longer expired; a refused one does not validate.
        const QString change = acc + "CHANGEPASSWORD&USER=demo&OLDPASS=Demo2026pass&NEWPASS=";
        const QString validate = acc + "VALIDATECREDENTIALS&USER=demo&PASSWORD=",
                      refused = "Invalid user name or password.";
        row("password: changed", change + "Fresh2027pass", "PASSWORDCHANGED", validate + "Fresh2027pass", "",
            acc + "PASSWORDEXPIRED&USER=demo", "False");
        row("password: old one wrong", QString(change).replace("Demo", "demo") + "Fresh2027pass",
            "The existing password is not correct.", validate + "Fresh2027pass", refused);
        row("password: too short", change + "Ab1cdef", "The new password must be at least 8 characters long.",
            validate + "Ab1cdef", refused);
        row("password: no digit", change + "FreshPassword", "The new password must contain a number.",
            validate + "FreshPassword", refused);
        const QString find = demo + "&action=FIND_REPORT", notFound = "FAILED\nReport not found.";
        row("own login, names in other case", find + "&SSN=900110002&FirstName=jordan&LastName=Sample",
            "SUCCESS\n" + recentId + "\n4 4 4\n1\nJORDAN\nL\nSAMPLE");
        row("wrong password", QString(find).replace("Demo2026pass", "wrong") + jordan, "FAILED\nInvalid password");
        row("by reference, not allowed", find + "&LoginByRefUserName=agent&LoginByRefPassword=Agent2026pass" + jordan,
            "FAILED\nYou may not order on behalf of demo.");
        row("first name differs", find + QString(jordan).replace("JORDAN", "JORDANA"), notFound);
        row("joint, with co-borrower", find + joint + coBorrower, "SUCCESS\n" + jointId + "\n4 4 0\n1\nRILEY\n\nJOYNER",
            find + joint, notFound);
        row("other company's report", find + "&SSN=900110007&FirstName=QUINN&LastName=OTHERCO", notFound);
        // Finding another company's report by its reissue number grants access to it.
        const QString reissue = "/cia/cgi/marrowCGI.exe?UserName=reissue&Password=Reissue2026pass&action=";
        row("reissue number", reissue + "GET_STATUS&guid=" + reissueId, notFound,
            reissue + "FIND_REPORT&ReIssueNum=RX20260417", "SUCCESS\n" + reissueId + "\n4 4 0\n1\nQUINN\n\nOTHERCO",
            reissue + "GET_STATUS&guid=" + reissueId, "SUCCESS\n4\n4\n0");
        row("reissue number, no right", find + "&ReIssueNum=RX20260417",
            "FAILED\nCross-company reissue is not enabled for this account.");
        order("order, no bureau", QString(newOrder).replace("&EQUIFAX=TRUE&EXPERIAN=TRUE", ""),
              "At least one bureau must be selected.");
        order("order, joint without co-borrower", QString(newOrder).replace("Joint=FALSE", "Joint=TRUE"),
              "The co-borrower's first and last name are required.");
        row("order, bureau without right",
            QString(demo).replace("demo&Password=Demo", "partner&Password=Partner") + "&action=REQUEST" + newOrder
                + "&TRANSUNION=TRUE",
            "FAILED\nYou are not permitted to order TransUnion.");
        order("upgrade adding nothing", "&Keywords=UPGRADE&Joint=FALSE&EXPERIAN=TRUE&EQUIFAX=TRUE" + jordan,
              "The report already has every requested bureau.");
        order("repull of RMCR-pending report",
              "&Keywords=REQUEST&Joint=FALSE&EXPERIAN=TRUE&SSN=900110004&FirstName=MORGAN&LastName=PENDER",
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

    void pendingOnlyForTheSameBlock_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<bool>("found");
        QTest::newRow("the same block") << newOrder << true;
        QTest::newRow("a repull's keyword") << QString(newOrder).replace("Keywords=", "Keywords=REQUEST") << false;
        QTest::newRow("a bureau less") << QString(newOrder).replace("&EXPERIAN=TRUE", "") << false;
        QTest::newRow("another city") << QString(newOrder).replace("AUSTIN", "DALLAS") << false;
        QTest::newRow("another birth date") << QString(newOrder).replace("1990", "1991") << false;
        QTest::newRow("another reference") << QString(newOrder).replace("DANA+DEMO", "DANA") << false;
    }

    // An order in progress is found again only by the very block that placed it.
    void pendingOnlyForTheSameBlock()
    {
        QFETCH(QString, block);
        QFETCH(bool, found);
        m_sim.setStatusPolls(5);
        const QString placed = call(demo + "&action=REQUEST" + newOrder).section('\n', -1);
        QVERIFY2(placed.size() == recentId.size(), qPrintable(placed));
        const QString login = "&UserName=demo&Password=Demo2026pass";
        QCOMPARE(call(acc + "FINDPENDING" + login + block), found ? placed : QString());
    }
};

QTEST_GUILESS_MAIN(TestVendorSim)
#include "test_vendor_sim.moc"
