#include "service/clsReportStatus.h"
#include "ui/ordering/LoanSession.h"
#include "ui/ordering/ReportButtons.h"

#include <QtTest/QTest>

// The report buttons' one rule, row by row: what the check found, the report ID, the bureau
// statuses, the kind of the last order, the reissue number typed.
class TestReportButtons : public QObject
{
    Q_OBJECT

private slots:
    void rules_data()
    {
        QTest::addColumn<int>("check");
        QTest::addColumn<QString>("reportId");
        QTest::addColumn<QString>("statuses");   // "EXP EFX TU overall", empty for no status record
        QTest::addColumn<int>("pullType");
        QTest::addColumn<QString>("reissue");
        QTest::addColumn<QString>("disabled");   // sorted, without "cmd"
        QTest::addColumn<bool>("pullCredit");    // Repull reads "&Pull Credit"
        const QString all = "AddBureau Import Print RMCR Repull RequestSupp View Web";
        const QString none = "AddBureau Import Print RMCR RequestSupp View Web";
        const QString pending = "AddBureau Print RMCR Repull View Web";
        QTest::newRow("no report") << int(ReportNotFound) << "" << "0 0 0 0" << 1 << "" << none << true;
        // A failed check, even one with no ID yet, never offers a new pull.
        QTest::newRow("failed before the search") << int(ReportSearchError) << "" << "" << 0 << "" << all << false;
        QTest::newRow("found by reissue") << int(ReportFound) << "G-1" << "4 4 4 0" << 2 << "R77"
                                          << "AddBureau RMCR Repull RequestSupp" << false;
        QTest::newRow("all bureaus finished") << int(ReportFoundOld) << "G-1" << "4 4 4 0" << 2 << "" << "AddBureau" << false;
        QTest::newRow("one bureau still running") << int(ReportFound) << "G-1" << "4 4 1 0" << 2 << "" << "AddBureau RMCR" << false;
        QTest::newRow("a bureau missing") << int(ReportFound) << "G-1" << "4 0 4 0" << 2 << "" << "RMCR" << false;
        QTest::newRow("a bureau missing, last a new pull") << int(ReportNotFound) << "G-1" << "4 0 4 0" << 1 << ""
                                                           << "AddBureau RMCR" << false;
        QTest::newRow("RMCR pending") << int(ReportFound) << "G-1" << "4 4 4 64" << 2 << "" << pending << false;
        QTest::newRow("RMCR pending, bureau missing") << int(ReportFound) << "G-1" << "0 4 4 64" << 2 << "" << pending << false;
        QTest::newRow("ID reads error") << int(ReportFound) << "error" << "4 4 1 0" << 2 << ""
                                        << "AddBureau RMCR RequestSupp" << false;
        QTest::newRow("no status record") << int(ReportFound) << "G-1" << "" << 2 << "" << "AddBureau RMCR" << false;
        QTest::newRow("order placed after none found") << int(ReportNotFound) << "NEW-GUID" << "4 4 4 0" << 2 << ""
                                                       << "AddBureau" << false;
    }

    void rules()
    {
        QFETCH(int, check);
        QFETCH(QString, reportId);
        QFETCH(QString, statuses);
        QFETCH(int, pullType);
        QFETCH(QString, reissue);
        QFETCH(QString, disabled);
        QFETCH(bool, pullCredit);
        LoanSession session;
        session.setCheckResult(check);
        session.setReportId(reportId);
        session.setPullType(pullType);
        if (!statuses.isEmpty()) {
            const QStringList n = statuses.split(' ');
            auto record = std::make_shared<clsReportStatus>();
            record->setnStatusEXP(qint16(n[0].toInt()));
            record->setnStatusEFX(qint16(n[1].toInt()));
            record->setnStatusTU(qint16(n[2].toInt()));
            record->setnStatusReport(qint16(n[3].toInt()));
            session.setReportStatus(record);
        }
        const auto states = ReportButtons(session, reissue);
        QStringList off;
        for (auto it = states.cbegin(); it != states.cend(); ++it)
            if (!it.value().enabled)
                off << ButtonName(it.key()).mid(3);
        off.sort();
        QCOMPARE(off.join(' '), disabled);
        const ButtonState repull = states.value(MainButton::cmdRepull);
        QCOMPARE(repull.caption + "|" + repull.tooltip, pullCredit ? QString("&Pull Credit|Pull New Credit Report")
                                                                   : QString("&Repull|Repull Previously Pulled Report"));
    }
};

int runButtonTests(int argc, char** argv)
{
    TestReportButtons t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_buttons.moc"
