#include "service/basActions.h"

#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/basShell.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/Shell.h"
#include "platform/WebAddress.h"
#include "service/ServiceAction.h"
#include "service/basAnswer.h"

#include <QUrl>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// A plain account-form action that stores the answer, without blanks at its ends, in a setting.
ServiceOperation storeTrimmed(const char* operation, const char* action, void (clsProperties::*setter)(const QString&))
{
    return {ServiceAction(QString::fromLatin1(operation), QString::fromLatin1(action)),
            [setter](QString& a) { (Props().*setter)(Answer::TrimBlanks(a)); }};
}

void offerDownload(const QString& address)
{
    const QString text = QStringLiteral("There is a newer version of ") + AppPaths::ProgramTitle()
        + QStringLiteral(" available for download and installation.") + kCrLf + kCrLf
        + QStringLiteral("Do you want to download the newer version?");
    if (MsgBox(text, vbYesNo | vbInformation, QStringLiteral("New Version Available at ") + Props().ClientWebsite())
        != vbYes)
        return;
    const int code = TheShell().ShellExecute(QStringLiteral("open"), address, QString(), QString(), SW_SHOWNORMAL);
    if (code <= 32)
        MsgBox(QStringLiteral("There was an error while requesting the download.") + kCrLf + kCrLf
                   + ShellErrorText(code),
               vbCritical, QStringLiteral("Error in CheckForNewerVersion"));
    WindowHooks::RequestEnd();
}

ServiceOperation checkPasswordExpiredOperation()
{
    return {ServiceAction(QStringLiteral("CheckPasswordExpired"), QStringLiteral("PASSWORDEXPIRED")), [](QString& a) {
                if (a.isEmpty() || !Answer::TruthValue(a))
                    return;
                if (const auto& show = WindowHooks::ShowChangePassword())
                    show(false);
            }};
}

ServiceOperation checkForNewerVersionOperation()
{
    return {ServiceAction(QStringLiteral("CheckForNewerVersion"), QStringLiteral("NEWERVERSION")), [](QString& a) {
                if (a.isEmpty())
                    return;
                const QString address = EncodedWebAddress(a.trimmed());
                if (address.isEmpty())
                    throw AppError(5,
                                   QStringLiteral("The download address is not a well-formed http or https address, "
                                                  "so it is not opened: ")
                                       + a);
                offerDownload(address);
            }};
}

ServiceOperation checkCrossCompanyReissueOperation()
{
    return {ServiceAction(QStringLiteral("CheckCrossCompanyReissue"), QStringLiteral("CROSS_COMPANY_REISSUE")),
            [](QString& a) { Props().setCrossCompanyReissue(!a.isEmpty()); }};
}

ServiceOperation checkMessagesOperation()
{
    return {ServiceAction(QStringLiteral("CheckMessages"), QStringLiteral("CHECKMESSAGES"))};
}

ServiceOperation getAboutOperation()
{
    return {ServiceAction(QStringLiteral("GetAbout"), QStringLiteral("GETABOUT")),
            [](QString& a) { ReadAboutAnswer(a); }};
}

ServiceOperation getChangePasswordRightsOperation()
{
    return {ServiceAction(QStringLiteral("GetChangePasswordRights"), QStringLiteral("CHANGEPASSWORDRIGHTS")),
            [](QString& a) { Props().setCanChangePassword(a.isEmpty() || Answer::TruthValue(a)); }};
}

ServiceOperation getReportListPageOperation()
{
    return {ServiceAction(QStringLiteral("GetReportListPage"), QStringLiteral("GETREPORTLISTPAGE")),
            [](QString& a) { Props().setReportListPage(a.isEmpty() ? QStringLiteral("/ReportList.asp") : a); }};
}

ServiceOperation getDateRequestedOperation()
{
    return {ServiceAction(QStringLiteral("GetDateRequested"), QStringLiteral("DATEREQUESTED"))};
}

ServiceOperation getSupplementPageOperation()
{
    return storeTrimmed("GetSupplementPage", "GETSUPPLEMENTPAGE", &clsProperties::setSuppPageLink);
}

ServiceOperation getSummaryPageOperation()
{
    return storeTrimmed("GetSummaryPage", "GETSUMMARYPAGE", &clsProperties::setSummaryPageLink);
}

ServiceOperation getRMCRPageOperation()
{
    return storeTrimmed("GetRMCRPage", "GETRMCRPAGE", &clsProperties::setRMCRPageLink);
}

ServiceOperation getDepartmentIDOperation()
{
    return storeTrimmed("GetDepartmentID", "GETDEPARTMENTID", &clsProperties::setDepartmentID);
}

ServiceOperation requestBureauRightsOperation()
{
    return {ServiceAction(QStringLiteral("RequestBureauRights"), QStringLiteral("REQUESTBUREAURIGHTS")),
            [](QString& a) {
                Props().setbEFQ_Right(!a.contains(QLatin1String("EFQ0")));
                Props().setbEXP_Right(!a.contains(QLatin1String("EXP0")));
                Props().setbTU_Right(!a.contains(QLatin1String("TU0")));
            }};
}

ServiceOperation getReportStatusOperation()
{
    return {ServiceAction(QStringLiteral("GetReportStatus"), QStringLiteral("GETREPORTSTATUS"))};
}

ServiceOperation updateLOSVersionOperation()
{
    return {
        ServiceAction(QStringLiteral("UpdateLOSVersion"), QStringLiteral("UPDATELOSVERSION")).inOutInfo().atMostOnce(),
        [](QString& a) {
            if (!a.isEmpty())
                throw AppError(ErrNo::Silent, a);
        }};
}

} // namespace

void CheckPasswordExpired(const QString& block, QObject* context, ServiceReply done)
{
    checkPasswordExpiredOperation().start(block, context, std::move(done));
}

void CheckForNewerVersion(const QString& block, QObject* context, ServiceReply done)
{
    checkForNewerVersionOperation().start(block, context, std::move(done));
}

void CheckCrossCompanyReissue(const QString& block, QObject* context, ServiceReply done)
{
    checkCrossCompanyReissueOperation().start(block, context, std::move(done));
}

void CheckMessages(const QString& block, QObject* context, ServiceReply done)
{
    checkMessagesOperation().start(block, context, std::move(done));
}

void GetAbout(const QString& block, QObject* context, ServiceReply done)
{
    getAboutOperation().start(block, context, std::move(done));
}

void GetChangePasswordRights(const QString& block, QObject* context, ServiceReply done)
{
    getChangePasswordRightsOperation().start(block, context, std::move(done));
}

void GetReportListPage(const QString& block, QObject* context, ServiceReply done)
{
    getReportListPageOperation().start(block, context, std::move(done));
}

void GetDateRequested(const QString& block, QObject* context, ServiceReply done)
{
    getDateRequestedOperation().start(block, context, std::move(done));
}

void GetSupplementPage(const QString& block, QObject* context, ServiceReply done)
{
    getSupplementPageOperation().start(block, context, std::move(done));
}

void GetReportStatus(const QString& block, QObject* context, ServiceReply done)
{
    getReportStatusOperation().start(block, context, std::move(done));
}

void UpdateLOSVersion(const QString& block, QObject* context, ServiceReply done)
{
    updateLOSVersionOperation().start(block, context, std::move(done));
}

void GetSummaryPage(const QString& block, QObject* context, ServiceReply done)
{
    getSummaryPageOperation().start(block, context, std::move(done));
}

void GetRMCRPage(const QString& block, QObject* context, ServiceReply done)
{
    getRMCRPageOperation().start(block, context, std::move(done));
}

void GetDepartmentID(const QString& block, QObject* context, ServiceReply done)
{
    getDepartmentIDOperation().start(block, context, std::move(done));
}

void RequestBureauRights(const QString& block, QObject* context, ServiceReply done)
{
    requestBureauRightsOperation().start(block, context, std::move(done));
}

void ReadAboutAnswer(const QString& answer)
{
    const QStringList parts = answer.split(QStringLiteral("||"));
    Props().setPhoneNumber(Answer::At(parts, 0));
    Props().setSupportEmail(Answer::At(parts, 1));
    Props().setPasswordSpecs(Answer::At(parts, 2));
}
