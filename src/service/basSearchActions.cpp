// The connection-aware operations (searches and credential validation) and the login-by-
// reference list; declared in basActions.h.
#include "service/basActions.h"

#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "service/ServiceAction.h"
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

bool ValidateCredentials(const QString& block, QString& answer)
{
    const bool done =
        ServiceAction(QStringLiteral("ValidateCredentials"), QStringLiteral("VALIDATECREDENTIALS"),
                      AddressForm::Account, FailureHandling::ConnectionAware)
            .unreachableText(QStringLiteral("A valid connection to the internet is needed to validate user."))
            .traceProgress()
            .run(block, answer);
    return done && answer.isEmpty();
}

bool FindPending(const QString& block, QString& answer)
{
    return ServiceAction(QStringLiteral("FindPending"), QStringLiteral("FINDPENDING"), AddressForm::CredentialedAccount,
                         FailureHandling::ConnectionAware)
        .unreachableText(kPullCreditText)
        .run(block, answer, [](QString& a) {
            if (a.isEmpty())
                throw AppError(ErrNo::Silent, QString());
        });
}

bool FindReport(const QString& block, std::shared_ptr<clsReportStatus>& status, QString& answer)
{
    return ServiceAction(QStringLiteral("FindReport"), QStringLiteral("FIND_REPORT"), AddressForm::Report,
                         FailureHandling::ConnectionAware)
        .unreachableText(kPullCreditText)
        .run(block, answer, [&status](QString& a) {
            status = std::make_shared<clsReportStatus>();
            if (a.left(6) == QLatin1String("FAILED")) {
                ReadSearchRefusal(a, *status);
                return;
            }
            status->Load(a);
            a = status->sReportID();
        });
}

bool LoginByReference(const QString& block, QString& answer)
{
    return ServiceAction(QStringLiteral("LoginByReference"), QStringLiteral("LOGINBYREFERENCE"))
        .run(block, answer, [](QString& a) { ReadLoginReferences(a); });
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
