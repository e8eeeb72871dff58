#pragma once

#include "service/ServiceOutcome.h"

#include <QString>

#include <memory>

class QObject;
class clsReportStatus;

// The server operations of the account and the loan. Each takes a parameter block and the
// caller's answer variable and returns true on success. On success the answer holds the
// server's answer (FindReport and ValidateCredentials: see there); on failure it holds the
// error text that also went to errors.log, or stays as the operation describes. The settings
// they read and set are those of Props().

// PASSWORDEXPIRED. A true answer shows the change-password window (not user-initiated) and
// returns after it closes. True unless the request or the answer fails.

// NEWERVERSION. A non-empty answer is an http or https download address: the user is asked,
// and on Yes it is opened and the program is ended (WindowHooks::RequestEnd). Another kind of
// address is a logged failure and nothing is asked.

// CROSS_COMPANY_REISSUE: CrossCompanyReissue := the answer is not empty.

// CHECKMESSAGES: the news page address, or empty. Nothing is stored here.

// GETABOUT: PhoneNumber, SupportEmail and PasswordSpecs from "a||b||c", in that order.

// CHANGEPASSWORDRIGHTS: CanChangePassword := true when empty, else the answer's truth value.

// GETREPORTLISTPAGE: ReportListPage := the answer, or "/ReportList.asp" when empty.

// VALIDATECREDENTIALS: true only for an empty answer; a non-empty answer is the reason. The
// answer carries the request's progress while it runs; an unreachable server shows its box
// and leaves "Invalid Internet Connection".

// FINDPENDING (credentialed address): true with the pending request's GUID; false with an
// empty answer when none is pending; false with the error text (logged) when the search
// failed, which must never be read as "none pending".

// DATEREQUESTED: the date the report was requested, or empty.

// LOGINBYREFERENCE: LoginByRef and LoginByReferences from "name*user*password|...".

// GETSUPPLEMENTPAGE, GETSUMMARYPAGE, GETRMCRPAGE, GETDEPARTMENTID: SuppPageLink,
// SummaryPageLink, RMCRPageLink, DepartmentID := the answer without blanks at its ends.

// REQUESTBUREAURIGHTS: bEFQ_Right, bEXP_Right, bTU_Right := the answer lacks "EFQ0", "EXP0", "TU0".

// GETREPORTSTATUS: the report's overall status code, or empty.

// UPDATELOSVERSION: true only for an empty answer; a non-empty answer is the reason, kept in
// answer and not logged.

// FIND_REPORT (report address). status becomes a new record once the answer has arrived.
// "FAILED" with "Report not found.": empty answer. "FAILED" with another reason: the
// "Problem/Error" box, sReportID and answer "ERROR", sErrorText the reason. Otherwise the
// record is loaded from the answer and answer is its sReportID. All three are successes.

// The readers of three answers, as the operations above apply them (for tests and fuzzing
// without a server). Each raises AppError 9 for a missing field or record part.
// GETABOUT: PhoneNumber, SupportEmail, PasswordSpecs from "a||b||c", each set before the next
// part is read.
void ReadAboutAnswer(const QString& answer);
// LOGINBYREFERENCE: LoginByRef and LoginByReferences from "Long*user*password|...".
void ReadLoginReferences(const QString& answer);
// A FIND_REPORT answer beginning "FAILED": "Report not found." on line 1 empties the answer;
// any other reason is shown, and the answer and status become "ERROR" with the reason stored.
void ReadSearchRefusal(QString& answer, clsReportStatus& status);

// The operations above without waiting: each sends its request and done hears the outcome once,
// from the event loop, unless context is destroyed first. The outcome's answer is the answer
// as the operation read it, with the settings set as above; failures are shown and logged as
// above, and errorText is the answer the waiting form leaves. ValidateCredentials: answered
// with an empty answer when valid, else the reason. FindPending: answered with the GUID, or
// with an empty answer when none is pending.
void CheckPasswordExpired(const QString& block, QObject* context, ServiceReply done);
void CheckForNewerVersion(const QString& block, QObject* context, ServiceReply done);
void CheckCrossCompanyReissue(const QString& block, QObject* context, ServiceReply done);
void CheckMessages(const QString& block, QObject* context, ServiceReply done);
void GetAbout(const QString& block, QObject* context, ServiceReply done);
void GetChangePasswordRights(const QString& block, QObject* context, ServiceReply done);
void GetReportListPage(const QString& block, QObject* context, ServiceReply done);
void ValidateCredentials(const QString& block, QObject* context, ServiceReply done);
void FindPending(const QString& block, QObject* context, ServiceReply done);
void GetDateRequested(const QString& block, QObject* context, ServiceReply done);
void LoginByReference(const QString& block, QObject* context, ServiceReply done);
void GetSupplementPage(const QString& block, QObject* context, ServiceReply done);
void GetSummaryPage(const QString& block, QObject* context, ServiceReply done);
void GetRMCRPage(const QString& block, QObject* context, ServiceReply done);
void GetDepartmentID(const QString& block, QObject* context, ServiceReply done);
void RequestBureauRights(const QString& block, QObject* context, ServiceReply done);
void GetReportStatus(const QString& block, QObject* context, ServiceReply done);
void UpdateLOSVersion(const QString& block, QObject* context, ServiceReply done);

// FIND_REPORT without waiting: done hears the search's outcome and the new record (null when no
// answer arrived). A found report's overall status is looked up before done is called.
using FoundReply = std::function<void(const ServiceOutcome& outcome, std::shared_ptr<clsReportStatus> status)>;
void FindReport(const QString& block, QObject* context, FoundReply done);
