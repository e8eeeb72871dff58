#include "service/basAccountRefresh.h"

#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "service/ParamBlock.h"
#include "service/basActions.h"
#include "service/basAnswer.h"

namespace {

QList<Prefetch::Read> refreshReads(bool withDepartment, const QString& user, const QString& department,
                                   const std::function<void(const QString&)>& departmentAnswered)
{
    QList<Prefetch::Read> reads;
    for (const RefreshStep& step : AccountRefreshSteps()) {
        if (step.sendsDepartment != withDepartment)
            continue;
        Prefetch::Read read{QString::fromLatin1(step.name), QString::fromLatin1(step.action),
                            AccountRefreshBlock(step, user, department)};
        if (IsRefreshOf(step, "GETDEPARTMENTID"))
            read.answered = departmentAnswered;
        reads << read;
    }
    return reads;
}

} // namespace

const QList<RefreshStep>& AccountRefreshSteps()
{
    static const QList<RefreshStep> steps = {
        {LoginByReference, "LoginByReference", "LOGINBYREFERENCE", false},
        {RequestBureauRights, "RequestBureauRights", "REQUESTBUREAURIGHTS", false},
        {GetDepartmentID, "GetDepartmentID", "GETDEPARTMENTID", false},
        {GetSupplementPage, "GetSupplementPage", "GETSUPPLEMENTPAGE", true},
        {GetRMCRPage, "GetRMCRPage", "GETRMCRPAGE", true},
        {GetSummaryPage, "GetSummaryPage", "GETSUMMARYPAGE", true},
        {CheckMessages, "CheckMessages", "CHECKMESSAGES", true},
        {GetAbout, "GetAbout", "GETABOUT", true},
        {GetReportListPage, "GetReportListPage", "GETREPORTLISTPAGE", true},
        {GetChangePasswordRights, "GetChangePasswordRights", "CHANGEPASSWORDRIGHTS", true},
    };
    return steps;
}

bool IsRefreshOf(const RefreshStep& step, const char* action)
{
    return qstrcmp(step.action, action) == 0;
}

QString AccountRefreshBlock(const RefreshStep& step, const QString& user, const QString& department)
{
    ParamBlock block(QString::fromLatin1(step.action));
    block.add(QStringLiteral("USER"), user);
    if (step.sendsDepartment)
        block.add(QStringLiteral("DEPARTMENTID"), department);
    return block.text();
}

void PrefetchAccountRefresh()
{
    const QString user = Props().UserName();
    // The step stores the answer without blanks at its ends and then sends that.
    const auto departmentAnswered = [user](const QString& answer) {
        Prefetch::Send(refreshReads(true, user, Answer::TrimBlanks(answer), {}));
    };
    Prefetch::Send(refreshReads(false, user, QString(), departmentAnswered));
    if (!Props().DepartmentID().isEmpty())
        PrefetchDepartmentReads();
}

void PrefetchDepartmentReads()
{
    Prefetch::Send(refreshReads(true, Props().UserName(), Props().DepartmentID(), {}));
}

QString DateRequestedBlock(const QString& reportID)
{
    return ParamBlock(QStringLiteral("DATEREQUESTED")).add(QStringLiteral("RID"), reportID).text();
}

QString ReportStatusBlock(const QString& reportID)
{
    return ParamBlock(QStringLiteral("GETREPORTSTATUS")).add(QStringLiteral("RID"), reportID).text();
}
