#include "platform/HttpAnswer.h"

#include "platform/TextFile.h"

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
    const QByteArray charset = CharsetOf(contentType).toLower();
    // The code page's own table: a Qt without ICU (Windows) knows no codec by that name.
    if (charset == "windows-1252" || charset == "cp1252" || charset == "x-cp1252")
        return TextFile::Decode(body);
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid())
            return decoder(body);
    }
    return QString::fromUtf8(body);
}
