#include "ModalDriver.h"
#include "ReportFixture.h"
#include "ScreenRig.h"
#include "app/basMain.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "platform/SettingsStore.h"
#include "service/basPrefetch.h"
#include "service/clsReportStatus.h"
#include "ui/ordering/frmCheckExisting.h"
#include "ui/ordering/frmMain.h"
#include "ui/ordering/frmReissue.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTimer>
#include <QtTest/QTest>

namespace {

const QStringList kButtons = {"cmdPrint", "cmdView", "cmdRMCR", "cmdImport", "cmdAddBureau", "cmdRequestSupp",
                              "cmdRepull", "cmdWeb"};
const QStringList kRefreshReads = {"LOGINBYREFERENCE", "REQUESTBUREAURIGHTS", "GETDEPARTMENTID", "GETSUPPLEMENTPAGE",
                                   "GETRMCRPAGE", "GETSUMMARYPAGE", "CHECKMESSAGES", "GETABOUT", "GETREPORTLISTPAGE",
                                   "CHANGEPASSWORDRIGHTS"};

// Answers the reissue windows as they come up: a number is typed and Reissue pressed, an empty
// entry presses "Not a Reissue".
class ReissueAnswers : public QObject
{
public:
    explicit ReissueAnswers(QStringList answers) : m_answers(std::move(answers))
    {
        connect(&m_timer, &QTimer::timeout, this, &ReissueAnswers::poll);
        m_timer.start(5);
    }
    int shown = 0;

private:
    void poll()
    {
        auto* window = qobject_cast<frmReissue*>(QApplication::activeModalWidget());
        if (!window || !window->isVisible())
            return;
        ++shown;
        const QString answer = m_answers.isEmpty() ? QString() : m_answers.takeFirst();
        window->findChild<QLineEdit*>("txtReissue")->setText(answer);
        window->findChild<QPushButton*>(answer.isEmpty() ? "cmdClose" : "cmdReissue")->click();
    }
    QStringList m_answers;
    QTimer m_timer;
};

// The disabled buttons, sorted, without their "cmd".
QString disabledButtons(ScreenRig& rig)
{
    QStringList off;
    for (const QString& name : kButtons)
        if (!rig.enabled(name))
            off << name.mid(3);
    off.sort();
    return off.join(' ');
}

// Everything a start-up leaves that a user, the server or a later step could notice.
QStringList visibleResult(ScreenRig& rig, int reissueWindows)
{
    const clsProperties& p = Props();
    frmMain* w = rig.window();
    QStringList refs;
    for (const auto& ref : p.LoginByReferences())
        refs << ref->LongName() + "*" + ref->UserName();
    QStringList seen = {p.DepartmentID(), p.SuppPageLink(), p.RMCRPageLink(), p.SummaryPageLink(), p.NewsBurstUrl(),
                        p.PhoneNumber() + "|" + p.SupportEmail() + "|" + p.PasswordSpecs(), p.ReportListPage(),
                        QString("%1%2%3%4%5%6%7").arg(p.CanChangePassword()).arg(p.bEFQ_Right()).arg(p.bEXP_Right())
                            .arg(p.bTU_Right()).arg(p.IsLoginByRef()).arg(p.CanLoginByRef()).arg(p.CrossCompanyReissue()),
                        refs.join('|'), p.ReissueNumber(), QString::number(p.SavePassword()), disabledButtons(rig),
                        w->Button(MainButton::cmdRepull).text() + "|" + w->Button(MainButton::cmdRepull).toolTip(),
                        QString::number(w->findChild<QAction*>("mnuChangePassword")->isEnabled()), w->windowTitle(),
                        w->findChild<QLabel*>("lblRef")->text() + "|" + w->Box(LoanBox::lblReference).text()
                            + QString::number(w->Box(LoanBox::lblReference).isEnabled()),
                        w->Box(LoanBox::lblBorLast).text() + " " + w->Box(LoanBox::lblBorSSN).text(),
                        QString::number(w->findChild<QGroupBox*>("fmCoBorrower")->isVisible()),
                        QString("%1|%2|%3").arg(w->existingReportResult()).arg(w->sReportUID()).arg(w->ePullType()),
                        QString::number(reissueWindows) + QString::number(RestartPending())};
    for (const ScriptedMsgBox::Box& box : rig.boxes.boxes)
        seen << "box " + box.title + "|" + QString::number(box.style) + "|" + box.text;
    for (const ShellRecorder::Call& call : rig.shell.calls)
        seen << "shell " + call.verb + "|" + call.target;
    for (const QString& line : QString::fromLatin1(rig.env.readFile("errors.log")).split("\r\n"))
        if (!line.startsWith("Date: "))
            seen << "log " + line;
    return seen.replaceInStrings(rig.sim.baseUrl(), "<server>");
}

QStringList actionsReceived(ScreenRig& rig)
{
    QStringList actions;
    static const QRegularExpression action("[?&][Aa]ction=([A-Z_]+)");
    for (const QString& line : rig.sim.requests())
        actions << action.match(line).captured(1);
    return actions;
}

quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Closes the check window as soon as it is shown: before its work has begun.
class CloseOnShow : public QObject
{
public:
    CloseOnShow() { qApp->installEventFilter(this); }
    ~CloseOnShow() override { qApp->removeEventFilter(this); }
    int closes = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* check = qobject_cast<frmCheckExisting*>(watched);
        if (check && event->type() == QEvent::Show)
            QTimer::singleShot(0, check, [this, check] { ++closes, check->close(); });
        return false;
    }
};

struct ButtonRow {
    QString caseName;
    QString bureaus;     // the found report's codes "EXP EFX TU" as the search answers them; empty: the server's
    QString reissue;     // a reissue number typed (the reissue account)
    int result;
    QString disabled;
    QString box;         // title of the one box the check shows
};

} // namespace

Q_DECLARE_METATYPE(ButtonRow)

class TestCheckExisting : public QObject
{
    Q_OBJECT

private slots:
    void buttonsFollowTheReport_data();
    void buttonsFollowTheReport();
    void reportAgeAgainstTimeFrame_data();
    void reportAgeAgainstTimeFrame();
    void failedCheckEndsInSearchError_data();
    void failedCheckEndsInSearchError();
    void refreshStopsAtFailingStep_data();
    void refreshStopsAtFailingStep();
    void reissueLoopAsksAgainUntilNotAReissue_data();
    void reissueLoopAsksAgainUntilNotAReissue();
    void individualLoanHidesCoBorrowerKeepingBoxes();
    void reloadRunsStartupAgain();
    void overlapShowsWhatOneByOneShows_data();
    void overlapShowsWhatOneByOneShows();
    void cleanup() { Prefetch::SetEnabled(true); }
    void closingTheWindowCannotSkipTheCheck();
};

// The one table of the main window's buttons: each outcome of the check, read back through the
// buttons the user sees.
void TestCheckExisting::buttonsFollowTheReport_data()
{
    QTest::addColumn<ButtonRow>("row");
    const QString none = "AddBureau Import Print RMCR RequestSupp View Web";
    QTest::newRow("no report") << ButtonRow{"no-report", "", "", ReportNotFound, none, ""};
    QTest::newRow("recent, all bureaus finished") << ButtonRow{"recent", "", "", ReportFound, "AddBureau", ""};
    QTest::newRow("older than the time frame") << ButtonRow{"old", "", "", ReportFoundOld, "AddBureau", "Confirmation"};
    QTest::newRow("RMCR pending keeps Import")
        << ButtonRow{"rmcr-pending", "", "", ReportFound, "AddBureau RMCR Repull View Print Web", "RMCR Status"};
    QTest::newRow("TransUnion not on the report") << ButtonRow{"joint", "", "", ReportFound, "RMCR", ""};
    QTest::newRow("finished and in progress: neither RMCR nor Add Bureau")
        << ButtonRow{"recent", "4 4 1", "", ReportFound, "AddBureau RMCR", ""};
    QTest::newRow("Experian finished, Equifax missing, TransUnion running")
        << ButtonRow{"recent", "4 0 1", "", ReportFound, "RMCR", ""};
    QTest::newRow("Equifax finished, the others still running") << ButtonRow{"recent", "1 4 1", "", ReportFound, "AddBureau RMCR", ""};
    QTest::newRow("found by reissue number")
        << ButtonRow{"reissue", "", "RX20260417", ReportFound, "AddBureau RMCR Repull RequestSupp", ""};
}

void TestCheckExisting::buttonsFollowTheReport()
{
    QFETCH(ButtonRow, row);
    const bool reissue = !row.reissue.isEmpty();
    ScreenRig rig(row.caseName, reissue ? "reissue" : "demo", reissue ? "Reissue2026pass" : "Demo2026pass");
    QVERIFY(rig.started);
    Props().setCrossCompanyReissue(reissue);
    if (!row.bureaus.isEmpty())
        rig.sim.script("FIND_REPORT", "SUCCESS\n" + ReportFixture::ReportId + "\n" + row.bureaus + "\n1\nJORDAN\nL\nSAMPLE");
    ModalDriver user;   // no report: the pull window opens, and the user cancels it
    user.on("frmPullReport", [](QWidget* w) { w->close(); });
    if (!row.box.isEmpty())
        rig.boxes.expect(vbNo);   // an old report is kept
    ReissueAnswers answers({row.reissue});
    rig.check();

    QCOMPARE(user.acted("frmPullReport"), row.result == ReportNotFound ? 1 : 0);
    QCOMPARE(rig.boxes.boxes.value(0).title, row.box);
    QCOMPARE(rig.window()->existingReportResult(), row.result);
    QCOMPARE(rig.window()->ePullType(), row.result == ReportNotFound ? 1 : 2);
    QStringList expected = row.disabled.split(' ');
    expected.sort();
    QCOMPARE(disabledButtons(rig), expected.join(' '));
    const QPushButton& repull = rig.window()->Button(MainButton::cmdRepull);
    QCOMPARE(repull.text() + "|" + repull.toolTip(), row.result == ReportNotFound
                 ? QString("&Pull Credit|Pull New Credit Report") : QString("&Repull|Repull Previously Pulled Report"));
    QVERIFY(rig.enabled("cmdClose"));
    // Each account read went out once, the department ones with the department stored.
    for (const QString& action : kRefreshReads + QStringList{"FIND_REPORT"})
        QVERIFY2(rig.sent(action).size() == 1, qPrintable(action));
    QVERIFY(rig.sent("GETABOUT").first().endsWith("&DEPARTMENTID=QDEMO-LOANS"));
    QVERIFY(QFile::exists(rig.env.path("archive")));
    QVERIFY(rig.desk.hourglassShown > 0);
    QCOMPARE(rig.desk.busyDepth, 0);
    if (reissue) {
        QCOMPARE(rig.window()->findChild<QLabel*>("lblRef")->text(), QString("Reissue #:"));
        QCOMPARE(rig.window()->Box(LoanBox::lblReference).text(), row.reissue);
        QVERIFY(!rig.window()->Box(LoanBox::lblReference).isEnabled());
        QVERIFY(rig.window()->windowTitle().endsWith(" - " + row.reissue));
    }
}

void TestCheckExisting::reportAgeAgainstTimeFrame_data()
{
    QTest::addColumn<int>("daysAgo");   // -1: no request date
    QTest::addColumn<int>("status");
    QTest::newRow("30 days: old") << 30 << int(ReportFoundOld);
    QTest::newRow("29 days: recent") << 29 << int(ReportFound);
    QTest::newRow("no request date") << -1 << int(ReportFound);
}

void TestCheckExisting::reportAgeAgainstTimeFrame()
{
    QFETCH(int, daysAgo);
    QFETCH(int, status);
    ScreenRig rig("recent");
    QVERIFY(rig.started);
    // Late in the evening of the request day still counts as that day.
    const QDate requested = rig.desk.now.date().addDays(-daysAgo);
    rig.sim.script("DATEREQUESTED", daysAgo < 0 ? QString() : requested.toString("M/d/yyyy") + " 11:58:00 PM");
    if (status == ReportFoundOld)
        rig.boxes.expect(vbNo);   // keep the old report
    rig.check();
    QCOMPARE(rig.window()->existingReportResult(), status);
    QCOMPARE(rig.window()->session().dateRequested().isEmpty(), daysAgo < 0);
}

// A check that could not search ends in the search error: no new pull is offered, nothing of the
// refresh is stored, the failure is logged once.
void TestCheckExisting::failedCheckEndsInSearchError_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("box");       // title, then the beginning of the text
    QTest::addColumn<QString>("logged");    // empty: not counted here (the transport's concern)
    QTest::newRow("missing EXPORT.DAT") << "no-export"
        << "Import Error|Borrower information not retrieved from EXPORT.DAT\r\nReason: " << "EXPORT.DAT";
    QTest::newRow("unreachable server") << "unreachable" << "Invalid Internet Connection Found|" << "";
    QTest::newRow("refused search") << "FAILED\nThe bureau gateway is closed" << "Problem/Error|" << "";
    QTest::newRow("HTTP 500 on FIND_REPORT") << "http500" << "" << "500";
    QTest::newRow("time-out on FIND_REPORT") << "timeout" << "" << "action=FIND_REPORT";
    QTest::newRow("request date not a date") << "bad-date" << "Import Error|"
        << "The report's request date \"sometime next week\" is not a date.";
    QTest::newRow("invalid password restarts") << "FAILED\nINVALID Password" << "Problem/Error|" << "";
}

void TestCheckExisting::failedCheckEndsInSearchError()
{
    QFETCH(QString, failure);
    QFETCH(QString, box);
    QFETCH(QString, logged);
    ScreenRig rig("recent");
    QVERIFY(rig.started);
    Props().setSavePassword(true);
    rig.typedPassword = "Demo2026pass";
    if (failure == "no-export")
        QFile::remove(rig.env.path("receive/EXPORT.DAT"));
    if (failure == "unreachable")
        Props().setServerURL(QStringLiteral("http://127.0.0.1:%1").arg(closedPort()));
    if (failure.startsWith("FAILED"))
        rig.sim.script("FIND_REPORT", failure);
    if (failure == "http500")
        rig.sim.scriptStatus("FIND_REPORT", 500, "server trouble");
    if (failure == "timeout") {
        qputenv("QUILLCLIENT_HTTP_TIMEOUT_MS", "300");
        rig.sim.setLatency(1500);
    }
    if (failure == "bad-date")
        rig.sim.script("DATEREQUESTED", "sometime next week");
    if (!box.isEmpty())
        rig.boxes.expect();
    rig.check();
    if (failure == "timeout") {   // (a control request runs the event loop: not before a restart is seen)
        qunsetenv("QUILLCLIENT_HTTP_TIMEOUT_MS");
        rig.sim.setLatency(0);
    }

    QCOMPARE(rig.boxes.unexpected, 0);
    if (!box.isEmpty())
        QVERIFY2((rig.boxes.boxes[0].title + "|" + rig.boxes.boxes[0].text).startsWith(box), qPrintable(rig.boxes.boxes[0].text));
    const QByteArray log = rig.env.readFile("errors.log");
    if (!logged.isEmpty())
        QCOMPARE(log.count("Date: "), 1);
    QVERIFY2(log.contains(logged.toUtf8()), log.constData());
    QVERIFY(!log.contains("Demo2026pass"));
    QCOMPARE(rig.window()->existingReportResult(), int(ReportSearchError));
    QCOMPARE(disabledButtons(rig), QString("AddBureau Import Print RMCR Repull RequestSupp View Web"));
    QVERIFY(rig.window()->Button(MainButton::cmdRepull).text() != "&Pull Credit");
    if (failure == "no-export")
        QVERIFY(rig.sent("FIND_REPORT").isEmpty());
    QVERIFY(rig.window()->isVisible());
    QCOMPARE(rig.desk.busyDepth, 0);
    // No refresh step ran: what the reads sent ahead for it returned is dropped.
    QVERIFY(!Props().IsLoginByRef());
    QCOMPARE(Props().DepartmentID(), QString());
    // "Invalid password" in any letter case: the stored password goes and start-up runs again.
    const bool restarts = failure.endsWith("Password");
    QCOMPARE(SettingsStore::GetSetting("OQCREDIT", "Main", "Password", "<none>") == "<none>", restarts);
    QCOMPARE(RestartPending(), restarts);
    if (restarts)
        QTRY_COMPARE(rig.settingsShown, 1);
}

void TestCheckExisting::refreshStopsAtFailingStep_data()
{
    QTest::addColumn<QString>("failing");
    QTest::newRow("department: nothing that needs it is sent") << "GETDEPARTMENTID";
    QTest::newRow("supplement page: the later reads sent ahead are dropped") << "GETSUPPLEMENTPAGE";
}

// A refresh step fails: what the steps after it would have stored, shown or opened stays away.
void TestCheckExisting::refreshStopsAtFailingStep()
{
    QFETCH(QString, failing);
    const bool department = failing == "GETDEPARTMENTID";
    ScreenRig rig("recent");
    QVERIFY(rig.started);
    rig.sim.scriptStatus(failing, 500, "trouble");
    rig.sim.setLatency(department ? 0 : 30);
    QAction* changePassword = rig.window()->findChild<QAction*>("mnuChangePassword");
    changePassword->setEnabled(false);
    rig.check();
    if (!department)
        QTRY_COMPARE(rig.sent("CHANGEPASSWORDRIGHTS").size(), 1);
    for (const QString& action : kRefreshReads.mid(3))
        QVERIFY2(rig.sent(action).size() == (department ? 0 : 1), qPrintable(action));
    QCOMPARE(Props().DepartmentID(), department ? QString() : QString("QDEMO-LOANS"));
    QCOMPARE(QStringList({Props().RMCRPageLink(), Props().SummaryPageLink(), Props().NewsBurstUrl(),
                          Props().PhoneNumber(), Props().ReportListPage()}).join(""), QString());
    QVERIFY(!Props().CanChangePassword());
    QVERIFY(!changePassword->isEnabled());
    QVERIFY(rig.shell.calls.isEmpty());   // the news page was not opened
    QVERIFY(Prefetch::Held().isEmpty());
    const QByteArray log = rig.env.readFile("errors.log");
    QVERIFY(log.contains("500") && log.contains("METHOD='" + failing.toUtf8() + "'") && !log.contains("Demo2026pass"));
}

void TestCheckExisting::reissueLoopAsksAgainUntilNotAReissue_data()
{
    QTest::addColumn<QStringList>("reissues");
    QTest::newRow("off: no reissue window") << QStringList();
    QTest::newRow("one not found") << QStringList{"NOSUCH1", ""};
    QTest::newRow("two not found") << QStringList{"NOSUCH1", "NOSUCH2", ""};
}

// Every number that finds nothing is reported and asked for again; "Not a Reissue" searches by
// the borrowers.
void TestCheckExisting::reissueLoopAsksAgainUntilNotAReissue()
{
    QFETCH(QStringList, reissues);
    ScreenRig rig("recent", "reissue", "Reissue2026pass");
    QVERIFY(rig.started);
    Props().setCrossCompanyReissue(!reissues.isEmpty());
    for (int i = 1; i < reissues.size(); ++i)
        rig.boxes.expect();
    ReissueAnswers answers(reissues);
    rig.check();
    QCOMPARE(answers.shown, reissues.size());
    const QStringList searches = rig.sent("FIND_REPORT");
    QCOMPARE(searches.size(), qMax(1, int(reissues.size())));
    for (int i = 0; i < searches.size(); ++i) {
        QCOMPARE(searches[i].contains("ReIssueNum="), !reissues.value(i).isEmpty());
        if (i + 1 < reissues.size())
            QCOMPARE(rig.boxes.boxes[i].text + "|" + rig.boxes.boxes[i].title + QString::number(rig.boxes.boxes[i].icon()),
                     "A report with reissue number: [" + reissues[i] + "] could not be found.|Report Not Found"
                         + QString::number(vbInformation));
    }
    QCOMPARE(rig.window()->findChild<QLabel*>("lblRef")->text(), QString("Reference:"));
    QVERIFY(rig.window()->Box(LoanBox::lblReference).isEnabled());
    QVERIFY(rig.desk.hourglassShown >= searches.size());
    QCOMPARE(rig.desk.busyDepth, 0);
}

void TestCheckExisting::individualLoanHidesCoBorrowerKeepingBoxes()
{
    ScreenRig rig("recent");
    QVERIFY(rig.started);
    rig.window()->Box(LoanBox::lblCoFirst).setText("FROM BEFORE");
    rig.check();
    QVERIFY(!rig.window()->findChild<QGroupBox*>("fmCoBorrower")->isVisible());
    QCOMPARE(rig.window()->Box(LoanBox::lblCoFirst).text(), QString("FROM BEFORE"));
    QCOMPARE(rig.window()->Box(LoanBox::lblBorFirst).text(), QString("JORDAN"));
    QCOMPARE(rig.window()->Box(LoanBox::lblBorSSN).text(), QString("900-11-0002"));
    QCOMPARE(rig.window()->Box(LoanBox::lblBorDOB).text(), QString("02/14/1985"));
    // What the check found stays readable after its window is gone, until the next check.
    QTRY_VERIFY(frmCheckExisting::loaded() == nullptr);
    const QString found = rig.window()->sReportUID();
    QVERIFY(!found.isEmpty());
    QVERIFY(rig.window()->inquiry() != nullptr);
    rig.window()->session().OrderPlaced("NEW-ORDER-GUID");
    QCOMPARE(rig.window()->session().ExistingReportID(), QString("NEW-ORDER-GUID"));
    rig.check();
    QCOMPARE(rig.window()->sReportUID(), found);
}

void TestCheckExisting::reloadRunsStartupAgain()
{
    ScreenRig rig("recent");
    QVERIFY(rig.started);
    QCOMPARE(Main(), StartupOutcome::Started);
    QCOMPARE(rig.window()->Box(LoanBox::lblBorLast).text(), QString("SAMPLE"));
    rig.useCase("no-report");
    rig.sim.clearRequests();
    ModalDriver user;
    user.on("frmPullReport", [](QWidget* w) { w->close(); });
    rig.window()->findChild<QAction*>("mnuReload")->trigger();
    rig.window()->findChild<QAction*>("mnuReload")->trigger();   // a second request while one is pending is ignored
    QTRY_COMPARE(rig.window()->Box(LoanBox::lblBorLast).text(), QString("NEWCOMB"));
    QCOMPARE(rig.sent("FIND_REPORT").size(), 1);
    QCOMPARE(rig.window()->Button(MainButton::cmdRepull).text(), QString("&Pull Credit"));
    QCOMPARE(user.acted("frmPullReport"), 1);
}

void TestCheckExisting::overlapShowsWhatOneByOneShows_data()
{
    QTest::addColumn<QString>("caseName");
    QTest::addColumn<QString>("scripted");   // "ACTION status body", body lines split at "|"; 3xx: a redirect to body
    QTest::addColumn<QStringList>("reissue");   // non-empty: the reissue account
    QTest::newRow("found, recent") << "recent" << "" << QStringList();
    QTest::newRow("found, old") << "old" << "" << QStringList();
    QTest::newRow("found, RMCR pending") << "rmcr-pending" << "" << QStringList();
    QTest::newRow("not found") << "no-report" << "" << QStringList();
    QTest::newRow("search error") << "recent" << "FIND_REPORT 200 FAILED|The bureau gateway is closed" << QStringList();
    QTest::newRow("reissue found") << "reissue" << "" << QStringList{"RX20260417"};
    QTest::newRow("reissue not found, then not a reissue") << "recent" << "" << QStringList{"NOSUCH1", ""};
    QTest::newRow("date request fails") << "recent" << "DATEREQUESTED 500 trouble" << QStringList();
    QTest::newRow("refresh fails in the middle") << "recent" << "GETSUMMARYPAGE 500 trouble" << QStringList();
    QTest::newRow("department fails") << "recent" << "GETDEPARTMENTID 500 trouble" << QStringList();
    // Redirected only in the run with reads sent ahead: the one-by-one run shows what it shows without.
    QTest::newRow("department redirected on the same server") << "recent" << "GETDEPARTMENTID 307 {self}" << QStringList();
    QTest::newRow("reissue check fails") << "recent" << "CROSS_COMPANY_REISSUE 500 trouble" << QStringList();
    QTest::newRow("invalid password") << "recent" << "FIND_REPORT 200 FAILED|Invalid password" << QStringList();
}

// Start-up with reads sent ahead leaves exactly what start-up one request after the other
// leaves; beyond the one-by-one requests the server sees only reads sent ahead for steps that
// never came.
void TestCheckExisting::overlapShowsWhatOneByOneShows()
{
    QFETCH(QString, caseName);
    QFETCH(QString, scripted);
    QFETCH(QStringList, reissue);
    const QString user = reissue.isEmpty() ? "demo" : "reissue";
    const QString password = reissue.isEmpty() ? "Demo2026pass" : "Reissue2026pass";
    QStringList results[2];
    QStringList received[2];
    for (const bool overlap : {false, true}) {
        Prefetch::SetEnabled(overlap);
        ScreenRig rig(caseName, user, password);
        QVERIFY(rig.started);
        rig.typedPassword = password;   // the settings window after a rejected password
        const QStringList script = scripted.split(' ');
        const bool redirect = script.size() > 2 && script[1].startsWith('3');
        if (redirect && overlap)
            rig.sim.scriptRedirect(script[0], script[1].toInt(), script[2]);
        else if (script.size() > 2 && !redirect)
            rig.sim.scriptStatus(script[0], script[1].toInt(), script.mid(2).join(' ').replace('|', '\n'));
        for (int i = 0; i < 4; ++i)
            rig.boxes.expect();
        ReissueAnswers answers(reissue);
        ModalDriver driver;
        driver.on("frmPullReport", [](QWidget* w) { w->close(); });
        QCOMPARE(Main(), StartupOutcome::Started);
        results[overlap] = visibleResult(rig, answers.shown);
        rig.boxes.boxes.clear();
        // A restart asked for by the check runs once no nested loop runs: its requests count
        // with the run that asked for it.
        QTRY_VERIFY(!RestartPending());
        received[overlap] = actionsReceived(rig);
        rig.boxes.unexpected = 0;
    }
    QCOMPARE(results[true], results[false]);
    QStringList extra = received[true];
    for (const QString& action : received[false])
        QVERIFY2(extra.removeOne(action), qPrintable(action + " was not sent"));
    for (const QString& action : extra)
        QVERIFY2(kRefreshReads.contains(action), qPrintable(action + " sent ahead"));
}

// Closing the window before its work has begun neither skips the loading of the loan nor
// leaves the check in "not found".
void TestCheckExisting::closingTheWindowCannotSkipTheCheck()
{
    ScreenRig rig("recent");
    QVERIFY(rig.started);
    CloseOnShow closer;
    rig.check();
    QVERIFY(closer.closes >= 1);
    QCOMPARE(rig.window()->Box(LoanBox::lblBorLast).text(), QString("SAMPLE"));
    QCOMPARE(rig.sent("FIND_REPORT").size(), 1);
    QCOMPARE(rig.window()->existingReportResult(), int(ReportFound));
    QVERIFY(rig.enabled("cmdView"));
}

int runCheckExistingTests(int argc, char** argv)
{
    TestCheckExisting t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_checkExisting.moc"
