#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class HttpExchange;

// Reads sent ahead of the step that needs them, so that independent reads share the wait for
// the server. Only reads (actions that change nothing at the vendor) are ever sent ahead.
//
// The steps themselves stay one after another and unchanged: a step's request whose address
// was sent ahead takes that answer (or its failure, handled as if the request had been sent
// then) instead of sending it again; any other request goes out as before. So every value,
// box, window and log line comes in the one-after-another order, and a read sent ahead whose
// step is never reached (an earlier step failed or ended the check) is simply dropped by
// Discard().
namespace Prefetch {

struct Read {
    QString operation; // the server operation's name, e.g. "GetAbout"
    QString action;    // e.g. "GETABOUT"
    QString block;     // the parameter block its step will send
    // Called with the answer text once it has arrived without a transport failure (not for a
    // failed or dropped read); may send further reads.
    std::function<void(const QString& answer)> answered = {};
};

// Whether reads are sent ahead at all: on unless $QUILLCLIENT_ONE_BY_ONE is set to 1 (every
// request then waits for the one before it, as a comparison and a fallback). Off, every
// function below does nothing.
bool Enabled();
void SetEnabled(bool enabled);

// Opens the extra connections the reads sent ahead will need, while the first checks run.
void WarmConnections();

// Sends the reads together (account-form addresses), except those already held.
void Send(const QList<Read>& reads);

// The exchange held for address, finished or still running, handed over to the caller; nullptr
// when none is held.
std::unique_ptr<HttpExchange> Claim(const QString& address);

// Drops every read still held (aborted if still running). Called when the check or start-up
// ends, so that no later step can take an answer read for an earlier one.
void Discard();

// The addresses held now, in the order sent (tests).
QStringList Held();

// While one lives, a report found by the search has these reads sent beside its status
// look-up, given the report ID (the existing-report check's request date).
class FoundReportReads
{
public:
    explicit FoundReportReads(std::function<QList<Read>(const QString& reportID)> reads);
    ~FoundReportReads();
    FoundReportReads(const FoundReportReads&) = delete;
    FoundReportReads& operator=(const FoundReportReads&) = delete;
};

// Called by the search once a report was found: sends its status look-up and the reads of a
// living FoundReportReads together.
void ReportFound(const QString& reportID);

} // namespace Prefetch
