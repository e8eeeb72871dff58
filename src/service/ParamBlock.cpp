#include "service/ParamBlock.h"

ParamBlock::ParamBlock(const QString& method) : m_method(method)
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

namespace {

// Characters that no XML 1.0 document may hold, not even as a reference: the control
// characters other than TAB, LF and CR, lone surrogate halves and U+FFFE/U+FFFF. A value keeping
// one would make the whole block unreadable.
bool allowedInXml(const QString& value, qsizetype i)
{
    const char16_t c = value[i].unicode();
    if (c < 0x20)
        return c == '\t' || c == '\n' || c == '\r';
    if (c == 0xFFFE || c == 0xFFFF)
        return false;
    if (QChar::isHighSurrogate(c))
        return i + 1 < value.size() && value[i + 1].isLowSurrogate();
    if (QChar::isLowSurrogate(c))
        return i > 0 && value[i - 1].isHighSurrogate();
    return true;
}

} // namespace

QString ParamBlock::Escape(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (!allowedInXml(value, i))
            continue;
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
