#pragma once

#include <QList>
#include <QPair>
#include <QString>

struct SimRequest;

// The fields of a request address, decoded the way a browser form submission is: "+" and "%20"
// are blanks, every other %XX is a byte and the bytes are read as UTF-8 (Windows-1252 when they are
// not valid UTF-8, since older clients send their 8-bit code page unescaped).
class FormQuery
{
public:
    FormQuery() = default;
    explicit FormQuery(const QByteArray& rawQuery);

    // The request target exactly as it arrived: path, "?" and the undecoded query.
    static QString rawTarget(const SimRequest& request);
    static QByteArray rawQuery(const SimRequest& request);

    // Value of the first field with this name (names compare without regard to case); empty when
    // the field is absent.
    QString value(const QString& name) const;
    bool has(const QString& name) const;
    const QList<QPair<QString, QString>>& fields() const { return m_fields; }

    static QString decodeComponent(const QByteArray& component);

private:
    QList<QPair<QString, QString>> m_fields;
};
