#include "HttpFront.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace {

// Larger request heads are refused rather than buffered without end.
constexpr qsizetype MaxHeadBytes = 64 * 1024;

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 303: return "See Other";
    case 307: return "Temporary Redirect";
    case 308: return "Permanent Redirect";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    default: return status < 400 ? "OK" : "Error";
    }
}

} // namespace

HttpFront::HttpFront(QObject* parent) : QObject(parent), m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &HttpFront::accept);
}

quint16 HttpFront::listen(quint16 port)
{
    return m_server->listen(QHostAddress::LocalHost, port) ? m_server->serverPort() : 0;
}

void HttpFront::accept()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        m_buffers.insert(socket, QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void HttpFront::readFrom(QTcpSocket* socket)
{
    auto buffer = m_buffers.find(socket);
    if (buffer == m_buffers.end())
        return;
    buffer->append(socket->readAll());
    SimRequest request;
    while (socket->state() == QAbstractSocket::ConnectedState && takeRequest(*buffer, socket, request))
        handleRequest(request, socket);
}

bool HttpFront::takeRequest(QByteArray& buffer, QTcpSocket* socket, SimRequest& request)
{
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0) {
        if (buffer.size() > MaxHeadBytes) {
            respond(socket, 400, {{"Connection", "close"}}, "Request head too large");
            socket->disconnectFromHost();
        }
        return false;
    }
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
    qsizetype contentLength = 0;
    bool lengthOk = true;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0 && lines[i].left(colon).trimmed().compare("Content-Length", Qt::CaseInsensitive) == 0)
            contentLength = lines[i].mid(colon + 1).trimmed().toLongLong(&lengthOk);
    }
    if (requestLine.size() != 3 || !requestLine[2].startsWith("HTTP/1.") || !lengthOk || contentLength < 0) {
        respond(socket, 400, {{"Connection", "close"}}, "Bad request");
        socket->disconnectFromHost();
        buffer.clear();
        return false;
    }
    const qsizetype total = headEnd + 4 + contentLength;
    if (buffer.size() < total)
        return false;
    request.method = requestLine[0];
    request.target = requestLine[1];
    request.url = QUrl::fromEncoded(request.target);
    request.body = buffer.mid(headEnd + 4, contentLength);
    buffer.remove(0, total);
    return true;
}

void HttpFront::respond(QTcpSocket* socket, int status, const Headers& headers, const QByteArray& body)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n";
    for (const auto& [name, value] : headers)
        head += name + ": " + value + "\r\n";
    head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n";
    socket->write(head + body);
}
