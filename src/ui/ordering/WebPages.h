#pragma once

#include <QString>

// What the vendor's web pages are told about the loan on screen (trimmed text box values).
struct LoanOnScreen {
    QString borSSN, borFirst, borLast, borMiddle, borSuffix;
    bool hasCoBorrower = false;
    QString coSSN, coFirst, coLast, coMiddle, coSuffix;
};

// Addresses of the vendor's web pages opened from the main window.
namespace WebPages {

// Appends the query separator: "&" to a base holding "?" (nothing when it ends with "?"),
// "?" otherwise.
QString WithSeparator(const QString& base);

// Convert RMCR (fromRmcr) or Supplement page for the loan. Every value is encoded
// (EncodeUrlValue: "%XX" for blanks, reserved and non-ASCII bytes), so no value can add a
// field or end the address; SSNs keep only their digits.
QString LoanPage(const QString& base, bool fromRmcr, const QString& userName, const QString& companyId,
                 const QString& reportId, const LoanOnScreen& loan);

// The report summary page: base (BaseUrl and the server's link) followed by the report ID,
// form-encoded.
QString SummaryPage(const QString& base, const QString& reportId);

// The report list page at the vendor's web site.
QString ReportList(const QString& clientWebsite, const QString& reportListPage);

} // namespace WebPages
