#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <QUrl>

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
// Limits of one request:
//  - time: no progress within TimeoutMs(), or no complete answer within TimeoutMs() from the
//    start (a server that trickles its answer byte by byte), is a time-out;
//  - size: an answer longer than answerLimit() bytes (TextAnswerLimit unless set) is refused;
//  - redirects: followed only to the same scheme, host and port (the address carries the
//    credentials); a redirect anywhere else is refused.
//
// Failures raise AppError with negative numbers: ErrNo::Unreachable (connection refused, host
// not found), ErrNo::Timeout, ErrNo::TlsFailure, ErrNo::HttpStatus (status 400 and above) and
// ErrNo::Transport (anything else: an address that is not a valid http or https address, a
// refused redirect, an oversized answer, a lost connection). Descriptions never hold a password.
class HttpRequest
{
public:
    static constexpr qint64 TextAnswerLimit = 16 * 1024 * 1024;
    // For downloads of report files, which may be larger than any text answer.
    static constexpr qint64 DownloadAnswerLimit = 128 * 1024 * 1024;

    // method "GET" or "POST". address is sent exactly as given: it must already be encoded.
    // Only synchronous requests exist; async is accepted for the familiar call shape.
    void open(const QString& method, const QString& address, bool async = false);

    // The largest answer body accepted, in bytes.
    void setAnswerLimit(qint64 bytes) { m_answerLimit = bytes; }
    qint64 answerLimit() const { return m_answerLimit; }

    // For requests that change something at the vendor: the request reaches the server at most
    // once. Qt's network layer otherwise sends a request again, on a new connection, when its
    // connection closes before the first byte of the answer (README, design notes); such a
    // request instead fails with ErrNo::Transport and a description saying that it may or may
    // not have arrived.
    void setAtMostOnce(bool once) { m_atMostOnce = once; }

    // Sends the request without a body and waits for the whole answer. It goes ahead of
    // requests begun in advance (begin()) that still wait for a free connection.
    void send();

    // Starts the request without waiting, so that several requests can run side by side on
    // the shared manager (HttpBatch). answered, when given, is called from the event loop once
    // the answer is complete. finish() then waits for the answer and fails exactly as send()
    // would; it may be called again and repeats the outcome. An address that is not a web
    // address fails in begin(), before anything is sent. The limits above hold from begin().
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
    // The charset named by a Content-Type header value ("text/plain; charset=windows-1252"),
    // without quotes; empty when it names none.
    static QByteArray CharsetOf(const QByteArray& contentType);
    // body decoded by the charset contentType names, else (no charset, or one Qt does not
    // know) as UTF-8.
    static QString DecodeAnswer(const QByteArray& body, const QByteArray& contentType);

private:
    enum class Stop { None, Deadline, TooLarge, Redirect };

    QNetworkReply* start(const QString& method, const QNetworkRequest& request) const;
    void watch(QNetworkReply& reply);
    void waitFor(QNetworkReply& reply, const QDeadlineTimer& deadline);
    void readAnswer(QNetworkReply& reply);
    [[noreturn]] void raiseStopped() const;
    void startRequest(bool urgent, std::function<void()> answered);
    void launch(const QString& method);
    void replyFinished();
    void waitForAnswer();

    struct ReplyDeleter {
        void operator()(QNetworkReply* reply) const;
    };

    QString m_method;
    QString m_address;
    QByteArray m_body;
    QByteArray m_contentType;
    int m_status = 0;
    qint64 m_answerLimit = TextAnswerLimit;
    bool m_atMostOnce = false;
    bool m_urgent = false;
    bool m_settled = false;
    int m_hops = 0;
    QString m_currentMethod;
    std::function<void()> m_answered;
    Stop m_stop = Stop::None;
    QUrl m_refusedRedirect;
    QUrl m_origin;
    QUrl m_url;
    QDeadlineTimer m_deadline;
    std::unique_ptr<QNetworkReply, ReplyDeleter> m_reply;
    std::shared_ptr<AppError> m_failure;
};
