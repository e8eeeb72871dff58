#include "ServiceRig.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/HttpAnswer.h"
#include "platform/HttpBatch.h"
#include "platform/HttpRequest.h"
#include "service/basOrder.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTimer>

namespace {

struct FailureRow {
    Operation operation;
    QString action;
    QString failure;   // how the address or the server fails: see transportFailures()
    long number;       // of the error text logged; 0: the operation answers
    QString start;     // of the answer (the connection-aware credential check shows its own words)
    QString detail;    // within the answer
    QString box;       // the connection box's text; empty: none
    int requests = 1;  // request lines at the server
};

} // namespace

Q_DECLARE_METATYPE(FailureRow)

// What reaches an operation when the address, the connection or the server misbehaves; requests
// sent together (HttpBatch) and reads sent ahead of their steps (Prefetch).
class TransportTest : public ServiceTest
{
    Q_OBJECT

private slots:
    // Each failure reads as a failure: never an empty success, a report id, a page link or a GUID.
    void transportFailures_data()
    {
        QTest::addColumn<FailureRow>("row");
        const auto add = [](const char* name, const FailureRow& row) { QTest::newRow(name) << row; };
        const long unreachable = ErrNo::Unreachable, transport = ErrNo::Transport, status = ErrNo::HttpStatus, page = ErrNo::NotProtocol;
        const QString pull = "A valid connection to the internet is needed to pull credit.\r\n\r\nPossible invalid https layer.";
        const QString validate = "A valid connection to the internet is needed to validate user.\r\n\r\nPossible invalid https layer.";
        const QString elsewhere = "redirected the request to another address";
        add("plain, refused connection", {&CheckMessages, "CHECKMESSAGES", "closed", unreachable, "", "", "", 0});
        add("search, refused connection", {&findReportAnswer, "FIND_REPORT", "closed", unreachable, "", "", pull, 0});
        add("credential check, refused connection", {&ValidateCredentials, "VALIDATECREDENTIALS", "closed", unreachable,
                                                     "Invalid Internet Connection", "", validate, 0});
        add("unencoded blank in the address", {&CheckMessages, "CHECKMESSAGES", "address http://127.0.0.1:{port}/a b", transport, "",
                                                "not a valid http or https address", "", 0});
        add("plain, HTTP 500", {&CheckMessages, "CHECKMESSAGES", "500", status, "", "HTTP status 500", ""});
        add("credential check, HTTP 500", {&ValidateCredentials, "VALIDATECREDENTIALS", "500", status, "After MSXML2.XMLHTTP30 Open  ", "HTTP status 500", ""});
        add("plain, dropped connection", {&GetAbout, "GETABOUT", "drop", transport, "", "", "", 2});
        add("order, dropped connection", {&Request, "REQUEST", "drop", transport, "", "", "", 1});
        // Qt sends a request again when its connection closes before any answer byte; a version
        // stamp reaches the server once, whether its connection is new or kept alive.
        add("stamp, new connection dropped", {&UpdateLOSVersion, "UPDATELOSVERSION", "drop1", transport, "", "", ""});
        add("stamp, kept-alive connection dropped", {&UpdateLOSVersion, "UPDATELOSVERSION", "drop1 kept", transport, "", "may or may not have received it", ""});
        add("read, kept-alive connection dropped, repeated", {&GetReportListPage, "GETREPORTLISTPAGE", "drop1 kept", 0, "", "", "", 2});
        add("search, time-out", {&FindPending, "FINDPENDING", "timeout", ErrNo::Timeout, "", "did not answer within 300 ms", ""});
        add("answer trickling past the deadline", {&GetAbout, "GETABOUT", "trickle", ErrNo::Timeout, "", "did not answer within 1500 ms", ""});
        add("text answer over 16 MB", {&GetAbout, "GETABOUT", "oversized", transport, "", "larger than 16777216 bytes", ""});
        add("redirect to another host", {&GetDepartmentID, "GETDEPARTMENTID", "redirect http://localhost:{port}/x", transport, "", elsewhere, ""});
        add("redirect to another port", {&GetDepartmentID, "GETDEPARTMENTID", "redirect http://127.0.0.1:{other}/x", transport, "", elsewhere, ""});
        add("redirect to another scheme", {&GetDepartmentID, "GETDEPARTMENTID", "redirect https://127.0.0.1:{port}/x", transport, "", elsewhere, ""});
        add("redirect on the same server", {&GetDepartmentID, "GETDEPARTMENTID", "redirect {base}/utils/CGI_Utilities.asp?Action=GETDEPARTMENTID&USER=demo",
                                            0, "QDEMO-LOANS", "", "", 2});
        add("relative redirect", {&GetDepartmentID, "GETDEPARTMENTID", "redirect /utils/CGI_Utilities.asp?Action=GETDEPARTMENTID&USER=demo", 0, "QDEMO-LOANS", "", "", 2});
        // A web page where a protocol answer belongs (a portal, a proxy's error page).
        add("search, page", {&findReportAnswer, "FIND_REPORT", "html", page, "", "", ""});
        add("pending search, page", {&FindPending, "FINDPENDING", "html", page, "", "", ""});
        add("report list page, page", {&GetReportListPage, "GETREPORTLISTPAGE", "html", page, "", "", ""});
        add("credential check, page", {&ValidateCredentials, "VALIDATECREDENTIALS", "html", page, "After MSXML2.XMLHTTP30 Send  ", "", ""});
        add("version stamp, page", {&UpdateLOSVersion, "UPDATELOSVERSION", "html", page, "", "", ""});
    }

    void transportFailures()
    {
        QFETCH(FailureRow, row);
        QTcpServer other;   // would receive the credentials if a foreign redirect were followed
        QVERIFY(other.listen(QHostAddress::LocalHost, 0));
        const QString failure = row.failure.section(' ', 0, 0);
        const QString argument = row.failure.section(' ', 1).replace("{base}", m_sim.baseUrl())
            .replace("{port}", QString::number(m_sim.port())).replace("{other}", QString::number(other.serverPort()));
        if (!row.box.isEmpty())
            m_rig->boxes.expect(vbOK);
        if (failure == "closed") {
            QTcpServer closed;   // nothing listens on its port once it is gone
            closed.listen(QHostAddress::LocalHost, 0);
            Props().setServerURL(QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort()));
        } else if (failure == "address") {
            Props().setServerURL(argument);
        } else if (failure == "500") {
            m_sim.scriptStatus(row.action, 500, "Internal trouble");
        } else if (failure == "drop") {
            m_sim.scriptDrop(row.action, 3);   // more than the network layer's own repetition
        } else if (failure == "html") {
            m_sim.script(row.action, "  <html><body>SUCCESS\nRPT-9\n4 4 4\n1\nA\nB\nC</body></html>");
        } else if (failure == "timeout") {
            qputenv("QUILLCLIENT_HTTP_TIMEOUT_MS", "300");
            m_sim.setLatency(1500);
        } else if (failure == "trickle") {
            qputenv("QUILLCLIENT_HTTP_TIMEOUT_MS", "1500");
            m_sim.scriptTrickle(row.action, QString(40, 'x'), 100);   // a byte well within the inactivity time-out
        } else if (failure == "oversized") {
            m_sim.scriptSized(row.action, "0123456789", int(HttpRequest::TextAnswerLimit) + 1);
        } else if (failure == "redirect") {
            m_sim.scriptRedirect(row.action, 302, argument);
        } else {
            QString out;
            if (argument == "kept")   // a request before leaves the connection open
                QVERIFY(GetDepartmentID(ParamBlock("GETDEPARTMENTID").add("USER", "demo").text(), out));
            m_sim.clearRequests();
            m_sim.scriptDrop(row.action, 1);
        }
        const QString sent = block(row.action);
        Props().setReportListPage("/before.asp");
        Props().setDepartmentID("DEPT-BEFORE");

        QElapsedTimer clock;
        clock.start();
        QString out = QStringLiteral("stale answer");
        QCOMPARE(row.operation(sent, out), row.number == 0);
        QVERIFY2(clock.elapsed() < 3500, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(out.startsWith(row.start) && out.contains(row.detail), qPrintable(out));
        QCOMPARE(m_sim.requests().size(), row.requests);
        QVERIFY2(!other.hasPendingConnections() && !other.waitForNewConnection(50), "the credentials left the server");
        QCOMPARE(boxes().size(), row.box.isEmpty() ? 0 : 1);
        if (!row.box.isEmpty())
            QCOMPARE(boxes()[0].text, row.box);
        if (row.number == 0)
            return;
        QVERIFY2(!out.contains("report id") && !out.contains("<html>"), qPrintable(out));
        QCOMPARE(Props().ReportListPage() + " " + Props().DepartmentID(), QString("/before.asp DEPT-BEFORE"));
        QVERIFY(row.operation != &Request || OrderMayHaveArrived(out));
        // One error text about the block, logged once; the answer is that text unless it has its own words.
        QVERIFY(log().contains(errorStart(row.number).toUtf8()));
        const QString error = out.mid(row.start.size());
        if (row.start == "Invalid Internet Connection")
            QCOMPARE(logEntries(), 1);
        else if (row.operation == &UpdateLOSVersion)   // a version stamp also records its answer
            QVERIFY2(error.startsWith(errorStart(row.number)) && error.contains("<INFO><![CDATA[In:" + sent + "\r\nOut:"), qPrintable(out));
        else
            QVERIFY2(isLoggedError(error, errorStart(row.number), sent), qPrintable(out));
    }

    // Only web addresses are sent (the settings turn any other server address into one), and
    // one request at a time: one started while another waits is refused.
    void requestsRefusedBeforeSending()
    {
        HttpRequest file;
        file.open("POST", "file:///etc/hostname");
        QVERIFY_THROWS_EXCEPTION(AppError, file.send());
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
        QCOMPARE(QString::number(nestedError) + " " + out, QString::number(ErrNo::Transport) + " QDEMO-LOANS");
        QCOMPARE(m_sim.requests().size(), 1);
    }

    // An answer is read by the charset its Content-Type names, when there is one that can be read.
    void charsetOfContentType_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QByteArray>("charset");
        QTest::newRow("quoted, blanks") << QByteArray("text/plain ;  CharSet = \"windows-1252\" ") << QByteArray("windows-1252");
        QTest::newRow("later parameter") << QByteArray("text/plain; format=flowed; charset=latin1") << QByteArray("latin1");
        QTest::newRow("charset in the type is no parameter") << QByteArray("charset=latin1") << QByteArray();
        QTest::newRow("lone quote") << QByteArray("text/plain; charset=\"") << QByteArray("\"");
    }

    void charsetOfContentType()
    {
        QFETCH(QByteArray, header);
        QFETCH(QByteArray, charset);
        QCOMPARE(CharsetOf(header), charset);
        const QByteArray body = "Ren\xe9" "e";
        QCOMPARE(DecodeAnswer(body, header), charset.startsWith("\"") || charset.isEmpty() ? QString::fromUtf8(body) : QString::fromUtf8("Renée"));
    }

    // Five answers of 300 ms each arrive in about one answer's time, and each request keeps
    // its own outcome: the one the server fails raises the HTTP status, the others answer.
    void batchRunsSideBySideEachWithItsOwnFailure()
    {
        m_sim.setLatency(300);
        m_sim.scriptStatus("GETABOUT", 500, "trouble");
        const QString start = m_sim.baseUrl() + "/utils/CGI_Utilities.asp?Action=";
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
        // Taken, a request is finished: its answer is there without another wait.
        QCOMPARE(batch.take(start + "GETDEPARTMENTID&USER=demo")->responseText(), QString("QDEMO-LOANS"));
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
        const QString sent = ParamBlock("GETSUPPLEMENTPAGE").add("USER", "demo").add("DEPARTMENTID", "QDEMO-LOANS").text();
        Prefetch::Send({{"GetSupplementPage", "GETSUPPLEMENTPAGE", sent}});
        QCOMPARE(Prefetch::Held().size(), ahead ? 1 : 0);
        QString answer;
        QCOMPARE(GetSupplementPage(sent, answer), result);
        QCOMPARE(Props().SuppPageLink(), QString(result ? "/web/Supplement.asp" : ""));
        QCOMPARE(m_sim.requests().size(), 1);
        QVERIFY(Prefetch::Held().isEmpty());
        QVERIFY(result ? answer == "/web/Supplement.asp" && logEntries() == 0 : isLoggedError(answer, errorStart(ErrNo::HttpStatus), sent));
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
