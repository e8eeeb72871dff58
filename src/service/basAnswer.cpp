#include "service/basAnswer.h"

#include "platform/AppError.h"

#include <QLocale>

#include <cmath>

namespace {

[[noreturn]] void typeMismatch()
{
    throw AppError(13, QStringLiteral("Type mismatch"));
}

} // namespace

namespace Answer {

QStringList Lines(const QString& answer)
{
    return answer.split(QLatin1Char('\n'));
}

QString At(const QStringList& parts, qsizetype index)
{
    if (index < 0 || index >= parts.size())
        throw AppError(9, QStringLiteral("Subscript out of range"));
    return parts.at(index);
}

bool TruthValue(const QString& text)
{
    const QString value = TrimBlanks(text);
    if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = QLocale::c().toDouble(value, &ok);
    if (!ok)
        typeMismatch();
    return number != 0.0;
}

qint16 Int16(const QString& text)
{
    bool ok = false;
    const double number = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || std::floor(number) != number)
        typeMismatch();
    if (number < -32768.0 || number > 32767.0)
        throw AppError(6, QStringLiteral("Overflow"));
    return qint16(number);
}

QString TrimBlanks(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start) == QLatin1Char(' '))
        ++start;
    while (end > start && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(start, end - start);
}

} // namespace Answer
