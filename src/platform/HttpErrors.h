#pragma once

#include "platform/AppError.h"

#include <QList>
#include <QSslError>
#include <QString>
#include <QUrl>

#include <optional>

class QNetworkReply;

// Why the client stopped an exchange before its answer was complete.
enum class HttpStop { None, Deadline, TooLarge, Redirect, RedirectNotRepeated };

// The failures of an exchange with the server, as AppError with negative numbers (ErrNo).
// Every description names the address with the password of its user name masked
// (MaskAddressPasswords); the fields in which a protocol sends passwords are the business of
// the code that knows the protocol, which masks them before a description goes any further.
namespace HttpErrors {

// An address that is not a valid http or https address (ErrNo::Transport).
AppError BadAddress(const QString& address);
// The client stopped the exchange: deadline (ErrNo::Timeout), answer over limit bytes, a
// redirect to refusedRedirect on another server, or one that would send a request that changes
// something at the vendor again (ErrNo::Transport).
AppError Stopped(HttpStop why, const QString& address, int timeoutMs, qint64 limit, const QUrl& refusedRedirect);
// The failure a finished reply carries: HTTP status 400 and above (ErrNo::HttpStatus), a
// network failure (ErrNo::Unreachable, ErrNo::Timeout, ErrNo::TlsFailure, ErrNo::Transport),
// a failure of the proxy the request went through (ErrNo::ProxyFailure, naming the proxy), a
// redirect that was not followed; none for an answer. sslErrors: the certificate problems the
// reply reported; a TLS failure leads with a plain sentence for each kind among them.
std::optional<AppError> OfReply(const QNetworkReply& reply, const QString& address, int timeoutMs,
                                const QList<QSslError>& sslErrors = {});

} // namespace HttpErrors
