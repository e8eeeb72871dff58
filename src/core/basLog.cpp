#include "core/basLog.h"

#include "core/LogMask.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/Desktop.h"
#include "platform/TextFile.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString logPath(const QString& name)
{
    return AppPaths::ProgramFolder() + AppPaths::Separator() + name;
}

// A log entry keeps at most this many characters of its text (a byte each on disk), so an answer
// of many megabytes cannot flood the logs.
constexpr qsizetype kEntryLimit = 8192;
// Masked together with the kept text, so a number or date that straddles the cut is masked whole.
constexpr qsizetype kMaskMargin = 256;

// The text as it goes into a log: masked, and cut with a note of how much was left out.
QString logText(const QString& text)
{
    if (text.size() <= kEntryLimit)
        return MaskForLog(text);
    QString kept = MaskForLog(text.left(kEntryLimit + kMaskMargin)).left(kEntryLimit);
    if (kept.back().isHighSurrogate())
        kept.chop(1);
    return kept + QStringLiteral(" [... %1 more characters not logged]").arg(text.size() - kEntryLimit);
}

} // namespace

QString GeneralDate(const QDateTime& moment)
{
    const QLocale locale;
    // The long time format may name the time zone; the classic general date does not.
    static const QRegularExpression zone(QStringLiteral("\\s*t+"));
    const QString timeFormat = locale.timeFormat(QLocale::LongFormat).remove(zone).trimmed();
    return locale.toString(moment.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(moment.time(), timeFormat);
}

bool WriteErrorLog(const QString& text)
{
    const QString entry =
        QStringLiteral("Date: ") + GeneralDate(TheDesktop().Now()) + QLatin1Char(' ') + logText(text) + kCrLf;
    return TextFile::Append(logPath(QStringLiteral("errors.log")), entry);
}

void WriteClientLog(const QString& text)
{
    const QString stamp = TheDesktop().Now().toString(QStringLiteral("MM.dd.yyyy HH.mm.ss"));
    const QString path = logPath(QStringLiteral("Client.log"));
    const QString entry = QStringLiteral("[ ") + stamp + QStringLiteral(" ]  ") + logText(text) + kCrLf;
    if (!TextFile::Append(path, entry))
        throw AppError(75, QStringLiteral("Path/File access error: ") + path, QStringLiteral("WriteClientLog"));
}

QString BuildErrorXML(const QString& source, const QString& description, long number, const QString& info)
{
    QString text = QStringLiteral("<ERROR><ERROR_NO>") + QString::number(number) + QStringLiteral("</ERROR_NO>")
        + QStringLiteral("<ERROR_DESC>") + description + QStringLiteral("</ERROR_DESC>")
        + QStringLiteral("<ERROR_SOURCE>") + source + QStringLiteral("</ERROR_SOURCE>");
    if (!info.isEmpty())
        text += QStringLiteral("<INFO><![CDATA[") + info + QStringLiteral("]]></INFO>");
    return text + QStringLiteral("</ERROR>");
}
