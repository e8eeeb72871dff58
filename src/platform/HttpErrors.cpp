#include "platform/HttpErrors.h"

#include "platform/HttpNetwork.h"
#include "platform/WebAddress.h"

#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

const QString kSource = QStringLiteral("HttpRequest");

long numberFor(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError: return ErrNo::Unreachable;
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError: // the transfer time-out ends a reply this way
        return ErrNo::Timeout;
    case QNetworkReply::SslHandshakeFailedError: return ErrNo::TlsFailure;
    default: return ErrNo::Transport;
    }
}

QString timedOut(const QString& address, int timeoutMs)
{
    return QStringLiteral("The server did not answer within %1 ms: %2")
        .arg(timeoutMs)
        .arg(MaskAddressPasswords(address));
}

QString networkText(long number, const QNetworkReply& reply, const QString& address, int timeoutMs)
{
    if (number == ErrNo::Timeout)
        return timedOut(address, timeoutMs);
    if (reply.error() == QNetworkReply::ContentReSendError)
        return QStringLiteral("The connection to the server closed before it answered. The request was not sent "
                              "again, so the server may or may not have received it: ")
            + MaskAddressPasswords(address);
    return reply.errorString() + QStringLiteral(" (") + MaskAddressPasswords(address) + QLatin1Char(')');
}

// What the user is told first about a certificate, by the kind of the problem (not the TLS
// backend's words, which differ between OpenSSL and Schannel); empty for a kind without one.
QString plainSentence(QSslError::SslError kind)
{
    switch (kind) {
    case QSslError::SelfSignedCertificate:
    case QSslError::SelfSignedCertificateInChain:
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::InvalidCaCertificate:
    case QSslError::CertificateUntrusted:
    case QSslError::CertificateRejected:
        return QStringLiteral("The server's certificate is not trusted on this computer.");
    case QSslError::CertificateExpired: return QStringLiteral("The server's certificate has expired.");
    case QSslError::CertificateNotYetValid:
        return QStringLiteral("The server's certificate is not valid yet: check this computer's date and time.");
    case QSslError::HostNameMismatch: return QStringLiteral("The server's certificate is for another host name.");
    case QSslError::CertificateRevoked: return QStringLiteral("The server's certificate has been revoked.");
    default: return QString();
    }
}

QString tlsText(const QList<QSslError>& sslErrors, const QNetworkReply& reply, const QString& address)
{
    QStringList sentences;
    for (const QSslError& error : sslErrors) {
        const QString sentence = plainSentence(error.error());
        if (!sentence.isEmpty() && !sentences.contains(sentence))
            sentences << sentence;
    }
    if (sentences.isEmpty())
        sentences << QStringLiteral("The secure connection to the server could not be set up.");
    return sentences.join(QLatin1Char(' ')) + QLatin1Char(' ') + reply.errorString() + QStringLiteral(" (")
        + MaskAddressPasswords(address) + QLatin1Char(')');
}

// The proxy's address as the user would type it, its password never written out.
QString proxyAddress(const QNetworkProxy& proxy)
{
    QUrl url;
    url.setScheme(proxy.type() == QNetworkProxy::Socks5Proxy ? QStringLiteral("socks5") : QStringLiteral("http"));
    url.setHost(proxy.hostName());
    url.setPort(proxy.port());
    url.setUserName(proxy.user());
    if (!proxy.password().isEmpty())
        url.setPassword(QStringLiteral("*****"));
    return url.toString();
}

// The proxy whose failure ended the reply; empty when the reply went straight to the server or
// its failure is not the proxy's.
QString failedProxy(const QNetworkReply& reply, int status)
{
    const QNetworkReply::NetworkError error = reply.error();
    const bool proxyError =
        error >= QNetworkReply::ProxyConnectionRefusedError && error <= QNetworkReply::UnknownProxyError;
    // Over http the connection goes to the proxy itself, so its refusal reads as the server's.
    const bool connectError =
        error == QNetworkReply::ConnectionRefusedError || error == QNetworkReply::HostNotFoundError;
    if (!proxyError && !connectError && status != 407)
        return QString();
    const QNetworkProxy proxy = HttpNetwork::ProxyFor(reply.url());
    if (proxy.type() == QNetworkProxy::NoProxy || proxy.type() == QNetworkProxy::DefaultProxy)
        return QString();
    return proxyAddress(proxy);
}

// Whether the proxy certainly did not pass the request on: it could not be reached, or it asked
// for a password. A proxy that closed the connection or stopped answering may have passed it on
// already, so that failure keeps the number of a request that may have arrived.
bool notPassedOn(const QNetworkReply& reply, int status)
{
    switch (reply.error()) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyAuthenticationRequiredError: return true;
    default: return status == 407;
    }
}

AppError proxyFailure(const QString& proxy, const QNetworkReply& reply, int status, const QString& address)
{
    const long number = notPassedOn(reply, status) ? ErrNo::ProxyFailure : ErrNo::Transport;
    const QString reason = status == 407
        ? QStringLiteral("it answered with HTTP status %1 %2 for %3")
              .arg(status)
              .arg(reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString(),
                   MaskAddressPasswords(address))
        : reply.errorString() + QStringLiteral(" (") + MaskAddressPasswords(address) + QLatin1Char(')');
    return AppError(number, QStringLiteral("The proxy server %1 failed: %2").arg(proxy, reason), kSource);
}

} // namespace

namespace HttpErrors {

AppError BadAddress(const QString& address)
{
    return AppError(
        ErrNo::Transport,
        QStringLiteral("The address is not a valid http or https address: ") + MaskAddressPasswords(address), kSource);
}

AppError Stopped(HttpStop why, const QString& address, int timeoutMs, qint64 limit, const QUrl& refusedRedirect)
{
    const QString masked = MaskAddressPasswords(address);
    switch (why) {
    case HttpStop::Deadline: return AppError(ErrNo::Timeout, timedOut(address, timeoutMs), kSource);
    case HttpStop::TooLarge:
        return AppError(ErrNo::Transport,
                        QStringLiteral("The server's answer is larger than %1 bytes: %2").arg(limit).arg(masked),
                        kSource);
    case HttpStop::Redirect:
        return AppError(ErrNo::Transport,
                        QStringLiteral("The server redirected the request to another address, which was refused: ")
                            + MaskAddressPasswords(QString::fromUtf8(refusedRedirect.toEncoded()))
                            + QStringLiteral(" (") + masked + QLatin1Char(')'),
                        kSource);
    case HttpStop::RedirectNotRepeated:
        return AppError(ErrNo::Transport,
                        QStringLiteral("The server redirected the request to ")
                            + MaskAddressPasswords(QString::fromUtf8(refusedRedirect.toEncoded()))
                            + QStringLiteral("; it changes something at the credit vendor, so it was not sent again, "
                                             "and the server may or may not have acted on it (")
                            + masked + QLatin1Char(')'),
                        kSource);
    case HttpStop::None: break;
    }
    return AppError(ErrNo::Transport, QStringLiteral("The request was stopped: ") + masked, kSource);
}

std::optional<AppError> OfReply(const QNetworkReply& reply, const QString& address, int timeoutMs,
                                const QList<QSslError>& sslErrors)
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (const QString proxy = failedProxy(reply, status); !proxy.isEmpty())
        return proxyFailure(proxy, reply, status, address);
    if (reply.error() != QNetworkReply::NoError && !sslErrors.isEmpty())
        return AppError(ErrNo::TlsFailure, tlsText(sslErrors, reply, address), kSource);
    if (status >= 400) {
        const QString reason = reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        return AppError(ErrNo::HttpStatus,
                        QStringLiteral("The server answered with HTTP status %1 %2 for %3")
                            .arg(status)
                            .arg(reason, MaskAddressPasswords(address)),
                        kSource);
    }
    if (reply.error() != QNetworkReply::NoError) {
        const long number = numberFor(reply.error());
        if (number == ErrNo::TlsFailure)
            return AppError(number, tlsText(sslErrors, reply, address), kSource);
        return AppError(number, networkText(number, reply, address, timeoutMs), kSource);
    }
    if (status >= 300)
        return AppError(ErrNo::Transport,
                        QStringLiteral("The server answered with HTTP status %1 and no usable address for %2")
                            .arg(status)
                            .arg(MaskAddressPasswords(address)),
                        kSource);
    return std::nullopt;
}

} // namespace HttpErrors
