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

QString EncodeUrlValue(const QString& value)
{
    // Form encoding, with the two forms the vendor's pages read: a blank as %20 (a "+" in the
    // encoded text can only be a blank) and an apostrophe as %60.
    QString out = EncodeFormValue(value);
    out.replace(QLatin1Char('+'), QLatin1String("%20"));
    out.replace(QLatin1String("%27"), QLatin1String("%60"));
    return out;
}

bool HasIllegalChars(const QString& text)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('&') || c == QLatin1Char('\'') || c == QLatin1Char('=') || c == QLatin1Char('"')
            || c == QLatin1Char('*'))
            return true;
    }
    return false;
}
