#include "service/basUrl.h"

#include <QUrl>

QString EncodeFormValue(const QString& value)
{
    // The blank is exempted from %-encoding so it can become "+" afterwards; a literal "+"
    // in the value has already become %2B by then.
    QByteArray encoded = QUrl::toPercentEncoding(value, QByteArrayLiteral("* "));
    encoded.replace(' ', '+');
    return QString::fromLatin1(encoded);
}

bool HasIllegalChars(const QString& text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('&') || c == QLatin1Char('\'') || c == QLatin1Char('=')
            || c == QLatin1Char('"') || c == QLatin1Char('*'))
            return true;
    }
    return false;
}
