#pragma once

#include <QString>

class QNetworkReply;
class QNetworkRequest;

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

} // namespace HttpNetwork
