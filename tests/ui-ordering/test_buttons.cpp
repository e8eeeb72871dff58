#include "OrderingKit.h"
#include "ui/ordering/ReportButtons.h"

namespace {

struct ButtonRow {
    int check;                // what the check found
    QString reportId;
    QList<qint16> statuses;   // EXP, EFX, TU, overall; empty: no status record
    int pullType;             // the kind of the last order
    QString reissue;          // the reissue number typed
    QString disabled;         // sorted, without "cmd"
    bool pullCredit;          // Repull reads "&Pull Credit"
};

} // namespace

Q_DECLARE_METATYPE(ButtonRow)

// The report buttons' one rule, row by row.
void OrderingTests::buttonRules_data()
{
    QTest::addColumn<ButtonRow>("row");
    const QString all = "AddBureau Import Print RMCR Repull RequestSupp View Web";
    const QString pending = "AddBureau Print RMCR Repull View Web";
    const QString guid = "G-1";
    QTest::newRow("no report") << ButtonRow{ReportNotFound, "", {0, 0, 0, 0}, 1, "", "AddBureau Import Print RMCR RequestSupp View Web", true};
    // A failed check, even one with no ID yet, never offers a new pull.
    QTest::newRow("failed before the search") << ButtonRow{ReportSearchError, "", {}, 0, "", all, false};
    QTest::newRow("found by reissue") << ButtonRow{ReportFound, guid, {4, 4, 4, 0}, 2, "R77", "AddBureau RMCR Repull RequestSupp", false};
    QTest::newRow("all bureaus finished") << ButtonRow{ReportFoundOld, guid, {4, 4, 4, 0}, 2, "", "AddBureau", false};
    QTest::newRow("one bureau still running") << ButtonRow{ReportFound, guid, {4, 4, 1, 0}, 2, "", "AddBureau RMCR", false};
    QTest::newRow("a bureau missing") << ButtonRow{ReportFound, guid, {4, 0, 4, 0}, 2, "", "RMCR", false};
    QTest::newRow("a bureau missing, last a new pull") << ButtonRow{ReportNotFound, guid, {4, 0, 4, 0}, 1, "", "AddBureau RMCR", false};
    QTest::newRow("RMCR pending") << ButtonRow{ReportFound, guid, {4, 4, 4, 64}, 2, "", pending, false};
    QTest::newRow("RMCR pending, bureau missing") << ButtonRow{ReportFound, guid, {0, 4, 4, 64}, 2, "", pending, false};
    QTest::newRow("ID reads error") << ButtonRow{ReportFound, "error", {4, 4, 1, 0}, 2, "", "AddBureau RMCR RequestSupp", false};
    QTest::newRow("no status record") << ButtonRow{ReportFound, guid, {}, 2, "", "AddBureau RMCR", false};
    QTest::newRow("order placed after none found") << ButtonRow{ReportNotFound, "NEW-GUID", {4, 4, 4, 0}, 2, "", "AddBureau", false};
}

void OrderingTests::buttonRules()
{
    QFETCH(ButtonRow, row);
    LoanSession session;
    session.setCheckResult(row.check);
    session.setReportId(row.reportId);
    session.setPullType(row.pullType);
    if (!row.statuses.isEmpty()) {
        auto record = std::make_shared<clsReportStatus>();
        record->setnStatusEXP(row.statuses[0]);
        record->setnStatusEFX(row.statuses[1]);
        record->setnStatusTU(row.statuses[2]);
        record->setnStatusReport(row.statuses[3]);
        session.setReportStatus(record);
    }
    const auto states = ReportButtons(session, row.reissue);
    QStringList off;
    for (auto it = states.cbegin(); it != states.cend(); ++it)
        if (!it.value().enabled)
            off << ButtonName(it.key()).mid(3);
    off.sort();
    QCOMPARE(off.join(' '), row.disabled);
    const ButtonState repull = states.value(MainButton::cmdRepull);
    QCOMPARE(repull.caption + "|" + repull.tooltip, row.pullCredit ? QString("&Pull Credit|Pull New Credit Report")
                                                                   : QString("&Repull|Repull Previously Pulled Report"));
}
