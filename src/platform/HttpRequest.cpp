#include "platform/HttpRequest.h"

#include "platform/AppError.h"
#include "platform/Secrets.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QRegularExpression>
#include <QSslConfiguration>
#include <QStringDecoder>
#include <QUrl>

#include <memory>

namespace {

constexpr int kDefaultTimeoutMs = 60000;
const QString kSource = QStringLiteral("HttpRequest");

// The one manager of the process. It lives as long as the application object.
QNetworkAccessManager& manager()
{
    static QPointer<QNetworkAccessManager> instance;
    if (!instance) {
        QNetworkProxyFactory::setUseSystemConfiguration(true);
        instance = new QNetworkAccessManager(QCoreApplication::instance());
    }
    return *instance;
}

// True while a request waits for its answer; a second request started from a timer or a
// paint during that wait is refused instead of nesting another event loop.
bool& waiting()
{
    static bool flag = false;
    return flag;
}

class WaitGuard
{
public:
    WaitGuard() { waiting() = true; }
    ~WaitGuard() { waiting() = false; }
    WaitGuard(const WaitGuard&) = delete;
    WaitGuard& operator=(const WaitGuard&) = delete;
};

QUrl parseAddress(const QString& address)
{
    const QUrl url = QUrl::fromEncoded(address.toUtf8(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty()
        || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        throw AppError(ErrNo::Transport,
                       QStringLiteral("The address is not a valid http or https address: ") + MaskPasswords(address),
                       kSource);
    return url;
}

// urgent: a request the program waits for now is dispatched before requests sent in advance
// (Qt queues normal and low priority requests together, first come first served).
QNetworkRequest buildRequest(const QUrl& url, bool urgent)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(HttpRequest::TimeoutMs());
    request.setPriority(urgent ? QNetworkRequest::HighPriority : QNetworkRequest::NormalPriority);
    return request;
}

long numberFor(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
        return ErrNo::Unreachable;
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:   // the transfer time-out ends a reply this way
        return ErrNo::Timeout;
    case QNetworkReply::SslHandshakeFailedError:
        return ErrNo::TlsFailure;
    default:
        return ErrNo::Transport;
    }
}

QString descriptionFor(long number, const QNetworkReply& reply, const QString& address)
{
    const QString masked = MaskPasswords(address);
    if (number == ErrNo::Timeout)
        return QStringLiteral("The server did not answer within %1 ms: %2").arg(HttpRequest::TimeoutMs()).arg(masked);
    return reply.errorString() + QStringLiteral(" (") + masked + QLatin1Char(')');
}

} // namespace

int HttpRequest::TimeoutMs()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("QUILLCLIENT_HTTP_TIMEOUT_MS", &ok);
    return ok && ms > 0 ? ms : kDefaultTimeoutMs;
}

void HttpRequest::ReplyDeleter::operator()(QNetworkReply* reply) const
{
    // No answered callback for a request given up; the reply goes once control returns.
    reply->disconnect();
    if (!reply->isFinished())
        reply->abort();
    reply->deleteLater();
}

void HttpRequest::WarmConnections(const QString& address, int count)
{
    const QUrl url = QUrl::fromEncoded(address.toUtf8(), QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (url.host().isEmpty())
        return;
    for (int i = 0; i < count; ++i) {
        if (scheme == QLatin1String("https"))
            manager().connectToHostEncrypted(url.host(), quint16(url.port(443)));
        else if (scheme == QLatin1String("http"))
            manager().connectToHost(url.host(), quint16(url.port(80)));
    }
}

void HttpRequest::open(const QString& method, const QString& address, bool)
{
    m_reply.reset();
    m_failure.reset();
    m_method = method.toUpper();
    m_address = address;
    m_body.clear();
    m_contentType.clear();
    m_status = 0;
}

void HttpRequest::send()
{
    if (waiting())
        throw AppError(ErrNo::Transport, QStringLiteral("Another request to the server is still running."), kSource);
    startRequest(true, {});
    finish();
}

void HttpRequest::begin(std::function<void()> answered)
{
    startRequest(false, std::move(answered));
}

void HttpRequest::startRequest(bool urgent, std::function<void()> answered)
{
    const QNetworkRequest request = buildRequest(parseAddress(m_address), urgent);
    m_failure.reset();
    m_reply.reset(start(request));
    if (answered)
        // Queued: the callback runs from the event loop after whoever waits on this reply.
        QObject::connect(m_reply.get(), &QNetworkReply::finished, m_reply.get(), std::move(answered),
                         Qt::QueuedConnection);
}

bool HttpRequest::isAnswered() const
{
    return !m_reply || m_reply->isFinished();
}

void HttpRequest::finish()
{
    try {
        if (m_reply && !m_reply->isFinished()) {
            if (waiting())
                throw AppError(ErrNo::Transport, QStringLiteral("Another request to the server is still running."),
                               kSource);
            WaitGuard guard;
            waitFor(*m_reply);
        }
        if (m_reply)
            readAnswer(*m_reply);
    } catch (const AppError& e) {
        m_failure = std::make_shared<AppError>(e);
    }
    m_reply.reset();
    if (m_failure)
        throw *m_failure;
}

QNetworkReply* HttpRequest::start(const QNetworkRequest& request) const
{
    if (m_method == QLatin1String("POST")) {
        QNetworkRequest post(request);
        post.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/x-www-form-urlencoded"));
        return manager().post(post, QByteArray());
    }
    if (m_method == QLatin1String("GET"))
        return manager().get(request);
    return manager().sendCustomRequest(request, m_method.toLatin1());
}

void HttpRequest::waitFor(QNetworkReply& reply) const
{
    if (!reply.isFinished()) {
        QEventLoop loop;
        QObject::connect(&reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!reply.isFinished()) {
        // The event loops were told to exit (the program is ending) before the answer came.
        reply.abort();
        throw AppError(ErrNo::Transport, QStringLiteral("The request was abandoned: ") + MaskPasswords(m_address), kSource);
    }
}

void HttpRequest::readAnswer(QNetworkReply& reply)
{
    m_status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    m_contentType = reply.header(QNetworkRequest::ContentTypeHeader).toByteArray();
    if (reply.isOpen())
        m_body = reply.readAll();
    if (m_status >= 400) {
        const QString reason = reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        throw AppError(ErrNo::HttpStatus,
                       QStringLiteral("The server answered with HTTP status %1 %2 for %3")
                           .arg(m_status).arg(reason, MaskPasswords(m_address)),
                       kSource);
    }
    if (reply.error() != QNetworkReply::NoError) {
        const long number = numberFor(reply.error());
        throw AppError(number, descriptionFor(number, reply, m_address), kSource);
    }
}

QString HttpRequest::responseText() const
{
    static const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*\"?([^\";\\s]+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const auto match = charset.match(QString::fromLatin1(m_contentType));
    if (match.hasMatch()) {
        QStringDecoder decoder(match.captured(1).toLatin1().constData());
        if (decoder.isValid())
            return decoder(m_body);
    }
    return QString::fromUtf8(m_body);
}
