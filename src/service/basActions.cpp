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
bool storeTrimmed(const char* operation, const char* action, const QString& block, QString& answer,
                  void (clsProperties::*setter)(const QString&))
{
    return ServiceAction(QString::fromLatin1(operation), QString::fromLatin1(action))
        .run(block, answer, [setter](QString& a) { (Props().*setter)(Answer::TrimBlanks(a)); });
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

} // namespace

bool CheckPasswordExpired(const QString& block, QString& answer)
{
    return ServiceAction(QStringLiteral("CheckPasswordExpired"), QStringLiteral("PASSWORDEXPIRED"))
        .run(block, answer, [](QString& a) {
            if (a.isEmpty() || !Answer::TruthValue(a))
                return;
            if (const auto& show = WindowHooks::ShowChangePassword())
                show(false);
        });
}

bool CheckForNewerVersion(const QString& block, QString& answer)
{
    return ServiceAction(QStringLiteral("CheckForNewerVersion"), QStringLiteral("NEWERVERSION"))
        .run(block, answer, [](QString& a) {
            if (a.isEmpty())
                return;
            const QString address = EncodedWebAddress(a.trimmed());
            if (address.isEmpty())
                throw AppError(5,
                               QStringLiteral("The download address is not a well-formed http or https address, "
                                              "so it is not opened: ")
                                   + a);
            offerDownload(address);
        });
}

bool CheckCrossCompanyReissue(const QString& block, QString& answer)
{
    return ServiceAction(QStringLiteral("CheckCrossCompanyReissue"), QStringLiteral("CROSS_COMPANY_REISSUE"))
        .run(block, answer, [](QString& a) { Props().setCrossCompanyReissue(!a.isEmpty()); });
}

bool CheckMessages(const QString& block, QString& answer)
{
    return ServiceAction(QStringLiteral("CheckMessages"), QStringLiteral("CHECKMESSAGES")).run(block, answer);
}

bool GetAbout(const QString& block, QString& answer)
{
    return ServiceAction(QStringLiteral("GetAbout"), QStringLiteral("GETABOUT")).run(block, answer, [](QString& a) {
        ReadAboutAnswer(a);
    });
}

void ReadAboutAnswer(const QString& answer)
{
    const QStringList parts = answer.split(QStringLiteral("||"));
    Props().setPhoneNumber(Answer::At(parts, 0));
    Props().setSupportEmail(Answer::At(parts, 1));
    Props().setPasswordSpecs(Answer::At(parts, 2));
}

bool GetChangePasswordRights(const QString& block, QString& answer)
{
    return ServiceAction(QStringLiteral("GetChangePasswordRights"), QStringLiteral("CHANGEPASSWORDRIGHTS"))
        .run(block, answer, [](QString& a) { Props().setCanChangePassword(a.isEmpty() || Answer::TruthValue(a)); });
}

bool GetReportListPage(const QString& block, QString& answer)
{
    return ServiceAction(QStringLiteral("GetReportListPage"), QStringLiteral("GETREPORTLISTPAGE"))
        .run(block, answer,
             [](QString& a) { Props().setReportListPage(a.isEmpty() ? QStringLiteral("/ReportList.asp") : a); });
}

bool GetDateRequested(const QString& block, QString& answer)
{
    return ServiceAction(QStringLiteral("GetDateRequested"), QStringLiteral("DATEREQUESTED")).run(block, answer);
}

bool GetSupplementPage(const QString& block, QString& answer)
{
    return storeTrimmed("GetSupplementPage", "GETSUPPLEMENTPAGE", block, answer, &clsProperties::setSuppPageLink);
}

bool GetSummaryPage(const QString& block, QString& answer)
{
    return storeTrimmed("GetSummaryPage", "GETSUMMARYPAGE", block, answer, &clsProperties::setSummaryPageLink);
}

bool GetRMCRPage(const QString& block, QString& answer)
{
    return storeTrimmed("GetRMCRPage", "GETRMCRPAGE", block, answer, &clsProperties::setRMCRPageLink);
}

bool GetDepartmentID(const QString& block, QString& answer)
{
    return storeTrimmed("GetDepartmentID", "GETDEPARTMENTID", block, answer, &clsProperties::setDepartmentID);
}

bool RequestBureauRights(const QString& block, QString& answer)
{
    return ServiceAction(QStringLiteral("RequestBureauRights"), QStringLiteral("REQUESTBUREAURIGHTS"))
        .run(block, answer, [](QString& a) {
            Props().setbEFQ_Right(!a.contains(QLatin1String("EFQ0")));
            Props().setbEXP_Right(!a.contains(QLatin1String("EXP0")));
            Props().setbTU_Right(!a.contains(QLatin1String("TU0")));
        });
}

bool GetReportStatus(const QString& block, QString& answer)
{
    return ServiceAction(QStringLiteral("GetReportStatus"), QStringLiteral("GETREPORTSTATUS")).run(block, answer);
}

bool UpdateLOSVersion(const QString& block, QString& answer)
{
    return ServiceAction(QStringLiteral("UpdateLOSVersion"), QStringLiteral("UPDATELOSVERSION"))
        .inOutInfo()
        .atMostOnce()
        .run(block, answer, [](QString& a) {
            if (!a.isEmpty())
                throw AppError(ErrNo::Silent, a);
        });
}
