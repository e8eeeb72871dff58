#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QUrl>

class QTcpServer;
class QTcpSocket;

// One request as it came over the wire: the method and target of its request line, the target
// parsed as an address, and the body its Content-Length announced.
struct SimRequest {
    QByteArray method;
    QByteArray target;
    QUrl url;
    QByteArray body;
};

// A small HTTP/1.1 server on QTcpServer, enough for the stand-in vendor: requests with a
// Content-Length body (or none), kept-alive connections the server never closes first, answers
// written whole with respond() or by the subclass straight to the socket. It only needs QtNetwork,
// so the server builds wherever the client does.
class HttpFront : public QObject
{
    Q_OBJECT

public:
    using Headers = QList<QPair<QByteArray, QByteArray>>;

    explicit HttpFront(QObject* parent = nullptr);

    // Listens on the loopback address only; returns the port, 0 on failure.
    quint16 listen(quint16 port);

    static void respond(QTcpSocket* socket, int status, const Headers& headers, const QByteArray& body);

protected:
    // Called once per complete request; the subclass answers now or later (or drops the socket).
    virtual void handleRequest(const SimRequest& request, QTcpSocket* socket) = 0;

private:
    void accept();
    void readFrom(QTcpSocket* socket);
    // Takes one complete request off the front of buffer; false while it is incomplete. A request
    // that cannot be read closes the connection with 400.
    bool takeRequest(QByteArray& buffer, QTcpSocket* socket, SimRequest& request);

    QTcpServer* m_server;
    QHash<QTcpSocket*, QByteArray> m_buffers;
};
