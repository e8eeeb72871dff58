#pragma once

#include "Answer.h"

#include <QString>

#include <optional>

class FormQuery;
class OrderForm;
class VendorState;
struct Account;
struct Report;

// The report-form actions ("action=" on the report path) and FINDPENDING: every one of them carries
// credentials, checked first. Answers use bare line feeds between lines.
class ReportActions
{
public:
    explicit ReportActions(VendorState& state) : m_state(state) {}

    // The answer to the action, or nothing when the action is not one of these.
    std::optional<Answer> handle(const QString& action, const FormQuery& query);

    // FINDPENDING: the GUID of an identical order still in progress, else empty. Bad credentials
    // find nothing, so the client goes on to REQUEST and hears the reason there.
    Answer findPending(const FormQuery& query);

    // Download path of a finished report's PDF.
    static QString pdfPath(const Report& report);

private:
    struct Caller {
        Account* account = nullptr; // whose account the request acts on
        QString placedBy;           // who is really asking (differs under login by reference)
        QString refusal;            // reason when the credentials are refused
    };

    Caller caller(const FormQuery& query);
    Report* visibleReport(const Account& account, const FormQuery& query);

    Answer findReport(const Caller& who, const FormQuery& query);
    Answer request(const Caller& who, const FormQuery& query);
    Answer getStatus(const Caller& who, const FormQuery& query);
    Answer getPdf(const Caller& who, const FormQuery& query);
    Answer getData(const Caller& who, const FormQuery& query);

    Answer foundBlock(const Report& report) const;
    QString orderRefusal(const Account& account, const OrderForm& order, Report* previous) const;
    Report newVersion(const Caller& who, const OrderForm& order, const Report* previous) const;

    VendorState& m_state;
};
