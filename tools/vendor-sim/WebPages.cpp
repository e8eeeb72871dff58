#include "WebPages.h"

#include "FormQuery.h"
#include "StandInCredit.h"
#include "VendorState.h"

namespace {

QString esc(const QString& text)
{
    return text.toHtmlEscaped();
}

QString applicantLine(const Applicant& p)
{
    return esc(QStringLiteral("%1 %2 %3 %4 (SSN ending %5)")
                   .arg(p.firstName, p.middleName, p.lastName, p.suffix, p.ssn.right(4))
                   .simplified());
}

} // namespace

bool WebPages::isPagePath(const QString& path)
{
    return path.compare(reportListPath(), Qt::CaseInsensitive) == 0
        || path.startsWith(QLatin1String("/web/"), Qt::CaseInsensitive)
        || path.startsWith(QLatin1String("/downloads/"), Qt::CaseInsensitive);
}

Answer WebPages::serve(const QString& path, const FormQuery& query)
{
    if (path.compare(reportListPath(), Qt::CaseInsensitive) == 0)
        return reportList(query);
    if (path.compare(supplementPath(), Qt::CaseInsensitive) == 0)
        return Answer::html(page(QStringLiteral("Request a Supplement"),
                                 QStringLiteral("<p>Customer service will contact you about this report.</p>"), query));
    if (path.compare(rmcrPath(), Qt::CaseInsensitive) == 0)
        return Answer::html(page(QStringLiteral("Convert to RMCR"),
                                 QStringLiteral("<p>Your RMCR conversion request form.</p>"), query));
    if (path.compare(QStringLiteral("/web/Summary.asp"), Qt::CaseInsensitive) == 0)
        return summary(query);
    if (path.compare(newsPath(), Qt::CaseInsensitive) == 0)
        return news(query);
    if (path.startsWith(QLatin1String("/downloads/"), Qt::CaseInsensitive))
        return download(path, query);
    return Answer::error(404, QStringLiteral("No such page"));
}

Answer WebPages::reportList(const FormQuery& query)
{
    const QString user = query.value(QStringLiteral("username"));
    const Account* account = m_state.account(user);
    if (!account)
        return Answer::html(
            page(QStringLiteral("Report List"), QStringLiteral("<p>Sign in to see your reports.</p>"), query));
    QString rows;
    for (const auto& r : m_state.reports()) {
        if (!m_state.canSee(*r, *account))
            continue;
        rows +=
            QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>\n")
                .arg(esc(r->requested.toString(QStringLiteral("MM/dd/yyyy"))), applicantLine(r->borrower), esc(r->id));
    }
    return Answer::html(
        page(QStringLiteral("Report List"), QStringLiteral("<table id=\"reports\">\n%1</table>").arg(rows), query));
}

Answer WebPages::summary(const FormQuery& query)
{
    const Report* r = m_state.report(query.value(QStringLiteral("RID")));
    if (!r)
        return Answer::html(page(QStringLiteral("Report Summary"), QStringLiteral("<p>Report not found.</p>"), query));
    QString body = QStringLiteral("<p>Borrower: %1</p>\n").arg(applicantLine(r->borrower));
    if (r->joint)
        body += QStringLiteral("<p>Co-borrower: %1</p>\n").arg(applicantLine(r->coBorrower));
    for (int b = 0; b < BureauCount; ++b) {
        body +=
            QStringLiteral("<p>%1: status %2</p>\n").arg(StandInCredit::bureauName(Bureau(b))).arg(r->finalStatus[b]);
    }
    return Answer::html(page(QStringLiteral("Report Summary"), body, query));
}

// Reading the news marks it as read for that user, so the client stops popping it up.
Answer WebPages::news(const FormQuery& query)
{
    if (Account* account = m_state.account(query.value(QStringLiteral("username"))))
        account->newsUnread = false;
    return Answer::html(page(QStringLiteral("News"),
                             QStringLiteral("<p>Scheduled maintenance this Sunday, 02:00 to 04:00.</p>"), query));
}

Answer WebPages::download(const QString& path, const FormQuery& query)
{
    return Answer::html(page(QStringLiteral("Download"),
                             QStringLiteral("<p>The installer %1 would be downloaded here (stand-in server).</p>")
                                 .arg(esc(path.section(QLatin1Char('/'), -1))),
                             query));
}

QString WebPages::page(const QString& title, const QString& bodyHtml, const FormQuery& query)
{
    return QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1</title></head>\n"
                          "<body>\n<h1>%1</h1>\n%2\n<h2>Received</h2>\n%3</body></html>\n")
        .arg(esc(title), bodyHtml, receivedTable(query));
}

QString WebPages::receivedTable(const FormQuery& query)
{
    QString rows;
    for (const auto& field : query.fields()) {
        rows += QStringLiteral("<tr><th>%1</th><td>%2</td></tr>\n").arg(esc(field.first), esc(field.second));
    }
    return QStringLiteral("<table id=\"received\">\n%1</table>\n").arg(rows);
}
