#include "core/LogMask.h"

#include "platform/WebAddress.h"

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
    return QRegularExpression(QStringLiteral("((?:^|[?&;\\s])(?:%1)=)([^&\\s'\"<>]*)").arg(names),
                              QRegularExpression::CaseInsensitiveOption);
}

// Replaces the value, the pattern's group number value (the second unless said otherwise).
QString replaceValues(const QString& text, const QRegularExpression& re,
                      const std::function<QString(const QString&)>& mask, int value = 2)
{
    QString out;
    qsizetype last = 0;
    for (auto it = re.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out += text.mid(last, m.capturedStart(value) - last);
        out += mask(m.captured(value));
        last = m.capturedEnd(value);
    }
    out += text.mid(last);
    return out;
}

// name%3Dvalue: the address fields as a server quotes a request it echoes, encoded once or more
// (the value is the third group); the value ends where an "&" encoded as often as its "="
// begins the next field (an "&" of the value itself is encoded once more).
QRegularExpression encodedFieldPattern(const QString& names)
{
    return QRegularExpression(QStringLiteral("((?:^|[?&;\\s]|%(?:25)*(?:26|3F))(?:%1)%(?<depth>(?:25)*)3D)"
                                             "((?:(?!%\\k<depth>26)[^&\\s'\"<>])*)")
                                  .arg(names),
                              QRegularExpression::CaseInsensitiveOption);
}

// "Password: value" in words (a label, ":" as written or as a character reference, then the
// value: a quoted text or one word). Only ":" ends the label, so "the Password field" keeps its
// words; an address writes its fields with "=" (encoded, ":" would be %3A and "&" %26).
QRegularExpression labelledPassword(const QString& names)
{
    return QRegularExpression(QStringLiteral("((?<![A-Za-z])(?:%1)['\"]?\\s*(?::|&#0*58;|&#x0*3a;)\\s*)"
                                             "('[^'\\r\\n<>]*'|\"[^\"\\r\\n<>]*\"|[^\\s'\"<>]+)")
                                  .arg(names),
                              QRegularExpression::CaseInsensitiveOption);
}

} // namespace

QString MaskPasswords(const QString& text)
{
    static const QString names = QStringLiteral("Password|LoginByRefPassword|OLDPASS|NEWPASS");
    static const auto criteria = criterionPattern(QStringLiteral("PASSWORD|OLDPASS|NEWPASS"));
    // Inside an error text the block may arrive escaped (&lt;CRITERIA ...&gt;).
    static const auto escaped =
        QRegularExpression(QStringLiteral("(&lt;CRITERIA\\s+FIELDNAME=(?:'|&apos;|&quot;)(?:PASSWORD|OLDPASS|NEWPASS)(?"
                                          ":'|&apos;|&quot;)&gt;)(.*?)(?=&lt;)"),
                           QRegularExpression::CaseInsensitiveOption);
    static const auto fields = fieldPattern(names);
    static const auto encodedFields = encodedFieldPattern(names);
    static const auto labels = labelledPassword(names);
    const auto mask = [](const QString&) { return kMask; };
    QString masked = replaceValues(replaceValues(text, criteria, mask), escaped, mask);
    masked = replaceValues(replaceValues(masked, fields, mask), encodedFields, mask, 3);
    return MaskAddressPasswords(replaceValues(masked, labels, mask));
}

namespace {

// What may stand between a label and its value: blanks, quotes, "=", ":", ">", "+", the same
// characters as XML entities (once or more escaped, as when a refusal quotes the request) or
// percent-encoded. At least one of them, so a path such as /home/dob/2024/ has no date in it;
// never a digit or "<", so an empty element or criterion takes no value from the one after it;
// taken whole (possessive), so the value never begins with one of them.
const QString kLabelEnd =
    QStringLiteral("(?:[\\s'\"=:>+\\\\]|&(?:amp;)*(?:gt|quot|apos|#0*(?:34|39|58|61|62)|#x0*(?:22|27|3a|3d|3e));"
                   "|%(?:20|22|27|3a|3d|3e))++");
// A digit as written, or as a character reference.
const QString kDigit = QStringLiteral("(?:\\d|&(?:amp;)*#(?:0*(?:4[89]|5[0-7])|x0*3[0-9]);)");
// What may stand between the digits of a number: blank, "-", ".", "/", "+", as written,
// referenced or percent-encoded.
const QString kDigitGap =
    QStringLiteral("(?:[\\s\\-./+]|&(?:amp;)*#(?:0*(?:32|45|46|47)|x0*(?:20|2d|2e|2f));|%(?:20|2d|2e|2f))");

// A label as a whole word, in any letter case.
QRegularExpression labelled(const QString& labels, const QString& value)
{
    return QRegularExpression(QStringLiteral("((?<![A-Za-z])(?:%1)(?![A-Za-z])%2)(%3)").arg(labels, kLabelEnd, value),
                              QRegularExpression::CaseInsensitiveOption);
}

// The digits of a value as read, each other character a blank: character references (escaped
// once or more) and percent escapes are read as the characters they stand for.
QString digitsAndGaps(const QString& value)
{
    static const QRegularExpression escape(QStringLiteral("&(?:amp;)*#(\\d{1,7}|x[0-9a-f]{1,6});|%([0-9a-f]{2})"),
                                           QRegularExpression::CaseInsensitiveOption);
    const auto digitOrGap = [](uint code) { return code >= '0' && code <= '9' ? QChar(code) : QChar(' '); };
    QString out;
    qsizetype last = 0;
    const auto plain = [&](qsizetype end) {
        for (qsizetype i = last; i < end; ++i)
            out += digitOrGap(value.at(i).unicode());
    };
    for (auto it = escape.globalMatch(value); it.hasNext();) {
        const auto m = it.next();
        plain(m.capturedStart());
        const QString reference = m.captured(1);
        const uint code = reference.isEmpty()                             ? m.captured(2).toUInt(nullptr, 16)
            : reference.startsWith(QLatin1Char('x'), Qt::CaseInsensitive) ? reference.mid(1).toUInt(nullptr, 16)
                                                                          : reference.toUInt();
        out += digitOrGap(code);
        last = m.capturedEnd();
    }
    plain(value.size());
    return out;
}

// The digits of a value, in their order.
QString digitsOf(const QString& value)
{
    return digitsAndGaps(value).remove(QLatin1Char(' '));
}

QString lastFour(const QString& value)
{
    return kMask + digitsOf(value).right(4);
}

// A birth date keeps at most its year: the first group of exactly four digits, if any. A value
// without any digit is no date and stays as it is.
QString yearOnly(const QString& value)
{
    static const QRegularExpression groups(QStringLiteral("[0-9]+"));
    bool anyDigit = false;
    for (auto it = groups.globalMatch(digitsAndGaps(value)); it.hasNext();) {
        const QString group = it.next().captured();
        anyDigit = true;
        if (group.size() == 4)
            return kMask + group;
    }
    return anyDigit ? kMask : value;
}

QString maskSsns(const QString& text)
{
    static const auto criteria = criterionPattern(QStringLiteral("SSN|CoSSN|BorSSN"));
    static const auto fields = fieldPattern(QStringLiteral("SSN|CoSSN|BorSSN"));
    // Any other labelled number: an element (<SSN>, &lt;SSN&gt;), a criterion quoted escaped,
    // "SSN: ...", up to nine digits.
    static const auto anyLabel =
        labelled(QStringLiteral("(?:Co|Bor)?SSN"), QStringLiteral("%1(?:%2{0,3}%1){0,8}").arg(kDigit, kDigitGap));
    // And the number's own shape, 123-45-6789, wherever it stands.
    static const QRegularExpression shaped(QStringLiteral("()(?<![\\w\\-])(\\d{3}-\\d{2}-\\d{4})(?![\\w\\-])"));
    QString out = replaceValues(replaceValues(text, criteria, lastFour), fields, lastFour);
    return replaceValues(replaceValues(out, anyLabel, lastFour), shaped, lastFour);
}

QString maskBirthDates(const QString& text)
{
    static const QString labels =
        QStringLiteral("(?:Co|Bor)?(?:DOB|BirthDate|DateOfBirth)|birth[\\s_-]?date|date[\\s_-]?of[\\s_-]?birth");
    static const auto criteria = criterionPattern(QStringLiteral("DOB|CoDOB|BorDOB|BirthDate"));
    static const auto fields = fieldPattern(QStringLiteral("DOB|CoDOB|BorDOB|BirthDate"));
    // Elsewhere a date is up to four words that hold a digit or are a month's name, whatever
    // their form (the text of a date the reader refused may be anything), so "01/15/1980",
    // "1980-01-15", "Jan 15th, 1980", "01&#47;15&#47;1980" and "x1/15/1980" are all taken.
    static const QString wordChar = QStringLiteral("(?:[^\\s<>\"'&,;|]|&(?:amp;)*#(?:\\d+|x[0-9a-f]+);)");
    static const QString digitWord = QStringLiteral("(?=%1*?%2)%1+").arg(wordChar, kDigit);
    static const QString month =
        QStringLiteral("(?:jan(?:uary)?|feb(?:ruary)?|mar(?:ch)?|apr(?:il)?|may|june?|july?|aug(?:ust)?"
                       "|sep(?:t(?:ember)?)?|oct(?:ober)?|nov(?:ember)?|dec(?:ember)?)\\.?(?![A-Za-z])");
    static const QString word = QStringLiteral("(?:%1|%2)").arg(digitWord, month);
    static const auto anyLabel = labelled(labels, QStringLiteral("%1(?:(?:\\s+|,\\s*)%1){0,3}").arg(word));
    const QString out = replaceValues(replaceValues(text, criteria, yearOnly), fields, yearOnly);
    return replaceValues(out, anyLabel, yearOnly);
}

} // namespace

QString MaskForLog(const QString& text)
{
    return maskBirthDates(maskSsns(MaskPasswords(text)));
}
