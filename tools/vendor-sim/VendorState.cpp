#include "VendorState.h"

#include <QRandomGenerator>
#include <QUuid>

void VendorState::clear()
{
    knobs = ServerKnobs();
    m_accounts.clear();
    m_reports.clear();
}

void VendorState::addAccount(const Account& account)
{
    m_accounts.append(account);
}

Account* VendorState::account(const QString& userName)
{
    const QString wanted = userName.trimmed();
    for (Account& a : m_accounts) {
        if (a.userName.compare(wanted, Qt::CaseInsensitive) == 0)
            return &a;
    }
    return nullptr;
}

Account* VendorState::authenticate(const QString& userName, const QString& password)
{
    Account* a = account(userName);
    return a && a->password == password ? a : nullptr;
}

Report& VendorState::addReport(Report report)
{
    if (report.id.isEmpty())
        report.id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    // The PDF is fetched with a plain GET that carries no credentials, so its address must not be
    // derivable from the report ID alone.
    report.pdfToken = QString::number(QRandomGenerator::global()->generate64(), 16)
        + QString::number(QRandomGenerator::global()->generate64(), 16);
    m_reports.append(std::make_shared<Report>(std::move(report)));
    return *m_reports.last();
}

Report* VendorState::report(const QString& id)
{
    const QString wanted = id.trimmed();
    for (const auto& r : m_reports) {
        if (r->id.compare(wanted, Qt::CaseInsensitive) == 0)
            return r.get();
    }
    return nullptr;
}

Report* VendorState::reportByToken(const QString& token)
{
    for (const auto& r : m_reports) {
        if (r->pdfToken == token)
            return r.get();
    }
    return nullptr;
}

Report* VendorState::reportByReissueNumber(const QString& number)
{
    const QString wanted = number.trimmed();
    if (wanted.isEmpty())
        return nullptr;
    Report* found = nullptr;
    for (const auto& r : m_reports) {
        if (r->reissueNumber.compare(wanted, Qt::CaseInsensitive) == 0)
            found = r.get(); // later versions win
    }
    return found;
}

bool VendorState::canSee(const Report& report, const Account& account) const
{
    return report.company.compare(account.company, Qt::CaseInsensitive) == 0
        || report.grantedCompanies.contains(account.company, Qt::CaseInsensitive);
}

bool VendorState::samePerson(const Applicant& a, const Applicant& b)
{
    const auto same = [](const QString& x, const QString& y) {
        return x.trimmed().compare(y.trimmed(), Qt::CaseInsensitive) == 0;
    };
    return a.ssn == b.ssn && same(a.firstName, b.firstName) && same(a.lastName, b.lastName);
}

Report* VendorState::findReport(const Account& account, const Applicant& borrower, const Applicant& coBorrower)
{
    const bool wantJoint = !coBorrower.ssn.isEmpty() || !coBorrower.lastName.isEmpty();
    Report* newest = nullptr;
    for (const auto& r : m_reports) {
        if (!canSee(*r, account) || !samePerson(r->borrower, borrower) || r->joint != wantJoint)
            continue;
        if (wantJoint && !samePerson(r->coBorrower, coBorrower))
            continue;
        if (!newest || r->requested >= newest->requested)
            newest = r.get();
    }
    return newest;
}

Report* VendorState::findPending(const QString& owner, const QString& orderKey)
{
    for (const auto& r : m_reports) {
        if (inProgress(*r) && r->orderKey == orderKey && r->owner.compare(owner, Qt::CaseInsensitive) == 0)
            return r.get();
    }
    return nullptr;
}

bool VendorState::inProgress(const Report& report, Bureau bureau) const
{
    return report.orderedThisRun && report.finalStatus[bureau] != StatusNotOrdered
        && report.previousStatus[bureau] == StatusNotOrdered && report.statusPollsSeen < knobs.statusPolls;
}

bool VendorState::inProgress(const Report& report) const
{
    for (int b = 0; b < BureauCount; ++b) {
        if (inProgress(report, Bureau(b)))
            return true;
    }
    return false;
}

int VendorState::currentStatus(const Report& report, Bureau bureau) const
{
    return inProgress(report, bureau) ? StatusInProgress : report.finalStatus[bureau];
}
