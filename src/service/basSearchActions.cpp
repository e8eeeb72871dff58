// The connection-aware operations (searches and credential validation) and the login-by-
// reference list; declared in basActions.h.
#include "service/basActions.h"

#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "service/ServiceAction.h"
#include "service/basAccountRefresh.h"
#include "service/basAnswer.h"
#include "service/clsReportStatus.h"

namespace {

const QString kPullCreditText = QStringLiteral("A valid connection to the internet is needed to pull credit.");
const QString kNotFound = QStringLiteral("Report not found.");

bool hasKey(const QList<std::shared_ptr<clsLoginByRef>>& refs, const QString& key)
{
    for (const auto& ref : refs)
        if (ref->LongName().compare(key, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

std::shared_ptr<clsLoginByRef> readReference(const QString& record)
{
    const QStringList fields = record.split(QLatin1Char('*'));
    auto ref = std::make_shared<clsLoginByRef>();
    ref->setLongName(Answer::At(fields, 0));
    ref->setUserName(Answer::At(fields, 1));
    ref->setPassword(Answer::At(fields, 2));
    return ref;
}

} // namespace

void ReadSearchRefusal(QString& answer, clsReportStatus& status)
{
    const QString reason = Answer::At(Answer::Lines(answer), 1);
    if (reason == kNotFound) {
        answer.clear();
        return;
    }
    MsgBox(QStringLiteral("There was a problem when finding existing report.\r\n\r\nProblem: ") + reason, vbCritical,
           QStringLiteral("Problem/Error"));
    status.setsReportID(QStringLiteral("ERROR"));
    answer = status.sReportID();
    status.setsErrorText(reason);
}

namespace {

ServiceOperation validateCredentialsOperation()
{
    return {ServiceAction(QStringLiteral("ValidateCredentials"), QStringLiteral("VALIDATECREDENTIALS"),
                          AddressForm::Account, FailureHandling::ConnectionAware)
                .unreachableText(QStringLiteral("A valid connection to the internet is needed to validate user."))
                .traceProgress()};
}

// The GUID of the pending order, empty for none. Anything else fails: followed, it would stand for
// an order that does not exist, so that the loan's order is never placed.
void readPendingGuid(QString& answer)
{
    if (answer.left(6) == QLatin1String("FAILED"))
        throw AppError(ErrNo::Refused, answer, QStringLiteral("FindPending"));
    const QString guid = answer.trimmed();
    for (const QChar c : guid)
        if (c.isSpace())
            throw AppError(ErrNo::BadAnswer, QStringLiteral("The server's answer is not a request GUID: ") + answer,
                           QStringLiteral("FindPending"));
    answer = guid;
}

ServiceOperation findPendingOperation()
{
    return {ServiceAction(QStringLiteral("FindPending"), QStringLiteral("FINDPENDING"),
                          AddressForm::CredentialedAccount, FailureHandling::ConnectionAware)
                .unreachableText(kPullCreditText),
            readPendingGuid};
}

// The search's record is made once the answer has arrived, from the search answer (loaded);
// its overall status is looked up next.
ServiceOperation findReportOperation(const std::shared_ptr<std::shared_ptr<clsReportStatus>>& status,
                                     const std::shared_ptr<bool>& loaded)
{
    return {ServiceAction(QStringLiteral("FindReport"), QStringLiteral("FIND_REPORT"), AddressForm::Report,
                          FailureHandling::ConnectionAware)
                .unreachableText(kPullCreditText),
            [status, loaded](QString& a) {
                *status = std::make_shared<clsReportStatus>();
                if (a.left(6) == QLatin1String("FAILED")) {
                    ReadSearchRefusal(a, **status);
                    return;
                }
                *loaded = (*status)->LoadSearchAnswer(a);
                // Without a report ID (an empty answer, "SUCCESS" alone) the search failed, and
                // its box is up: read as "no report", the loan would be ordered a second time.
                if (!*loaded && (*status)->sReportID().isEmpty())
                    (*status)->setsReportID(QStringLiteral("ERROR"));
                a = (*status)->sReportID();
            }};
}

} // namespace

void ValidateCredentials(const QString& block, QObject* context, ServiceReply done)
{
    validateCredentialsOperation().start(block, context, std::move(done));
}

void FindPending(const QString& block, QObject* context, ServiceReply done)
{
    findPendingOperation().start(block, context, std::move(done));
}

void FindReport(const QString& block, QObject* context, FoundReply done)
{
    auto found = std::make_shared<std::shared_ptr<clsReportStatus>>();
    auto loaded = std::make_shared<bool>(false);
    findReportOperation(found, loaded)
        .start(block, context, [context, found, loaded, done = std::move(done)](const ServiceOutcome& searched) {
            if (!searched.ok() || !*loaded) {
                done(searched, *found);
                return;
            }
            const auto status = *found;
            GetReportStatus(ReportStatusBlock(status->sReportID()), context,
                            [searched, status, done](const ServiceOutcome& overall) {
                                status->SetOverallStatus(overall.ok(), overall.answer);
                                done(searched, status);
                            });
        });
}

ServiceOperation loginByReferenceOperation()
{
    return {ServiceAction(QStringLiteral("LoginByReference"), QStringLiteral("LOGINBYREFERENCE")),
            [](QString& a) { ReadLoginReferences(a); }};
}

void LoginByReference(const QString& block, QObject* context, ServiceReply done)
{
    loginByReferenceOperation().start(block, context, std::move(done));
}

void ReadLoginReferences(const QString& answer)
{
    if (answer.isEmpty()) {
        Props().setLoginByRef(false);
        return;
    }
    Props().setLoginByRef(true);
    QList<std::shared_ptr<clsLoginByRef>> refs;
    Props().setLoginByReferences(refs);
    for (const QString& record : answer.split(QLatin1Char('|'))) {
        auto ref = readReference(record);
        if (hasKey(refs, ref->LongName()))
            continue;
        refs << ref;
        Props().setLoginByReferences(refs);
    }
}
