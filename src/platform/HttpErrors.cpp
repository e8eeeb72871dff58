#include "platform/HttpErrors.h"

#include "platform/Secrets.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

const QString kSource = QStringLiteral("HttpRequest");

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

QString timedOut(const QString& address, int timeoutMs)
{
    return QStringLiteral("The server did not answer within %1 ms: %2").arg(timeoutMs).arg(MaskPasswords(address));
}

QString networkText(long number, const QNetworkReply& reply, const QString& address, int timeoutMs)
{
    if (number == ErrNo::Timeout)
        return timedOut(address, timeoutMs);
    if (reply.error() == QNetworkReply::ContentReSendError)
        return QStringLiteral("The connection to the server closed before it answered. The request was not sent "
                              "again, so the server may or may not have received it: ") + MaskPasswords(address);
    return reply.errorString() + QStringLiteral(" (") + MaskPasswords(address) + QLatin1Char(')');
}

} // namespace

namespace HttpErrors {

AppError BadAddress(const QString& address)
{
    return AppError(ErrNo::Transport,
                    QStringLiteral("The address is not a valid http or https address: ") + MaskPasswords(address), kSource);
}

AppError Busy()
{
    return AppError(ErrNo::Transport, QStringLiteral("Another request to the server is still running."), kSource);
}

AppError Abandoned(const QString& address)
{
    return AppError(ErrNo::Transport, QStringLiteral("The request was abandoned: ") + MaskPasswords(address), kSource);
}

AppError Stopped(HttpStop why, const QString& address, int timeoutMs, qint64 limit, const QUrl& refusedRedirect)
{
    const QString masked = MaskPasswords(address);
    switch (why) {
    case HttpStop::Deadline:
        return AppError(ErrNo::Timeout, timedOut(address, timeoutMs), kSource);
    case HttpStop::TooLarge:
        return AppError(ErrNo::Transport,
                        QStringLiteral("The server's answer is larger than %1 bytes: %2").arg(limit).arg(masked), kSource);
    case HttpStop::Redirect:
        return AppError(ErrNo::Transport,
                        QStringLiteral("The server redirected the request to another address, which was refused: ")
                            + MaskPasswords(QString::fromUtf8(refusedRedirect.toEncoded())) + QStringLiteral(" (")
                            + masked + QLatin1Char(')'),
                        kSource);
    case HttpStop::None:
        break;
    }
    return AppError(ErrNo::Transport, QStringLiteral("The request was stopped: ") + masked, kSource);
}

std::optional<AppError> OfReply(const QNetworkReply& reply, const QString& address, int timeoutMs)
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400) {
        const QString reason = reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        return AppError(ErrNo::HttpStatus,
                        QStringLiteral("The server answered with HTTP status %1 %2 for %3")
                            .arg(status).arg(reason, MaskPasswords(address)),
                        kSource);
    }
    if (reply.error() != QNetworkReply::NoError) {
        const long number = numberFor(reply.error());
        return AppError(number, networkText(number, reply, address, timeoutMs), kSource);
    }
    if (status >= 300)
        return AppError(ErrNo::Transport,
                        QStringLiteral("The server answered with HTTP status %1 and no usable address for %2")
                            .arg(status).arg(MaskPasswords(address)),
                        kSource);
    return std::nullopt;
}

} // namespace HttpErrors
