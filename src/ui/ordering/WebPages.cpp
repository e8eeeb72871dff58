#include "ui/ordering/WebPages.h"

#include "core/CharRoutines.h"
#include "core/clsProperties.h"
#include "service/basUrl.h"

#include <QUrl>

namespace WebPages {

QString WithSeparator(const QString& base)
{
    if (!base.contains(QLatin1Char('?')))
        return base + QLatin1Char('?');
    return base.endsWith(QLatin1Char('?')) ? base : base + QLatin1Char('&');
}

QString LoanPage(const QString& base, bool fromRmcr, const QString& userName, const QString& companyId,
                 const QString& reportId, const LoanOnScreen& loan)
{
    QString address = WithSeparator(base);
    address += fromRmcr ? QStringLiteral("From=RMCR&Username=") : QStringLiteral("Username=");
    address += userName + QStringLiteral("&Companyid=") + companyId + QStringLiteral("&RID=") + reportId;
    address += QStringLiteral("&BorSSN=") + DigitsOnly(loan.borSSN);
    address += QStringLiteral("&BorFirstname=") + EncodeUrlValue(loan.borFirst);
    address += QStringLiteral("&BorLastname=") + EncodeUrlValue(loan.borLast);
    address += QStringLiteral("&BorMiddle=") + EncodeUrlValue(loan.borMiddle);
    address += QStringLiteral("&BorSuffix=") + EncodeUrlValue(loan.borSuffix);
    if (loan.hasCoBorrower) {
        address += QStringLiteral("&CoSSN=") + DigitsOnly(loan.coSSN);
        address += QStringLiteral("&CoFirstname=") + EncodeUrlValue(loan.coFirst);
        address += QStringLiteral("&CoLastname=") + EncodeUrlValue(loan.coLast);
        address += QStringLiteral("&CoMiddle=") + EncodeUrlValue(loan.coMiddle);
        address += QStringLiteral("&CoSuffix=") + EncodeUrlValue(loan.coSuffix);
    }
    return address;
}

QString ReportList(const QString& clientWebsite, const QString& reportListPage)
{
    QString address = WithHttpsScheme(clientWebsite);
    if (!reportListPage.startsWith(QLatin1Char('/')) && !address.endsWith(QLatin1Char('/')))
        address += QLatin1Char('/');
    return address + reportListPage;
}

} // namespace WebPages
