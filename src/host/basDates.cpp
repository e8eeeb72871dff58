#include "host/basDates.h"

#include <QRegularExpression>
#include <QTime>

namespace {

// Hours, minutes and seconds as read, with the AM/PM marker; true when they name a time.
bool validTime(const QString& hours, const QString& minutes, const QString& seconds, const QString& marker)
{
    if (hours.isEmpty())
        return true;
    int hour = hours.toInt();
    if (!marker.isEmpty()) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (marker.at(0).toUpper() == QLatin1Char('P') ? 12 : 0);
    }
    return QTime::isValid(hour, minutes.toInt(), seconds.isEmpty() ? 0 : seconds.toInt());
}

QDate monthDayYear(const QString& text)
{
    static const QRegularExpression form(
        QStringLiteral("\\A([0-9]{1,2})([/-])([0-9]{1,2})\\2([0-9]{4})"
                       "(?: +([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?(?: ?([AaPp][Mm]))?)?\\z"));
    const auto m = form.match(text);
    if (!m.hasMatch() || !validTime(m.captured(5), m.captured(6), m.captured(7), m.captured(8)))
        return QDate();
    return QDate(m.captured(4).toInt(), m.captured(1).toInt(), m.captured(3).toInt());
}

QDate iso(const QString& text)
{
    static const QRegularExpression form(
        QStringLiteral("\\A([0-9]{4})-([0-9]{2})-([0-9]{2})(?:[T ]([0-9]{2}):([0-9]{2}):([0-9]{2}))?\\z"));
    const auto m = form.match(text);
    if (!m.hasMatch() || !validTime(m.captured(4), m.captured(5), m.captured(6), QString()))
        return QDate();
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

} // namespace

QDate ParseDate(const QString& text)
{
    const QString trimmed = text.trimmed();
    const QDate date = monthDayYear(trimmed);
    return date.isValid() ? date : iso(trimmed);
}

QString FormatDate(const QString& text)
{
    const QDate date = ParseDate(text);
    return date.isValid() ? date.toString(QStringLiteral("MM/dd/yyyy")) : QString();
}

QString GetDate(const QString& value, bool& ok)
{
    // The same reader as the loan's dates, so a date accepted at loading is accepted here.
    ok = true;
    if (value.isEmpty())
        return QString();
    const QString date = FormatDate(value);
    ok = !date.isEmpty();
    return date;
}
