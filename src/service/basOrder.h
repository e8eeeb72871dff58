#pragma once

#include "service/ServiceOutcome.h"

#include <QString>

#include <functional>
#include <memory>

class OrderWatch;
class QObject;
class clsReportStatus;

// Placing an order and waiting for its bureaus (report form, credentials of the settings'
// IsLoginByRef), without blocking: each reports its outcome once (see ServiceOutcome).

// REQUEST with the order block, followed by "&Source=Orrery Client&LOSVersion=<client version>".
// Answered with the new request's GUID (answer line 1, without white space at its ends).
// Refused ("FAILED"): the "Error Submitting Request" box shows the server's reason (or a generic
// text when there is none) and the error is 6001 from "Request". An answer with no GUID line, an
// empty GUID line or a page (beginning with "<") is a failure too, and so is any transport
// failure; mayHaveArrived tells whether the order may exist at the vendor all the same.
void Request(const QString& block, QObject* context, ServiceReply done);

// GET_STATUS once for the block's guid: one poll of the status wait. The answer is the server's
// answer as sent, a page included; nothing is shown or logged. A block that does not convert is a
// silent end (already shown and logged); a transport failure is passed on as the outcome.
void PollStatus(const QString& block, QObject* context, ServiceReply done);

// GET_STATUS for the block's guid, polled until no bureau is in progress (an OrderWatch in status
// mode, one PollStatus each time). Once the wait ends by itself, its last answer must be a status
// answer ("SUCCESS" on line 0, any letter case): its lines 1 to 3 become nStatusEXP, nStatusEFX and
// nStatusTU. "FAILED" is 6001 from "GetStatus"; any other answer, missing lines and non-numbers are
// failures as well.
//
// The wait is an OrderWatch owned by parent and returned, so that a window can show its progress,
// let it go on in the background or abort it; nullptr when the block does not convert (done then
// hears a silent outcome). done hears, once, after the watch's other listeners: aborted (the user
// ended the wait; answered with an empty answer, status left alone); or the last answer read into
// status's bureau codes (answered); or the failure to read it (refused for "FAILED", failed
// otherwise), logged. A failed poll has shown its box and been logged by the watch.
using WatchReply = std::function<void(const ServiceOutcome& outcome, bool aborted)>;
OrderWatch* GetStatus(const QString& block, std::shared_ptr<clsReportStatus> status, QObject* parent, WatchReply done);
