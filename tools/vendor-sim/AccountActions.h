#pragma once

#include "Answer.h"

#include <QHash>
#include <QString>

#include <optional>

class FormQuery;
class VendorState;
struct Account;

// The account-form actions ("Action=" on the account utility path): start-up checks, rights,
// page links, support data, password and contact maintenance, the version stamp of an order.
// These requests carry no password, only the user name in USER, as the real service does.
class AccountActions
{
public:
    AccountActions(VendorState& state, const QString& serverBase);

    // The answer to the action, or nothing when the action is not one of these.
    std::optional<Answer> handle(const QString& action, const FormQuery& query);

private:
    using Handler = Answer (AccountActions::*)(const FormQuery&);

    Answer passwordExpired(const FormQuery& q);
    Answer newerVersion(const FormQuery& q);
    Answer crossCompanyReissue(const FormQuery& q);
    Answer checkMessages(const FormQuery& q);
    Answer getAbout(const FormQuery& q);
    Answer changePasswordRights(const FormQuery& q);
    Answer reportListPage(const FormQuery& q);
    Answer validateCredentials(const FormQuery& q);
    Answer dateRequested(const FormQuery& q);
    Answer loginByReference(const FormQuery& q);
    Answer supplementPage(const FormQuery& q);
    Answer summaryPage(const FormQuery& q);
    Answer rmcrPage(const FormQuery& q);
    Answer departmentId(const FormQuery& q);
    Answer bureauRights(const FormQuery& q);
    Answer reportStatus(const FormQuery& q);
    Answer updateLosVersion(const FormQuery& q);
    Answer changePassword(const FormQuery& q);
    Answer getContactInfo(const FormQuery& q);
    Answer updateContactInfo(const FormQuery& q);

    Account* user(const FormQuery& q);
    static Answer truth(bool value);

    VendorState& m_state;
    QString m_serverBase;
    QHash<QString, Handler> m_handlers;
};
