#include "FormQuery.h"

#include "HttpFront.h"

#include <QStringDecoder>
#include <QUrl>

FormQuery::FormQuery(const QByteArray& rawQuery)
{
    for (const QByteArray& part : rawQuery.split('&')) {
        if (part.isEmpty())
            continue;
        const qsizetype eq = part.indexOf('=');
        const QByteArray name = eq < 0 ? part : part.left(eq);
        const QByteArray value = eq < 0 ? QByteArray() : part.mid(eq + 1);
        m_fields.append({decodeComponent(name), decodeComponent(value)});
    }
}

// The parsed request keeps the query in QUrl's encoded form. A client built on QUrl (as the client
// is) put its address through the same normalisation before sending it, so the fully encoded form
// is the text that was on the request line: "+" and "%20" stay as they were sent.
QByteArray FormQuery::rawQuery(const SimRequest& request)
{
    return request.url.query(QUrl::FullyEncoded).toLatin1();
}

QString FormQuery::rawTarget(const SimRequest& request)
{
    QString target = request.url.path(QUrl::FullyEncoded);
    if (request.url.hasQuery())
        target += QLatin1Char('?') + request.url.query(QUrl::FullyEncoded);
    return target;
}

QString FormQuery::value(const QString& name) const
{
    for (const auto& field : m_fields) {
        if (field.first.compare(name, Qt::CaseInsensitive) == 0)
            return field.second;
    }
    return QString();
}

bool FormQuery::has(const QString& name) const
{
    for (const auto& field : m_fields) {
        if (field.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString FormQuery::decodeComponent(const QByteArray& component)
{
    QByteArray bytes = component;
    bytes.replace('+', ' ');
    bytes = QByteArray::fromPercentEncoding(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp1252("windows-1252");
    return cp1252.isValid() ? QString(cp1252.decode(bytes)) : QString::fromLatin1(bytes);
}
