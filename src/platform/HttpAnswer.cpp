#include "platform/HttpAnswer.h"

#include <QList>
#include <QStringDecoder>

QByteArray CharsetOf(const QByteArray& contentType)
{
    const QList<QByteArray> parts = contentType.split(';');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const qsizetype equals = parts[i].indexOf('=');
        if (equals < 0 || parts[i].left(equals).trimmed().toLower() != "charset")
            continue;
        QByteArray value = parts[i].mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2).trimmed();
        return value;
    }
    return QByteArray();
}

QString DecodeAnswer(const QByteArray& body, const QByteArray& contentType)
{
    const QByteArray charset = CharsetOf(contentType);
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid())
            return decoder(body);
    }
    return QString::fromUtf8(body);
}
