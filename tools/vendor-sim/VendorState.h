#pragma once

#include "VendorRecords.h"

#include <QList>

#include <memory>

// Everything the stand-in vendor remembers: accounts, reports and the behaviour knobs. Lives in
// memory only; a reset reloads the seed.
class VendorState
{
public:
    ServerKnobs knobs;

    void clear();

    void addAccount(const Account& account);
    Account* account(const QString& userName);
    // The account whose user name and password both match, or null.
    Account* authenticate(const QString& userName, const QString& password);

    // Stores the report under its ID (a fresh GUID when it has none) and gives it a download token.
    Report& addReport(Report report);
    Report* report(const QString& id);
    Report* reportByToken(const QString& token);
    Report* reportByReissueNumber(const QString& number);
    const QList<std::shared_ptr<Report>>& reports() const { return m_reports; }

    bool canSee(const Report& report, const Account& account) const;

    // The newest report visible to the account whose applicants are these people. A co-borrower
    // with an empty SSN and names stands for "individual report".
    Report* findReport(const Account& account, const Applicant& borrower, const Applicant& coBorrower);

    // An order with this identity whose bureaus are still in progress, or null.
    Report* findPending(const QString& owner, const QString& orderKey);

    // A bureau ordered by this version shows "1" until the report has been polled as often as the
    // statusPolls knob says; a bureau carried over from the previous version is finished already.
    bool inProgress(const Report& report, Bureau bureau) const;
    bool inProgress(const Report& report) const;
    int currentStatus(const Report& report, Bureau bureau) const;

    static bool samePerson(const Applicant& a, const Applicant& b);

private:
    QList<Account> m_accounts;
    QList<std::shared_ptr<Report>> m_reports; // in order of creation; shared_ptr keeps addresses stable
};
