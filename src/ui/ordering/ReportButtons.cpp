#include "ui/ordering/ReportButtons.h"

#include "service/clsReportStatus.h"
#include "ui/ordering/LoanSession.h"

namespace {

bool allFinished(const clsReportStatus& st)
{
    return st.nStatusEXP() == 4 && st.nStatusEFX() == 4 && st.nStatusTU() == 4;
}

bool bureauMissing(const clsReportStatus& st)
{
    return st.nStatusEXP() == 0 || st.nStatusEFX() == 0 || st.nStatusTU() == 0;
}

} // namespace

QMap<MainButton, ButtonState> ReportButtons(const LoanSession& session, const QString& reissueNumber)
{
    const QString id = session.reportId();
    const auto status = session.reportStatus();
    const bool failed = session.ExistingReportID() == QLatin1String("ERROR");
    const bool present = !id.isEmpty() && !failed;
    const bool pending = status && status->nStatusReport() == 64;
    // Found through a reissue number: the report belongs to another company's order.
    const bool ownReport = present && reissueNumber.isEmpty();
    const bool newPull = session.NextOrderKind() == PullNew;

    QMap<MainButton, ButtonState> states;
    states[MainButton::cmdRepull] = {!failed && !pending && !(present && !reissueNumber.isEmpty()),
                                     newPull ? QStringLiteral("&Pull Credit") : QStringLiteral("&Repull"),
                                     newPull ? QStringLiteral("Pull New Credit Report")
                                             : QStringLiteral("Repull Previously Pulled Report")};
    states[MainButton::cmdAddBureau] = {ownReport && status && bureauMissing(*status) && session.pullType() != PullNew
                                            && !pending,
                                        QStringLiteral("&Add Bureau"), QStringLiteral("Add Bureau to Existing Report")};
    states[MainButton::cmdView] = {present && !pending, QStringLiteral("&View"), QStringLiteral("View PDF Report")};
    states[MainButton::cmdPrint] = {present && !pending, QStringLiteral("&Print"),
                                    QStringLiteral("Send PDF Report to Printer")};
    states[MainButton::cmdImport] = {present, QStringLiteral("&Import"), QStringLiteral("Import Liabilities")};
    states[MainButton::cmdRMCR] = {ownReport && status && allFinished(*status) && !pending,
                                   QStringLiteral("C&onvert RMCR"), QStringLiteral("Convert 3 Bureau Merge to RMCR")};
    states[MainButton::cmdWeb] = {present && !pending, QStringLiteral("Hide/Split/Join"),
                                  QStringLiteral("Hide/Split/Join")};
    states[MainButton::cmdRequestSupp] = {ownReport && id.toUpper() != QLatin1String("ERROR"),
                                          QStringLiteral("&Supplement"), QStringLiteral("Request Customer Service")};
    if (session.requestRunning())
        for (ButtonState& state : states)
            state.enabled = false;
    // An order in progress (also one waiting in the background) must not be joined by another,
    // and its report is not there to be read yet.
    if (session.orderRunning()) {
        for (const MainButton button : {MainButton::cmdRepull, MainButton::cmdAddBureau, MainButton::cmdView,
                                        MainButton::cmdPrint, MainButton::cmdImport}) {
            states[button].enabled = false;
            states[button].tooltip = QStringLiteral("An order is in progress");
        }
    }
    return states;
}
