#include "OrderingKit.h"
#include "service/OrderWatch.h"

namespace {

const QString kStatusLine =
    "POST /cia/cgi/marrowCGI.exe?UserName=demo&Password=Demo2026pass&action=GET_STATUS&guid=GUID-1";
const QString kServerError = "<500>"; // an answer of HTTP status 500 with an empty body
const QString kStatusBox = "Error:There was an error checking for status.\r\nError: "; // title ":" text
const QString kNoSuccess = "Didn't receive SUCCESS on status check. Return: ";
const QString kHttp500 = "The server answered with HTTP status 500";
constexpr int kSleepMs = 60; // PollingSleepTime

// Counts the events of one type an object receives.
struct EventCounter : QObject {
    EventCounter(QObject* target, QEvent::Type type) : type(type) { target->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == type ? 1 : 0;
        return false;
    }
    QEvent::Type type;
    int count = 0;
};

struct WaitRow {
    bool pdf;            // the PDF wait, else GetStatus and its bureau wait
    QStringList answers; // served in order; kServerError: HTTP 500
    int requests;        // requests the server receives
    bool shown;          // the window appeared
    QString last;        // the answer passed back (GetStatus's error text on failure); ending in "*": its beginning
    QString bureaus;     // GetStatus: "EXP,EFX,TU" afterwards, the record starting at 7,7,7
    QString box;         // title ":" beginning of the text of the one box; empty: none
    int logEntries;
    int closeAtMs = -1; // the user closes the window this long after the first timed poll has returned
    int latencyMs = 0;
    QString during; // at the close: "open", "animating", "painted" (since a repaint was asked), as they hold
};

} // namespace

Q_DECLARE_METATYPE(WaitRow)

// The status window following GetStatus's wait, and waiting for a PDF itself, against the stand-in
// vendor server.
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

    // The user closes the window `closeAtMs` after the watch's first timed poll has returned, noting
    // first what the window is doing then; a repaint is asked for 20 ms before.
    static void closeAfterFirstPoll(OrderWatch* watch, int closeAtMs, EventCounter* paints, QString* during)
    {
        frmStatus* window = &frmStatus::Load();
        auto polls = std::make_shared<int>(0);
        QObject::connect(watch, &OrderWatch::polled, paints, [=] {
            if (++*polls != 2)
                return;
            const int before = paints->count;
            QTimer::singleShot(closeAtMs - 20, paints,
                               [=] { window->findChild<QProgressBar*>("ProgressBar1")->update(); });
            QTimer::singleShot(closeAtMs, paints, [=] {
                const bool moving = window->findChild<QTimer*>("tmrStatus")->isActive();
                QStringList seen;
                for (const auto& [on, word] : {std::pair{window->isVisible(), "open"}, std::pair{moving, "animating"},
                                               std::pair{paints->count > before, "painted"}})
                    if (on)
                        seen << word;
                *during = seen.join(' ');
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
        Props().setPollingSleepTime(kSleepMs);
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
        const auto add = [](const char* name, bool pdf, const QStringList& answers, int sent, bool shown,
                            const QString& last, const QString& bureaus, const QString& box, int logs, int closeAt = -1,
                            int lag = 0, const QString& during = {}) {
            QTest::newRow(name) << WaitRow{pdf, answers, sent, shown, last, bureaus, box, logs, closeAt, lag, during};
        };
        const QString done = "SUCCESS\n2\n3\n0";
        const QString refused = "<ERROR><ERROR_NO>6001</ERROR_NO><ERROR_DESC>FAILED\n";
        const QString running = "SUCCESS\n4\n4\n1";
        add("only TransUnion still running", false, {running, running, done}, 3, true, done, "2,3,0", "", 0);
        add("success in lower case", false, {"success\n4\n4\n4"}, 1, false, "success\n4\n4\n4", "4,4,4", "", 0);
        const QString crAfterOne = "SUCCESS\n4\n1\r\n0";
        add("1 followed by CR is not 1", false, {crAfterOne}, 1, false, crAfterOne, "4,1,0", "", 0);
        add("missing bureau line", false, {"SUCCESS\n4\n4"}, 1, false, "<ERROR><ERROR_NO>9</ERROR_NO>*", "7,7,7", "",
            1);
        add("refusal ends the wait", false, {"SUCCESS\n1\n0\n0", "FAILED\nInvalid password"}, 2, true,
            refused + "Invalid password</ERROR_DESC><ERROR_SOURCE>GetStatus*", "7,7,7",
            kStatusBox + kNoSuccess + "FAILED", 2);
        // Three numbers after a line that is not SUCCESS do not make a finished report.
        add("page with numbers", false, {"<html>\n4\n4\n4"}, 1, false,
            "<ERROR><ERROR_NO>5</ERROR_NO><ERROR_DESC>" + kNoSuccess + "<html>*", "7,7,7",
            kStatusBox + kNoSuccess + "<html>", 2);
        add("transport failure during a poll", false, {"SUCCESS\n1\n1\n1", kServerError}, 2, true,
            refused + kHttp500 + "*", "7,7,7", kStatusBox + kHttp500, 2);
        // Closing the window is the user's choice: a success that leaves the record alone, no
        // further poll (a poll under way is given up), the last answer kept. The window keeps
        // painting while a poll runs; its animation pauses for the poll.
        QTest::newRow("user closes between polls")
            << WaitRow{false, {running}, 2, true, "", "7,7,7", "", 0, 30, 0, "open animating painted"};
        QTest::newRow("user closes while a poll runs")
            << WaitRow{false, {running}, 3, true, "", "7,7,7", "", 0, 150, 400, "open painted"};
        const QString ready = "SUCCESS\n/cia/pdf/x.pdf";
        add("PDF pending, then ready", true, {"PENDING", "PENDING 2", ready}, 3, true, ready, "", "", 0);
        add("PDF answer is a page", true, {"PENDING", "<html>SUCCESS\n/x.pdf</html>"}, 2, true, "FAILED", "", "", 0);
        add("PDF transport failure", true, {"PENDING", kServerError}, 2, true, "FAILED\n" + kHttp500 + "*", "",
            "Error in CheckForPDF:Error: -2147012866 - " + kHttp500, 1);
    }

    // What the user sees, what the wait ends with and what GetStatus stores of it, as one line;
    // every poll after the first comes PollingSleepTime after the answer before.
    void waits()
    {
        QFETCH(WaitRow, row);
        const bool closing = row.closeAtMs >= 0;
        const QString action = row.pdf ? "GET_PDF" : "GET_STATUS";
        for (const QString& answer : row.answers)
            answer == kServerError ? m_sim.scriptStatus(action, 500) : m_sim.script(action, answer, closing ? 50 : 1);
        m_sim.setLatency(row.latencyMs);
        m_test->boxes.expect(vbOK); // a box the row does not give shows up in the comparison
        frmStatus& window = frmStatus::Load();
        EventCounter shows(&window, QEvent::Show);
        EventCounter paints(window.findChild<QProgressBar*>("ProgressBar1"), QEvent::Paint);
        QString during;
        auto status = std::make_shared<clsReportStatus>();
        for (auto set :
             {&clsReportStatus::setnStatusEXP, &clsReportStatus::setnStatusEFX, &clsReportStatus::setnStatusTU})
            ((*status).*set)(7);
        // The classic reading (ok, the answer or error text), the user's abort and the last answer.
        bool ok = false, aborted = false, over = false;
        QString answer = "previous", last;
        QElapsedTimer clock;
        clock.start();
        qint64 elapsed = 0;
        QObject owner; // the order the watch belongs to
        if (row.pdf) { // (its rows do not close the window)
            auto* pdf =
                new OrderWatch(OrderWatch::Mode::Pdf, ParamBlock("GET_PDF").add("guid", "GUID-1").text(), &owner);
            connect(pdf, &OrderWatch::ended, pdf, [&, pdf] {
                answer = pdf->lastAnswer();
                aborted = pdf->wasAborted();
                ok = !aborted;
                elapsed = clock.elapsed();
                over = true;
            });
            window.Follow(pdf);
            pdf->start();
        } else {
            OrderWatch* watch = GetStatus(ParamBlock("GET_Status").add("guid", "GUID-1").text(), status, &owner,
                                          [&](const ServiceOutcome& outcome, bool userAborted) {
                                              ok = outcome.Read(answer);
                                              aborted = userAborted;
                                              elapsed = clock.elapsed();
                                              over = true;
                                          });
            QVERIFY(watch);
            connect(watch, &OrderWatch::ended, watch, [&, watch] { last = watch->lastAnswer(); });
            window.Follow(watch);
            if (closing)
                closeAfterFirstPoll(watch, row.closeAtMs, &paints, &during);
        }
        QTRY_VERIFY_WITH_TIMEOUT(over, 10000);
        if (closing)
            QTest::qWait(3 * kSleepMs + row.latencyMs); // time for a poll that must not come

        QStringList boxes;
        for (const auto& b : m_test->boxes.boxes) // each box as far as the row gives its text
            boxes << b.title + ":" + b.text.left(row.box.section(':', 1).size())
                    + (b.icon() == vbCritical ? "" : "!critical");
        const QString bureaus =
            QString("%1,%2,%3").arg(status->nStatusEXP()).arg(status->nStatusEFX()).arg(status->nStatusTU());
        const QString closed = QString::number(aborted) + (closing ? " " + during + " " + last : "");
        // A status wait offers to go on in the background.
        const bool background = !window.findChild<QPushButton*>("cmdBackground")->isHidden();
        const auto seen = QStringList{QString::number(ok),
                                      QString::number(m_sim.requests().size()),
                                      shows.count ? (background ? "shown, background" : "shown") : "",
                                      row.last.endsWith('*') ? answer.left(row.last.size() - 1) + "*" : answer,
                                      row.pdf ? QString() : bureaus,
                                      boxes.join(';'),
                                      QString::number(m_test->env.readFile("errors.log").count("Date: ")),
                                      closed};
        const QString shownAs = row.shown ? (row.pdf ? "shown" : "shown, background") : "";
        QCOMPARE(
            seen,
            QStringList({QString::number(row.pdf || row.bureaus != "7,7,7" || closing), QString::number(row.requests),
                         shownAs, row.last, row.bureaus, row.box, QString::number(row.logEntries),
                         closing ? "1 " + row.during + " " + row.answers.last() : "0"}));
        if (!row.pdf)
            QCOMPARE(m_sim.requests(), QStringList(row.requests, kStatusLine));
        QVERIFY(!m_test->env.readFile("errors.log").contains("Demo2026pass"));
        if (row.pdf && row.last.startsWith("SUCCESS"))
            QCOMPARE(window.findChild<QProgressBar*>("ProgressBar1")->value(), 25);
        // Timers may fire up to 5% early (coarse timers); the upper bound leaves room for a loaded machine.
        const qint64 pauses = (row.requests - 1) * kSleepMs;
        if (!closing)
            QVERIFY2(elapsed >= pauses * 95 / 100 && elapsed < pauses + 1500, qPrintable(QString::number(elapsed)));
    }
};

int runStatusTests(int argc, char** argv)
{
    return RunTests<TestStatus>(argc, argv);
}

#include "test_status.moc"
