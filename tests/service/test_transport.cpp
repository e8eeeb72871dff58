#include "ScriptedMsgBox.h"
#include "TestEnv.h"
#include "VendorSim.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/HttpAnswer.h"
#include "platform/HttpBatch.h"
#include "platform/HttpRequest.h"
#include "service/ParamBlock.h"
#include "service/basActions.h"
#include "service/basPrefetch.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTest>

#include <optional>

namespace {

const QString kAccountPath = QStringLiteral("/utils/CGI_Utilities.asp?");

struct LimitRow {
    QString setup;        // "trickle", "oversized", "download", "redirect"
    QString location;     // redirect target; "{base}" the server, "{other}" a second listener's port
    long error;           // 0: the request succeeds
    QString description;  // part of the error's description
    int requests;         // request lines at the server
};

QString sendAction(const QString& base, const QString& action, qint64 limit = HttpRequest::TextAnswerLimit)
{
    HttpRequest request;
    request.setAnswerLimit(limit);
    request.open("POST", base + kAccountPath + "Action=" + action + "&USER=demo&Password=s3cret");
    request.send();
    return request.responseText();
}

} // namespace

Q_DECLARE_METATYPE(LimitRow)

// The limits of one request against a misbehaving stand-in server: answers that trickle in or
// never end, redirects that would carry the credentials elsewhere, connections that drop
// before the answer; requests sent together (HttpBatch) and reads sent ahead of their steps.
class TransportTest : public QObject
{
    Q_OBJECT
    VendorSim m_sim;
    std::optional<TestEnv> m_env;
    std::optional<ScriptedMsgBox> m_boxes;

private slots:
    void initTestCase() { QVERIFY2(m_sim.start(), "the stand-in vendor server did not start"); }

    void init()
    {
        m_sim.reset();
        m_env.emplace();
        m_boxes.emplace();
        m_env->freshProps();
        Props().setServerURL(m_sim.baseUrl());
        Props().setAspUtil(kAccountPath);
        Props().setPostLocation("/cia/cgi/marrowCGI.exe?");
        Props().setUserName("demo");
        Props().setPassword("s3cret");
    }

    void cleanup()
    {
        qunsetenv("QUILLCLIENT_HTTP_TIMEOUT_MS");
        Prefetch::Discard();
        Prefetch::SetEnabled(true);
        QVERIFY2(!m_env->readFile("errors.log").contains("s3cret"), "a password reached errors.log");
        m_boxes.reset();
        m_env.reset();
    }

    void limits_data()
    {
        QTest::addColumn<LimitRow>("row");
        const long transport = ErrNo::Transport;
        QTest::newRow("answer trickling past the deadline")
            << LimitRow{"trickle", "", ErrNo::Timeout, "did not answer within 1500 ms", 1};
        QTest::newRow("text answer over 16 MB")
            << LimitRow{"oversized", "", transport, "larger than 16777216 bytes", 1};
        QTest::newRow("download may be larger") << LimitRow{"download", "", 0, "", 1};
        QTest::newRow("redirect to another host")
            << LimitRow{"redirect", "http://localhost:{port}/x", transport, "redirected the request to another address", 1};
        QTest::newRow("redirect to another port")
            << LimitRow{"redirect", "http://127.0.0.1:{other}/x", transport, "redirected the request to another address", 1};
        QTest::newRow("redirect to another scheme")
            << LimitRow{"redirect", "https://127.0.0.1:{port}/x", transport, "redirected the request to another address", 1};
        QTest::newRow("redirect on the same server")
            << LimitRow{"redirect", "{base}/utils/CGI_Utilities.asp?Action=GETDEPARTMENTID&USER=demo", 0, "", 2};
        QTest::newRow("relative redirect on the same server")
            << LimitRow{"redirect", "/utils/CGI_Utilities.asp?Action=GETDEPARTMENTID&USER=demo", 0, "", 2};
    }

    void limits()
    {
        QFETCH(LimitRow, row);
        QTcpServer other;   // would receive the credentials if a foreign redirect were followed
        QVERIFY(other.listen(QHostAddress::LocalHost, 0));
        qint64 limit = HttpRequest::TextAnswerLimit;
        QString expected;
        if (row.setup == "trickle") {
            qputenv("QUILLCLIENT_HTTP_TIMEOUT_MS", "1500");
            m_sim.scriptTrickle("GETABOUT", QString(40, 'x'), 100);   // a byte well within the inactivity time-out
        } else if (row.setup == "oversized") {
            m_sim.scriptSized("GETABOUT", "0123456789", int(HttpRequest::TextAnswerLimit) + 1);
        } else if (row.setup == "download") {
            limit = HttpRequest::DownloadAnswerLimit;
            m_sim.scriptSized("GETABOUT", "0123456789", int(HttpRequest::TextAnswerLimit) + 10);
        } else {
            QString target = row.location;
            target.replace("{base}", m_sim.baseUrl()).replace("{port}", QString::number(m_sim.port()));
            target.replace("{other}", QString::number(other.serverPort()));
            m_sim.scriptRedirect("GETABOUT", 302, target);
            expected = "QDEMO-LOANS";
        }

        QElapsedTimer clock;
        clock.start();
        try {
            const QString answer = sendAction(m_sim.baseUrl(), "GETABOUT", limit);
            QCOMPARE(row.error, 0);
            if (!expected.isEmpty())
                QCOMPARE(answer, expected);
            else
                QCOMPARE(answer.size(), qsizetype(HttpRequest::TextAnswerLimit) + 10);
        } catch (const AppError& e) {
            QVERIFY2(row.error != 0, qPrintable(e.Description));
            QCOMPARE(e.Number, row.error);
            QVERIFY2(e.Description.contains(row.description), qPrintable(e.Description));
            QVERIFY2(!e.Description.contains("s3cret"), qPrintable(e.Description));
        }
        QVERIFY2(clock.elapsed() < 3500, qPrintable(QString::number(clock.elapsed())));
        const QStringList lines = m_sim.requests();
        QVERIFY2(lines.size() == row.requests, qPrintable(lines.join(" | ")));
        QVERIFY2(!other.hasPendingConnections() && !other.waitForNewConnection(50), "the credentials left the server");
    }

    // Qt sends a request again when its connection closes before any answer byte; a version
    // stamp must reach the server once, whether its connection is new or kept alive.
    void droppedConnection_data()
    {
        QTest::addColumn<bool>("keptAlive");
        QTest::addColumn<bool>("changesVendor");
        QTest::addColumn<int>("arrivals");
        QTest::newRow("stamp on a new connection") << false << true << 1;
        QTest::newRow("stamp on a kept-alive connection") << true << true << 1;
        QTest::newRow("read on a kept-alive connection is repeated") << true << false << 2;
    }

    void droppedConnection()
    {
        QFETCH(bool, keptAlive);
        QFETCH(bool, changesVendor);
        QFETCH(int, arrivals);
        QString out;
        if (keptAlive)
            QVERIFY(GetDepartmentID(ParamBlock("GETDEPARTMENTID").add("USER", "demo").text(), out));
        m_sim.clearRequests();
        const QString action = changesVendor ? "UPDATELOSVERSION" : "GETREPORTLISTPAGE";
        m_sim.scriptDrop(action, 1);

        const QString block = ParamBlock(action).add("guid", "G-1").add("LOSVersion", "1.1.0").text();
        const bool result = changesVendor ? UpdateLOSVersion(block, out) : GetReportListPage(block, out);

        const QStringList lines = m_sim.requests();
        QCOMPARE(lines.size(), arrivals);
        for (const QString& line : lines)
            QVERIFY2(line.contains("Action=" + action), qPrintable(line));
        QCOMPARE(result, !changesVendor);
        if (changesVendor) {
            QVERIFY2(out.startsWith("<ERROR><ERROR_NO>" + QString::number(ErrNo::Transport)), qPrintable(out));
            QVERIFY2(out.contains("may or may not have received it"), qPrintable(out));
            QCOMPARE(m_env->readFile("errors.log").count("Date: "), 1);
        }
    }

    void charsetOfContentType_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QByteArray>("charset");
        QTest::newRow("plain") << QByteArray("text/plain; charset=windows-1252") << QByteArray("windows-1252");
        QTest::newRow("quoted, blanks") << QByteArray("text/plain ;  CharSet = \"utf-8\" ") << QByteArray("utf-8");
        QTest::newRow("later parameter") << QByteArray("text/plain; format=flowed; charset=latin1") << QByteArray("latin1");
        QTest::newRow("none") << QByteArray("text/plain") << QByteArray();
        QTest::newRow("charset in the type is no parameter") << QByteArray("charset=utf-8") << QByteArray();
        QTest::newRow("lone quote") << QByteArray("text/plain; charset=\"") << QByteArray("\"");
    }

    void charsetOfContentType()
    {
        QFETCH(QByteArray, header);
        QFETCH(QByteArray, charset);
        QCOMPARE(CharsetOf(header), charset);
    }

    // Five answers of 300 ms each arrive in about one answer's time, and each request keeps
    // its own outcome: the one the server fails raises the HTTP status, the others answer.
    void batchRunsSideBySideEachWithItsOwnFailure()
    {
        m_sim.setLatency(300);
        m_sim.scriptStatus("GETABOUT", 500, "trouble");
        const QString start = m_sim.baseUrl() + kAccountPath + "Action=";
        HttpBatch batch;
        QElapsedTimer clock;
        clock.start();
        for (const char* action : {"GETDEPARTMENTID", "GETABOUT", "GETRMCRPAGE", "GETSUMMARYPAGE", "CHANGEPASSWORDRIGHTS"})
            QVERIFY(batch.add(start + action + "&USER=demo"));
        QVERIFY(!batch.add(start + "GETABOUT&USER=demo"));   // held already
        batch.waitAll();
        // One after another they take 5 x 300 ms; the margin covers a loaded machine (and Wine).
        QVERIFY2(clock.elapsed() < 3 * 300, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(m_sim.requests().size(), 5);

        const auto department = batch.take(start + "GETDEPARTMENTID&USER=demo");
        QVERIFY(department);
        department->finish();
        QCOMPARE(department->responseText(), QString("QDEMO-LOANS"));
        const auto about = batch.take(start + "GETABOUT&USER=demo");
        try {
            about->finish();
            QFAIL("the failed request answered");
        } catch (const AppError& e) {
            QVERIFY(e.Number == ErrNo::HttpStatus && e.Description.contains("500"));
        }
        QVERIFY(!batch.take(start + "GETABOUT&USER=demo"));   // taken once
        QCOMPARE(batch.addresses().size(), 3);
    }

    // A step whose read was sent ahead takes that answer (no second request); its failure is
    // handled as the step's own: false, the error text, an errors.log entry. A step whose
    // address differs (another department) sends its own request. Switched off, nothing is
    // sent ahead.
    void stepTakesTheReadSentAhead_data()
    {
        QTest::addColumn<bool>("ahead");
        QTest::addColumn<int>("httpStatus");
        QTest::newRow("answer") << true << 200;
        QTest::newRow("server error") << true << 500;
        QTest::newRow("switched off") << false << 200;
    }

    void stepTakesTheReadSentAhead()
    {
        QFETCH(bool, ahead);
        QFETCH(int, httpStatus);
        const bool result = httpStatus == 200;
        if (!result)
            m_sim.scriptStatus("GETSUPPLEMENTPAGE", httpStatus, "trouble");
        Prefetch::SetEnabled(ahead);
        const QString block = ParamBlock("GETSUPPLEMENTPAGE").add("USER", "demo").add("DEPARTMENTID", "QDEMO-LOANS").text();
        Prefetch::Send({{"GetSupplementPage", "GETSUPPLEMENTPAGE", block}});
        QCOMPARE(Prefetch::Held().size(), ahead ? 1 : 0);
        QString answer;
        QCOMPARE(GetSupplementPage(block, answer), result);
        QCOMPARE(Props().SuppPageLink(), QString(result ? "/web/Supplement.asp" : ""));
        QCOMPARE(m_sim.requests().size(), 1);
        QVERIFY(Prefetch::Held().isEmpty());
        QCOMPARE(m_env->readFile("errors.log").contains("500"), !result);
        QCOMPARE(answer.startsWith("<ERROR>"), !result);

        const QString other = ParamBlock("GETSUPPLEMENTPAGE").add("USER", "demo").add("DEPARTMENTID", "OTHER").text();
        QVERIFY(GetSupplementPage(other, answer));
        QCOMPARE(m_sim.requests().size(), 2);
    }
};

int runTransportTest(int argc, char** argv)
{
    TransportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_transport.moc"
