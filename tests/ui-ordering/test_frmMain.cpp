#include "OrderingKit.h"

namespace {

// The data boxes in LoanBox order.
const QStringList kBoxes = {"lblReference", "lblBorFirst", "lblBorLast", "lblBorMi", "lblBorSufx", "lblBorSSN",
                            "lblBorDOB", "lblCoFirst", "lblCoLast", "lblCoMi", "lblCoSufx", "lblCoSSN", "lblCoDOB",
                            "lblCurAddr", "lblCurCity", "lblCurState", "lblCurZip", "lblCurCountry", "lblPreAddr",
                            "lblPreCity", "lblPreState", "lblPreZip", "lblPreCountry"};

} // namespace

// The main window's own controls: the File menu as a pop-up, the data boxes, the logo.
class TestFrmMain : public QObject
{
    Q_OBJECT
    frmMain *m_window = nullptr;

private slots:
    void init()
    {
        WindowHooks::EndProgram() = [] {};   // closing the main window would end the program
        m_window = new frmMain;
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }
    void cleanup()
    {
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        delete m_window;
    }
    void rightPressPopsUpFileMenu_data();
    void rightPressPopsUpFileMenu();
    void dataBoxSelectsWholeTextOnFocus_data();
    void dataBoxSelectsWholeTextOnFocus();
    void selectionNeverTakesFocusBack();
    void logoClickIsReported_data();
    void logoClickIsReported();
    void menuAndRepullBeforeALoan();
    void typedControlsAreTheNamedOnes();
};

void TestFrmMain::rightPressPopsUpFileMenu_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("popsUp");
    const auto row = [](const char *name, const char *target, Qt::MouseButton button, Qt::KeyboardModifiers keys,
                        bool popsUp) { QTest::newRow(name) << QString(target) << button << keys << popsUp; };
    // Where a plain right press brings up the menu, and places that keep it to themselves.
    for (const char *name : {"centralwidget", "fmBorrower", "fmCoBorrower", "fmCurrAddr", "fmPreAddr", "lblVersion",
                             "lblCapVersion", "lblCapBorFirst", "lblCapCoFirst", "lblCapCurZip", "lblCapPreCountry"})
        row(name, name, Qt::RightButton, {}, true);
    for (const char *name : {"lblCapCoDOB", "lblRef", "lblReference", "lblPreAddr", "Picture1", "cmdView"})
        row(name, name, Qt::RightButton, {}, false);
    // A held Shift, Ctrl or Alt, or another button, never pops it up.
    row("caption with Shift", "lblCapBorFirst", Qt::RightButton, Qt::ShiftModifier, false);
    row("caption with Ctrl", "lblCapBorFirst", Qt::RightButton, Qt::ControlModifier, false);
    row("background with Alt", "centralwidget", Qt::RightButton, Qt::AltModifier, false);
    row("caption with left button", "lblCapBorFirst", Qt::LeftButton, {}, false);
}

void TestFrmMain::rightPressPopsUpFileMenu()
{
    QFETCH(QString, target);
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, popsUp);
    QUILL_FIND_CHILD(widget, QWidget, m_window, target);
    QMenu *menu = m_window->findChild<QMenu *>(QStringLiteral("mnuFile"));
    QVERIFY(!menu->isVisible());
    // Frames and the background are hit where none of their children lie.
    const QPoint spot = widget->children().isEmpty() ? widget->rect().center() : uncoveredPoint(widget);
    QVERIFY2(spot.x() >= 0, "no uncovered spot to press on");
    const QPoint globalSpot = widget->mapToGlobal(spot);
    QTest::mousePress(widget, button, modifiers, spot);
    QCOMPARE(menu->isVisible(), popsUp);
    if (popsUp) {
        QCOMPARE(QApplication::activePopupWidget(), menu);
        // At the press point, unless the screen edge forces the menu elsewhere.
        if (menu->screen()->availableGeometry().contains(QRect(globalSpot, menu->size())))
            QCOMPARE(menu->pos(), globalSpot);
        menu->close();
    }
    QTest::mouseRelease(widget, button, modifiers, spot);
}

void TestFrmMain::dataBoxSelectsWholeTextOnFocus_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("byMouse");
    // A click places the cursor after the focus arrives; focus set by code (as when a check
    // sends the user back to a field) gets no selection from the text box itself.
    for (const QString &name : kBoxes) {
        QTest::addRow("%s by mouse", qPrintable(name)) << name << true;
        QTest::addRow("%s by code", qPrintable(name)) << name << false;
    }
}

void TestFrmMain::dataBoxSelectsWholeTextOnFocus()
{
    QFETCH(QString, box);
    QFETCH(bool, byMouse);
    QUILL_FIND_CHILD(edit, QLineEdit, m_window, box);
    const QString text = QStringLiteral("MARY ANN O'NEIL 12");
    edit->setText(text);
    edit->setCursorPosition(3);
    m_window->Button(MainButton::cmdClose).setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(!edit->hasFocus(), 1000);
    if (byMouse)
        QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
    else
        edit->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY_WITH_TIMEOUT(edit->hasFocus(), 1000);
    QTRY_COMPARE_WITH_TIMEOUT(edit->selectedText(), text, 500);
    QCOMPARE(edit->selectionStart(), 0);
    QTest::qWait(20);   // nothing queued afterwards takes the selection away again
    QCOMPARE(edit->selectedText(), text);
}

// The user moves on before the queued selection of the box left behind has run: the focus
// stays where the user put it.
void TestFrmMain::selectionNeverTakesFocusBack()
{
    QLineEdit &first = m_window->Box(LoanBox::lblBorFirst);
    QLineEdit &last = m_window->Box(LoanBox::lblBorLast);
    first.setText("ANN");
    last.setText("LEE");
    m_window->Button(MainButton::cmdClose).setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(!first.hasFocus() && !last.hasFocus(), 1000);
    first.setFocus(Qt::TabFocusReason);
    last.setFocus(Qt::TabFocusReason);
    QTest::qWait(50);
    QVERIFY(last.hasFocus());
    QCOMPARE(last.selectedText(), QString("LEE"));
}

void TestFrmMain::logoClickIsReported_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("releaseOutside");
    QTest::addColumn<int>("reports");
    QTest::newRow("left click") << Qt::LeftButton << false << 1;
    QTest::newRow("right click") << Qt::RightButton << false << 0;
    QTest::newRow("left press, released off the logo") << Qt::LeftButton << true << 0;
}

void TestFrmMain::logoClickIsReported()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, releaseOutside);
    QFETCH(int, reports);
    TestEnv env;
    ShellRecorder shell;   // a click opens the vendor's report list (the addresses: TestWebPages)
    Props().setClientWebsite("vendor.example");
    ClickableLabel *logo = m_window->findChild<ClickableLabel *>(QStringLiteral("Picture1"));
    logo->setPixmap(m_window->findChild<ImageList *>(QStringLiteral("ImageList1"))->picture(1));
    QSignalSpy spy(m_window, &frmMain::logoClicked);
    const QPoint inside = logo->rect().center();
    QTest::mousePress(logo, button, {}, inside);
    QTest::mouseRelease(logo, button, {}, releaseOutside ? QPoint(logo->width() + 20, inside.y()) : inside);
    QCOMPARE(spy.count(), reports);
    QCOMPARE(shell.calls.size(), reports);
}

// The File menu's configuration entry starts the configuration program beside this one, or says
// it is missing; Repull before a loan is loaded does nothing.
void TestFrmMain::menuAndRepullBeforeALoan()
{
    TestEnv env;
    ShellRecorder shell;
    ScriptedMsgBox boxes;
    ModalDriver user;
    user.on("frmPullReport", [](QWidget *w) { w->close(); });
    m_window->Button(MainButton::cmdRepull).click();
    QCOMPARE(user.acted("frmPullReport"), 0);
    QAction *config = m_window->findChild<QAction *>(QStringLiteral("mnuConfig"));
    boxes.expect();
    config->trigger();
    QCOMPARE(boxes.boxes.value(0).title + boxes.boxes.value(0).text,
             QString("File Not FoundNo configuration file exists in the application path."));
    env.writeFile("OQCFG.EXE", "");
    config->trigger();
    QCOMPARE(shell.calls.size(), 1);
    QCOMPARE(shell.calls[0].verb + " " + shell.calls[0].target, "start " + QDir::toNativeSeparators(env.home() + "/OQCFG.EXE"));
    QCOMPARE(boxes.boxes.size(), 1);
}

// The typed names reach exactly the control of that name: a box list or a button switch out of
// order would fill the wrong box or enable the wrong command.
void TestFrmMain::typedControlsAreTheNamedOnes()
{
    for (int i = 0; i < kBoxes.size(); ++i)
        QCOMPARE(m_window->Box(static_cast<LoanBox>(i)).objectName(), kBoxes[i]);
    const QStringList buttons = {"cmdRepull", "cmdAddBureau", "cmdView", "cmdPrint", "cmdImport",
                                 "cmdRMCR", "cmdWeb", "cmdRequestSupp", "cmdClose"};
    for (int i = 0; i < buttons.size(); ++i) {
        const auto button = static_cast<MainButton>(i);
        QCOMPARE(m_window->Button(button).objectName() + ButtonName(button), buttons[i] + buttons[i]);
    }
    // Two distinct logos; an index out of range gives no picture rather than a neighbour's.
    const ImageList *images = m_window->findChild<ImageList *>(QStringLiteral("ImageList1"));
    QCOMPARE(images->count(), 2);
    QVERIFY(!images->picture(1).isNull() && images->picture(1).toImage() != images->picture(2).toImage());
    QVERIFY(images->picture(0).isNull() && images->picture(3).isNull());
}



namespace {

const QString kBorrower = "&BorSSN=900110002&BorFirstname=JORDAN&BorLastname=O%60NEIL%20%26%20CO&BorMiddle=L&BorSuffix=";

} // namespace

// The vendor's web pages that the main window opens, with the loan on screen in the address.
class TestWebPages : public QObject
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
    void pagesCarryTheLoan_data();
    void pagesCarryTheLoan();
    void onlyWebAddressesOpen();
    void ssnAsShown();
};

void TestWebPages::pagesCarryTheLoan_data()
{
    QTest::addColumn<bool>("joint");
    QTest::addColumn<QString>("button");   // Picture1: the vendor logo
    QTest::addColumn<QString>("link");     // the button's page setting
    QTest::addColumn<int>("shellCode");
    QTest::addColumn<QString>("expected"); // the address opened ("{rid}": the report), or "box:" and its title|text end
    QTest::newRow("RMCR, joint, co-borrower encoded") << true << "cmdRMCR" << "/rmcr.asp?x=1" << 42
        << "https://vendor.example/rmcr.asp?x=1&From=RMCR&Username=demo&Companyid=&RID={rid}&BorSSN=900110005"
           "&BorFirstname=RILEY&BorLastname=JOYNER&BorMiddle=&BorSuffix=&CoSSN=900110006&CoFirstname=MARY%20ANN"
           "&CoLastname=JOYNER&CoMiddle=ANN&CoSuffix=";
    QTest::newRow("RMCR, base ending with ?, co-borrower boxes left out") << false << "cmdRMCR" << "/rmcr.asp?" << 42
        << "https://vendor.example/rmcr.asp?From=RMCR&Username=demo&Companyid=&RID={rid}" + kBorrower;
    QTest::newRow("supplement without a query") << false << "cmdRequestSupp" << "/supp.asp" << 42
        << "https://vendor.example/supp.asp?Username=demo&Companyid=&RID={rid}" + kBorrower;
    QTest::newRow("supplement, shell fails") << false << "cmdRequestSupp" << "/supp.asp" << 31
        << "box:Error in cmdRequestSupp_Click|There was an error requesting supplement information.\r\n\r\n"
           "31- There is no application associated with the given filename extension.";
    // The loan's pages carry full SSNs: the address must stay on BaseUrl's scheme, host and port.
    const QString away = "box:Error in cmdRequestSupp_Click|does not stay on the server https://vendor.example: https://vendor.example";
    for (const char* link : {"@evil.example/supp.asp", ".evil.example/supp.asp", ":9090/s.asp", "javascript:alert(1)//"})
        QTest::addRow("supplement, \"%s\" after the host", link) << false << "cmdRequestSupp" << link << 42 << away + link;
    QTest::newRow("RMCR, \"//\" stays a path") << false << "cmdRMCR" << "//other.example/r.asp?" << 42
        << "https://vendor.example//other.example/r.asp?From=RMCR&Username=demo&Companyid=&RID={rid}" + kBorrower;
    QTest::newRow("RMCR, another host's address") << false << "cmdRMCR" << "https://other.example/r.asp?" << 42
        << "box:Error in cmdRMCR_Click|does not stay on the server https://vendor.example: https://vendor.examplehttps://other.example/r.asp?";
    QTest::newRow("summary, \"@\" after the host") << false << "cmdWeb" << "@evil.example/Summary.asp?RID=" << 42
        << "box:Error in cmdWeb_Click|https://vendor.example: https://vendor.example@evil.example/Summary.asp?RID=";
    QTest::newRow("not a web address is not opened") << false << "cmdRMCR" << "file:///etc/passwd?" << 42
        << "box:Error in cmdRMCR_Click|No server address is set, so this page cannot be opened: file:///etc/passwd?";
    QTest::newRow("Hide/Split/Join after its reminder") << false << "cmdWeb" << "/summary.asp?RID=" << 42
        << "https://vendor.example/summary.asp?RID={rid}";
    QTest::newRow("logo, host and rooted page") << false << "Picture1" << "www.v.example|/ReportList.asp" << 42
        << "https://www.v.example/ReportList.asp";
    QTest::newRow("logo, relative page") << false << "Picture1" << "http://v.example|list.asp" << 42
        << "http://v.example/list.asp";
    QTest::newRow("logo, site ending with /") << false << "Picture1" << "https://v.example/|list.asp" << 42
        << "https://v.example/list.asp";
}

void TestWebPages::pagesCarryTheLoan()
{
    QFETCH(bool, joint);
    QFETCH(QString, button);
    QFETCH(QString, link);
    QFETCH(int, shellCode);
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
    m_rig->shell.result = shellCode;
    m_rig->boxes.boxes.clear();
    const bool box = expected.startsWith("box:");
    if (box)
        m_rig->boxes.expect();
    if (button == "cmdWeb")
        m_rig->boxes.expect();   // the reminder
    if (button == "Picture1") {
        emit w->logoClicked();
    } else {
        QUILL_FIND_CHILD(command, QPushButton, w, button);
        command->setEnabled(true);
        command->click();
    }
    expected.replace("{rid}", w->sReportUID());
    // The calls made, then the last box (its text as far as the row gives it) or the address opened.
    const auto& shown = m_rig->boxes.boxes;
    const QString end = expected.section('|', 1);
    const auto call = m_rig->shell.calls.value(0);
    QCOMPARE(QString::number(m_rig->shell.calls.size()) + " " + (box ? "box:" + shown.last().title + "|"
                 + shown.last().text.right(end.size()) + "|" + QString::number(shown.last().icon()) : call.verb + " " + call.target),
             QString::number(box && !expected.contains("31-") ? 0 : 1) + " "
                 + (box ? expected + "|" + QString::number(vbCritical) : "open " + expected));
    if (button == "cmdWeb")
        QCOMPARE(shown[0].title + QString::number(shown[0].icon()), "Reminder" + QString::number(vbInformation));
}

// Which addresses the shell may open: web addresses with a host, given exactly (blanks inside allowed).
void TestWebPages::onlyWebAddressesOpen()
{
    QStringList opened;
    for (const char* address : {"https://v.example/a?b=c", "HTTPS://V.example/news", "https://v.example/n.asp?username=ann lee",
                                "file:///etc/passwd", "http:///ReportList.asp", "/ReportList.asp", "javascript:alert(1)",
                                " https://v.example/"})
        if (IsWebAddress(address))
            opened << address;
    QCOMPARE(opened, QStringList({"https://v.example/a?b=c", "HTTPS://V.example/news", "https://v.example/n.asp?username=ann lee"}));
}

// Social security numbers as the boxes show them.
void TestWebPages::ssnAsShown()
{
    QCOMPARE(frmCheckExisting::FormatSSN("123456789") + "|" + frmCheckExisting::FormatSSN("") + "|"
                 + frmCheckExisting::FormatSSN("12345"), QString("123-45-6789|--|12345"));
}

int runFrmMainTests(int argc, char** argv)
{
    return RunTests<TestFrmMain, TestWebPages>(argc, argv);
}

#include "test_frmMain.moc"
