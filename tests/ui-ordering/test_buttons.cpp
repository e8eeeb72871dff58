#include "OrderingKit.h"
#include "ui/ordering/ReportButtons.h"

namespace {

struct ButtonRow {
    int check; // what the check found
    QString reportId;
    QList<qint16> statuses; // EXP, EFX, TU, overall; empty: no status record
    int pullType;           // the kind of the last order
    QString disabled;       // sorted, without "cmd"
};

} // namespace

Q_DECLARE_METATYPE(ButtonRow)

// The report buttons' one rule, row by row.
void OrderingTests::buttonRules_data()
{
    QTest::addColumn<ButtonRow>("row");
    const auto add = [](const char* name, int check, const QString& id, const QList<qint16>& statuses, int pullType,
                        const QString& disabled) {
        QTest::newRow(name) << ButtonRow{check, id, statuses, pullType, disabled};
    };
    // (The states the check brings about are read on the main window by the outcomes test.)
    add("a bureau missing, last a new pull", ReportNotFound, "G-1", {4, 0, 4, 0}, 1, "AddBureau RMCR");
    add("RMCR pending, bureau missing", ReportFound, "G-1", {0, 4, 4, 64}, 2, "AddBureau Print RMCR Repull View Web");
    add("ID reads error", ReportFound, "error", {4, 4, 1, 0}, 2, "AddBureau RMCR RequestSupp");
    add("no status record", ReportFound, "G-1", {}, 2, "AddBureau RMCR");
    add("order placed after none found", ReportNotFound, "NEW-GUID", {4, 4, 4, 0}, 2, "AddBureau");
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
    const auto states = ReportButtons(session, QString()); // (the reissue number's rows: the outcomes test)
    QStringList off;
    for (auto it = states.cbegin(); it != states.cend(); ++it)
        if (!it.value().enabled)
            off << ButtonName(it.key()).mid(3);
    off.sort();
    QCOMPARE(off.join(' '), row.disabled);
}
