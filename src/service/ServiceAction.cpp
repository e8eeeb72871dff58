#include "service/ServiceAction.h"

#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/basLog.h"
#include "platform/AppError.h"
#include "service/basTransport.h"
#include "service/basXML.h"

#include <QTimer>

namespace {
const QString kCrLf = QStringLiteral("\r\n");

// No protocol answer begins with "<"; such an answer is a web page that some proxy, portal or
// error handler sent instead, and must never be taken as a report ID or a value.
void requireProtocolAnswer(const QString& answer, const QString& operation)
{
    for (const QChar c : answer) {
        if (c.isSpace())
            continue;
        if (c == QLatin1Char('<'))
            throw AppError(ErrNo::NotProtocol,
                           QStringLiteral("The server's answer is not a protocol answer: it begins with \"<\" "
                                          "(a web page?)"),
                           operation);
        return;
    }
}
} // namespace

ServiceAction::ServiceAction(QString operation, QString action, AddressForm form, FailureHandling failures)
    : m_operation(std::move(operation)), m_action(std::move(action)), m_form(form), m_failures(failures)
{
}

ServiceAction& ServiceAction::unreachableText(const QString& text)
{
    m_unreachableText = text;
    return *this;
}

ServiceAction& ServiceAction::traceProgress()
{
    m_traceProgress = true;
    return *this;
}

ServiceAction& ServiceAction::inOutInfo()
{
    m_inOutInfo = true;
    return *this;
}

ServiceAction& ServiceAction::atMostOnce()
{
    m_atMostOnce = true;
    return *this;
}

ServiceAction& ServiceAction::anyAnswer()
{
    m_anyAnswer = true;
    return *this;
}

ServiceAction& ServiceAction::leadingFields(const QString& fields)
{
    m_leadingFields = fields;
    return *this;
}

ServiceAction& ServiceAction::trailingFields(const QString& fields)
{
    m_trailingFields = fields;
    return *this;
}

QString ServiceAction::address(const QString& blockFields) const
{
    const QString fields = m_leadingFields + blockFields + m_trailingFields;
    switch (m_form) {
    case AddressForm::CredentialedAccount: return CredentialedAccountAddress(Props(), m_action, fields);
    case AddressForm::Report: return ReportAddress(Props(), m_action, fields);
    case AddressForm::Account: break;
    }
    return AccountAddress(Props(), m_action, fields);
}

void ServiceAction::start(const QString& block, QObject* context, Interpret interpret, ServiceReply done) const
{
    QString fields;
    if (!BuildKeyValueString(block, fields)) {
        // The conversion has shown and logged its failure; its text is the answer.
        const ServiceOutcome silent = ServiceOutcome::FromError(AppError(ErrNo::Silent, fields), fields, false);
        QTimer::singleShot(0, context, [done = std::move(done), silent] { done(silent); });
        return;
    }
    PostOptions options;
    options.delivery = m_atMostOnce ? Delivery::AtMostOnce : Delivery::Repeatable;
    // A traced request reports its own steps, so it is always sent now.
    options.takeSentAhead = !m_traceProgress;
    Post(address(fields), options, context,
         [action = *this, block, interpret = std::move(interpret), done = std::move(done)](const PostResult& posted) {
             done(action.conclude(block, posted, interpret));
         });
}

ServiceOutcome ServiceAction::conclude(const QString& block, const PostResult& posted, const Interpret& interpret) const
{
    // A traced answer holds the last step reached when the request or its answer fails.
    QString answer;
    try {
        if (m_traceProgress)
            answer = posted.failure ? QStringLiteral("After MSXML2.XMLHTTP30 Open  ")
                                    : QStringLiteral("After MSXML2.XMLHTTP30 Send  ");
        if (posted.failure)
            throw *posted.failure;
        if (!m_anyAnswer)
            requireProtocolAnswer(posted.text, m_operation);
        answer = posted.text;
        if (interpret)
            interpret(answer);
        return ServiceOutcome::Answered(answer);
    } catch (const AppError& error) {
        // Passed on as it is: the caller shows and logs it.
        if (m_failures == FailureHandling::ToCaller && error.Number != ErrNo::Silent)
            return ServiceOutcome::FromError(error, QString(), m_atMostOnce);
        handle(error, block, answer);
        return ServiceOutcome::FromError(error, answer, m_atMostOnce);
    }
}

bool ServiceAction::handle(const AppError& error, const QString& block, QString& answer) const
{
    if (error.Number == ErrNo::Silent)
        return false;
    if (m_failures == FailureHandling::ToCaller)
        throw error;
    const bool unreachable = m_failures == FailureHandling::ConnectionAware && error.Number == ErrNo::Unreachable;
    if (unreachable)
        MsgBox(m_unreachableText + kCrLf + kCrLf + QStringLiteral("Possible invalid https layer."), vbCritical,
               QStringLiteral("Invalid Internet Connection Found"));
    // The unreachable server is logged like any other failure, so the caller never has to log
    // an answer that holds nothing.
    const QString info = m_inOutInfo ? QStringLiteral("In:") + block + kCrLf + QStringLiteral("Out:") + answer : block;
    const QString source = error.Source.isEmpty() ? m_operation : error.Source;
    const QString text = BuildErrorXML(source, error.Description, error.Number, info);
    answer = m_traceProgress ? answer + text : text;
    WriteErrorLog(answer);
    // The credential check shows its answer to the user as the problem.
    if (unreachable && m_traceProgress)
        answer = QStringLiteral("Invalid Internet Connection");
    return false;
}
