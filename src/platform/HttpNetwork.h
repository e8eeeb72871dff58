#pragma once

#include <QNetworkProxy>
#include <QString>

class QNetworkReply;
class QNetworkRequest;
class QUrl;

// The one network manager of the process, shared by every exchange so that consecutive
// requests to the same server reuse a kept-alive connection. It lives as long as the
// application object.
namespace HttpNetwork {

// Sends request with method ("GET", "POST" with an empty form body, or any other verb) and
// returns the reply, owned by the manager. atMostOnce: a POST whose empty body cannot be
// rewound, so that Qt cannot send it a second time after a dropped connection.
QNetworkReply* Send(const QString& method, const QNetworkRequest& request, bool atMostOnce);

// Opens up to count connections to the server of address ahead of the requests that will
// need them (TCP, and TLS for https), without sending a request.
void WarmConnections(const QString& address, int count);

// The proxy a request to url goes through, as the manager chooses it (its own proxy, else the
// system's settings); type NoProxy when the request goes straight to the server.
QNetworkProxy ProxyFor(const QUrl& url);

// Sends every request through proxy from now on; QNetworkProxy() goes back to the system's
// settings. The system's settings never proxy a loopback address, so a proxy for a server on
// 127.0.0.1 can only be set here.
void UseProxy(const QNetworkProxy& proxy);

} // namespace HttpNetwork
