#pragma once

#include "platform/AppError.h"
#include "platform/HttpErrors.h"
#include "platform/HttpPolicy.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <memory>
#include <optional>

class QNetworkReply;

// What an exchange ended with. status and body are those of the final answer (also with an
// HTTP status failure); both stay empty when the client stopped the exchange.
struct HttpResult {
    int status = 0;
    QByteArray contentType;
    QByteArray body;
    std::optional<AppError> failure;
};

// One request to the server and its answer, without waiting: it starts when made and emits
// finished() once, from the event loop, with its result. On the way it follows redirects on
// the same scheme, host and port (at most 5; 301 to 303 with GET, 307 and 308 with the method
// asked for) and refuses any other, and it holds to its policy: an answer over the limit is
// stopped, and so is an exchange still running at its deadline. Destroying it gives it up.
class HttpExchange : public QObject
{
    Q_OBJECT

public:
    // Raises HttpErrors::BadAddress, before anything is sent, for an address that is not a
    // valid http or https address. address is sent as given: it must already be encoded.
    // urgent: dispatched before requests sent in advance that still wait for a connection.
    static std::unique_ptr<HttpExchange> Start(const QString& method, const QString& address, const HttpPolicy& policy,
                                               bool urgent);
    ~HttpExchange() override;

    const QString& address() const { return m_address; }
    bool isFinished() const { return m_finished; }
    const HttpResult& result() const { return m_result; }
    // Redirects from now on are dispatched before requests sent in advance (someone waits).
    void hurry() { m_urgent = true; }

signals:
    void finished();

private:
    HttpExchange(const QString& method, const QString& address, const QUrl& url, const HttpPolicy& policy, bool urgent);
    void launch(const QString& method);
    void watch(QNetworkReply* reply);
    void replyFinished();
    bool followRedirect();
    void stop(HttpStop why);
    void settle();

    QString m_address;
    QString m_method;
    QUrl m_origin;
    QUrl m_url;
    HttpPolicy m_policy;
    bool m_urgent;
    int m_hops = 0;
    HttpStop m_stop = HttpStop::None;
    QUrl m_refusedRedirect;
    // The certificate problems of the current hop's connection.
    QList<QSslError> m_sslErrors;
    QPointer<QNetworkReply> m_reply;
    QTimer m_deadline;
    bool m_finished = false;
    HttpResult m_result;
};
