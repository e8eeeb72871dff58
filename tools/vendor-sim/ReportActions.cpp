#include "ReportActions.h"

#include "FormQuery.h"
#include "ImportData.h"
#include "OrderForm.h"
#include "StandInCredit.h"
#include "VendorState.h"

#include <QDate>
#include <QHash>

namespace {

const QString invalidPassword = QStringLiteral("Invalid password");
const QString notFound = QStringLiteral("Report not found.");
const QString rmcrPending = QStringLiteral("The report is at RMCR pending status.");

Applicant searchedApplicant(const FormQuery& q, const QString& prefix)
{
    Applicant p;
    p.firstName = q.value(prefix + QStringLiteral("FirstName"));
    p.lastName = q.value(prefix + QStringLiteral("LastName"));
    for (QChar c : q.value(prefix + QStringLiteral("SSN"))) {
        if (c.isDigit())
            p.ssn += c;
    }
    return p;
}

} // namespace

std::optional<Answer> ReportActions::handle(const QString& action, const FormQuery& query)
{
    using Handler = Answer (ReportActions::*)(const Caller&, const FormQuery&);
    static const QHash<QString, Handler> handlers = {
        {QStringLiteral("FIND_REPORT"), &ReportActions::findReport},
        {QStringLiteral("REQUEST"), &ReportActions::request},
        {QStringLiteral("GET_STATUS"), &ReportActions::getStatus},
        {QStringLiteral("GET_PDF"), &ReportActions::getPdf},
        {QStringLiteral("GET_DATA"), &ReportActions::getData},
    };
    const auto it = handlers.constFind(action.toUpper());
    if (it == handlers.constEnd())
        return std::nullopt;
    const Caller who = caller(query);
    if (!who.account)
        return Answer::failed(who.refusal);
    return (this->*(it.value()))(who, query);
}

QString ReportActions::pdfPath(const Report& report)
{
    return QStringLiteral("/cia/pdf/%1.pdf").arg(report.pdfToken);
}

// Under login by reference UserName/Password are the other user's and LoginByRefUserName/
// LoginByRefPassword the caller's own; the caller must be allowed to act for that user.
ReportActions::Caller ReportActions::caller(const FormQuery& query)
{
    Caller who;
    const QString userName = query.value(QStringLiteral("UserName"));
    const QString password = query.value(QStringLiteral("Password"));
    if (!query.has(QStringLiteral("LoginByRefUserName"))) {
        who.account = m_state.authenticate(userName, password);
        who.refusal = who.account ? QString() : invalidPassword;
        if (who.account)
            who.placedBy = who.account->userName;
        return who;
    }
    const Account* self = m_state.authenticate(query.value(QStringLiteral("LoginByRefUserName")),
                                               query.value(QStringLiteral("LoginByRefPassword")));
    Account* other = m_state.account(userName);
    if (!self || !other || other->password != password) {
        who.refusal = invalidPassword;
    } else if (!self->loginByReference.contains(other->userName, Qt::CaseInsensitive)) {
        who.refusal = QStringLiteral("You may not order on behalf of %1.").arg(other->userName);
    } else {
        who.account = other;
        who.placedBy = self->userName;
    }
    return who;
}

Report* ReportActions::visibleReport(const Account& account, const FormQuery& query)
{
    Report* r = m_state.report(query.value(QStringLiteral("guid")));
    return r && m_state.canSee(*r, account) ? r : nullptr;
}

// Line 0 "SUCCESS", then ID, the three bureau codes (Experian Equifax TransUnion), report type,
// first name, middle name, last name.
Answer ReportActions::foundBlock(const Report& r) const
{
    QStringList lines{QStringLiteral("SUCCESS"), r.id};
    QStringList codes;
    for (int b = 0; b < BureauCount; ++b)
        codes.append(QString::number(m_state.currentStatus(r, Bureau(b))));
    lines << codes.join(QLatin1Char(' ')) << QString::number(r.reportType) << r.borrower.firstName
          << r.borrower.middleName << r.borrower.lastName;
    return Answer::text(lines.join(QLatin1Char('\n')));
}

// A reissue number finds another company's report; finding it grants this company access to it.
Answer ReportActions::findReport(const Caller& who, const FormQuery& query)
{
    const QString reissue = query.value(QStringLiteral("ReIssueNum")).trimmed();
    if (!reissue.isEmpty()) {
        if (!who.account->crossCompanyReissue)
            return Answer::failed(QStringLiteral("Cross-company reissue is not enabled for this account."));
        Report* r = m_state.reportByReissueNumber(reissue);
        if (!r)
            return Answer::failed(notFound);
        if (!r->grantedCompanies.contains(who.account->company, Qt::CaseInsensitive))
            r->grantedCompanies.append(who.account->company);
        return foundBlock(*r);
    }
    const Applicant borrower = searchedApplicant(query, QString());
    if (borrower.ssn.isEmpty())
        return Answer::failed(QStringLiteral("A social security number or a reissue number is required."));
    const Report* r = m_state.findReport(*who.account, borrower, searchedApplicant(query, QStringLiteral("Co")));
    return r ? foundBlock(*r) : Answer::failed(notFound);
}

QString ReportActions::orderRefusal(const Account& account, const OrderForm& order, Report* previous) const
{
    for (int b = 0; b < BureauCount; ++b) {
        if (order.bureaus[b] && !account.bureauRights[b])
            return QStringLiteral("You are not permitted to order %1.").arg(StandInCredit::bureauName(Bureau(b)));
    }
    if (previous && previous->overallStatus == OverallRmcrPending)
        return rmcrPending;
    if (order.keywords != QLatin1String("UPGRADE"))
        return QString();
    if (!previous)
        return QStringLiteral("There is no report to add a bureau to.");
    for (int b = 0; b < BureauCount; ++b) {
        if (order.bureaus[b] && previous->finalStatus[b] == StatusNotOrdered)
            return QString();
    }
    return QStringLiteral("The report already has every requested bureau.");
}

// A repull starts every ordered bureau afresh; an upgrade keeps the bureaus the report has and
// adds the new ones.
Report ReportActions::newVersion(const Caller& who, const OrderForm& order, const Report* previous) const
{
    Report r;
    r.owner = who.account->userName;
    r.placedBy = who.placedBy;
    r.company = who.account->company;
    static_cast<LoanParties&>(r) = order;
    r.requested = QDate::currentDate();
    r.keywords = order.keywords;
    r.orderKey = order.key();
    r.orderedThisRun = true;
    const bool upgrade = order.keywords == QLatin1String("UPGRADE");
    for (int b = 0; b < BureauCount; ++b) {
        r.previousStatus[b] = upgrade ? previous->finalStatus[b] : StatusNotOrdered;
        if (r.previousStatus[b] != StatusNotOrdered)
            r.finalStatus[b] = r.previousStatus[b];
        else
            r.finalStatus[b] = order.bureaus[b] ? StatusComplete : StatusNotOrdered;
    }
    if (previous) {
        r.previousId = previous->id;
        r.reportType = previous->reportType;
    }
    return r;
}

Answer ReportActions::request(const Caller& who, const FormQuery& query)
{
    const OrderForm order(query);
    const QString problem = order.problem();
    if (!problem.isEmpty())
        return Answer::failed(problem);
    Report* previous =
        order.keywords.isEmpty() ? nullptr : m_state.findReport(*who.account, order.borrower, order.coBorrower);
    const QString refusal = orderRefusal(*who.account, order, previous);
    if (!refusal.isEmpty())
        return Answer::failed(refusal);
    Report r = newVersion(who, order, previous);
    r.source = query.value(QStringLiteral("Source"));
    r.losVersion = query.value(QStringLiteral("LOSVersion"));
    const Report& stored = m_state.addReport(std::move(r));
    return Answer::text(QStringLiteral("SUCCESS\n") + stored.id);
}

// Each poll shows the bureaus as they are and then moves the order one poll further.
Answer ReportActions::getStatus(const Caller& who, const FormQuery& query)
{
    Report* r = visibleReport(*who.account, query);
    if (!r)
        return Answer::failed(notFound);
    QStringList lines{QStringLiteral("SUCCESS")};
    for (int b = 0; b < BureauCount; ++b)
        lines.append(QString::number(m_state.currentStatus(*r, Bureau(b))));
    if (m_state.inProgress(*r))
        ++r->statusPollsSeen;
    return Answer::text(lines.join(QLatin1Char('\n')));
}

// PENDING while the bureaus are still working, then for as many polls as the pdfPolls knob says.
Answer ReportActions::getPdf(const Caller& who, const FormQuery& query)
{
    Report* r = visibleReport(*who.account, query);
    if (!r)
        return Answer::failed(notFound);
    if (r->overallStatus == OverallRmcrPending)
        return Answer::failed(rmcrPending);
    if (m_state.inProgress(*r)) {
        ++r->statusPollsSeen;
        return Answer::text(QStringLiteral("PENDING"));
    }
    if (r->pdfPollsSeen < m_state.knobs.pdfPolls) {
        ++r->pdfPollsSeen;
        return Answer::text(QStringLiteral("PENDING"));
    }
    return Answer::text(QStringLiteral("SUCCESS\n") + pdfPath(*r));
}

Answer ReportActions::getData(const Caller& who, const FormQuery& query)
{
    const Report* r = visibleReport(*who.account, query);
    if (!r)
        return Answer::failed(notFound);
    if (query.value(QStringLiteral("DataFormat")).trimmed().compare(QLatin1String("QUILL"), Qt::CaseInsensitive) != 0)
        return Answer::failed(QStringLiteral("Unsupported data format."));
    if (m_state.inProgress(*r))
        return Answer::failed(QStringLiteral("The report is not complete yet."));
    ImportData::Request data;
    data.borrowerFile = query.has(QStringLiteral("BorrowerFile")) ? query.value(QStringLiteral("BorrowerFile"))
                                                                  : QStringLiteral("__XFILE__");
    data.updateMessage = query.value(QStringLiteral("UpdateMessage"));
    data.reference = query.value(QStringLiteral("reference"));
    return Answer::text(ImportData::render(*r, data));
}

Answer ReportActions::findPending(const FormQuery& query)
{
    const Caller who = caller(query);
    if (!who.account)
        return Answer::text(QString());
    const OrderForm order(query);
    const Report* r = m_state.findPending(who.account->userName, order.key());
    return Answer::text(r ? r->id : QString());
}
