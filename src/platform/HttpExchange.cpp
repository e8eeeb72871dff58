#include "platform/HttpExchange.h"

#include "platform/HttpNetwork.h"
#include "platform/WebAddress.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

constexpr int kMaxRedirects = 5;

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Redirects are followed here, not by Qt: letting Qt follow one (even after our approval)
// sometimes sent the original POST a second time.
// urgent: Qt queues normal and low priority requests together, first come first served.
QNetworkRequest buildRequest(const QUrl& url, int timeoutMs, bool urgent)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setPriority(urgent ? QNetworkRequest::HighPriority : QNetworkRequest::NormalPriority);
    return request;
}

// A reply no longer wanted goes once control returns to the event loop, so that whoever still
// handles its finished() signal sees it whole.
void release(QNetworkReply* reply)
{
    if (!reply)
        return;
    if (!reply->isFinished()) {
        reply->disconnect();
        reply->abort();
    }
    reply->deleteLater();
}

} // namespace

std::unique_ptr<HttpExchange> HttpExchange::Start(const QString& method, const QString& address,
                                                  const HttpPolicy& policy, bool urgent)
{
    const QUrl url = QUrl::fromEncoded(address.toUtf8(), QUrl::StrictMode);
    if (!url.isValid() || !IsWebAddress(address))
        throw HttpErrors::BadAddress(address);
    return std::unique_ptr<HttpExchange>(new HttpExchange(method.toUpper(), address, url, policy, urgent));
}

HttpExchange::HttpExchange(const QString& method, const QString& address, const QUrl& url, const HttpPolicy& policy,
                           bool urgent)
    : m_address(address), m_method(method), m_origin(url), m_url(url), m_policy(policy), m_urgent(urgent)
{
    // The transfer time-out only measures silence; this one bounds the whole exchange.
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] { stop(HttpStop::Deadline); });
    m_deadline.start(m_policy.timeoutMs);
    launch(m_method);
}

HttpExchange::~HttpExchange()
{
    if (m_reply)
        m_reply->disconnect(this);
    release(m_reply);
}

void HttpExchange::launch(const QString& method)
{
    m_method = method;
    m_sslErrors.clear();
    m_reply = HttpNetwork::Send(method, buildRequest(m_url, m_policy.timeoutMs, m_urgent), m_policy.atMostOnce);
    watch(m_reply);
    connect(m_reply, &QNetworkReply::finished, this, &HttpExchange::replyFinished);
}

// Stops the reply as soon as its answer is announced or grows beyond the limit.
void HttpExchange::watch(QNetworkReply* reply)
{
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
        bool known = false;
        const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
        if (known && announced > m_policy.answerLimit)
            stop(HttpStop::TooLarge);
    });
    connect(reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        if (received > m_policy.answerLimit)
            stop(HttpStop::TooLarge);
    });
    // Reported before the reply ends; nothing ignores them, so the reply fails.
    connect(reply, &QNetworkReply::sslErrors, this, [this](const QList<QSslError>& errors) { m_sslErrors += errors; });
}

void HttpExchange::stop(HttpStop why)
{
    if (m_stop == HttpStop::None)
        m_stop = why;
    if (m_reply)
        m_reply->abort(); // finished() follows
}

// A redirect on the same server is followed as soon as it arrives, whether or not anyone
// waits: an exchange begun in advance completes as if it had not been redirected.
void HttpExchange::replyFinished()
{
    if (m_stop == HttpStop::None && followRedirect())
        return;
    settle();
}

bool HttpExchange::followRedirect()
{
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QUrl target = m_reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
    if (!isRedirect(status) || target.isEmpty() || m_hops >= kMaxRedirects)
        return false;
    m_url = m_url.resolved(target);
    if (!SameOrigin(m_origin, m_url) || m_policy.atMostOnce) {
        // Refused before any connection is made: the address carries the user's credentials, and
        // the request has reached the server once already, which may have acted on it.
        m_refusedRedirect = m_url;
        m_stop = SameOrigin(m_origin, m_url) ? HttpStop::RedirectNotRepeated : HttpStop::Redirect;
        return false;
    }
    ++m_hops;
    release(m_reply);
    // 301 to 303 are followed with GET, 307 and 308 with the method asked for.
    launch(status <= 303 ? QStringLiteral("GET") : m_method);
    return true;
}

void HttpExchange::settle()
{
    m_deadline.stop();
    if (m_stop != HttpStop::None) {
        m_result.failure =
            HttpErrors::Stopped(m_stop, m_address, m_policy.timeoutMs, m_policy.answerLimit, m_refusedRedirect);
    } else {
        m_result.status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        m_result.contentType = m_reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
        if (m_reply->isOpen())
            m_result.body = m_reply->readAll();
        m_result.failure = HttpErrors::OfReply(*m_reply, m_address, m_policy.timeoutMs, m_sslErrors);
    }
    m_reply->disconnect(this);
    release(m_reply);
    m_reply = nullptr;
    m_finished = true;
    emit finished();
}
