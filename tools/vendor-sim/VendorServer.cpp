#include "VendorServer.h"

#include "FormQuery.h"
#include "ReportPdf.h"
#include "SeedLoader.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace {

bool samePath(const QString& path, const char* expected)
{
    return path.compare(QLatin1String(expected), Qt::CaseInsensitive) == 0;
}

} // namespace

VendorServer::VendorServer(const QByteArray& seed, QObject* parent)
    : HttpFront(parent),
      m_seed(seed),
      m_reportActions(m_state),
      m_pages(m_state),
      m_control(SimControl::Context{m_state, m_script, m_requestLog, m_latencyMs, [this] { return loadSeed(); }})
{
}

QString VendorServer::loadSeed()
{
    if (m_seed.isEmpty()) {
        m_state.clear();
        return QString();
    }
    return SeedLoader(QDate::currentDate()).load(m_seed, m_state);
}

quint16 VendorServer::start(quint16 port)
{
    const quint16 bound = listen(port);
    if (bound == 0)
        return 0;
    m_baseUrl = QStringLiteral("http://127.0.0.1:%1").arg(bound);
    m_accountActions = std::make_unique<AccountActions>(m_state, m_baseUrl);
    return bound;
}

void VendorServer::handleRequest(const SimRequest& request, QTcpSocket* socket)
{
    const QString path = request.url.path();
    if (SimControl::isControlPath(path)) {
        send(socket, m_control.handle(request));
        return;
    }
    const QString target = FormQuery::rawTarget(request);
    m_requestLog.append(QString::fromLatin1(request.method) + QLatin1Char(' ') + target);
    Answer answer = answerFor(request);
    if (answer.location == Answer::SelfLocation)
        answer.location = target.toUtf8(); // the same request again, after a redirect
    deliver(answer, socket);
}

Answer VendorServer::answerFor(const SimRequest& request)
{
    if (request.method != "GET" && request.method != "POST")
        return Answer::error(405, QStringLiteral("Method not allowed"));
    const QString path = request.url.path();
    const FormQuery query(FormQuery::rawQuery(request));
    if (samePath(path, AccountPath))
        return accountForm(query);
    if (samePath(path, ReportPath))
        return reportForm(query);
    if (path.startsWith(QLatin1String("/cia/pdf/"), Qt::CaseInsensitive))
        return pdfDownload(path);
    if (WebPages::isPagePath(path))
        return m_pages.serve(path, query);
    return Answer::error(404, QStringLiteral("Not found"));
}

Answer VendorServer::accountForm(const FormQuery& query)
{
    const QString action = query.value(QStringLiteral("Action"));
    if (auto scripted = m_script.take(action))
        return *scripted;
    if (action.compare(QLatin1String("FINDPENDING"), Qt::CaseInsensitive) == 0)
        return m_reportActions.findPending(query);
    if (auto answer = m_accountActions->handle(action, query))
        return *answer;
    return Answer::error(400, QStringLiteral("Unknown action: ") + action);
}

Answer VendorServer::reportForm(const FormQuery& query)
{
    const QString action = query.value(QStringLiteral("action"));
    const auto scripted = m_script.take(action);
    if (scripted && !scripted->dropAfterHandling)
        return *scripted;
    if (scripted) {
        m_reportActions.handle(action, query);
        return *scripted;
    }
    if (auto answer = m_reportActions.handle(action, query))
        return *answer;
    return Answer::error(400, QStringLiteral("Unknown action: ") + action);
}

// Scripted under the name PDFFILE, so tests can break the download itself.
Answer VendorServer::pdfDownload(const QString& path)
{
    if (auto scripted = m_script.take(QStringLiteral("PDFFILE")))
        return *scripted;
    const QString token = path.section(QLatin1Char('/'), -1).chopped(4);
    const Report* report =
        path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? m_state.reportByToken(token) : nullptr;
    if (!report || m_state.inProgress(*report))
        return Answer::error(404, QStringLiteral("No such report file"));
    return Answer{200, ReportPdf::render(*report), QByteArrayLiteral("application/pdf")};
}

// Handlers run on the server's thread, so latency is a timer, never a sleep: the socket is watched
// in case the client gives up first.
void VendorServer::deliver(const Answer& answer, QTcpSocket* socket)
{
    if (answer.drop) {
        // Queued, so the server finishes with this request before its connection disappears.
        QMetaObject::invokeMethod(socket, &QTcpSocket::abort, Qt::QueuedConnection);
        return;
    }
    if (answer.trickleMs > 0) {
        trickle(answer, socket);
        return;
    }
    if (m_latencyMs <= 0) {
        send(socket, answer);
        return;
    }
    QPointer<QTcpSocket> watched(socket);
    QTimer::singleShot(m_latencyMs, this, [watched, answer] {
        if (watched && watched->state() == QAbstractSocket::ConnectedState)
            send(watched, answer);
    });
}

void VendorServer::send(QTcpSocket* socket, const Answer& answer)
{
    Headers headers{{QByteArrayLiteral("Content-Type"), answer.contentType}};
    if (!answer.location.isEmpty())
        headers.append({QByteArrayLiteral("Location"), answer.location});
    respond(socket, answer.status, headers, answer.body);
}

// The status line and headers at once, then the body one byte per tick, written straight to the
// socket: a server that keeps the connection busy without ever finishing its answer in time.
void VendorServer::trickle(const Answer& answer, QTcpSocket* socket)
{
    socket->write(QByteArrayLiteral("HTTP/1.1 ") + QByteArray::number(answer.status) + QByteArrayLiteral(" Trickle\r\n")
                  + QByteArrayLiteral("Content-Type: ") + answer.contentType + QByteArrayLiteral("\r\n")
                  + QByteArrayLiteral("Content-Length: ") + QByteArray::number(answer.body.size())
                  + QByteArrayLiteral("\r\n\r\n"));
    auto* timer = new QTimer(socket);
    auto sent = std::make_shared<qsizetype>(0);
    QObject::connect(timer, &QTimer::timeout, socket, [timer, socket, sent, body = answer.body] {
        if (*sent >= body.size() || socket->state() != QAbstractSocket::ConnectedState) {
            timer->deleteLater();
            return;
        }
        socket->write(body.mid((*sent)++, 1));
    });
    timer->start(answer.trickleMs);
}
