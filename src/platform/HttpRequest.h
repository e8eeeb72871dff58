#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

struct AppError;

class QNetworkReply;
class QNetworkRequest;

// One synchronous HTTP exchange, in the shape the server operations expect:
// open(method, address), send(), then responseText(), responseBody() and status().
//
// All requests share one process-wide network manager, so consecutive requests to the same
// server reuse a kept-alive connection. send() waits on a local event loop that excludes user
// input (paints and timers still run) and refuses to start while another request is waiting.
//
// Failures raise AppError with negative numbers: ErrNo::Unreachable (connection refused, host
// not found), ErrNo::Timeout (no progress within $QUILLCLIENT_HTTP_TIMEOUT_MS, else 60000 ms),
// ErrNo::TlsFailure, ErrNo::HttpStatus (status 400 and above) and ErrNo::Transport (anything
// else, also an address that is not a valid http or https address). Descriptions never hold
// a password.
class HttpRequest
{
public:
    // method "GET" or "POST". address is sent exactly as given: it must already be encoded.
    // Only synchronous requests exist; async is accepted for the familiar call shape.
    void open(const QString& method, const QString& address, bool async = false);

    // Sends the request without a body and waits for the whole answer. It goes ahead of
    // requests begun in advance (begin()) that still wait for a free connection.
    void send();

    // Starts the request without waiting, so that several requests can run side by side on
    // the shared manager (HttpBatch). answered, when given, is called from the event loop once
    // the answer is complete. finish() then waits for the answer and fails exactly as send()
    // would; it may be called again and repeats the outcome. An address that is not a web
    // address fails in begin(), before anything is sent.
    void begin(std::function<void()> answered = {});
    void finish();
    bool isAnswered() const;

    // Opens up to count connections to the server of address ahead of the requests that will
    // need them (TCP, and TLS for https), without sending a request.
    static void WarmConnections(const QString& address, int count);

    // The body decoded by the charset the server named, else as UTF-8.
    QString responseText() const;
    QByteArray responseBody() const { return m_body; }
    // The HTTP status code of the answer; 0 before an answer arrived.
    int status() const { return m_status; }

    // The transfer time-out in milliseconds that requests use now.
    static int TimeoutMs();

private:
    QNetworkReply* start(const QNetworkRequest& request) const;
    void waitFor(QNetworkReply& reply) const;
    void readAnswer(QNetworkReply& reply);
    void startRequest(bool urgent, std::function<void()> answered);

    struct ReplyDeleter {
        void operator()(QNetworkReply* reply) const;
    };

    QString m_method;
    QString m_address;
    QByteArray m_body;
    QByteArray m_contentType;
    int m_status = 0;
    std::unique_ptr<QNetworkReply, ReplyDeleter> m_reply;
    std::shared_ptr<AppError> m_failure;
};
