#pragma once

#include "Answer.h"

#include <QString>

class FormQuery;
class VendorState;

// The vendor's browser pages that the client opens with loan data in the address. Each page shows
// every query value it received (HTML-escaped), so a user or a test can see what arrived.
class WebPages
{
public:
    // Paths the page-link actions answer; the summary link ends so that the report ID can be
    // appended directly.
    static QString reportListPath() { return QStringLiteral("/ReportList.asp"); }
    static QString supplementPath() { return QStringLiteral("/web/Supplement.asp"); }
    static QString rmcrPath() { return QStringLiteral("/web/RMCR.asp"); }
    static QString summaryLink() { return QStringLiteral("/web/Summary.asp?RID="); }
    static QString newsPath() { return QStringLiteral("/web/NewsBurst.asp"); }

    explicit WebPages(VendorState& state) : m_state(state) {}

    // The page for this path, or a 404 answer.
    Answer serve(const QString& path, const FormQuery& query);

    static bool isPagePath(const QString& path);

private:
    Answer reportList(const FormQuery& query);
    Answer summary(const FormQuery& query);
    Answer news(const FormQuery& query);
    Answer download(const QString& path, const FormQuery& query);
    static QString page(const QString& title, const QString& bodyHtml, const FormQuery& query);
    static QString receivedTable(const FormQuery& query);

    VendorState& m_state;
};
