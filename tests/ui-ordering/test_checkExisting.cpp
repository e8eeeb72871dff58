#include "ModalDriver.h"
#include "ScreenRig.h"
#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "VendorSim.h"
#include "app/StartupSteps.h"
#include "app/basMain.h"
#include "core/AppContext.h"
#include "core/basSettings.h"
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

#include <memory>

namespace {

const QStringList kSeven = {"cmdPrint", "cmdView", "cmdRMCR", "cmdImport", "cmdAddBureau", "cmdRequestSupp", "cmdRepull"};

// Answers the reissue windows as they come up: a number types and presses Reissue, an empty
// entry presses "Not a Reissue".
class ReissueAnswers : public QObject
{
public:
    explicit ReissueAnswers(QStringList answers) : m_answers(std::move(answers))
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, &ReissueAnswers::poll);
        m_timer.start();
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
        if (answer.isEmpty()) {
            window->findChild<QPushButton*>("cmdClose")->click();
            return;
        }
        window->findChild<QLineEdit*>("txtReissue")->setText(answer);
        window->findChild<QPushButton*>("cmdReissue")->click();
    }
    QStringList m_answers;
    QTimer m_timer;
};


// Everything a start-up leaves that a user, the server or a later step could notice: stored
// values, the main window's buttons and texts, boxes, shell opens, errors.log, windows shown,
// a queued restart; the server address replaced by "<server>".
QStringList visibleResult(ScreenRig& rig, int reissueWindows)
{
    const clsProperties& p = Props();
    QStringList seen;
    auto add = [&seen](const QString& name, const QVariant& value) { seen << name + "=" + value.toString(); };
    add("DepartmentID", p.DepartmentID());
    add("SuppPageLink", p.SuppPageLink());
    add("RMCRPageLink", p.RMCRPageLink());
    add("SummaryPageLink", p.SummaryPageLink());
    add("NewsBurstUrl", p.NewsBurstUrl());
    add("About", p.PhoneNumber() + "|" + p.SupportEmail() + "|" + p.PasswordSpecs());
    add("ReportListPage", p.ReportListPage());
    add("CanChangePassword", p.CanChangePassword());
    add("Rights", QString("%1%2%3").arg(p.bEFQ_Right()).arg(p.bEXP_Right()).arg(p.bTU_Right()));
    add("LoginByRef", QString("%1%2").arg(p.IsLoginByRef()).arg(p.CanLoginByRef()));
    QStringList refs;
    for (const auto& ref : p.LoginByReferences())
        refs << ref->LongName() + "*" + ref->UserName();
    add("LoginByReferences", refs.join('|'));
    add("CrossCompanyReissue", p.CrossCompanyReissue());
    add("ReissueNumber", p.ReissueNumber());
    add("SavePassword", p.SavePassword());
    frmMain* w = rig.window();
    for (const QString& name : kSeven + QStringList{"cmdWeb"})
        add(name, rig.enabled(name));
    const QPushButton& repull = w->Button(MainButton::cmdRepull);
    add("cmdRepull", repull.text() + "|" + repull.toolTip());
    add("mnuChangePassword", w->findChild<QAction*>("mnuChangePassword")->isEnabled());
    add("caption", w->windowTitle());
    const QLineEdit& reference = w->Box(LoanBox::lblReference);
    add("reference", w->findChild<QLabel*>("lblRef")->text() + "|" + reference.text() + "|"
                         + QString::number(reference.isEnabled()));
    add("borrower", w->Box(LoanBox::lblBorFirst).text() + " " + w->Box(LoanBox::lblBorLast).text() + " "
                        + w->Box(LoanBox::lblBorSSN).text());
    add("coBorrower", w->findChild<QGroupBox*>("fmCoBorrower")->isVisible());
    add("result", QString("%1|%2|%3").arg(w->existingReportResult()).arg(w->sReportUID()).arg(w->ePullType()));
    for (const ScriptedMsgBox::Box& box : rig.boxes.boxes)
        add("box", box.title + "|" + QString::number(box.style) + "|" + box.text);
    for (const ShellRecorder::Call& call : rig.shell.calls)
        add("shell", call.verb + "|" + call.target);
    for (const QString& line : QString::fromLatin1(rig.env.readFile("errors.log")).split("\r\n"))
        if (!line.startsWith("Date: "))
            add("errors.log", line);
    add("reissue windows", reissueWindows);
    add("restart", RestartPending());
    return seen.replaceInStrings(rig.sim.baseUrl(), "<server>");
}

// The actions of the requests the server received, in order.
QStringList actionsReceived(ScreenRig& rig)
{
    QStringList actions;
    static const QRegularExpression action("[?&][Aa]ction=([A-Z_]+)");
    for (const QString& line : rig.sim.requests())
        actions << action.match(line).captured(1);
    return actions;
}

} // namespace

class TestCheckExisting : public QObject
{
    Q_OBJECT

private slots:
    void outcomeSetsButtons_data();
    void outcomeSetsButtons();
    void reportAgeAgainstTimeFrame_data();
    void reportAgeAgainstTimeFrame();
    void searchErrorDisablesEverythingAndSkipsRefresh();
    void reissueLoopAsksAgainUntilNotAReissue();
    void reissueFoundDisablesFour();
    void refreshStopsAtFailingStep();
    void rmcrPendingKeepsImport();
    void individualLoanHidesCoBorrowerKeepingBoxes();
    void loanPagesCarryScreenValues();
    void missingExportFileShowsImportError();
    void closeDeletesDownloadedReport();
    void reloadRunsStartupAgain();
    void invalidPasswordClearsStoredPassword();
    void overlapShowsWhatOneByOneShows_data();
    void overlapShowsWhatOneByOneShows();
    void failingStepDiscardsLaterAnswers();
    void cleanup() { Prefetch::SetEnabled(true); }
    void failedCheckEndsInSearchError_data();
    void failedCheckEndsInSearchError();
    void hourglassIsRestoredAfterEveryCheck_data();
    void hourglassIsRestoredAfterEveryCheck();
    void closingTheWindowCannotSkipTheCheck();
    void resultsOutliveTheWindow();
};

void TestCheckExisting::outcomeSetsButtons_data()
{
    QTest::addColumn<QString>("caseName");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("disabled");
    QTest::addColumn<QString>("repullCaption");
    QTest::newRow("no report") << "no-report" << int(ReportNotFound)
        << QStringList{"cmdPrint", "cmdView", "cmdRMCR", "cmdImport", "cmdAddBureau", "cmdRequestSupp", "cmdWeb"}
        << "&Pull Credit";
    QTest::newRow("recent, all bureaus finished") << "recent" << int(ReportFound)
        << QStringList{"cmdAddBureau"} << "&Repull";
    QTest::newRow("older than the time frame") << "old" << int(ReportFoundOld)
        << QStringList{"cmdAddBureau"} << "&Repull";
}

void TestCheckExisting::outcomeSetsButtons()
{
    QFETCH(QString, caseName);
    QFETCH(int, status);
    QFETCH(QStringList, disabled);
    QFETCH(QString, repullCaption);
    ScreenRig rig(caseName);
    QVERIFY(rig.started);
    // No report: the pull window opens, and the user cancels it. An old one: the user keeps it.
    ModalDriver user;
    user.on("frmPullReport", [](QWidget* w) { w->close(); });
    if (status == ReportFoundOld)
        rig.boxes.expect(vbNo);
    rig.check();
    QCOMPARE(user.acted("frmPullReport"), status == ReportNotFound ? 1 : 0);
    QCOMPARE(rig.window()->existingReportResult(), status);
    QCOMPARE(rig.window()->ePullType(), status == ReportNotFound ? 1 : 2);
    QStringList actual;
    for (const QString& name : kSeven + QStringList{"cmdWeb"})
        if (!rig.enabled(name))
            actual << name;
    actual.sort();
    disabled.sort();
    QCOMPARE(actual, disabled);
    QCOMPARE(rig.window()->Button(MainButton::cmdRepull).text(), repullCaption);
    QVERIFY(rig.enabled("cmdClose"));
    // Each account read went out once, the department ones with the department stored.
    for (const QString& action : {"FIND_REPORT", "LOGINBYREFERENCE", "REQUESTBUREAURIGHTS", "GETDEPARTMENTID",
                                  "GETSUPPLEMENTPAGE", "GETRMCRPAGE", "GETSUMMARYPAGE", "CHECKMESSAGES", "GETABOUT",
                                  "GETREPORTLISTPAGE", "CHANGEPASSWORDRIGHTS"})
        QVERIFY2(rig.sent(action).size() == 1, qPrintable(action));
    QVERIFY(rig.sent("GETABOUT").first().endsWith("&DEPARTMENTID=" + Props().DepartmentID()));
    QCOMPARE(Props().DepartmentID(), QString("QDEMO-LOANS"));
    QVERIFY(QFile::exists(rig.env.path("archive")));
}

void TestCheckExisting::reportAgeAgainstTimeFrame_data()
{
    QTest::addColumn<int>("daysAgo");
    QTest::addColumn<bool>("emptyDate");
    QTest::addColumn<int>("status");
    QTest::newRow("30 days: old") << 30 << false << int(ReportFoundOld);
    QTest::newRow("29 days: recent") << 29 << false << int(ReportFound);
    QTest::newRow("no request date") << 0 << true << int(ReportFound);
}

void TestCheckExisting::reportAgeAgainstTimeFrame()
{
    QFETCH(int, daysAgo);
    QFETCH(bool, emptyDate);
    QFETCH(int, status);
    ScreenRig rig("recent");
    QVERIFY(rig.started);
    // Late in the evening of the request day still counts as that day.
    const QDate requested = rig.desk.now.date().addDays(-daysAgo);
    rig.sim.script("DATEREQUESTED", emptyDate ? QString() : requested.toString("M/d/yyyy") + " 11:58:00 PM");
    if (status == ReportFoundOld)
        rig.boxes.expect(vbNo);   // keep the old report
    rig.check();
    QCOMPARE(rig.window()->existingReportResult(), status);
}

void TestCheckExisting::searchErrorDisablesEverythingAndSkipsRefresh()
{
    ScreenRig rig("recent");
    QVERIFY(rig.started);
    rig.sim.script("FIND_REPORT", "FAILED\nThe bureau gateway is closed");
    rig.boxes.expect();
    rig.check();
    QCOMPARE(rig.boxes.boxes.size(), 1);
    QCOMPARE(rig.boxes.boxes[0].title, QString("Problem/Error"));
    QCOMPARE(rig.window()->sReportUID(), QString("ERROR"));
    for (const QString& name : kSeven)
        QVERIFY2(!rig.enabled(name), qPrintable(name));
    QVERIFY(rig.window()->isVisible());
    // Reads sent ahead for the refresh are dropped: nothing of theirs is stored.
    QVERIFY(!Props().IsLoginByRef());
    QCOMPARE(Props().DepartmentID(), QString());
}

void TestCheckExisting::reissueLoopAsksAgainUntilNotAReissue()
{
    ScreenRig rig("recent", "reissue", "Reissue2026pass");
    QVERIFY(rig.started);
    Props().setCrossCompanyReissue(true);
    rig.boxes.expect();
    ReissueAnswers answers({"NOSUCH1", ""});
    rig.check();
    QCOMPARE(answers.shown, 2);
    QCOMPARE(rig.boxes.boxes.size(), 1);
    QCOMPARE(rig.boxes.boxes[0].text, QString("A report with reissue number: [NOSUCH1] could not be found."));
    QCOMPARE(rig.boxes.boxes[0].title, QString("Report Not Found"));
    QCOMPARE(rig.boxes.boxes[0].icon(), int(vbInformation));
    const QStringList searches = rig.sent("FIND_REPORT");
    QCOMPARE(searches.size(), 2);
    QVERIFY(searches[0].contains("ReIssueNum=NOSUCH1"));
    QVERIFY(!searches[1].contains("ReIssueNum"));
    QCOMPARE(rig.window()->findChild<QLabel*>("lblRef")->text(), QString("Reference:"));
    QVERIFY(rig.window()->Box(LoanBox::lblReference).isEnabled());
}

void TestCheckExisting::reissueFoundDisablesFour()
{
    ScreenRig rig("reissue", "reissue", "Reissue2026pass");
    QVERIFY(rig.started);
    Props().setCrossCompanyReissue(true);
    ReissueAnswers answers({"RX20260417"});
    rig.check();
    QCOMPARE(rig.window()->existingReportResult(), int(ReportFound));
    for (const QString& name : {"cmdRMCR", "cmdAddBureau", "cmdRequestSupp", "cmdRepull"})
        QVERIFY2(!rig.enabled(name), qPrintable(name));
    for (const QString& name : {"cmdView", "cmdPrint", "cmdImport"})
        QVERIFY2(rig.enabled(name), qPrintable(name));
    QCOMPARE(rig.window()->findChild<QLabel*>("lblRef")->text(), QString("Reissue #:"));
    QCOMPARE(rig.window()->Box(LoanBox::lblReference).text(), QString("RX20260417"));
    QVERIFY(!rig.window()->Box(LoanBox::lblReference).isEnabled());
    QVERIFY(rig.window()->windowTitle().endsWith(" - RX20260417"));
}

void TestCheckExisting::refreshStopsAtFailingStep()
{
    ScreenRig rig("recent");
    QVERIFY(rig.started);
    rig.sim.scriptStatus("GETDEPARTMENTID", 500, "server trouble");
    rig.check();
    QCOMPARE(rig.sent("GETDEPARTMENTID").size(), 1);
    QVERIFY(rig.sent("GETSUPPLEMENTPAGE").isEmpty());
    QVERIFY(rig.sent("CHANGEPASSWORDRIGHTS").isEmpty());
    const QByteArray log = rig.env.readFile("errors.log");
    QVERIFY(log.contains("500"));
    QVERIFY(!log.contains("Demo2026pass"));
}

void TestCheckExisting::rmcrPendingKeepsImport()
{
    ScreenRig rig("rmcr-pending");
    QVERIFY(rig.started);
    rig.boxes.expect();
    rig.check();
    QCOMPARE(rig.boxes.boxes.size(), 1);
    QCOMPARE(rig.boxes.boxes[0].title, QString("RMCR Status"));
    QCOMPARE(rig.boxes.boxes[0].text, QString("This report is currently at RMCR Pending Status.\r\n"
                                              "It will not be available until this request is completed."));
    QVERIFY(rig.enabled("cmdImport"));
    for (const QString& name : {"cmdView", "cmdPrint", "cmdWeb", "cmdAddBureau", "cmdRMCR", "cmdRepull"})
        QVERIFY2(!rig.enabled(name), qPrintable(name));
    // The check went on after the message.
    QCOMPARE(rig.sent("CHANGEPASSWORDRIGHTS").size(), 1);
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
    QCOMPARE(rig.window()->Box(LoanBox::lblCurAddr).text(), QString::fromUtf8("27 CAFÉ ROW"));
    QVERIFY(!rig.sent("FIND_REPORT").first().contains("CoSSN"));
}

void TestCheckExisting::loanPagesCarryScreenValues()
{
    ScreenRig rig("recent");
    QVERIFY(rig.started);
    rig.check();
    // The account has unread news: the check opened the news page first.
    QCOMPARE(rig.shell.calls.size(), 1);
    QVERIFY(rig.shell.calls[0].target.startsWith(rig.sim.baseUrl()));
    QVERIFY(rig.shell.calls[0].target.contains("?Interface=OQCREDIT&username=demo&CID=&DID=QDEMO-LOANS"));
    rig.shell.calls.clear();
    Props().setBaseUrl("https://vendor.example");
    Props().setRMCRPageLink("/rmcr.asp?");
    Props().setSuppPageLink("/supp.asp");
    rig.window()->Box(LoanBox::lblBorLast).setText(" O'NEIL & CO ");
    rig.window()->Button(MainButton::cmdRMCR).setEnabled(true);
    rig.window()->Button(MainButton::cmdRMCR).click();
    rig.window()->Button(MainButton::cmdRequestSupp).click();
    QCOMPARE(rig.shell.calls.size(), 2);
    const QString uid = rig.window()->sReportUID();
    QCOMPARE(rig.shell.calls[0].target,
             "https://vendor.example/rmcr.asp?From=RMCR&Username=demo&Companyid=&RID=" + uid
                 + "&BorSSN=900110002&BorFirstname=JORDAN&BorLastname=O%60NEIL%20%26%20CO&BorMiddle=L&BorSuffix=");
    QVERIFY(rig.shell.calls[1].target.startsWith("https://vendor.example/supp.asp?Username=demo&"));
    // A failed open is explained with the shell's text.
    rig.shell.result = 31;
    rig.boxes.expect();
    rig.window()->Button(MainButton::cmdRequestSupp).click();
    QCOMPARE(rig.boxes.boxes.last().title, QString("Error in cmdRequestSupp_Click"));
    QVERIFY(rig.boxes.boxes.last().text.endsWith("31- There is no application associated with the given filename extension."));
}

void TestCheckExisting::missingExportFileShowsImportError()
{
    ScreenRig rig("recent");
    QVERIFY(rig.started);
    QFile::remove(rig.env.path("receive/EXPORT.DAT"));
    rig.boxes.expect();
    rig.check();
    QCOMPARE(rig.boxes.boxes.size(), 1);
    QCOMPARE(rig.boxes.boxes[0].title, QString("Import Error"));
    QVERIFY(rig.boxes.boxes[0].text.startsWith("Borrower information not retrieved from EXPORT.DAT\r\nReason: "));
    QVERIFY(rig.sent("FIND_REPORT").isEmpty());
}

void TestCheckExisting::closeDeletesDownloadedReport()
{
    ScreenRig rig("recent");
    QVERIFY(rig.started);
    rig.check();
    const QString pdf = rig.env.path("SAMPLE1.pdf");
    rig.env.writeFile("SAMPLE1.pdf", "%PDF-1.4");
    rig.window()->setsReportLocation(pdf);
    rig.window()->Button(MainButton::cmdClose).click();
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(rig.programEnds, 1);
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

void TestCheckExisting::invalidPasswordClearsStoredPassword()
{
    ScreenRig rig("recent");
    QVERIFY(rig.started);
    Props().setSavePassword(true);
    rig.typedPassword = "Demo2026pass";
    rig.sim.script("FIND_REPORT", "FAILED\nINVALID Password");
    rig.boxes.expect();   // the search's own Problem/Error box
    rig.check();
    QCOMPARE(SettingsStore::GetSetting("OQCREDIT", "Main", "Password", "<none>"), QString("<none>"));
    QVERIFY(RestartPending());
    // Start-up runs again from the event loop and asks for the settings.
    QTRY_COMPARE(rig.settingsShown, 1);
}

void TestCheckExisting::overlapShowsWhatOneByOneShows_data()
{
    QTest::addColumn<QString>("caseName");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("scripted");   // "ACTION status body", body lines split at "|"; 3xx: a redirect to body
    QTest::addColumn<QStringList>("reissue");
    QTest::newRow("found, recent") << "recent" << "demo" << "" << QStringList();
    QTest::newRow("found, old") << "old" << "demo" << "" << QStringList();
    QTest::newRow("found, RMCR pending") << "rmcr-pending" << "demo" << "" << QStringList();
    QTest::newRow("not found") << "no-report" << "demo" << "" << QStringList();
    QTest::newRow("search error") << "recent" << "demo" << "FIND_REPORT 200 FAILED|The bureau gateway is closed"
        << QStringList();
    QTest::newRow("reissue found") << "reissue" << "reissue" << "" << QStringList{"RX20260417"};
    QTest::newRow("reissue not found, then not a reissue") << "recent" << "reissue" << ""
        << QStringList{"NOSUCH1", ""};
    QTest::newRow("date request fails") << "recent" << "demo" << "DATEREQUESTED 500 trouble" << QStringList();
    QTest::newRow("refresh fails in the middle") << "recent" << "demo" << "GETSUMMARYPAGE 500 trouble"
        << QStringList();
    QTest::newRow("department fails") << "recent" << "demo" << "GETDEPARTMENTID 500 trouble" << QStringList();
    // Redirected only in the run with reads sent ahead: the one-by-one run shows what it shows without.
    QTest::newRow("department redirected on the same server") << "recent" << "demo" << "GETDEPARTMENTID 307 {self}"
        << QStringList();
    QTest::newRow("reissue check fails") << "recent" << "demo" << "CROSS_COMPANY_REISSUE 500 trouble" << QStringList();
    QTest::newRow("invalid password") << "recent" << "demo" << "FIND_REPORT 200 FAILED|Invalid password"
        << QStringList();
}

// Start-up with reads sent ahead leaves exactly what start-up one request after the other
// leaves; the server sees every request of the one-by-one start-up, and beyond those only
// reads sent ahead for steps that never came.
void TestCheckExisting::overlapShowsWhatOneByOneShows()
{
    QFETCH(QString, caseName);
    QFETCH(QString, user);
    QFETCH(QString, scripted);
    QFETCH(QStringList, reissue);
    const QString password = user == "reissue" ? "Reissue2026pass" : "Demo2026pass";
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
        ModalDriver user;   // no report: the pull window opens, and the user cancels it
        user.on("frmPullReport", [](QWidget* w) { w->close(); });
        QCOMPARE(Main(), StartupOutcome::Started);
        results[overlap] = visibleResult(rig, answers.shown);
        rig.boxes.boxes.clear();
        // A restart asked for by the check runs before the next start-up, once no nested loop
        // runs: its requests count with the run that asked for it.
        QTRY_VERIFY(!RestartPending());
        received[overlap] = actionsReceived(rig);
        rig.boxes.unexpected = 0;
    }
    QCOMPARE(results[true], results[false]);
    QStringList extra = received[true];
    for (const QString& action : received[false])
        QVERIFY2(extra.removeOne(action), qPrintable(action + " was not sent"));
    const QStringList reads = {"LOGINBYREFERENCE", "REQUESTBUREAURIGHTS", "GETDEPARTMENTID", "GETSUPPLEMENTPAGE",
                               "GETRMCRPAGE", "GETSUMMARYPAGE", "CHECKMESSAGES", "GETABOUT", "GETREPORTLISTPAGE",
                               "CHANGEPASSWORDRIGHTS"};
    for (const QString& action : extra)
        QVERIFY2(reads.contains(action), qPrintable(action + " sent ahead"));
}

// The step before them fails: the reads sent ahead for the later steps reached the server and
// answered, but nothing they returned is stored, shown or opened.
void TestCheckExisting::failingStepDiscardsLaterAnswers()
{
    ScreenRig rig("recent");
    QVERIFY(rig.started);
    rig.sim.scriptStatus("GETSUPPLEMENTPAGE", 500, "trouble");
    rig.sim.setLatency(30);
    QAction* changePassword = rig.window()->findChild<QAction*>("mnuChangePassword");
    changePassword->setEnabled(false);
    rig.check();
    QTRY_COMPARE(rig.sent("CHANGEPASSWORDRIGHTS").size(), 1);
    for (const QString& later : {"GETRMCRPAGE", "GETSUMMARYPAGE", "CHECKMESSAGES", "GETABOUT", "GETREPORTLISTPAGE"})
        QVERIFY2(rig.sent(later).size() == 1, qPrintable(later));
    QCOMPARE(Props().DepartmentID(), QString("QDEMO-LOANS"));   // the step before the failure
    QCOMPARE(Props().RMCRPageLink(), QString());
    QCOMPARE(Props().SummaryPageLink(), QString());
    QCOMPARE(Props().NewsBurstUrl(), QString());
    QCOMPARE(Props().PhoneNumber(), QString());
    QCOMPARE(Props().ReportListPage(), QString());
    QVERIFY(!Props().CanChangePassword());
    QVERIFY(!changePassword->isEnabled());
    QVERIFY(rig.shell.calls.isEmpty());   // the news page was not opened
    QVERIFY(Prefetch::Held().isEmpty());
    QVERIFY(rig.env.readFile("errors.log").contains("METHOD='GETSUPPLEMENTPAGE'"));
}

namespace {

// A port on which nothing listens.
quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
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
        if (check && event->type() == QEvent::Show) {
            QTimer::singleShot(0, check, [this, check] {
                ++closes;
                check->close();
            });
        }
        return false;
    }
};

} // namespace

// A check that could not search leaves its result unset (search error): the main window offers
// no new pull for a loan whose search failed, and a failed search is logged once.
void TestCheckExisting::failedCheckEndsInSearchError_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("boxTitle");
    QTest::addColumn<int>("logEntries");   // -1: not counted here (the transport's concern)
    QTest::addColumn<QString>("logged");
    QTest::newRow("missing EXPORT.DAT") << "no-export" << "Import Error" << 1 << "EXPORT.DAT";
    QTest::newRow("unreachable server") << "unreachable" << "Invalid Internet Connection Found" << -1 << "";
    QTest::newRow("HTTP 500 on FIND_REPORT") << "http500" << "" << 1 << "500";
    QTest::newRow("time-out on FIND_REPORT") << "timeout" << "" << 1 << "action=FIND_REPORT";
    QTest::newRow("request date not a date") << "bad-date" << "Import Error" << 1
        << "The report's request date \"sometime next week\" is not a date.";
}

void TestCheckExisting::failedCheckEndsInSearchError()
{
    QFETCH(QString, failure);
    QFETCH(QString, boxTitle);
    QFETCH(int, logEntries);
    QFETCH(QString, logged);
    ScreenRig rig("recent");
    QVERIFY(rig.started);
    if (failure == "no-export")
        QFile::remove(rig.env.path("receive/EXPORT.DAT"));
    if (failure == "unreachable")
        Props().setServerURL(QStringLiteral("http://127.0.0.1:%1").arg(closedPort()));
    if (failure == "http500")
        rig.sim.scriptStatus("FIND_REPORT", 500, "server trouble");
    if (failure == "timeout") {
        qputenv("QUILLCLIENT_HTTP_TIMEOUT_MS", "300");
        rig.sim.setLatency(1500);
    }
    if (failure == "bad-date")
        rig.sim.script("DATEREQUESTED", "sometime next week");
    if (!boxTitle.isEmpty())
        rig.boxes.expect();
    rig.check();
    qunsetenv("QUILLCLIENT_HTTP_TIMEOUT_MS");
    rig.sim.setLatency(0);

    QCOMPARE(rig.boxes.unexpected, 0);
    if (!boxTitle.isEmpty())
        QCOMPARE(rig.boxes.boxes.value(0).title, boxTitle);
    const QByteArray log = rig.env.readFile("errors.log");
    if (logEntries >= 0)
        QCOMPARE(log.count("Date: "), logEntries);
    QVERIFY2(log.contains(logged.toUtf8()), log.constData());
    QCOMPARE(rig.window()->existingReportResult(), int(ReportSearchError));
    for (const QString& name : kSeven)
        QVERIFY2(!rig.enabled(name), qPrintable(name));
    QVERIFY(rig.window()->findChild<QPushButton*>("cmdRepull")->text() != "&Pull Credit");
    // No refresh step ran: what the reads sent ahead for it returned is dropped.
    QVERIFY(!Props().IsLoginByRef());
    QCOMPARE(Props().DepartmentID(), QString());
}

// Every search pass shows the hourglass; every pass, and the check as a whole, restores it.
void TestCheckExisting::hourglassIsRestoredAfterEveryCheck_data()
{
    QTest::addColumn<QString>("caseName");
    QTest::addColumn<QStringList>("reissues");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<int>("searches");
    QTest::newRow("found") << "recent" << QStringList() << 0 << 1;
    QTest::newRow("reissue not found, then not a reissue") << "recent" << QStringList{"NOSUCH1", ""} << 1 << 2;
    QTest::newRow("two reissues not found") << "recent" << QStringList{"NOSUCH1", "NOSUCH2", ""} << 2 << 3;
    QTest::newRow("missing EXPORT.DAT") << "" << QStringList() << 1 << 0;
}

void TestCheckExisting::hourglassIsRestoredAfterEveryCheck()
{
    QFETCH(QString, caseName);
    QFETCH(QStringList, reissues);
    QFETCH(int, boxes);
    QFETCH(int, searches);
    ScreenRig rig(caseName.isEmpty() ? "recent" : caseName, reissues.isEmpty() ? "demo" : "reissue",
                  reissues.isEmpty() ? "Demo2026pass" : "Reissue2026pass");
    QVERIFY(rig.started);
    if (caseName.isEmpty())
        QFile::remove(rig.env.path("receive/EXPORT.DAT"));
    Props().setCrossCompanyReissue(!reissues.isEmpty());
    for (int i = 0; i < boxes; ++i)
        rig.boxes.expect();
    ReissueAnswers answers(reissues);
    rig.check();
    QCOMPARE(rig.sent("FIND_REPORT").size(), searches);
    QCOMPARE(rig.boxes.boxes.size(), boxes);
    QVERIFY(rig.desk.hourglassShown >= searches);
    QCOMPARE(rig.desk.busyDepth, 0);
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
    QCOMPARE(rig.window()->findChild<QLineEdit*>("lblBorLast")->text(), QString("SAMPLE"));
    QCOMPARE(rig.sent("FIND_REPORT").size(), 1);
    QCOMPARE(rig.window()->existingReportResult(), int(ReportFound));
    QVERIFY(rig.enabled("cmdView"));
}

// The window is unloaded after its work; what it found stays readable, and the report ID the
// pull window sets after an order is kept until the next check.
void TestCheckExisting::resultsOutliveTheWindow()
{
    ScreenRig rig("recent");
    QVERIFY(rig.started);
    rig.check();
    QTRY_VERIFY(frmCheckExisting::loaded() == nullptr);
    const QString found = frmCheckExisting::sReportID();
    QVERIFY(!found.isEmpty());
    QCOMPARE(rig.window()->sReportUID(), found);
    QCOMPARE(frmCheckExisting::eReportStatus(), int(ReportFound));
    QVERIFY(frmCheckExisting::oInquiry() != nullptr);
    QVERIFY(!frmCheckExisting::sDateRequested().isEmpty());
    frmCheckExisting::setsReportID("NEW-ORDER-GUID");
    QCOMPARE(rig.window()->ExistingReportID(), QString("NEW-ORDER-GUID"));
    rig.check();
    QCOMPARE(frmCheckExisting::sReportID(), found);
}

int runCheckExistingTests(int argc, char** argv)
{
    TestCheckExisting t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_checkExisting.moc"
