#include "AccountActions.h"

#include "FormQuery.h"
#include "PasswordPolicy.h"
#include "VendorState.h"
#include "WebPages.h"

#include <QVersionNumber>

namespace {

const QString unknownUser = QStringLiteral("Unknown user.");

} // namespace

AccountActions::AccountActions(VendorState& state, const QString& serverBase) : m_state(state), m_serverBase(serverBase)
{
    m_handlers = {
        {QStringLiteral("PASSWORDEXPIRED"), &AccountActions::passwordExpired},
        {QStringLiteral("NEWERVERSION"), &AccountActions::newerVersion},
        {QStringLiteral("CROSS_COMPANY_REISSUE"), &AccountActions::crossCompanyReissue},
        {QStringLiteral("CHECKMESSAGES"), &AccountActions::checkMessages},
        {QStringLiteral("GETABOUT"), &AccountActions::getAbout},
        {QStringLiteral("CHANGEPASSWORDRIGHTS"), &AccountActions::changePasswordRights},
        {QStringLiteral("GETREPORTLISTPAGE"), &AccountActions::reportListPage},
        {QStringLiteral("VALIDATECREDENTIALS"), &AccountActions::validateCredentials},
        {QStringLiteral("DATEREQUESTED"), &AccountActions::dateRequested},
        {QStringLiteral("LOGINBYREFERENCE"), &AccountActions::loginByReference},
        {QStringLiteral("GETSUPPLEMENTPAGE"), &AccountActions::supplementPage},
        {QStringLiteral("GETSUMMARYPAGE"), &AccountActions::summaryPage},
        {QStringLiteral("GETRMCRPAGE"), &AccountActions::rmcrPage},
        {QStringLiteral("GETDEPARTMENTID"), &AccountActions::departmentId},
        {QStringLiteral("REQUESTBUREAURIGHTS"), &AccountActions::bureauRights},
        {QStringLiteral("GETREPORTSTATUS"), &AccountActions::reportStatus},
        {QStringLiteral("UPDATELOSVERSION"), &AccountActions::updateLosVersion},
        {QStringLiteral("CHANGEPASSWORD"), &AccountActions::changePassword},
        {QStringLiteral("GETCONTACTINFO"), &AccountActions::getContactInfo},
        {QStringLiteral("UPDATECONTACTINFO"), &AccountActions::updateContactInfo},
    };
}

std::optional<Answer> AccountActions::handle(const QString& action, const FormQuery& query)
{
    const auto it = m_handlers.constFind(action.toUpper());
    if (it == m_handlers.constEnd())
        return std::nullopt;
    return (this->*(it.value()))(query);
}

Account* AccountActions::user(const FormQuery& q)
{
    return m_state.account(q.value(QStringLiteral("USER")));
}

Answer AccountActions::truth(bool value)
{
    return Answer::text(value ? QStringLiteral("True") : QStringLiteral("False"));
}

// An unknown user gets a text that is no truth value, which the client reports as a failure.
Answer AccountActions::passwordExpired(const FormQuery& q)
{
    const Account* a = user(q);
    return a ? truth(a->passwordExpired) : Answer::text(unknownUser);
}

Answer AccountActions::newerVersion(const FormQuery& q)
{
    const QVersionNumber latest = QVersionNumber::fromString(m_state.knobs.latestVersion);
    const QVersionNumber client = QVersionNumber::fromString(q.value(QStringLiteral("APPVERSION")));
    if (QVersionNumber::compare(client, latest) >= 0)
        return Answer::text(QString());
    const QString path = m_state.knobs.downloadPath;
    return Answer::text(path.startsWith(QLatin1String("http"), Qt::CaseInsensitive) ? path : m_serverBase + path);
}

Answer AccountActions::crossCompanyReissue(const FormQuery& q)
{
    const Account* a = user(q);
    return Answer::text(a && a->crossCompanyReissue ? QStringLiteral("TRUE") : QString());
}

Answer AccountActions::checkMessages(const FormQuery& q)
{
    const Account* a = user(q);
    return Answer::text(a && a->newsUnread ? WebPages::newsPath() : QString());
}

Answer AccountActions::getAbout(const FormQuery&)
{
    return Answer::text(m_state.knobs.supportPhone + QStringLiteral("||") + m_state.knobs.supportEmail
                        + QStringLiteral("||") + PasswordPolicy::description());
}

Answer AccountActions::changePasswordRights(const FormQuery& q)
{
    const Account* a = user(q);
    return truth(a && a->canChangePassword);
}

Answer AccountActions::reportListPage(const FormQuery&)
{
    return Answer::text(WebPages::reportListPath());
}

Answer AccountActions::validateCredentials(const FormQuery& q)
{
    if (m_state.authenticate(q.value(QStringLiteral("USER")), q.value(QStringLiteral("PASSWORD"))))
        return Answer::text(QString());
    return Answer::text(QStringLiteral("Invalid user name or password."));
}

Answer AccountActions::dateRequested(const FormQuery& q)
{
    const Report* r = m_state.report(q.value(QStringLiteral("RID")));
    return Answer::text(r ? r->requested.toString(QStringLiteral("MM/dd/yyyy")) : QString());
}

// Records of "display name*user name*password" separated by "|": the client logs in as the
// chosen user when ordering on their behalf.
Answer AccountActions::loginByReference(const FormQuery& q)
{
    const Account* a = user(q);
    if (!a)
        return Answer::text(QString());
    QStringList records;
    for (const QString& name : a->loginByReference) {
        if (const Account* other = m_state.account(name))
            records.append(other->longName + QLatin1Char('*') + other->userName + QLatin1Char('*') + other->password);
    }
    return Answer::text(records.join(QLatin1Char('|')));
}

Answer AccountActions::supplementPage(const FormQuery&)
{
    return Answer::text(WebPages::supplementPath());
}

Answer AccountActions::summaryPage(const FormQuery&)
{
    return Answer::text(WebPages::summaryLink());
}

Answer AccountActions::rmcrPage(const FormQuery&)
{
    return Answer::text(WebPages::rmcrPath());
}

Answer AccountActions::departmentId(const FormQuery& q)
{
    const Account* a = user(q);
    return Answer::text(a ? a->department : QString());
}

// A bureau the user may not order is marked with its token ending in 0; the others end in 1.
Answer AccountActions::bureauRights(const FormQuery& q)
{
    const Account* a = user(q);
    const auto token = [a](const char* name, Bureau b) {
        return QString::fromLatin1(name) + (a && a->bureauRights[b] ? QLatin1Char('1') : QLatin1Char('0'));
    };
    return Answer::text(
        QStringList{token("EFQ", Equifax), token("EXP", Experian), token("TU", TransUnion)}.join(QLatin1Char(' ')));
}

Answer AccountActions::reportStatus(const FormQuery& q)
{
    const Report* r = m_state.report(q.value(QStringLiteral("RID")));
    return Answer::text(r ? QString::number(r->overallStatus) : QString());
}

Answer AccountActions::updateLosVersion(const FormQuery& q)
{
    Report* r = m_state.report(q.value(QStringLiteral("guid")));
    if (!r)
        return Answer::text(QStringLiteral("Unknown request."));
    const QString version = q.value(QStringLiteral("LOSVersion")).trimmed();
    if (QVersionNumber::fromString(version).isNull())
        return Answer::text(QStringLiteral("Invalid version."));
    r->losVersion = version;
    return Answer::text(QString());
}

Answer AccountActions::changePassword(const FormQuery& q)
{
    Account* a = user(q);
    if (!a)
        return Answer::text(unknownUser);
    if (!a->canChangePassword)
        return Answer::text(QStringLiteral("Password changes are not permitted for this account."));
    if (q.value(QStringLiteral("OLDPASS")) != a->password)
        return Answer::text(QStringLiteral("The existing password is not correct."));
    const QString newPassword = q.value(QStringLiteral("NEWPASS"));
    if (newPassword == a->password)
        return Answer::text(QStringLiteral("The new password must differ from the existing password."));
    const QString broken = PasswordPolicy::violation(newPassword);
    if (!broken.isEmpty())
        return Answer::text(broken);
    a->password = newPassword;
    a->passwordExpired = false;
    return Answer::text(QStringLiteral("PASSWORDCHANGED"));
}

// Telephone, extension, e-mail. The company is not checked because the client has no way to learn
// it and sends it empty.
Answer AccountActions::getContactInfo(const FormQuery& q)
{
    const Account* a = user(q);
    if (!a)
        return Answer::text(QString());
    return Answer::text(a->phone + QStringLiteral("||") + a->extension + QStringLiteral("||") + a->email);
}

Answer AccountActions::updateContactInfo(const FormQuery& q)
{
    Account* a = user(q);
    if (!a)
        return Answer::text(unknownUser);
    const QString department = q.value(QStringLiteral("DEPARTMENTID"));
    if (!department.isEmpty() && department.compare(a->department, Qt::CaseInsensitive) != 0)
        return Answer::text(QStringLiteral("Department does not match this user."));
    const QString email = q.value(QStringLiteral("NEWEMAIL")).trimmed();
    if (!email.isEmpty() && !email.contains(QLatin1Char('@')))
        return Answer::text(QStringLiteral("Invalid e-mail address."));
    a->phone = q.value(QStringLiteral("NEWPHONE")).trimmed();
    a->extension = q.value(QStringLiteral("NEWEXT")).trimmed();
    a->email = email;
    return Answer::text(QStringLiteral("CONTACTINFOCHANGED"));
}
