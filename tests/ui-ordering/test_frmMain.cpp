#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest/QTest>

#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "TestSupport.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "ui/ClickableLabel.h"
#include "ui/ordering/ImageList.h"
#include "ui/ordering/MainWebCommands.h"
#include "ui/ordering/frmMain.h"

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
    void webPagesStayOnTheServer_data();
    void webPagesStayOnTheServer();
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
                             "lblCapVersion", "lblCapBorFirst", "lblCapBorDOB", "lblCapCoFirst", "lblCapCoSSN",
                             "lblCapCurZip", "lblCapPreCountry"})
        row(name, name, Qt::RightButton, {}, true);
    for (const char *name : {"lblCapCoDOB", "lblRef", "lblReference", "lblBorFirst", "lblCoDOB", "lblPreAddr",
                             "Picture1", "cmdView"})
        row(name, name, Qt::RightButton, {}, false);
    // A held Shift, Ctrl or Alt, or another button, never pops it up.
    row("caption with Shift", "lblCapBorFirst", Qt::RightButton, Qt::ShiftModifier, false);
    row("caption with Ctrl", "lblCapBorFirst", Qt::RightButton, Qt::ControlModifier, false);
    row("frame with Ctrl", "fmCurrAddr", Qt::RightButton, Qt::ControlModifier, false);
    row("background with Alt", "centralwidget", Qt::RightButton, Qt::AltModifier, false);
    row("caption with left button", "lblCapBorFirst", Qt::LeftButton, {}, false);
    row("frame with middle button", "fmBorrower", Qt::MiddleButton, {}, false);
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
    ShellRecorder shell;   // a click opens the vendor's report list (the addresses: test_webpages)
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

void TestFrmMain::webPagesStayOnTheServer_data()
{
    // The page's command, BaseUrl, the link the server gave for that page, and the address
    // opened (empty: refused with a box, nothing opened).
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("opened");
    const QString loan = "Username=demo&Companyid=C%201&RID=G-1&BorSSN=123456789&BorFirstname=MARY%20ANN"
                         "&BorLastname=O%60NEIL%20%26%20CO%3D1&BorMiddle=&BorSuffix=";
    const QString vendor = "https://vendor.example";
    QTest::newRow("RMCR, values form-encoded") << "rmcr" << vendor << "/rmcr.asp?"
                                               << vendor + "/rmcr.asp?From=RMCR&" + loan;
    QTest::newRow("supplement, \"@\" after the host") << "supp" << vendor << "@evil.example/supp.asp" << "";
    QTest::newRow("supplement, \".\" after the host") << "supp" << vendor << ".evil.example/supp.asp" << "";
    QTest::newRow("RMCR, \"//\" stays a path") << "rmcr" << vendor << "//other.example/r.asp"
                                            << vendor + "//other.example/r.asp?From=RMCR&" + loan;
    QTest::newRow("RMCR, another host's address") << "rmcr" << vendor << "https://other.example/r.asp" << "";
    QTest::newRow("supplement, another port") << "supp" << "http://127.0.0.1:8080" << ":9090/s.asp" << "";
    QTest::newRow("supplement, another scheme") << "supp" << vendor << "javascript:alert(1)//" << "";
    QTest::newRow("summary") << "summary" << vendor << "/Summary.asp?RID="
                                                     << vendor + "/Summary.asp?RID=G-1";
    QTest::newRow("summary, \"@\" after the host") << "summary" << vendor << "@evil.example/Summary.asp?RID=" << "";
}

// The loan's pages carry full SSNs: the address made of BaseUrl and the server's link must stay
// on BaseUrl's scheme, host and port.
void TestFrmMain::webPagesStayOnTheServer()
{
    QFETCH(QString, command);
    QFETCH(QString, base);
    QFETCH(QString, link);
    QFETCH(QString, opened);
    TestEnv env;
    env.freshProps();
    ShellRecorder shell;
    ScriptedMsgBox boxes;
    Props().setBaseUrl(base);
    Props().setUserName("demo");
    Props().setCompanyID("C 1");
    Props().setRMCRPageLink(link);
    Props().setSuppPageLink(link);
    Props().setSummaryPageLink(link);
    m_window->Box(LoanBox::lblBorSSN).setText("123-45-6789");
    m_window->Box(LoanBox::lblBorFirst).setText("MARY ANN");
    m_window->Box(LoanBox::lblBorLast).setText("O'NEIL & CO=1");
    const MainWebCommands commands(*m_window);
    QString title = "Error in cmdRequestSupp_Click";
    QString message = "There was an error requesting supplement information.";
    if (opened.isEmpty())
        boxes.expect();
    if (command == "rmcr") {
        title = "Error in cmdRMCR_Click";
        message = "There was an error requesting RMCR information.";
        commands.cmdRMCR("G-1", false);
    } else if (command == "supp") {
        commands.cmdRequestSupp("G-1", false);
    } else {
        title = "Error in cmdWeb_Click";
        message = "There was an error requesting website information.";
        boxes.expect();   // the reminder
        commands.cmdWeb("G-1");
        boxes.boxes.removeFirst();
    }
    if (!opened.isEmpty()) {
        QCOMPARE(shell.calls.size(), 1);
        QCOMPARE(shell.calls[0].target, opened);
        QCOMPARE(boxes.boxes.size(), 0);
        return;
    }
    QCOMPARE(shell.calls.size(), 0);
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, title);
    QCOMPARE(boxes.boxes[0].icon(), int(vbCritical));
    QCOMPARE(boxes.boxes[0].text,
             message + "\r\n\r\nThe page address does not stay on the server " + base + ": " + base + link);
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

int runFrmMainTests(int argc, char** argv)
{
    TestFrmMain t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_frmMain.moc"
