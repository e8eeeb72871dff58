#include "OrderingKit.h"

using namespace kit;

namespace {

const QStringList kRefreshReads = {"LOGINBYREFERENCE", "REQUESTBUREAURIGHTS", "GETDEPARTMENTID", "GETSUPPLEMENTPAGE",
                                   "GETRMCRPAGE", "GETSUMMARYPAGE", "CHECKMESSAGES", "GETABOUT", "GETREPORTLISTPAGE",
                                   "CHANGEPASSWORDRIGHTS"};

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
    bool found;
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
    void closingTheWindowCannotSkipTheCheck();
};

// The one table of the main window's buttons: each outcome of the check, read back through the
// buttons the user sees.
void TestCheckExisting::buttonsFollowTheReport_data()
{
    QTest::addColumn<ButtonRow>("row");
    const QString none = "AddBureau Import Print RMCR RequestSupp View Web";
    QTest::newRow("no report") << ButtonRow{"no-report", "", "", false, none, ""};
    QTest::newRow("recent, all bureaus finished") << ButtonRow{"recent", "", "", true, "AddBureau", ""};
    QTest::newRow("older than the time frame") << ButtonRow{"old", "", "", true, "AddBureau", "Confirmation"};
    QTest::newRow("RMCR pending keeps Import")
        << ButtonRow{"rmcr-pending", "", "", true, "AddBureau RMCR Repull View Print Web", "RMCR Status"};
    QTest::newRow("TransUnion not on the report") << ButtonRow{"joint", "", "", true, "RMCR", ""};
    QTest::newRow("finished and in progress: neither RMCR nor Add Bureau")
        << ButtonRow{"recent", "4 4 1", "", true, "AddBureau RMCR", ""};
    QTest::newRow("Experian finished, Equifax missing, TransUnion running")
        << ButtonRow{"recent", "4 0 1", "", true, "RMCR", ""};
    QTest::newRow("Equifax finished, the others still running") << ButtonRow{"recent", "1 4 1", "", true, "AddBureau RMCR", ""};
    QTest::newRow("found by reissue number")
        << ButtonRow{"reissue", "", "RX20260417", true, "AddBureau RMCR Repull RequestSupp", ""};
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
    rig.sim.script("CHANGEPASSWORDRIGHTS", "True");
    QAction* changePassword = rig.window()->findChild<QAction*>("mnuChangePassword");
    changePassword->setEnabled(false);
    ModalDriver user;   // no report: the pull window opens, and the user cancels it
    user.on("frmPullReport", closeWindow());
    if (!row.box.isEmpty())
        rig.boxes.expect(vbNo);   // an old report is kept
    if (reissue)
        answerReissues(user, {row.reissue});
    rig.check();

    QCOMPARE(user.acted("frmPullReport"), row.found ? 0 : 1);
    QCOMPARE(rig.boxes.boxes.value(0).title, row.box);
    QStringList expected = row.disabled.split(' ');
    expected.sort();
    QCOMPARE(disabledButtons(rig), expected.join(' '));
    const QPushButton& repull = rig.window()->Button(MainButton::cmdRepull);
    QCOMPARE(repull.text() + "|" + repull.toolTip(), row.found ? QString("&Repull|Repull Previously Pulled Report")
                                                               : QString("&Pull Credit|Pull New Credit Report"));
    // Close and the refreshed menu are on; the loan's export is kept in the archive before it is read.
    QVERIFY(rig.enabled("cmdClose") && changePassword->isEnabled());
    QVERIFY(!QDir(rig.env.path("archive")).entryList({"*EXPORT.DAT"}).isEmpty());
    QVERIFY(rig.desk.hourglassShown > 0 && rig.desk.busyDepth == 0);
    const QLineEdit& reference = rig.window()->Box(LoanBox::lblReference);
    if (reissue)   // the reference box shows the reissue number, locked, and so does the title
        QCOMPARE(rig.window()->findChild<QLabel*>("lblRef")->text() + reference.text() + QString::number(reference.isEnabled())
                     + rig.window()->windowTitle().section(" - ", -1), "Reissue #:" + row.reissue + "0" + row.reissue);
}

void TestCheckExisting::reportAgeAgainstTimeFrame_data()
{
    QTest::addColumn<int>("daysAgo");   // -1: no request date
    QTest::addColumn<int>("answer");    // to the question about an old report; 0: not asked
    QTest::newRow("30 days: old, kept") << 30 << int(vbNo);
    QTest::newRow("30 days: old, repulled") << 30 << int(vbYes);
    QTest::newRow("29 days: recent") << 29 << 0;
    QTest::newRow("no request date") << -1 << 0;
}

// A report as old as the time frame asks whether to repull; Yes opens the pull window.
void TestCheckExisting::reportAgeAgainstTimeFrame()
{
    QFETCH(int, daysAgo);
    QFETCH(int, answer);
    ScreenRig rig("recent");
    QVERIFY(rig.started);
    // Late in the evening of the request day still counts as that day.
    const QDate requested = rig.desk.now.date().addDays(-daysAgo);
    rig.sim.script("DATEREQUESTED", daysAgo < 0 ? QString() : requested.toString("M/d/yyyy") + " 11:58:00 PM");
    if (answer)
        rig.boxes.expect(answer);
    ModalDriver user;
    user.on("frmPullReport", closeWindow());
    rig.check();
    QCOMPARE(rig.boxes.boxes.size(), answer ? 1 : 0);
    QCOMPARE(user.acted("frmPullReport"), answer == vbYes ? 1 : 0);
    if (answer)
        QCOMPARE(box(rig.boxes.boxes[0]), "Confirmation|" + QString::number(vbQuestion) + "|This report was last ran on "
                     + requested.toString("M/d/yyyy") + " 11:58:00 PM.\r\nDo you want to use the existing one or "
                     "repull a new one.\r\n\r\nRepull new report?");
    QCOMPARE(rig.window()->Button(MainButton::cmdRepull).text(), QString("&Repull"));
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
    QCOMPARE(disabledButtons(rig), QString("AddBureau Import Print RMCR Repull RequestSupp View Web"));
    QVERIFY(rig.window()->Button(MainButton::cmdRepull).text() != "&Pull Credit");
    if (failure == "no-export")   // (a control request runs the event loop: only where no restart waits)
        QVERIFY(rig.sent("FIND_REPORT").isEmpty());
    QVERIFY(rig.window()->isVisible() && rig.desk.busyDepth == 0);
    // No refresh step ran: what the reads sent ahead for it returned is dropped.
    QCOMPARE(QString::number(Props().IsLoginByRef()) + Props().DepartmentID(), QString("0"));
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
    rig.sim.script("CHANGEPASSWORDRIGHTS", "True");
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
    ModalDriver user;
    answerReissues(user, reissues);
    rig.check();
    QCOMPARE(user.acted("frmReissue"), reissues.size());
    const QStringList searches = rig.sent("FIND_REPORT");
    QCOMPARE(searches.size(), qMax(1, int(reissues.size())));
    for (int i = 0; i < searches.size(); ++i) {
        QCOMPARE(searches[i].contains("ReIssueNum="), !reissues.value(i).isEmpty());
        if (i + 1 < reissues.size())
            QCOMPARE(box(rig.boxes.boxes[i]), "Report Not Found|" + QString::number(vbInformation)
                         + "|A report with reissue number: [" + reissues[i] + "] could not be found.");
    }
    QCOMPARE(rig.window()->findChild<QLabel*>("lblRef")->text(), QString("Reference:"));
    QVERIFY(rig.window()->Box(LoanBox::lblReference).isEnabled());
    QVERIFY(rig.desk.hourglassShown >= searches.size() && rig.desk.busyDepth == 0);
}

void TestCheckExisting::individualLoanHidesCoBorrowerKeepingBoxes()
{
    ScreenRig rig("recent");
    QVERIFY(rig.started);
    rig.window()->Box(LoanBox::lblCoFirst).setText("FROM BEFORE");
    rig.check();
    QVERIFY(!rig.window()->findChild<QGroupBox*>("fmCoBorrower")->isVisible());
    QStringList shown;
    for (LoanBox box : {LoanBox::lblCoFirst, LoanBox::lblBorFirst, LoanBox::lblBorSSN, LoanBox::lblBorDOB})
        shown << rig.window()->Box(box).text();
    QCOMPARE(shown.join('|'), QString("FROM BEFORE|JORDAN|900-11-0002|02/14/1985"));
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
    user.on("frmPullReport", closeWindow());
    RegisterOrderingWindows();
    frmLoginByRef::Load();   // kept hidden after a choice; a reload unloads it with the others
    rig.window()->findChild<QAction*>("mnuReload")->trigger();
    rig.window()->findChild<QAction*>("mnuReload")->trigger();   // a second request while one is pending is ignored
    QTRY_COMPARE(rig.window()->Box(LoanBox::lblBorLast).text(), QString("NEWCOMB"));
    QVERIFY(!frmLoginByRef::loaded());
    QCOMPARE(QString("%1 %2 ").arg(rig.sent("FIND_REPORT").size()).arg(user.acted("frmPullReport"))
                 + rig.window()->Button(MainButton::cmdRepull).text(), "1 1 &Pull Credit");
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
    QCOMPARE(rig.window()->Box(LoanBox::lblBorLast).text() + QString(" %1 %2 ").arg(rig.sent("FIND_REPORT").size())
                 .arg(rig.enabled("cmdView")) + rig.window()->Button(MainButton::cmdRepull).text(), "SAMPLE 1 1 &Repull");
}

int runCheckExistingTests(int argc, char** argv)
{
    return RunTests<TestCheckExisting>(argc, argv);
}

#include "test_checkExisting.moc"
