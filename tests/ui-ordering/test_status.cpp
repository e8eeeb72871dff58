#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "VendorSim.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "service/ParamBlock.h"
#include "service/basOrder.h"
#include "service/clsReportStatus.h"
#include "ui/ordering/OrderingWindows.h"
#include "ui/ordering/frmStatus.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QProgressBar>
#include <QTimer>
#include <QtTest/QTest>

#include <optional>

namespace {

const QString kStatusLine = "POST /cia/cgi/marrowCGI.exe?UserName=demo&Password=Demo2026pass&action=GET_STATUS&guid=GUID-1";
const QString kServerError = "<500>";   // an answer of HTTP status 500 with an empty body
const QString kStatusBox = "There was an error checking for status.\r\nError: ";

QString statusBlock()
{
    return ParamBlock("GET_Status").add("guid", "GUID-1").text();
}

// Counts the events of one type a widget receives.
class EventCounter : public QObject
{
public:
    EventCounter(QObject* target, QEvent::Type type) : m_type(type) { target->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == m_type ? 1 : 0;
        return false;
    }
    QEvent::Type m_type;
};

struct WaitRow {
    bool pdf;                 // the PDF wait, else GetStatus and its bureau wait
    QStringList answers;      // served in order; kServerError: HTTP 500
    int requests;             // requests the server receives
    bool shown;               // the window appeared
    QString last;             // the answer passed back (GetStatus's error text on failure); ending in "*": its beginning
    QString bureaus;          // GetStatus: "EXP,EFX,TU" afterwards, the record starting at 7,7,7
    QString box;              // title ":" beginning of the text of the one box; empty: none
    int logEntries;
};

} // namespace

Q_DECLARE_METATYPE(WaitRow)

// The status window, and GetStatus waiting in it, against the stand-in vendor server.
class TestStatus : public QObject
{
    Q_OBJECT
    VendorSim m_sim;
    struct PerTest {
        TestEnv env;
        FakeDesktop desk;
        ScriptedMsgBox boxes;
    };
    std::optional<PerTest> m_test;

    int logEntries() const { return int(m_test->env.readFile("errors.log").count("Date: ")); }

    // Closes the status window, as the user would with the close box, `afterMs` after its first
    // poll has returned.
    static void closeAfterFirstPoll(int afterMs)
    {
        auto* timer = frmStatus::Load().findChild<QTimer*>("Timer1");
        // Connected after the window's own handler, so this runs once that poll has returned.
        QObject::connect(timer, &QTimer::timeout, timer, [timer, afterMs] {
            QObject::disconnect(timer, &QTimer::timeout, timer, nullptr);
            QTimer::singleShot(afterMs, [] {
                if (frmStatus* window = frmStatus::loaded(); window && window->isVisible())
                    window->close();
            });
        });
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_sim.start(), "the stand-in vendor server did not start");
        RegisterOrderingWindows();
    }

    void init()
    {
        m_sim.reset();
        m_test.emplace();
        m_test->env.freshProps();
        Props().setServerURL(m_sim.baseUrl());
        Props().setPostLocation("/cia/cgi/marrowCGI.exe?");
        Props().setUserName("demo");
        Props().setPassword("Demo2026pass");
        Props().setPollingSleepTime(20);
    }

    void cleanup()
    {
        frmStatus::Unload();
        QCOMPARE(m_test->desk.busyDepth, 0);
        m_test.reset();
    }

    void waits_data()
    {
        QTest::addColumn<WaitRow>("row");
        const QString done = "SUCCESS\n2\n3\n0";
        const QString refused = "<ERROR><ERROR_NO>6001</ERROR_NO><ERROR_DESC>FAILED\n";
        QTest::newRow("Equifax at 1 keeps waiting") << WaitRow{false, {"SUCCESS\n2\n1\n0", done}, 2, true, done, "2,3,0", "", 0};
        QTest::newRow("only TransUnion still running")
            << WaitRow{false, {"SUCCESS\n4\n4\n1", "SUCCESS\n4\n4\n1", done}, 3, true, done, "2,3,0", "", 0};
        QTest::newRow("polls until no bureau is 1")
            << WaitRow{false, {"SUCCESS\n1\n1\n0", "SUCCESS\n4\n1\n0", done}, 3, true, done, "2,3,0", "", 0};
        QTest::newRow("success in lower case")
            << WaitRow{false, {"success\n4\n4\n4"}, 1, false, "success\n4\n4\n4", "4,4,4", "", 0};
        QTest::newRow("1 followed by CR is not 1")
            << WaitRow{false, {"SUCCESS\n4\n1\r\n0"}, 1, false, "SUCCESS\n4\n1\r\n0", "4,1,0", "", 0};
        QTest::newRow("first check complete") << WaitRow{false, {"SUCCESS\n4\n0\n4"}, 1, false, "SUCCESS\n4\n0\n4", "4,0,4", "", 0};
        QTest::newRow("missing bureau line")
            << WaitRow{false, {"SUCCESS\n4\n4"}, 1, false, "<ERROR><ERROR_NO>9</ERROR_NO>*", "7,7,7", "", 1};
        QTest::newRow("refusal ends the wait") << WaitRow{false, {"SUCCESS\n1\n0\n0", "FAILED\nInvalid password"}, 2, true,
            refused + "Invalid password</ERROR_DESC><ERROR_SOURCE>GetStatus</ERROR_SOURCE>*", "7,7,7",
            "Error:" + kStatusBox + "Didn't receive SUCCESS on status check. Return: FAILED", 2};
        // Three numbers after a line that is not SUCCESS do not make a finished report.
        QTest::newRow("page with numbers") << WaitRow{false, {"<html>\n4\n4\n4"}, 1, false,
            "<ERROR><ERROR_NO>5</ERROR_NO><ERROR_DESC>Didn't receive SUCCESS on status check. Return: <html>*", "7,7,7",
            "Error:" + kStatusBox + "Didn't receive SUCCESS on status check. Return: <html>", 2};
        QTest::newRow("transport failure during a poll") << WaitRow{false, {"SUCCESS\n1\n1\n1", kServerError}, 2, true,
            refused + "The server answered with HTTP status 500*", "7,7,7",
            "Error:" + kStatusBox + "The server answered with HTTP status 500", 2};
        const QString ready = "SUCCESS\n/cia/pdf/x.pdf";
        QTest::newRow("PDF pending, then ready") << WaitRow{true, {"PENDING", "PENDING 2", ready}, 3, true, ready, "", "", 0};
        QTest::newRow("PDF ready at once") << WaitRow{true, {ready}, 1, false, ready, "", "", 0};
        QTest::newRow("PDF answer is a page") << WaitRow{true, {"PENDING", "<html>SUCCESS\n/x.pdf</html>"}, 2, true, "FAILED", "", "", 0};
        QTest::newRow("PDF transport failure") << WaitRow{true, {"PENDING", kServerError}, 2, true,
            "FAILED\nThe server answered with HTTP status 500*", "",
            "Error in CheckForPDF:Error: -2147012866 - The server answered", 1};
    }

    // What the user sees, what the wait ends with and what GetStatus stores of it.
    void waits()
    {
        QFETCH(WaitRow, row);
        for (const QString& answer : row.answers) {
            if (answer == kServerError)
                m_sim.scriptStatus(row.pdf ? "GET_PDF" : "GET_STATUS", 500);
            else
                m_sim.script(row.pdf ? "GET_PDF" : "GET_STATUS", answer);
        }
        const QString box = row.box.section(':', 0, 0);
        if (!box.isEmpty())
            m_test->boxes.expect(vbOK);
        EventCounter shows(&frmStatus::Load(), QEvent::Show);

        QString answer = "previous";
        clsReportStatus status;
        for (auto set : {&clsReportStatus::setnStatusEXP, &clsReportStatus::setnStatusEFX, &clsReportStatus::setnStatusTU})
            (status.*set)(7);
        if (row.pdf)
            QVERIFY(WindowHooks::WaitForPdf()(m_sim.baseUrl() + "/cia/cgi/marrowCGI.exe?action=GET_PDF", answer));
        else
            QCOMPARE(GetStatus(statusBlock(), status, answer), row.bureaus != "7,7,7");

        QCOMPARE(m_sim.requests().size(), row.requests);
        if (!row.pdf)
            QCOMPARE(m_sim.requests(), QStringList(row.requests, kStatusLine));
        QCOMPARE(shows.count > 0, row.shown);
        QVERIFY(!frmStatus::Load().isVisible());
        QVERIFY(!frmStatus::Load().UserUnloaded());
        if (row.last.endsWith('*'))
            QVERIFY2(answer.startsWith(row.last.chopped(1)), qPrintable(answer));
        else
            QCOMPARE(answer, row.last);
        if (!row.pdf)
            QCOMPARE(QString("%1,%2,%3").arg(status.nStatusEXP()).arg(status.nStatusEFX()).arg(status.nStatusTU()), row.bureaus);
        QCOMPARE(m_test->boxes.boxes.size(), box.isEmpty() ? 0 : 1);
        if (!box.isEmpty()) {
            QCOMPARE(m_test->boxes.boxes[0].title, box);
            QVERIFY2(m_test->boxes.boxes[0].text.startsWith(row.box.section(':', 1)), qPrintable(m_test->boxes.boxes[0].text));
            QCOMPARE(m_test->boxes.boxes[0].icon(), int(vbCritical));
        }
        QCOMPARE(logEntries(), row.logEntries);
        QVERIFY(!m_test->env.readFile("errors.log").contains("Demo2026pass"));
        if (row.pdf && row.last.startsWith("SUCCESS"))
            QCOMPARE(frmStatus::Load().findChild<QProgressBar*>("ProgressBar1")->value(), 25);
    }

    // The first check runs at once; every later one PollingSleepTime after the previous answer.
    void pollsAtPollingSleepTime()
    {
        const int sleepMs = 200;
        const int pollsAtOne = 3;
        Props().setPollingSleepTime(sleepMs);
        m_sim.setStatusPolls(pollsAtOne);
        QString guid;
        QVERIFY(Request(ParamBlock("REQUEST").add("Keywords", "").add("FirstName", "AVERY").add("LastName", "NEWCOMB")
                            .add("SSN", "900110001").add("EQUIFAX", "TRUE").text(), guid));
        m_sim.clearRequests();
        clsReportStatus status;
        QString answer;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(GetStatus(ParamBlock("GET_Status").add("guid", guid).text(), status, answer));
        const qint64 elapsed = clock.elapsed();

        QCOMPARE(m_sim.requests().size(), pollsAtOne + 1);
        // Timers may fire up to 5% early (coarse timers).
        QVERIFY2(elapsed >= qint64(pollsAtOne) * sleepMs * 95 / 100, qPrintable(QString::number(elapsed)));
        QVERIFY2(elapsed < qint64(pollsAtOne) * sleepMs + 1500, qPrintable(QString::number(elapsed)));
        QCOMPARE(status.nStatusEFX(), qint16(4));
    }

    // While a poll waits for a slow server both timers are paused (no second poll can start) and
    // the window still paints.
    void pollPausesTimersAndKeepsPainting()
    {
        Props().setPollingSleepTime(50);
        m_sim.script("GET_STATUS", "SUCCESS\n1\n0\n0", 3);
        m_sim.script("GET_STATUS", "SUCCESS\n4\n0\n0");
        m_sim.setLatency(500);
        frmStatus& window = frmStatus::Load();
        auto* bar = window.findChild<QProgressBar*>("ProgressBar1");
        struct Probe {
            bool visible = false, pollTimer = true, animation = true;
            int paintsBefore = -1, paintsAfter = -1;
        } probe;
        EventCounter paints(bar, QEvent::Paint);
        // After the first poll has returned the next starts 50 ms later and runs for 500 ms.
        auto* pollTimer = window.findChild<QTimer*>("Timer1");
        QObject::connect(pollTimer, &QTimer::timeout, &paints, [&] {
            QObject::disconnect(pollTimer, &QTimer::timeout, &paints, nullptr);
            QTimer::singleShot(200, &paints, [&] {
                probe.paintsBefore = paints.count;
                bar->update();
            });
            QTimer::singleShot(350, &paints, [&] {
                probe.visible = window.isVisible();
                probe.pollTimer = pollTimer->isActive();
                probe.animation = window.findChild<QTimer*>("tmrStatus")->isActive();
                probe.paintsAfter = paints.count;
            });
        });

        QString answer;
        QVERIFY(WindowHooks::WaitForStatus()(m_sim.baseUrl() + "/cia/cgi/marrowCGI.exe?action=GET_STATUS", answer));

        QCOMPARE(answer, QString("SUCCESS\n4\n0\n0"));
        QCOMPARE(m_sim.requests().size(), 4);
        QVERIFY(probe.visible && !probe.pollTimer && !probe.animation);
        QVERIFY2(probe.paintsAfter > probe.paintsBefore, qPrintable(QString("%1 -> %2").arg(probe.paintsBefore).arg(probe.paintsAfter)));
    }

    void userClosesTheWindow_data()
    {
        QTest::addColumn<int>("latencyMs");
        QTest::addColumn<int>("closeAfterMs");
        // Polls are 100 ms apart: 10 ms after a poll lies between polls, 150 ms inside the next one.
        QTest::newRow("between polls") << 0 << 10;
        QTest::newRow("while a poll runs") << 400 << 150;
    }

    // Closing the window ends the wait as the user's choice: GetStatus succeeds without touching
    // the record, the last answer stays in sResponse and no further poll is sent.
    void userClosesTheWindow()
    {
        QFETCH(int, latencyMs);
        QFETCH(int, closeAfterMs);
        Props().setPollingSleepTime(100);
        m_sim.script("GET_STATUS", "SUCCESS\n1\n0\n1", 50);
        m_sim.setLatency(latencyMs);
        closeAfterFirstPoll(closeAfterMs);
        clsReportStatus status;
        status.setnStatusEXP(7);

        QString answer = "previous";
        QVERIFY(GetStatus(statusBlock(), status, answer));

        QVERIFY(frmStatus::Load().UserUnloaded());
        QCOMPARE(frmStatus::Load().sResponse(), QString("SUCCESS\n1\n0\n1"));
        QCOMPARE(answer, QString());
        QCOMPARE(status.nStatusEXP(), qint16(7));
        const int sent = m_sim.requests().size();
        QVERIFY(sent >= 2);
        QTest::qWait(400 + latencyMs);
        QCOMPARE(m_sim.requests().size(), sent);
        QCOMPARE(m_test->boxes.boxes.size(), 0);
        QCOMPARE(logEntries(), 0);
    }
};

int runStatusTests(int argc, char** argv)
{
    TestStatus t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_status.moc"
