#include "platform/Secrets.h"

#include <QRegularExpression>

#include <functional>

namespace {

const QString kMask = QStringLiteral("*****");

// <CRITERIA FIELDNAME='NAME'>value</CRITERIA>, in either quote style; the value ends at the next tag.
QRegularExpression criterionPattern(const QString& names)
{
    return QRegularExpression(
        QStringLiteral("(<CRITERIA\\s+FIELDNAME\\s*=\\s*['\"](?:%1)['\"]\\s*>)([^<]*)").arg(names),
        QRegularExpression::CaseInsensitiveOption);
}

// name=value inside an address: the value ends at the next "&", blank, quote, "<" or line end.
QRegularExpression fieldPattern(const QString& names)
{
    return QRegularExpression(
        QStringLiteral("((?:^|[?&;\\s])(?:%1)=)([^&\\s'\"<>]*)").arg(names),
        QRegularExpression::CaseInsensitiveOption);
}

QString replaceValues(const QString& text, const QRegularExpression& re,
                      const std::function<QString(const QString&)>& mask)
{
    QString out;
    qsizetype last = 0;
    for (auto it = re.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out += text.mid(last, m.capturedStart(2) - last);
        out += mask(m.captured(2));
        last = m.capturedEnd(2);
    }
    out += text.mid(last);
    return out;
}

QString lastFour(const QString& value)
{
    QString digits;
    for (QChar c : value)
        if (c.isDigit()) digits += c;
    return kMask + digits.right(4);
}

} // namespace

QString MaskPasswords(const QString& text)
{
    static const auto criteria = criterionPattern(QStringLiteral("PASSWORD|OLDPASS|NEWPASS"));
    // Inside an error text the block may arrive escaped (&lt;CRITERIA ...&gt;).
    static const auto escaped = QRegularExpression(
        QStringLiteral("(&lt;CRITERIA\\s+FIELDNAME=(?:'|&apos;|&quot;)(?:PASSWORD|OLDPASS|NEWPASS)(?:'|&apos;|&quot;)&gt;)(.*?)(?=&lt;)"),
        QRegularExpression::CaseInsensitiveOption);
    static const auto fields = fieldPattern(QStringLiteral("Password|LoginByRefPassword|OLDPASS|NEWPASS"));
    // user:password@host in a server address, with or without its scheme.
    static const auto userInfo = QRegularExpression(
        QStringLiteral("((?://|^|[\\s\"'(<>=\\[])[^\\s/?#@:\"'<>\\[\\]]*:)([^\\s/?#@\"'<>]*)(?=@)"));
    const auto mask = [](const QString&) { return kMask; };
    const QString masked = replaceValues(replaceValues(text, criteria, mask), escaped, mask);
    return replaceValues(replaceValues(masked, fields, mask), userInfo, mask);
}

QString MaskForLog(const QString& text)
{
    static const auto criteria = criterionPattern(QStringLiteral("SSN|CoSSN"));
    static const auto fields = fieldPattern(QStringLiteral("SSN|CoSSN|BorSSN"));
    return replaceValues(replaceValues(MaskPasswords(text), criteria, lastFour), fields, lastFour);
}
