#pragma once

#include <QString>

#include <functional>

struct AppError;

// How one server operation ended, as its caller hears it once:
//  - Answered: the server gave a protocol answer; answer holds it as the operation read it;
//  - Refused: the server answered "FAILED" (6001); answer holds the server's reason or answer;
//  - Failed: the request or its answer failed (error number and description), and the
//    failure went to errors.log; mayHaveArrived says whether a request that changes something
//    may have reached the server all the same (the answer was lost on the way back);
//  - Silent: already reported, or meant to stay silent (6000): nothing more to show or log.
// errorText is the text that went to errors.log (empty when nothing was logged): the error text
// of the classic Boolean-and-answer form.
struct ServiceOutcome {
    enum class Kind { Answered, Refused, Failed, Silent };

    Kind kind = Kind::Silent;
    QString answer;
    long number = 0;
    QString description;
    QString errorText;
    bool mayHaveArrived = false;

    static ServiceOutcome Answered(const QString& answer);
    // From the failure an operation ended with; errorText as it was logged (or shown).
    static ServiceOutcome FromError(const AppError& error, const QString& errorText, bool changesSomething);

    bool ok() const { return kind == Kind::Answered; }
    bool failed() const { return kind == Kind::Failed; }

    // The classic reading: true with the answer, false with the error text (the server's reason
    // for a refusal that logged nothing; empty for a silent end).
    bool Read(QString& text) const;
};

// The one report of an operation: called once, from the event loop.
using ServiceReply = std::function<void(const ServiceOutcome&)>;
