#include "OrderingKit.h"

namespace {

const QString kBorrower = "&BorSSN=900110002&BorFirstname=JORDAN&BorLastname=O%60NEIL%20%26%20CO&BorMiddle=L&BorSuffix=";

} // namespace

// The main window with a loan loaded: the File menu as a pop-up, the data boxes, the
// configuration entry, and the vendor's web pages it opens with the loan on screen in the address.
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

    void rightPressPopsUpFileMenu_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<bool>("popsUp");
        // Where a plain right press brings up the menu, and places that keep it to themselves.
        for (const char *name : {"centralwidget", "fmCoBorrower", "lblVersion", "lblCapVersion", "lblCapPreCountry"})
            QTest::newRow(name) << QString(name) << Qt::RightButton << Qt::KeyboardModifiers() << true;
        for (const char *name : {"lblCapCoDOB", "lblRef", "lblReference", "Picture1", "cmdView"})
            QTest::newRow(name) << QString(name) << Qt::RightButton << Qt::KeyboardModifiers() << false;
        // A held Shift, Ctrl or Alt, or another button, never pops it up.
        for (Qt::KeyboardModifier key : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier})
            QTest::addRow("caption with modifier %x", key) << "lblCapBorFirst" << Qt::RightButton << Qt::KeyboardModifiers(key) << false;
        QTest::newRow("caption with left button") << "lblCapBorFirst" << Qt::LeftButton << Qt::KeyboardModifiers() << false;
    }

    void rightPressPopsUpFileMenu()
    {
        QFETCH(QString, target);
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(bool, popsUp);
        QUILL_FIND_CHILD(widget, QWidget, m_rig->window(), target);
        QMenu *menu = m_rig->window()->findChild<QMenu *>(QStringLiteral("mnuFile"));
        // Frames and the background are hit where none of their children lie.
        const QPoint spot = widget->children().isEmpty() ? widget->rect().center() : uncoveredPoint(widget);
        QVERIFY2(spot.x() >= 0, "no uncovered spot to press on");
        const QPoint globalSpot = widget->mapToGlobal(spot);
        QTest::mousePress(widget, button, modifiers, spot);
        QCOMPARE(menu->isVisible(), popsUp);
        // At the press point, unless the screen edge forces the menu elsewhere.
        if (popsUp && menu->screen()->availableGeometry().contains(QRect(globalSpot, menu->size())))
            QCOMPARE(menu->pos(), globalSpot);
        menu->close();
        QTest::mouseRelease(widget, button, modifiers, spot);
    }

    // The File menu's configuration entry starts the configuration program beside this one, or
    // says it is missing.
    void configEntry()
    {
        QAction *config = m_rig->window()->findChild<QAction *>(QStringLiteral("mnuConfig"));
        m_rig->boxes.boxes.clear();
        m_rig->shell.calls.clear();
        m_rig->boxes.expect();
        config->trigger();
        m_rig->env.writeFile("OQCFG.EXE", "");
        config->trigger();
        QCOMPARE(kit::box(m_rig->boxes.boxes.value(0)) + QString::number(m_rig->boxes.boxes.size()),
                 "File Not Found|16|No configuration file exists in the application path.1");
        QCOMPARE(m_rig->shell.calls.value(0).verb + " " + m_rig->shell.calls.value(0).target,
                 "start " + QDir::toNativeSeparators(m_rig->env.home() + "/OQCFG.EXE"));
    }

    void pagesCarryTheLoan_data();
    void pagesCarryTheLoan();
    void onlyWebAddressesOpen();

    // A data box selects its whole text when it gets the focus, by mouse (the click places the
    // cursor after the focus arrives) or by code; a box left before its queued selection has run
    // does not take the focus back.
    void dataBoxesSelectAllOnFocus()
    {
        m_rig->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_rig->window()));
        QLineEdit &first = m_rig->window()->Box(LoanBox::lblReference);
        QLineEdit &last = m_rig->window()->Box(LoanBox::lblBorLast);
        first.setText(QStringLiteral("MARY ANN O'NEIL 12"));
        last.setText(QStringLiteral("USA"));
        m_rig->window()->Button(MainButton::cmdClose).setFocus();
        QTRY_VERIFY_WITH_TIMEOUT(!first.hasFocus(), 1000);
        QTest::mouseClick(&first, Qt::LeftButton, {}, first.rect().center());
        QTRY_COMPARE_WITH_TIMEOUT(first.selectedText(), first.text(), 500);
        QTest::qWait(20);   // nothing queued afterwards takes the selection away again
        QCOMPARE(first.selectedText(), first.text());
        m_rig->window()->Box(LoanBox::lblBorFirst).setFocus(Qt::TabFocusReason);
        last.setFocus(Qt::OtherFocusReason);   // as when a check sends the user back to a box
        QTest::qWait(50);
        QVERIFY(last.hasFocus());
        QCOMPARE(last.selectedText(), last.text());
    }
};

void TestFrmMain::pagesCarryTheLoan_data()
{
    QTest::addColumn<bool>("joint");
    QTest::addColumn<QString>("button");   // Picture1: the vendor logo
    QTest::addColumn<QString>("link");     // the button's page setting
    // The address opened ("/": on https://vendor.example; "{loan}": user, report and borrower), or
    // "box:" and its title|text end.
    QTest::addColumn<QString>("expected");
    QTest::newRow("RMCR, joint, co-borrower encoded") << true << "cmdRMCR" << "/rmcr.asp?x=1"
        << "/rmcr.asp?x=1&From=RMCR&Username=demo&Companyid=&RID={rid}&BorSSN=900110005&BorFirstname=RILEY"
           "&BorLastname=JOYNER&BorMiddle=&BorSuffix=&CoSSN=900110006&CoFirstname=MARY%20ANN&CoLastname=JOYNER&CoMiddle=ANN&CoSuffix=";
    QTest::newRow("RMCR, base ending with ?, co-borrower boxes left out") << false << "cmdRMCR" << "/rmcr.asp?"
                                                                          << "/rmcr.asp?From=RMCR&{loan}";
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
    QTest::newRow("logo, host and rooted page") << false << "Picture1" << "www.v.example|/ReportList.asp"
                                                << "https://www.v.example/ReportList.asp";
    QTest::newRow("logo, relative page") << false << "Picture1" << "http://v.example|list.asp" << "http://v.example/list.asp";
    QTest::newRow("logo, site ending with /") << false << "Picture1" << "https://v.example/|list.asp" << "https://v.example/list.asp";
}

void TestFrmMain::pagesCarryTheLoan()
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
    QUILL_FIND_CHILD(command, QWidget, w, button);
    command->setEnabled(true);
    QTest::mouseClick(command, Qt::LeftButton);
    if (expected.startsWith('/'))
        expected.prepend("https://vendor.example");
    expected.replace("{loan}", "Username=demo&Companyid=&RID={rid}" + kBorrower).replace("{rid}", w->sReportUID());
    // The calls made, then the last box (its text as far as the row gives it) or the address opened.
    const auto& shown = m_rig->boxes.boxes;
    const QString end = expected.section('|', 1);
    const auto call = m_rig->shell.calls.value(0);
    QCOMPARE(QString::number(m_rig->shell.calls.size()) + " " + (box ? "box:" + shown.last().title + "|"
                 + shown.last().text.right(end.size()) + "|" + QString::number(shown.last().icon()) : call.verb + " " + call.target),
             QString::number(box && !expected.contains("31-") ? 0 : 1) + " "
                 + (box ? expected + "|" + QString::number(vbCritical) : "open " + expected));
    if (button == "cmdWeb")
        QCOMPARE(kit::box(shown[0]).section('|', 0, 1), "Reminder|" + QString::number(vbInformation));
}

// Which addresses the shell may open: web addresses with a host, given exactly (blanks inside
// allowed); and social security numbers as the boxes show them.
void TestFrmMain::onlyWebAddressesOpen()
{
    QStringList opened;
    for (const char* address : {"https://v.example/a?b=c", "HTTPS://V.example/news", "https://v.example/n.asp?username=ann lee",
                                "file:///etc/passwd", "http:///ReportList.asp", "/ReportList.asp", "javascript:alert(1)",
                                " https://v.example/"})
        if (IsWebAddress(address))
            opened << address;
    QCOMPARE(opened, QStringList({"https://v.example/a?b=c", "HTTPS://V.example/news", "https://v.example/n.asp?username=ann lee"}));
    QCOMPARE(frmCheckExisting::FormatSSN("123456789") + "|" + frmCheckExisting::FormatSSN("") + "|"
                 + frmCheckExisting::FormatSSN("12345"), QString("123-45-6789|--|12345"));
}

int runFrmMainTests(int argc, char** argv)
{
    return RunTests<TestFrmMain>(argc, argv);
}

#include "test_frmMain.moc"
