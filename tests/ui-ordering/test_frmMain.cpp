#include "OrderingKit.h"

namespace {

struct PageRow {
    bool joint;      // the joint demo loan, else the recent one
    QString control; // Picture1: the vendor logo; mnuConfig: File > Configuration
    QString link;    // the control's page setting; for mnuConfig the program written
    // "open" and the address ("/": on https://vendor.example; "{loan}": user, report and borrower),
    // "start" and the program, or "box:" and the critical box's title|text end.
    QString expected;
};

} // namespace

Q_DECLARE_METATYPE(PageRow)

// The vendor's web pages the main window opens, with the loan on screen in the address, and
// the configuration program it starts.
void OrderingTests::pages_data()
{
    QTest::addColumn<PageRow>("row");
    const auto add = [](const char* name, bool joint, const QString& control, const QString& link,
                        const QString& expected) {
        QTest::newRow(name) << PageRow{joint, control, link, expected};
    };
    add("RMCR, joint, co-borrower encoded", true, "cmdRMCR", "/rmcr.asp?x=1",
        "open /rmcr.asp?x=1&From=RMCR&Username=demo&Companyid=&RID={rid}&BorSSN=900110005&BorFirstname=RILEY"
        "&BorLastname=JOYNER&BorMiddle=&BorSuffix=&CoSSN=900110006&CoFirstname=MARY%20ANN&CoLastname=JOYNER"
        "&CoMiddle=ANN&CoSuffix=");
    add("supplement without a query", false, "cmdRequestSupp", "/supp.asp", "open /supp.asp?{loan}");
    add("supplement, the shell fails", false, "cmdRequestSupp", "/supp.asp",
        "box:Error in cmdRequestSupp_Click|There was an error requesting supplement information.\r\n\r\n"
        "31- There is no application associated with the given filename extension.");
    // The loan's pages carry full SSNs: the address must stay on BaseUrl's scheme, host and port.
    const QString away =
        "box:Error in cmdRequestSupp_Click|does not stay on the server https://vendor.example: https://vendor.example";
    for (const char* link :
         {"@evil.example/supp.asp", ".evil.example/supp.asp", ":9090/s.asp", "javascript:alert(1)//"})
        QTest::addRow("supplement, \"%s\" after the host", link) << PageRow{false, "cmdRequestSupp", link, away + link};
    add("RMCR, \"//\" stays a path", false, "cmdRMCR", "//other.example/r.asp?",
        "open //other.example/r.asp?From=RMCR&{loan}");
    add("summary, \"@\" after the host", false, "cmdWeb", "@evil.example/Summary.asp?RID=",
        "box:Error in cmdWeb_Click|https://vendor.example: https://vendor.example@evil.example/Summary.asp?RID=");
    add("not a web address is not opened", false, "cmdRMCR", "file:///etc/passwd?",
        "box:Error in cmdRMCR_Click|No server address is set, so this page cannot be opened: file:///etc/passwd?");
    add("Hide/Split/Join after its reminder", false, "cmdWeb", "/summary.asp?RID=", "open /summary.asp?RID={rid}");
    add("configuration program missing", false, "mnuConfig", "",
        "box:File Not Found|No configuration file exists in the application path.");
    add("configuration program beside this one", false, "mnuConfig", "OQCFG.EXE", "start {home}/OQCFG.EXE");
    add("logo, host, rooted page", false, "Picture1", "www.v.example|/list.asp", "open https://www.v.example/list.asp");
    add("logo, relative page", false, "Picture1", "http://v.example|list.asp", "open http://v.example/list.asp");
    add("logo, site ending with /", false, "Picture1", "https://v.example/|list.asp",
        "open https://v.example/list.asp");
}

void OrderingTests::pages()
{
    QFETCH(PageRow, row);
    ScreenRig rig(row.joint ? "joint" : "recent");
    rig.check();
    frmMain* w = rig.window();
    // Boxes as the user left them: blanks around, characters that need encoding, and a hidden
    // co-borrower frame that still holds a name.
    w->Box(LoanBox::lblCoFirst).setText(" MARY ANN ");
    if (!row.joint)
        w->Box(LoanBox::lblBorLast).setText(" O'NEIL & CO ");
    const bool noServer = row.control == "Picture1" || row.link.startsWith("file:");
    Props().setBaseUrl(noServer ? QString() : "https://vendor.example");
    Props().setRMCRPageLink(row.link);
    Props().setSuppPageLink(row.link);
    Props().setSummaryPageLink(row.link);
    Props().setClientWebsite(row.link.section('|', 0, 0));
    Props().setReportListPage(row.link.section('|', 1));
    rig.shell.calls.clear(); // (the check opened the news page)
    rig.shell.result = row.expected.contains("31-") ? 31 : 42;
    const bool box = row.expected.startsWith("box:");
    for (int i = box + (row.control == "cmdWeb"); i > 0; --i) // Hide/Split/Join shows its reminder first
        rig.boxes.expect();
    if (row.control == "mnuConfig" && !row.link.isEmpty())
        rig.env.writeFile(row.link, "");
    if (QWidget* control = w->findChild<QWidget*>(row.control)) {
        control->setEnabled(true);       // the pages open whatever the report's state
        if (row.control == "Picture1") { // a right click, or a press released off the logo, opens nothing
            QTest::mouseClick(control, Qt::RightButton);
            QTest::mousePress(control, Qt::LeftButton);
            QTest::mouseRelease(control, Qt::LeftButton, {}, QPoint(control->width() + 20, 1));
        }
        QTest::mouseClick(control, Qt::LeftButton);
    } else {
        w->findChild<QAction*>(row.control)->trigger();
    }
    QString expected = row.expected;
    expected.replace("open /", "open https://vendor.example/").replace("{home}", rig.env.home());
    expected
        .replace("{loan}",
                 "Username=demo&Companyid=&RID={rid}&BorSSN=900110002&BorFirstname=JORDAN"
                 "&BorLastname=O%60NEIL%20%26%20CO&BorMiddle=L&BorSuffix=")
        .replace("{rid}", w->sReportUID());
    // The calls made, then the last box (its text as far as the row gives it) or the address opened.
    const auto& shown = rig.boxes.boxes;
    const auto call = rig.shell.calls.value(0);
    const QString seen = !box ? call.verb + " " + QDir::fromNativeSeparators(call.target)
                              : "box:" + shown.last().title + "|"
            + shown.last().text.right(expected.section('|', 1).size()) + "|" + shown.last().shown().section('|', 1, 1);
    QCOMPARE(QString::number(rig.shell.calls.size()) + " " + seen,
             QString::number(box && !expected.contains("31-") ? 0 : 1) + " "
                 + (box ? expected + "|Critical" : expected));
    if (row.control == "cmdWeb")
        QCOMPARE(shown[0].shown().section('|', 0, 1), "Reminder|Information");
}

// File > Reload unloads the windows and runs start-up again: the loan exported since is loaded
// and checked.
void OrderingTests::reloadRunsStartupAgain()
{
    ScreenRig rig("recent");
    QCOMPARE(Main(), StartupOutcome::Started);
    QTRY_VERIFY_WITH_TIMEOUT(!StartupRunning(), 20000);                        // start-up and its check have ended
    QVERIFY(!rig.window()->findChild<QLabel*>("Picture1")->pixmap().isNull()); // the default vendor's logo
    QCOMPARE(rig.window()->findChild<QLabel*>("lblVersion")->text(), ClientVersion());
    rig.useCase("no-report");
    rig.sim.clearRequests();
    ModalDriver user;
    user.on("frmPullReport", &QWidget::close);
    RegisterOrderingWindows();
    frmLoginByRef::Load(); // kept hidden after a choice; a reload unloads it with the others
    QAction* reload = rig.window()->findChild<QAction*>("mnuReload");
    reload->trigger();
    reload->trigger(); // a second request while one is pending is ignored
    QString working;   // until the check has read the loan again, nothing works on the one still shown
    for (const char* name : {"cmdRepull", "cmdAddBureau", "cmdView", "cmdPrint", "cmdImport", "cmdRequestSupp"})
        working += rig.enabled(name) ? name : "";
    QCOMPARE(working, "");
    QTRY_COMPARE(rig.window()->Box(LoanBox::lblBorLast).text(), QString("NEWCOMB"));
    QTRY_COMPARE_WITH_TIMEOUT(user.acted("frmPullReport"), 1, 20000); // after the check, which has ended
    QTRY_VERIFY_WITH_TIMEOUT(!StartupRunning(), 20000);
    QVERIFY(!frmLoginByRef::loaded());
    QCOMPARE(QString("%1 %2 ").arg(rig.sent("FIND_REPORT").size()).arg(user.acted("frmPullReport"))
                 + rig.window()->Button(MainButton::cmdRepull).text(),
             "1 1 &Pull Credit");
}

// A loan box selects its whole text when the user clicks into it; one left before its selection
// has run does not pull the focus back.
void OrderingTests::boxesSelectAllOnFocus()
{
    frmMain w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    for (int i = 0; i <= int(LoanBox::lblPreCountry); ++i) {
        QLineEdit& box = w.Box(LoanBox(i));
        box.setText("MARY ANN O'NEIL");
        QTest::mouseClick(&box, Qt::LeftButton);
        QTRY_COMPARE(box.selectedText(), box.text());
    }
    w.Box(LoanBox::lblBorFirst).setFocus(Qt::TabFocusReason);
    w.Box(LoanBox::lblBorLast).setFocus(Qt::TabFocusReason);
    QTest::qWait(50);
    QVERIFY(w.Box(LoanBox::lblBorLast).hasFocus() && w.Box(LoanBox::lblBorFirst).selectedText().isEmpty());
}
