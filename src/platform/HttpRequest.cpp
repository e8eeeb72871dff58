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

QNetworkRequest buildRequest(const QUrl& url)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(HttpRequest::TimeoutMs());
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

void HttpRequest::open(const QString& method, const QString& address, bool)
{
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
    const QNetworkRequest request = buildRequest(parseAddress(m_address));
    WaitGuard guard;
    std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> reply(start(request),
                                                                   [](QNetworkReply* r) { r->deleteLater(); });
    waitFor(*reply);
    readAnswer(*reply);
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
