#include "ui/ordering/WebPages.h"

#include "core/CharRoutines.h"
#include "core/clsProperties.h"
#include "service/basUrl.h"

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
    address += fromRmcr ? QStringLiteral("From=RMCR&") : QString();
    const auto add = [&address](const char* name, const QString& value) {
        address += QLatin1String(name) + EncodeUrlValue(value);
    };
    add("Username=", userName);
    add("&Companyid=", companyId);
    add("&RID=", reportId);
    add("&BorSSN=", DigitsOnly(loan.borSSN));
    add("&BorFirstname=", loan.borFirst);
    add("&BorLastname=", loan.borLast);
    add("&BorMiddle=", loan.borMiddle);
    add("&BorSuffix=", loan.borSuffix);
    if (loan.hasCoBorrower) {
        add("&CoSSN=", DigitsOnly(loan.coSSN));
        add("&CoFirstname=", loan.coFirst);
        add("&CoLastname=", loan.coLast);
        add("&CoMiddle=", loan.coMiddle);
        add("&CoSuffix=", loan.coSuffix);
    }
    return address;
}

QString SummaryPage(const QString& base, const QString& reportId)
{
    return base + EncodeUrlValue(reportId);
}

QString ReportList(const QString& clientWebsite, const QString& reportListPage)
{
    QString address = WithHttpsScheme(clientWebsite);
    if (!reportListPage.startsWith(QLatin1Char('/')) && !address.endsWith(QLatin1Char('/')))
        address += QLatin1Char('/');
    return address + reportListPage;
}

} // namespace WebPages
