#include "platform/WebAddress.h"

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
