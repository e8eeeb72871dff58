#include "OrderingKit.h"

namespace {

const QString kAll = "AddBureau Import Print RMCR Repull RequestSupp View Web";

struct CheckRow {
    QString caseName;     // the demo loan exported
    QString setup;        // ';'-separated: "age N" (request date N days ago), "bureaus EXP EFX TU" (the search's
                          // answer), "ACTION=answer", "ACTION 500", "no-export", "unreachable", "close"
    QStringList reissues; // typed into the reissue window in turn (the reissue account); "": Not a Reissue
    int answer;           // to the question about an old report; 0: none asked
    QString boxes;        // titles of the boxes shown
    QString text;         // the first box's text begins so; "{date}": the request date
    int pulls;            // pull windows that came up (the user cancels them)
    QString disabled;     // sorted, without "cmd"
    QString logged;       // errors.log holds one entry, with this
};

} // namespace

Q_DECLARE_METATYPE(CheckRow)

// The check for an existing report as the user sees it: boxes, the pull window, the buttons.
void OrderingTests::outcomes_data()
{
    QTest::addColumn<CheckRow>("row");
    const auto add = [](const char* name, const QString& caseName, const QString& setup, const QStringList& reissues,
                        int answer, const QString& boxes, const QString& text, int pulls, const QString& disabled,
                        const QString& logged = {}) {
        QTest::newRow(name) << CheckRow{caseName, setup, reissues, answer, boxes, text, pulls, disabled, logged};
    };
    const QString old =
        "This report was last ran on {date}.\r\nDo you want to use the existing one or repull a new one.";
    const QString importError = "Borrower information not retrieved from EXPORT.DAT\r\nReason: ";
    add("no report", "no-report", "", {}, 0, "", "", 1, "AddBureau Import Print RMCR RequestSupp View Web");
    // Reports on which some bureaus are finished and others are not.
    add("29 days old, a bureau running", "recent", "age 29;bureaus 4 4 1", {}, 0, "", "", 0, "AddBureau RMCR");
    add("30 days, kept, Equifax missing", "recent", "age 30;bureaus 4 0 1", {}, vbNo, "Confirmation", old, 0, "RMCR");
    add("30 days old, repulled", "recent", "age 30", {}, vbYes, "Confirmation", "", 1, "AddBureau");
    add("no request date", "recent", "DATEREQUESTED=", {}, 0, "", "", 0, "AddBureau");
    add("no news", "recent", "CHECKMESSAGES=", {}, 0, "", "", 0, "AddBureau");
    add("RMCR pending", "rmcr-pending", "", {}, 0, "RMCR Status", "This report is currently at RMCR", 0,
        "AddBureau Print RMCR Repull View Web");
    add("found by reissue number", "reissue", "", {"RX20260417"}, 0, "", "", 0, "AddBureau RMCR Repull RequestSupp");
    add("two reissue numbers not found, then by the borrowers", "recent", "", {"NOSUCH1", "NOSUCH2", ""}, 0,
        "Report Not Found|Report Not Found", "A report with reissue number: [NOSUCH1] could not be found.", 0,
        "AddBureau");
    // Closing the check window while it works skips neither the loan nor the search.
    add("check window closed", "recent", "close", {}, 0, "", "", 0, "AddBureau");
    // A refresh step fails: nothing that needs the department is sent, nothing later is stored.
    add("department read fails", "recent", "GETDEPARTMENTID 500", {}, 0, "", "", 0, "AddBureau",
        "METHOD='GETDEPARTMENTID'");
    // A check that could not search ends in the search error: no new pull is offered.
    add("missing EXPORT.DAT", "recent", "no-export", {}, 0, "Import Error", importError, 0, kAll, "EXPORT.DAT");
    add("unreachable server", "recent", "unreachable", {}, 0, "Invalid Internet Connection Found", "", 0, kAll);
    add("refused search", "recent", "FIND_REPORT=FAILED\nThe gateway is closed", {}, 0, "Problem/Error", "", 0, kAll);
    add("HTTP 500 on FIND_REPORT", "recent", "FIND_REPORT 500", {}, 0, "", "", 0, kAll, "500");
    add("request date not a date", "recent", "DATEREQUESTED=sometime next week", {}, 0, "Import Error", importError, 0,
        kAll, "The report's request date \"sometime next week\" is not a date.");
    // "Invalid password" in any letter case: the stored password goes and start-up runs again.
    add("invalid password restarts", "recent", "FIND_REPORT=FAILED\nINVALID Password", {}, 0, "Problem/Error", "", 0,
        kAll);
}

void OrderingTests::outcomes()
{
    QFETCH(CheckRow, row);
    const bool reissue = !row.reissues.isEmpty();
    ScreenRig rig(row.caseName, reissue ? "reissue" : "demo", reissue ? "Reissue2026pass" : "Demo2026pass");
    Props().setCrossCompanyReissue(reissue);
    Props().setSavePassword(true);
    rig.typedPassword = "Demo2026pass";
    rig.sim.script("CHANGEPASSWORDRIGHTS", "True");
    QString date;
    for (const QString& step : row.setup.split(';', Qt::SkipEmptyParts)) {
        if (step.startsWith("age ")) { // late in the evening of the request day still counts as that day
            date = rig.desk.now.date().addDays(-step.mid(4).toInt()).toString("M/d/yyyy") + " 11:58:00 PM";
            rig.sim.script("DATEREQUESTED", date);
        }
        if (step.startsWith("bureaus "))
            rig.sim.script("FIND_REPORT",
                           "SUCCESS\n" + ReportFixture::ReportId + "\n" + step.mid(8) + "\n1\nJORDAN\nL\nSAMPLE");
        if (step.contains('='))
            rig.sim.script(step.section('=', 0, 0), step.section('=', 1));
        if (step.endsWith(" 500"))
            rig.sim.scriptStatus(step.section(' ', 0, 0), 500, "server trouble");
    }
    if (row.setup == "no-export")
        QFile::remove(rig.env.path("receive/EXPORT.DAT"));
    if (row.setup == "unreachable")
        Props().setServerURL("http://127.0.0.1:1"); // a port nothing listens on
    if (row.setup == "close")
        rig.sim.setLatency(300);
    QAction* changePassword = rig.window()->findChild<QAction*>("mnuChangePassword");
    changePassword->setEnabled(false);
    rig.window()->Box(LoanBox::lblCoFirst).setText("FROM BEFORE");
    for (int i = 0; i < row.boxes.count('|') + !row.boxes.isEmpty(); ++i)
        rig.boxes.expect(row.answer ? row.answer : vbOK);
    ModalDriver user;
    user.on("frmPullReport", &QWidget::close);
    if (row.setup == "close")
        user.on("frmCheckExisting", &QWidget::close);
    for (const QString& number : row.reissues)
        user.on("frmReissue", [number](QWidget* window) {
            window->findChild<QLineEdit*>("txtReissue")->setText(number);
            window->findChild<QPushButton*>(number.isEmpty() ? "cmdClose" : "cmdReissue")->click();
        });
    rig.check();

    QStringList titles;
    for (const auto& box : rig.boxes.boxes)
        titles << box.title;
    QCOMPARE(titles.join('|'), row.boxes);
    const QString text = row.text.replace("{date}", date);
    QCOMPARE(rig.boxes.boxes.value(0).text.left(text.size()), text);
    QCOMPARE(user.acted("frmPullReport"), row.pulls);
    QCOMPARE(user.acted("frmCheckExisting"), int(row.setup == "close"));
    QStringList off;
    for (const QPushButton* button : rig.window()->findChildren<QPushButton*>())
        if (!button->isEnabled())
            off << button->objectName().mid(3);
    off.sort();
    QCOMPARE(off.join(' '), row.disabled);
    QVERIFY(rig.window()->isVisible() && rig.desk.hourglassShown > 0 && rig.desk.busyDepth == 0);
    // The reference box shows the reissue number found by, locked, and so does the title.
    const QString typed = row.reissues.value(row.reissues.size() - 1);
    const QLineEdit& reference = rig.window()->Box(LoanBox::lblReference);
    QCOMPARE(rig.window()->findChild<QLabel*>("lblRef")->text() + QString::number(reference.isEnabled())
                 + (typed.isEmpty() ? "" : reference.text() + rig.window()->windowTitle().section(" - ", -1)),
             typed.isEmpty() ? QString("Reference:1") : "Reissue #:0" + typed + typed);
    // The boxes, read by their names, show the loan as loaded (SSN and birth date in their forms);
    // an individual loan hides the co-borrower frame and leaves its boxes alone.
    QStringList shown;
    for (const char* name : {"lblCoFirst", "lblBorFirst", "lblBorSSN", "lblBorDOB", "lblPreAddr"})
        shown << rig.window()->findChild<QLineEdit*>(name)->text();
    if (row.caseName == "recent" && row.setup != "no-export")
        QCOMPARE(shown.join('|'), QString("FROM BEFORE|JORDAN|900-11-0002|02/14/1985|12 OHARA ST"));
    QCOMPARE(shown[0] + QString::number(rig.window()->findChild<QGroupBox*>("fmCoBorrower")->isVisible()),
             "FROM BEFORE" + QString::number(row.setup == "no-export"));
    const QByteArray log = rig.env.readFile("errors.log");
    if (!row.logged.isEmpty()) // (otherwise the transport's concern)
        QCOMPARE(log.count("Date: "), 1);
    QVERIFY2(log.contains(row.logged.toUtf8()) && !log.contains("Demo2026pass"), log.constData());
    // The loan's export is kept in the archive before it is read. A completed refresh turns the
    // menu on; without one nothing of it is stored, nor what the reads sent ahead for it returned.
    QCOMPARE(QDir(rig.env.path("archive")).entryList({"*EXPORT.DAT"}).isEmpty(), row.setup == "no-export");
    const bool refreshed = row.disabled != kAll && row.logged.isEmpty();
    QCOMPARE(changePassword->isEnabled(), refreshed);
    QVERIFY(Prefetch::Held().isEmpty());
    // The news page the server names for the demo user (none for the reissue one) is the one page a refresh opens.
    QCOMPARE(rig.shell.calls.size(), refreshed && !reissue && row.setup != "CHECKMESSAGES=" ? 1 : 0);
    if (!refreshed)
        QCOMPARE(QString::number(Props().IsLoginByRef() && row.disabled == kAll) + Props().DepartmentID()
                     + Props().RMCRPageLink() + Props().NewsBurstUrl() + Props().ReportListPage(),
                 QString("0"));
    const bool restarts = row.setup.endsWith("Password");
    QCOMPARE(TestEnv::rememberedPassword() == "<absent>", restarts);
    QCOMPARE(RestartPending(), restarts);
    if (restarts) {
        QTRY_COMPARE(rig.settingsShown, 1);
        QTRY_VERIFY(!StartupRunning());
        return;
    }
    // What reached the server: each account read of a completed refresh once (one sent ahead is
    // not sent again); a search per reissue number typed, carrying it; none without the loan; no
    // read that needs the department without it.
    for (const char* read : {"LOGINBYREFERENCE", "REQUESTBUREAURIGHTS", "GETDEPARTMENTID", "GETABOUT"})
        QVERIFY2(!refreshed || rig.sent(read).size() == 1, read);
    const QStringList searches = rig.sent("FIND_REPORT");
    QCOMPARE(searches.size(),
             row.setup == "no-export" || row.setup == "unreachable" ? 0 : qMax(1, int(row.reissues.size())));
    for (int i = 0; i < searches.size(); ++i)
        QCOMPARE(searches[i].contains("ReIssueNum=" + row.reissues.value(i)), !row.reissues.value(i).isEmpty());
    if (row.setup.startsWith("GETDEPARTMENTID")) // none of the reads that carry the department
        for (const char* read : {"GETSUPPLEMENTPAGE", "GETRMCRPAGE", "GETSUMMARYPAGE", "CHECKMESSAGES", "GETABOUT",
                                 "GETREPORTLISTPAGE", "CHANGEPASSWORDRIGHTS"})
            QCOMPARE(rig.sent(read), QStringList());
}
