#include "OrderingKit.h"

// The main window with a loan loaded: the vendor's web pages it opens, with the loan on screen in
// the address, and the configuration program it starts.
class TestFrmMain : public QObject
{
    Q_OBJECT
    std::unique_ptr<ScreenRig> m_rig;
    bool m_joint = true;

private slots:
    void initTestCase()
    {
        m_rig = std::make_unique<ScreenRig>("joint");
        QVERIFY(m_rig->started);
        m_rig->check();
    }
    void cleanupTestCase() { m_rig.reset(); }

    void commandsOpenTheirPages_data()
    {
        QTest::addColumn<bool>("joint");
        QTest::addColumn<QString>("button");   // Picture1: the vendor logo; mnuConfig: File > Configuration
        QTest::addColumn<QString>("link");     // the button's page setting; for mnuConfig the program written
        // The address opened ("/": on https://vendor.example; "{loan}": user, report and borrower), the
        // program started, or "box:" and the critical box's title|text end.
        QTest::addColumn<QString>("expected");
        QTest::newRow("RMCR, joint, co-borrower encoded") << true << "cmdRMCR" << "/rmcr.asp?x=1"
            << "/rmcr.asp?x=1&From=RMCR&Username=demo&Companyid=&RID={rid}&BorSSN=900110005&BorFirstname=RILEY"
               "&BorLastname=JOYNER&BorMiddle=&BorSuffix=&CoSSN=900110006&CoFirstname=MARY%20ANN&CoLastname=JOYNER&CoMiddle=ANN&CoSuffix=";
        QTest::newRow("RMCR, base ending with ?, no co-borrower") << false << "cmdRMCR" << "/rmcr.asp?" << "/rmcr.asp?From=RMCR&{loan}";
        QTest::newRow("supplement without a query") << false << "cmdRequestSupp" << "/supp.asp" << "/supp.asp?{loan}";
        QTest::newRow("supplement, the shell fails") << false << "cmdRequestSupp" << "/supp.asp"
            << "box:Error in cmdRequestSupp_Click|There was an error requesting supplement information.\r\n\r\n"
               "31- There is no application associated with the given filename extension.";
        // The loan's pages carry full SSNs: the address must stay on BaseUrl's scheme, host and port.
        const QString away = "box:Error in cmdRequestSupp_Click|does not stay on the server https://vendor.example: https://vendor.example";
        for (const char* link : {"@evil.example/supp.asp", ".evil.example/supp.asp", ":9090/s.asp", "javascript:alert(1)//"})
            QTest::addRow("supplement, \"%s\" after the host", link) << false << "cmdRequestSupp" << link << away + link;
        QTest::newRow("RMCR, \"//\" stays a path") << false << "cmdRMCR" << "//other.example/r.asp?" << "//other.example/r.asp?From=RMCR&{loan}";
        QTest::newRow("RMCR, another host's address") << false << "cmdRMCR" << "https://other.example/r.asp?"
            << "box:Error in cmdRMCR_Click|does not stay on the server https://vendor.example: https://vendor.examplehttps://other.example/r.asp?";
        QTest::newRow("summary, \"@\" after the host") << false << "cmdWeb" << "@evil.example/Summary.asp?RID="
            << "box:Error in cmdWeb_Click|https://vendor.example: https://vendor.example@evil.example/Summary.asp?RID=";
        QTest::newRow("not a web address is not opened") << false << "cmdRMCR" << "file:///etc/passwd?"
            << "box:Error in cmdRMCR_Click|No server address is set, so this page cannot be opened: file:///etc/passwd?";
        QTest::newRow("Hide/Split/Join after its reminder") << false << "cmdWeb" << "/summary.asp?RID=" << "/summary.asp?RID={rid}";
        QTest::newRow("configuration program missing") << false << "mnuConfig" << ""
            << "box:File Not Found|No configuration file exists in the application path.";
        QTest::newRow("configuration program beside this one") << false << "mnuConfig" << "OQCFG.EXE" << "start {home}/OQCFG.EXE";
        QTest::newRow("logo, host, rooted page") << false << "Picture1" << "www.v.example|/list.asp" << "https://www.v.example/list.asp";
        QTest::newRow("logo, relative page") << false << "Picture1" << "http://v.example|list.asp" << "http://v.example/list.asp";
        QTest::newRow("logo, site ending with /") << false << "Picture1" << "https://v.example/|list.asp" << "https://v.example/list.asp";
    }

    void commandsOpenTheirPages()
    {
        QFETCH(bool, joint);
        QFETCH(QString, button);
        QFETCH(QString, link);
        QFETCH(QString, expected);
        frmMain* w = m_rig->window();
        if (joint != m_joint) {
            m_rig->useCase(joint ? "joint" : "recent");
            Props().setServerURL(m_rig->sim.baseUrl());   // the rows below point the pages elsewhere
            m_rig->check();
            m_joint = joint;
        }
        // Boxes as the user left them: blanks around, characters that need encoding, and a hidden
        // co-borrower frame that still holds a name.
        w->Box(LoanBox::lblCoFirst).setText(" MARY ANN ");
        if (!joint)
            w->Box(LoanBox::lblBorLast).setText(" O'NEIL & CO ");
        Props().setBaseUrl(button == "Picture1" || link.startsWith("file:") ? QString() : "https://vendor.example");
        Props().setRMCRPageLink(link);
        Props().setSuppPageLink(link);
        Props().setSummaryPageLink(link);
        Props().setClientWebsite(link.section('|', 0, 0));
        Props().setReportListPage(link.section('|', 1));
        m_rig->shell.calls.clear();
        m_rig->shell.result = expected.contains("31-") ? 31 : 42;
        m_rig->boxes.boxes.clear();
        const bool box = expected.startsWith("box:");
        for (int i = box + (button == "cmdWeb"); i > 0; --i)   // Hide/Split/Join shows its reminder first
            m_rig->boxes.expect();
        if (button == "mnuConfig" && !link.isEmpty())
            m_rig->env.writeFile(link, "");
        if (QWidget* command = w->findChild<QWidget*>(button)) {
            command->setEnabled(true);   // the pages open whatever the report's state
            QTest::mouseClick(command, Qt::LeftButton);
        } else {
            w->findChild<QAction*>(button)->trigger();
        }
        if (expected.startsWith('/'))
            expected.prepend("https://vendor.example");
        if (expected.startsWith("start "))
            expected = "start " + QDir::toNativeSeparators(expected.mid(6).replace("{home}", m_rig->env.home()));
        else if (!expected.startsWith("box:"))
            expected.prepend("open ");
        expected.replace("{loan}", "Username=demo&Companyid=&RID={rid}&BorSSN=900110002&BorFirstname=JORDAN"
                                   "&BorLastname=O%60NEIL%20%26%20CO&BorMiddle=L&BorSuffix=").replace("{rid}", w->sReportUID());
        // The calls made, then the last box (its text as far as the row gives it) or the address opened.
        const auto& shown = m_rig->boxes.boxes;
        const QString end = expected.section('|', 1);
        const auto call = m_rig->shell.calls.value(0);
        QCOMPARE(QString::number(m_rig->shell.calls.size()) + " " + (box ? "box:" + shown.last().title + "|"
                     + shown.last().text.right(end.size()) + "|" + QString::number(shown.last().icon()) : call.verb + " " + call.target),
                 QString::number(box && !expected.contains("31-") ? 0 : 1) + " "
                     + (box ? expected + "|" + QString::number(vbCritical) : expected));
        if (button == "cmdWeb")
            QCOMPARE(kit::box(shown[0]).section('|', 0, 1), "Reminder|" + QString::number(vbInformation));
    }
};

int runFrmMainTests(int argc, char** argv)
{
    return RunTests<TestFrmMain>(argc, argv);
}

#include "test_frmMain.moc"
