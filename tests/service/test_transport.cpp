#include "ServiceRig.h"
#include "TestCertificates.h"
#include "platform/HttpAnswer.h"
#include "platform/HttpNetwork.h"

#include <QBuffer>
#include <QNetworkProxy>
#include <QScopeGuard>
#include <QSslKey>
#include <QSslServer>
#include <QTcpSocket>
#include <QTimer>

namespace {

struct FailureRow {
    Operation operation;
    QString action;
    QString failure; // how the address or the server fails: see transportFailures(); {closed}: a port nobody listens on
    long number;     // of the error text logged; 0: the operation answers
    QString shown;   // within the answer; the credential check's answer starts with its own words
    QString box;     // the connection box's text; empty: none
    int requests = 1; // request lines at the server
};

// A proxy that asks every request for a user name and password it never accepts.
struct PasswordProxy : QTcpServer {
    PasswordProxy()
    {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                    if (!socket->peek(socket->bytesAvailable()).contains("\r\n\r\n"))
                        return; // (the request has no body)
                    socket->readAll();
                    socket->write("HTTP/1.1 407 Proxy Authentication Required\r\n"
                                  "Proxy-Authenticate: Basic realm=\"office\"\r\n"
                                  "Content-Length: 0\r\nConnection: close\r\n\r\n");
                    socket->disconnectFromHost();
                });
        });
    }
};

// A TLS server showing one of the certificates made for the tests (make-test-certs.sh). It answers
// no request: a connection that gets past the handshake is closed at once.
struct TlsServer : QSslServer {
    explicit TlsServer(const char* pkcs12)
    {
        QBuffer file;
        file.setData(QByteArray::fromBase64(pkcs12));
        file.open(QIODevice::ReadOnly);
        QSslKey key;
        QSslCertificate certificate;
        QSslCertificate::importPkcs12(&file, &key, &certificate);
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setLocalCertificate(certificate);
        tls.setPrivateKey(key);
        tls.setPeerVerifyMode(QSslSocket::VerifyNone);
        setSslConfiguration(tls);
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QSslServer::pendingConnectionAvailable, this, [this] { delete nextPendingConnection(); });
        connect(this, &QSslServer::errorOccurred, this, [this](QSslSocket* socket, QAbstractSocket::SocketError error) {
            if (error != QAbstractSocket::RemoteHostClosedError) // (the client's refusal)
                ownFailure = socket->errorString();
        });
    }
    QString ownFailure; // why its own side of the handshake failed
};

} // namespace

Q_DECLARE_METATYPE(FailureRow)

// Each failure reads as a failure: never an empty success, a GUID, a page link or a department.
void ServiceTest::transportFailures_data()
{
    QTest::addColumn<FailureRow>("row");
    const auto add = [](const char* name, Operation op, const QString& action, const QString& failure, long number,
                        const QString& shown, const QString& box, int requests = 1) {
        QTest::newRow(name) << FailureRow{op, action, failure, number, shown, box, requests};
    };
    const long unreachable = ErrNo::Unreachable, transport = ErrNo::Transport, page = ErrNo::NotProtocol;
    const QString layer = "\r\n\r\nPossible invalid https layer.";
    const QString pull = "A valid connection to the internet is needed to pull credit." + layer;
    const QString validate = "A valid connection to the internet is needed to validate user." + layer;
    const QString elsewhere = "redirected the request to another address";
    const QString notWeb = "not a valid http or https address", closed = "address http://127.0.0.1:{closed}";
    // The proxy is named, its password masked; no box sends the user to check the internet connection.
    const QString proxy = "<ERROR_DESC>The proxy server http://", tls = "<ERROR_DESC>The server's certificate ";
    const long proxyFailure = ErrNo::ProxyFailure, tlsFailure = ErrNo::TlsFailure;
    add("search, proxy down", &FindPending, "FINDPENDING", "proxy {closed}", proxyFailure,
        proxy + "127.0.0.1:{closed} failed: Connection refused (http://127.0.0.1:{port}/", "", 0);
    add("plain, proxy asks for a password", &CheckMessages, "CHECKMESSAGES", "proxy {asking} quill", proxyFailure,
        proxy + "quill:*****@127.0.0.1:{asking} failed: it answered with HTTP status 407 ", "", 0);
    // A plain sentence by the kind of the problem, then the TLS backend's words.
    add("search, certificate not trusted", &FindPending, "FINDPENDING", "tls good", tlsFailure,
        tls + "is not trusted on this computer. ", "", 0);
    add("expired certificate", &CheckMessages, "CHECKMESSAGES", "tls expired trusted", tlsFailure,
        tls + "has expired. ", "", 0);
    add("certificate for another host name", &CheckMessages, "CHECKMESSAGES", "tls othername trusted", tlsFailure,
        tls + "is for another host name. ", "", 0);
    add("plain, refused connection", &CheckMessages, "CHECKMESSAGES", closed, unreachable, "", "", 0);
    add("search, refused connection", &FindPending, "FINDPENDING", closed, unreachable, "", pull, 0);
    add("credential check, refused connection", &ValidateCredentials, "VALIDATECREDENTIALS", closed, unreachable,
        "Invalid Internet Connection", validate, 0);
    add("unencoded blank in the address", &CheckMessages, "CHECKMESSAGES", "address http://127.0.0.1:{port}/a b",
        transport, notWeb, "", 0);
    // Only web addresses are sent, whatever an address was built from.
    add("file address", &CheckMessages, "CHECKMESSAGES", "address file:///etc/", transport, notWeb, "", 0);
    add("plain, dropped connection", &GetAbout, "GETABOUT", "drop", transport, "", "", 2);
    add("order, dropped connection", &Request, "REQUEST", "drop", transport, "", "", 1);
    // Qt sends a request again when its connection closes before any answer byte; an order (on a
    // new connection) and a version stamp (on a kept-alive one) reach the server once.
    add("stamp, kept-alive connection dropped", &UpdateLOSVersion, "UPDATELOSVERSION", "drop1 kept", transport,
        "may or may not have received it", "");
    add("read, kept-alive connection dropped, repeated", &GetReportListPage, "GETREPORTLISTPAGE", "drop1 kept", 0, "",
        "", 2);
    add("search, time-out", &FindPending, "FINDPENDING", "timeout", ErrNo::Timeout, "did not answer within 300 ms", "");
    add("answer trickling past the deadline", &GetAbout, "GETABOUT", "trickle", ErrNo::Timeout,
        "did not answer within 1500 ms", "");
    add("text answer over 16 MB", &GetAbout, "GETABOUT", "oversized", transport, "larger than 16777216 bytes", "");
    for (const auto& [name, to] : {std::pair{"redirect to another host", "http://localhost:{port}/x"},
                                   {"redirect to another port", "http://127.0.0.1:{closed}/x"},
                                   {"redirect to another scheme", "https://127.0.0.1:{port}/x"}})
        add(name, &GetDepartmentID, "GETDEPARTMENTID", QString("redirect ") + to, transport, elsewhere, "");
    add("redirect on the same server", &GetDepartmentID, "GETDEPARTMENTID",
        "redirect /utils/CGI_Utilities.asp?Action=GETDEPARTMENTID&USER=demo", 0, "QDEMO-LOANS", "", 2);
    // A redirect, even to the same server, would place the order again.
    const QString notAgain = "changes something at the credit vendor, so it was not sent again";
    add("order, redirected to itself", &Request, "REQUEST", "redirect {self}", transport, notAgain, "");
    add("version stamp, redirected with its method", &UpdateLOSVersion, "UPDATELOSVERSION", "redirect307 {self}",
        transport, notAgain, "");
    // A web page where a protocol answer belongs (a portal, a proxy's error page).
    add("report list page, page", &GetReportListPage, "GETREPORTLISTPAGE", "html", page, "", "");
    add("credential check, page", &ValidateCredentials, "VALIDATECREDENTIALS", "html", page,
        "After MSXML2.XMLHTTP30 Send  ", "");
}

void ServiceTest::transportFailures()
{
    QFETCH(FailureRow, row);
    const QString failure = row.failure.section(' ', 0, 0);
    QTcpServer closed; // once closed, its port is one nobody listens on
    closed.listen(QHostAddress::LocalHost, 0);
    const QString closedPort = QString::number(closed.serverPort());
    closed.close();
    PasswordProxy asking;
    const QStringList tlsRow = row.failure.split(' ');
    const QMap<QString, const char*> certificates{{"good", TestCertificates::good},
                                                  {"expired", TestCertificates::expired},
                                                  {"othername", TestCertificates::othername}};
    std::optional<TlsServer> tlsServer;
    if (failure == "tls")
        tlsServer.emplace(certificates.value(tlsRow.value(1)));
    const auto fill = [&](QString text) {
        return text.replace("{port}", QString::number(m_sim.port()))
            .replace("{closed}", closedPort)
            .replace("{asking}", QString::number(asking.serverPort()));
    };
    const QString argument = fill(row.failure.section(' ', 1));
    const QSslConfiguration tlsBefore = QSslConfiguration::defaultConfiguration();
    const auto restore = qScopeGuard([&] {
        HttpNetwork::UseProxy(QNetworkProxy());
        QSslConfiguration::setDefaultConfiguration(tlsBefore);
    });
    if (!row.box.isEmpty())
        m_rig->boxes.expect(vbOK);
    if (failure == "proxy") { // the server stays on 127.0.0.1, which the system's settings never proxy
        const QStringList proxy = argument.split(' ');
        HttpNetwork::UseProxy(QNetworkProxy(QNetworkProxy::HttpProxy, "127.0.0.1", proxy[0].toUShort(), proxy.value(1),
                                            proxy.size() > 1 ? "proxy-secret" : ""));
    } else if (failure == "tls") {
        Props().setBaseUrl("https://127.0.0.1:" + QString::number(tlsServer->serverPort()));
        QSslConfiguration trusting = tlsBefore;
        if (tlsRow.contains("trusted")) // as an office trusts its own root
            trusting.addCaCertificate(QSslCertificate(TestCertificates::root));
        QSslConfiguration::setDefaultConfiguration(trusting);
    } else if (failure == "address") {
        Props().setBaseUrl(argument);
    } else if (failure == "drop") {
        m_sim.scriptDrop(row.action, 3); // more than the network layer's own repetition
    } else if (failure == "html") {
        m_sim.script(row.action, "  <html><body>GUID-9\n/page.asp</body></html>");
    } else if (failure == "timeout") {
        qputenv("QUILLCLIENT_HTTP_TIMEOUT_MS", "300");
        m_sim.setLatency(1500);
    } else if (failure == "trickle") {
        qputenv("QUILLCLIENT_HTTP_TIMEOUT_MS", "1500");
        m_sim.scriptTrickle(row.action, QString(40, 'x'), 100); // a byte well within the inactivity time-out
    } else if (failure == "oversized") {
        m_sim.scriptSized(row.action, "0123456789", int(HttpPolicy::TextAnswerLimit) + 1);
    } else if (failure.startsWith("redirect")) {
        m_sim.scriptRedirect(row.action, failure == "redirect307" ? 307 : 302, argument);
    } else {
        QString out;
        if (argument == "kept") // a request before leaves the connection open
            QVERIFY(run(&GetDepartmentID, ParamBlock("GETDEPARTMENTID").add("USER", "demo").text(), out));
        m_sim.clearRequests();
        m_sim.scriptDrop(row.action, 1);
    }
    Props().setReportListPage("/before.asp");
    Props().setDepartmentID("DEPT-BEFORE");

    QElapsedTimer clock;
    clock.start();
    QString out = QStringLiteral("stale answer");
    QCOMPARE(run(row.operation, block(row.action), out), row.number == 0);
    QVERIFY2(clock.elapsed() < 3500, qPrintable(QString::number(clock.elapsed()) + out));
    // Wine's Schannel imports no private key from a PKCS#12 file, so no TLS server can run there.
    if (tlsServer && !tlsServer->ownFailure.isEmpty())
        QSKIP(qPrintable("the TLS server cannot serve its certificate here: " + tlsServer->ownFailure));
    QVERIFY2(out.contains(fill(row.shown)), qPrintable(out));
    QVERIFY(!out.contains("proxy-secret") && !log().contains("proxy-secret"));
    QCOMPARE(m_sim.requests().size(), row.requests);
    QCOMPARE(m_rig->boxes.boxes.value(0).text, row.box); // (a box not expected fails at once)
    if (row.number == 0)
        return;
    QCOMPARE(Props().ReportListPage() + " " + Props().DepartmentID(), QString("/before.asp DEPT-BEFORE"));
    QVERIFY(row.operation != static_cast<Operation>(&Request) || m_last.mayHaveArrived);
    // One error text, logged once: the answer, after the credential check's own words.
    QCOMPARE(logEntries(), 1);
    QVERIFY(log().contains(errorStart(row.number).toUtf8()));
    // The address the error text names sends the password in clear: the text masks it.
    const QString description = out.section("<ERROR_DESC>", 1).section("</ERROR_DESC>", 0, 0);
    QVERIFY2(!description.contains(ReportFixture::Password), qPrintable(out));
    QVERIFY2(out.startsWith(row.operation == static_cast<Operation>(&ValidateCredentials) ? row.shown
                                                                                          : errorStart(row.number)),
             qPrintable(out));
}

// An answer is read by the charset its Content-Type names, when there is one that can be read.
void ServiceTest::charsetOfContentType()
{
    const QByteArray body = "Ren\xe9"
                            "e";
    const QString named = QString::fromUtf8("Renée");
    QCOMPARE(DecodeAnswer(body, "text/plain ;  CharSet = \"windows-1252\" "), named); // quoted, blanks
    QCOMPARE(DecodeAnswer(body, "text/plain; format=flowed; charset=latin1"), named); // a later parameter
    QCOMPARE(DecodeAnswer(body, "charset=latin1"), QString::fromUtf8(body)); // in the type it is no parameter: UTF-8
}

// Reads sent ahead of their steps go together, each once. A step whose read was sent ahead
// takes that answer (no second request); its failure is handled as the step's own: false,
// the error text, an errors.log entry. A step whose address differs (another department)
// sends its own request. Switched off, nothing is sent ahead.
void ServiceTest::stepTakesTheReadSentAhead_data()
{
    QTest::addColumn<int>("httpStatus"); // 0: sending ahead switched off
    QTest::newRow("answer") << 200;
    QTest::newRow("server error") << 500;
    QTest::newRow("switched off") << 0;
}

void ServiceTest::stepTakesTheReadSentAhead()
{
    QFETCH(int, httpStatus);
    m_sim.scriptStatus("GETSUPPLEMENTPAGE", httpStatus == 500 ? 500 : 200, httpStatus == 500 ? "trouble" : "/s.asp");
    m_sim.setLatency(httpStatus ? 400 : 0);
    Prefetch::SetEnabled(httpStatus != 0);
    const QString sent = ParamBlock("GETSUPPLEMENTPAGE").add("USER", "demo").add("DEPARTMENTID", "QDEMO-LOANS").text();
    const Prefetch::Read supplement{"GetSupplementPage", "GETSUPPLEMENTPAGE", sent};
    QElapsedTimer clock;
    clock.start();
    Prefetch::Send({supplement, {"GetAbout", "GETABOUT", block("GETABOUT")}});
    Prefetch::Send({supplement});
    QCOMPARE(Prefetch::Held().size(), httpStatus ? 2 : 0);
    QString answer;
    QCOMPARE(run(&GetSupplementPage, sent, answer), httpStatus != 500);
    QVERIFY2(httpStatus == 500 ? isLoggedError(answer, errorStart(ErrNo::HttpStatus), sent)
                               : answer == "/s.asp" && logEntries() == 0,
             qPrintable(answer));
    QVERIFY(run(&GetAbout, block("GETABOUT"), answer));
    // One after the other the two answers take 800 ms; the margin covers a loaded machine.
    QVERIFY2(httpStatus == 0 || clock.elapsed() < 700, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(m_sim.requests().size(), 2);
    m_sim.setLatency(0);
    const QString other = ParamBlock("GETSUPPLEMENTPAGE").add("USER", "demo").add("DEPARTMENTID", "OTHER").text();
    QVERIFY(run(&GetSupplementPage, other, answer));
    QCOMPARE(m_sim.requests().size(), 3);
}
