#include "service/ServiceOutcome.h"

#include "platform/AppError.h"

namespace {

// For a request that changes something at the vendor: false when it certainly did not arrive
// (nothing was sent, the server refused it, the server or the proxy was not reached, the proxy
// asked for a password, or the secure connection failed before anything was sent); true when it
// was sent and its answer was lost or unreadable (time-out, dropped connection, HTTP error, a
// page or an answer the operation could not read).
bool mayHaveReached(long number)
{
    switch (number) {
    case ErrNo::Silent:
    case ErrNo::Refused:
    case ErrNo::Unreachable:
    case ErrNo::TlsFailure:
    case ErrNo::ProxyFailure: return false;
    default: return true;
    }
}

} // namespace

ServiceOutcome ServiceOutcome::Answered(const QString& answer)
{
    ServiceOutcome outcome;
    outcome.kind = Kind::Answered;
    outcome.answer = answer;
    return outcome;
}

ServiceOutcome ServiceOutcome::FromError(const AppError& error, const QString& errorText, bool changesSomething)
{
    ServiceOutcome outcome;
    outcome.number = error.Number;
    outcome.description = error.Description;
    outcome.errorText = errorText;
    if (error.Number == ErrNo::Silent) {
        outcome.kind = Kind::Silent;
    } else if (error.Number == ErrNo::Refused) {
        outcome.kind = Kind::Refused;
        outcome.answer = error.Description;
    } else {
        outcome.kind = Kind::Failed;
        outcome.mayHaveArrived = changesSomething && mayHaveReached(error.Number);
    }
    return outcome;
}

bool ServiceOutcome::Read(QString& text) const
{
    text = kind == Kind::Answered ? answer : errorText;
    return kind == Kind::Answered;
}
