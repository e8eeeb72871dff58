#include "platform/WebAddress.h"

#include <QRegularExpression>
#include <QUrl>

bool IsWebAddress(const QString& address)
{
    // Tolerant parsing: page addresses carry unescaped values (blanks) that the shell's open
    // encodes; the transport additionally insists on an exactly encoded address.
    const QUrl url(address.trimmed() == address ? address : QString());
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty()
        && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

QString EncodedWebAddress(const QString& address)
{
    const QUrl url = QUrl::fromEncoded(address.toUtf8(), QUrl::StrictMode);
    if (!url.isValid() || !IsWebAddress(address))
        return QString();
    return QString::fromLatin1(url.toEncoded());
}

namespace {

int portOrDefault(const QUrl& url)
{
    return url.port(url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 ? 443 : 80);
}

} // namespace

bool SameOrigin(const QUrl& a, const QUrl& b)
{
    return a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0
        && a.host().compare(b.host(), Qt::CaseInsensitive) == 0 && portOrDefault(a) == portOrDefault(b);
}

bool StaysOnServer(const QString& base, const QString& address)
{
    const QUrl server(base, QUrl::StrictMode);
    const QUrl target = QUrl::fromEncoded(address.toUtf8(), QUrl::StrictMode);
    return IsWebAddress(base) && IsWebAddress(address) && server.isValid() && target.isValid()
        && SameOrigin(server, target) && target.userInfo() == server.userInfo();
}

QString MaskAddressPasswords(const QString& text)
{
    // A scheme is no user name: "//" never begins a password.
    static const QRegularExpression userInfo(
        QStringLiteral("((?://|^|[\\s\"'(<>=\\[])[^\\s/?#@:\"'<>\\[\\]]*:)(?!//)[^\\s?#\"'<>]*(?=@)"));
    return QString(text).replace(userInfo, QStringLiteral("\\1*****"));
}
