#include "service/basOrder.h"

#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/basLog.h"
#include "platform/AppError.h"
#include "service/OrderWatch.h"
#include "service/ServiceAction.h"
#include "service/basAnswer.h"
#include "service/basUrl.h"
#include "service/basXML.h"
#include "service/clsReportStatus.h"

#include <QTimer>

namespace {

const QString kFailed = QStringLiteral("FAILED");

// "&Source=Orrery Client&LOSVersion=1.2.3", encoded like every other field.
QString orderSourceFields()
{
    return QStringLiteral("&Source=") + EncodeFormValue(QStringLiteral("Orrery Client"))
        + QStringLiteral("&LOSVersion=") + EncodeFormValue(ClientVersion());
}

void showRefusal(const QString& answer)
{
    const QString text = answer.size() < 7 ? QStringLiteral("There was an error submitting request.") : answer.mid(7);
    MsgBox(text, vbCritical, QStringLiteral("Error Submitting Request"));
}

// The GUID of a REQUEST answer; raises for a refusal, a page or an answer without a GUID.
QString readRequestGuid(const QString& answer)
{
    if (answer.startsWith(kFailed)) {
        showRefusal(answer);
        throw AppError(ErrNo::Refused, answer, QStringLiteral("Request"));
    }
    // A page in place of the answer (a proxy or an error page) must not yield a GUID.
    if (answer.startsWith(QLatin1Char('<')))
        throw AppError(ErrNo::BadAnswer,
                       QStringLiteral("The server answered with a page instead of a request GUID: ") + answer,
                       QStringLiteral("Request"));
    const QString guid = Answer::At(Answer::Lines(answer), 1).trimmed();
    if (guid.isEmpty())
        throw AppError(ErrNo::BadAnswer, QStringLiteral("The server answered without a request GUID: ") + answer,
                       QStringLiteral("Request"));
    return guid;
}

// Stores the bureau codes of a finished status answer.
void readBureaus(const QString& answer, clsReportStatus& status)
{
    if (answer.startsWith(kFailed))
        throw AppError(ErrNo::Refused, answer, QStringLiteral("GetStatus"));
    const QStringList lines = Answer::Lines(answer);
    // The watch ends the wait on any answer; only a status answer may set the bureaus.
    if (lines.first().compare(QLatin1String("SUCCESS"), Qt::CaseInsensitive) != 0)
        throw AppError(ErrNo::BadAnswer,
                       QStringLiteral("Didn't receive SUCCESS on status check. Return: ") + lines.first(),
                       QStringLiteral("GetStatus"));
    const qint16 exp = Answer::Int16(Answer::At(lines, 1));
    const qint16 efx = Answer::Int16(Answer::At(lines, 2));
    const qint16 tu = Answer::Int16(Answer::At(lines, 3));
    status.setnStatusEXP(exp);
    status.setnStatusEFX(efx);
    status.setnStatusTU(tu);
}

ServiceOperation requestOperation()
{
    return {ServiceAction(QStringLiteral("Request"), QStringLiteral("REQUEST"), AddressForm::Report)
                .trailingFields(orderSourceFields())
                .atMostOnce(),
            [](QString& a) { a = readRequestGuid(a); }};
}

} // namespace

void Request(const QString& block, QObject* context, ServiceReply done)
{
    requestOperation().start(block, context, std::move(done));
}

namespace {

ServiceOperation pollStatusOperation()
{
    return {ServiceAction(QStringLiteral("PollStatus"), QStringLiteral("GET_STATUS"), AddressForm::Report,
                          FailureHandling::ToCaller)
                .anyAnswer()};
}

// The outcome of a status wait that ended by itself: the bureau codes of its last answer, or
// the failure to read them, logged.
ServiceOutcome statusOutcome(const QString& last, clsReportStatus& status)
{
    try {
        readBureaus(last, status);
        return ServiceOutcome::Answered(last);
    } catch (const AppError& error) {
        const QString source = error.Source.isEmpty() ? QStringLiteral("GetStatus") : error.Source;
        const QString text = BuildErrorXML(source, error.Description, error.Number);
        WriteErrorLog(text);
        return ServiceOutcome::FromError(error, text, false);
    }
}

} // namespace

void PollStatus(const QString& block, QObject* context, ServiceReply done)
{
    pollStatusOperation().start(block, context, std::move(done));
}

OrderWatch* GetStatus(const QString& block, std::shared_ptr<clsReportStatus> status, QObject* parent, WatchReply done)
{
    // A block that does not convert fails before the wait, which converts it again at each poll.
    QString fields;
    if (!BuildKeyValueString(block, fields)) {
        const ServiceOutcome silent = ServiceOutcome::FromError(AppError(ErrNo::Silent, fields), fields, false);
        QTimer::singleShot(0, parent, [done = std::move(done), silent] { done(silent, false); });
        return nullptr;
    }
    auto* watch = new OrderWatch(OrderWatch::Mode::Status, block, parent);
    // Queued: a window following the watch has let it go before done is heard.
    QObject::connect(
        watch, &OrderWatch::ended, watch,
        [watch, status, done = std::move(done)] {
            watch->deleteLater();
            if (watch->wasAborted())
                done(ServiceOutcome::Answered(QString()), true);
            else
                done(statusOutcome(watch->lastAnswer(), *status), false);
        },
        Qt::QueuedConnection);
    watch->start();
    return watch;
}
