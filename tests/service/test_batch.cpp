// Requests sent together (HttpBatch) and reads sent ahead of their steps (Prefetch).
#include "ScriptedMsgBox.h"
#include "TestEnv.h"
#include "VendorSim.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/HttpBatch.h"
#include "service/ParamBlock.h"
#include "service/basActions.h"
#include "service/basPrefetch.h"

#include <QElapsedTimer>
#include <QTest>

namespace {

const QString kAccountPath = QStringLiteral("/utils/CGI_Utilities.asp?Action=");

QString userBlock(const QString& method)
{
    return ParamBlock(method).add("USER", "demo").text();
}

} // namespace

class BatchTest : public QObject
{
    Q_OBJECT

    VendorSim m_sim;
    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<ScriptedMsgBox> m_boxes;

private slots:
    void initTestCase() { QVERIFY(m_sim.start()); }

    void init()
    {
        m_sim.reset();
        m_env = std::make_unique<TestEnv>();
        m_env->freshProps();
        m_boxes = std::make_unique<ScriptedMsgBox>();
        Props().setServerURL(m_sim.baseUrl());
        Props().setAspUtil("/utils/CGI_Utilities.asp?");
        Props().setUserName("demo");
        Prefetch::SetEnabled(true);
    }

    void cleanup()
    {
        Prefetch::Discard();
        m_boxes.reset();
        m_env.reset();
    }

    // Five answers of 300 ms each arrive in about one answer's time, and each request keeps
    // its own outcome: the one the server fails raises the HTTP status, the others answer.
    void batchRunsSideBySideEachWithItsOwnFailure()
    {
        m_sim.setLatency(300);
        m_sim.scriptStatus("GETABOUT", 500, "trouble");
        const QStringList actions = {"GETDEPARTMENTID", "GETABOUT", "GETRMCRPAGE", "GETSUMMARYPAGE", "CHANGEPASSWORDRIGHTS"};
        HttpBatch batch;
        QElapsedTimer clock;
        clock.start();
        for (const QString& action : actions)
            QVERIFY(batch.add(m_sim.baseUrl() + kAccountPath + action + "&USER=demo"));
        QVERIFY(!batch.add(m_sim.baseUrl() + kAccountPath + "GETABOUT&USER=demo"));   // held already
        batch.waitAll();
        QVERIFY2(clock.elapsed() < 2 * 300, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(m_sim.requests().size(), actions.size());

        const auto department = batch.take(m_sim.baseUrl() + kAccountPath + "GETDEPARTMENTID&USER=demo");
        QVERIFY(department);
        department->finish();
        QCOMPARE(department->responseText(), QString("QDEMO-LOANS"));
        const auto about = batch.take(m_sim.baseUrl() + kAccountPath + "GETABOUT&USER=demo");
        try {
            about->finish();
            QFAIL("the failed request answered");
        } catch (const AppError& e) {
            QCOMPARE(e.Number, ErrNo::HttpStatus);
            QVERIFY(e.Description.contains("500"));
        }
        QVERIFY(!batch.take(m_sim.baseUrl() + kAccountPath + "GETABOUT&USER=demo"));   // taken once
        QCOMPARE(batch.addresses().size(), 3);
    }

    // A step whose read was sent ahead takes that answer (no second request); its failure is
    // handled as the step's own: false, the error text, an errors.log entry. A step whose
    // address differs (another department) sends its own request.
    void stepTakesTheReadSentAhead_data()
    {
        QTest::addColumn<int>("httpStatus");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("stored");
        QTest::newRow("answer") << 200 << true << "/web/Supplement.asp";
        QTest::newRow("server error") << 500 << false << "";
    }

    void stepTakesTheReadSentAhead()
    {
        QFETCH(int, httpStatus);
        QFETCH(bool, result);
        QFETCH(QString, stored);
        if (httpStatus != 200)
            m_sim.scriptStatus("GETSUPPLEMENTPAGE", httpStatus, "trouble");
        const QString block = ParamBlock("GETSUPPLEMENTPAGE").add("USER", "demo").add("DEPARTMENTID", "QDEMO-LOANS").text();
        Prefetch::Send({{"GetSupplementPage", "GETSUPPLEMENTPAGE", block}});
        QCOMPARE(Prefetch::Held().size(), 1);
        QString answer;
        QCOMPARE(GetSupplementPage(block, answer), result);
        QCOMPARE(Props().SuppPageLink(), stored);
        QCOMPARE(m_sim.requests().size(), 1);
        QVERIFY(Prefetch::Held().isEmpty());
        QCOMPARE(m_env->readFile("errors.log").contains("500"), !result);
        QCOMPARE(answer.startsWith("<ERROR>"), !result);

        const QString other = ParamBlock("GETSUPPLEMENTPAGE").add("USER", "demo").add("DEPARTMENTID", "OTHER").text();
        QVERIFY(GetSupplementPage(other, answer));
        QCOMPARE(m_sim.requests().size(), 2);
    }

    // Switched off, nothing is sent ahead.
    void oneByOneSendsNothingAhead()
    {
        Prefetch::SetEnabled(false);
        Prefetch::Send({{"GetAbout", "GETABOUT", userBlock("GETABOUT")}});
        QVERIFY(Prefetch::Held().isEmpty());
        QVERIFY(m_sim.requests().isEmpty());
    }
};

int runBatchTest(int argc, char** argv)
{
    BatchTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_batch.moc"
