#pragma once

#include "platform/AppError.h"
#include "platform/HttpPolicy.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class HttpExchange;

// Waits for exchange to finish, on a local event loop that excludes user input (paints and
// timers still run). Only one wait runs at a time: a second one, started from a timer or a
// paint during the first, raises HttpErrors::Busy instead of nesting another event loop.
// Raises HttpErrors::Abandoned when the event loops were told to exit before the answer.
void WaitFor(HttpExchange& exchange);

// One synchronous HTTP exchange, in the shape the server operations expect:
// open(method, address), send(), then responseText(), responseBody() and status().
// The exchange itself, its redirects and its limits are HttpExchange's (see there and
// HttpPolicy); this adds the blocking wait and keeps the outcome.
//
// Failures raise AppError with negative numbers: ErrNo::Unreachable (connection refused, host
// not found), ErrNo::Timeout, ErrNo::TlsFailure, ErrNo::HttpStatus (status 400 and above) and
// ErrNo::Transport (anything else: an address that is not a valid http or https address, a
// refused redirect, an oversized answer, a lost connection). Descriptions never hold a password.
class HttpRequest
{
public:
    static constexpr qint64 TextAnswerLimit = HttpPolicy::TextAnswerLimit;
    static constexpr qint64 DownloadAnswerLimit = HttpPolicy::DownloadAnswerLimit;

    HttpRequest();
    // Takes over an exchange begun elsewhere (HttpBatch); finish() waits for it.
    explicit HttpRequest(std::unique_ptr<HttpExchange> begun);
    ~HttpRequest();
    HttpRequest(const HttpRequest&) = delete;
    HttpRequest& operator=(const HttpRequest&) = delete;

    // method "GET" or "POST". address is sent exactly as given: it must already be encoded.
    // Only synchronous requests exist; async is accepted for the familiar call shape.
    void open(const QString& method, const QString& address, bool async = false);

    // The largest answer body accepted, in bytes.
    void setAnswerLimit(qint64 bytes) { m_policy.answerLimit = bytes; }
    qint64 answerLimit() const { return m_policy.answerLimit; }
    // For requests that change something at the vendor (HttpPolicy::atMostOnce).
    void setAtMostOnce(bool once) { m_policy.atMostOnce = once; }

    // Sends the request without a body and waits for the whole answer. It goes ahead of
    // requests begun in advance (begin()) that still wait for a free connection.
    void send();

    // Starts the request without waiting. answered, when given, is called from the event loop
    // once the final answer (after any redirect) is complete. finish() then waits for the
    // answer and fails exactly as send() would; it may be called again and repeats the
    // outcome. An address that is not a web address fails in begin(), before anything is sent.
    void begin(std::function<void()> answered = {});
    void finish();
    bool isAnswered() const;

    // The body decoded by the charset the server named, else as UTF-8.
    QString responseText() const;
    QByteArray responseBody() const { return m_body; }
    // The HTTP status code of the answer; 0 before an answer arrived.
    int status() const { return m_status; }

private:
    void start(bool urgent);

    QString m_method;
    QString m_address;
    HttpPolicy m_policy;
    std::unique_ptr<HttpExchange> m_exchange;
    QByteArray m_body;
    QByteArray m_contentType;
    int m_status = 0;
    std::optional<AppError> m_failure;
};
