#include "service/ParamBlock.h"

ParamBlock::ParamBlock(const QString& method)
    : m_method(method)
{
}

ParamBlock& ParamBlock::add(const QString& fieldName, const QString& value)
{
    m_criteria += QStringLiteral("<CRITERIA FIELDNAME='") + EscapeAttribute(fieldName) + QStringLiteral("'>")
        + Escape(value) + QStringLiteral("</CRITERIA>");
    return *this;
}

QString ParamBlock::text() const
{
    return QStringLiteral("<PARAMETERS METHOD='") + EscapeAttribute(m_method) + QStringLiteral("'>") + m_criteria
        + QStringLiteral("</PARAMETERS>");
}

QString ParamBlock::Escape(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '\'': out += QLatin1String("&apos;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        case '\r': out += QLatin1String("&#13;"); break;
        default: out += c;
        }
    }
    return out;
}

QString ParamBlock::EscapeAttribute(const QString& value)
{
    // Attribute values also lose tabs and line feeds to blanks unless written as references.
    QString out = Escape(value);
    out.replace(QLatin1Char('\t'), QLatin1String("&#9;"));
    out.replace(QLatin1Char('\n'), QLatin1String("&#10;"));
    return out;
}
