#include "ModalDriver.h"
#include "RunTests.h"
#include "ScreenRig.h"
#include "TestSupport.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "service/clsReportStatus.h"
#include "ui/ordering/frmCheckExisting.h"
#include "ui/ordering/frmMain.h"
#include "ui/ordering/frmPullReport.h"
#include "ui/ordering/OrderingWindows.h"

#include <QApplication>
#include <QCheckBox>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTcpServer>
#include <QTimer>
#include <QtTest/QTest>

#include <memory>

namespace {

const QString kReportPath = "POST /cia/cgi/marrowCGI.exe?";
const QString kAccountPath = "POST /utils/CGI_Utilities.asp?";
const QString kOwnLogin = "UserName=demo&Password=Demo2026pass";

// The criteria of the demo loans as the order sends them, blanks as "+", after the Keywords.
const QString kNoReportFields = "&Reference=DANA+DEMO&FirstName=AVERY&LastName=NEWCOMB&MiddleInitial=J"
                                "&SSN=900110001&DOB=07%2F04%2F1990&CurAddress=301+MAIN+ST&CurCity=AUSTIN"
                                "&CurState=TX&CurZip=78701&Suffix=&Joint=FALSE";
const QString kRecentFields = "&Reference=DANA+DEMO&FirstName=JORDAN&LastName=SAMPLE&MiddleInitial=L"
                              "&SSN=900110002&DOB=02%2F14%2F1985&CurAddress=27+CAF%C3%89+ROW&CurCity=SPRINGFIELD"
                              "&CurState=IL&CurZip=62701&Suffix=&Joint=FALSE";
const QString kJointFields = "&Reference=DANA+DEMO&FirstName=RILEY&LastName=JOYNER&MiddleInitial="
                             "&SSN=900110005&DOB=06%2F01%2F1988&CurAddress=55+HARBOR+WAY&CurCity=PORTLAND"
                             "&CurState=ME&CurZip=04101&Suffix=&Joint=TRUE&CoFirstName=TAYLOR&CoLastName=JOYNER"
                             "&CoMiddleInitial=ANN&CoSSN=900110006&CoDOB=11%2F23%2F1989&CoSuffix=";
const QString kAllThree = "&EQUIFAX=TRUE&EXPERIAN=TRUE&TRANSUNION=TRUE";

QString requestLine(const QString& login, const QString& criteria)
{
    return kReportPath + login + "&action=REQUEST" + criteria + "&Source=Orrery+Client&LOSVersion=" + ClientVersion();
}

QString findPendingLine(const QString& login, const QString& criteria)
{
    return kAccountPath + login + "&Action=FINDPENDING" + criteria;
}

QString versionLine(const QString& guid)
{
    return kAccountPath + "Action=UPDATELOSVERSION&guid=" + guid + "&LOSVersion=" + ClientVersion();
}

QStringList progressLines(const frmPullReport* window)
{
    QStringList lines;
    for (int i = 0; i < window->lstbxProgress()->count(); ++i)
        lines << window->lstbxProgress()->item(i)->text();
    return lines;
}

// The user at the pull window: ticks the named boxes (unticking the others that are enabled)
// and presses Pull.
ModalDriver::Action tickAndPull(const QStringList& ticked)
{
    return [ticked](QWidget* window) {
        for (QCheckBox* box : window->findChildren<QCheckBox*>()) {
            if (box->isEnabled() && box->isChecked() != ticked.contains(box->objectName()))
                box->click();
        }
        window->findChild<QPushButton*>("cmdPull")->click();
    };
}

// Presses Pull once the window takes clicks again: it ignores them until the order before has
// ended completely.
void pressPullWhenReady(frmPullReport* window)
{
    if (window->cmdPull()->isEnabled())
        window->cmdPull()->click();
    else
        QTimer::singleShot(10, window, [window] { pressPullWhenReady(window); });
}

quint16 closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();   // nothing listens once server is gone
}

ModalDriver::Action closeWindow()
{
    return [](QWidget* window) { window->close(); };
}

} // namespace

class TestPull : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void setUpByTypeStatusAndRights_data();
    void setUpByTypeStatusAndRights();
    void pullIsRefused_data();
    void pullIsRefused();

    void orderReachesServerByteForByte_data();
    void orderReachesServerByteForByte();
    void oldReportAsksBeforeRepull_data();
    void oldReportAsksBeforeRepull();
    void closingStatusWindowAbortsAndPendingOrderIsFollowed();
    void loginByReference_data();
    void loginByReference();
    void droppedRequestIsFollowedNextTime();
    void clickDuringSlowRequestOrdersOnce();
    void failedPendingCheckSendsNoOrder_data();
    void failedPendingCheckSendsNoOrder();
    void failedVersionStampLeavesOrderKnown_data();
    void failedVersionStampLeavesOrderKnown();
    void progressListShowsNewestLine();

private:
    // Loads a demo loan and answers what its check brings up: the pull window is cancelled,
    // the question about an old report is answered No.
    void loadCase(const QString& caseName);
    frmMain* main() { return m_rig->window(); }

    std::unique_ptr<ScreenRig> m_rig;
};

void TestPull::initTestCase()
{
    RegisterOrderingWindows();   // the status wait, also when these tests run on their own
    m_rig = std::make_unique<ScreenRig>("recent");
    QVERIFY(m_rig->started);
}

void TestPull::cleanupTestCase()
{
    m_rig.reset();
}

void TestPull::init()
{
    m_rig->sim.reset();
    m_rig->boxes.boxes.clear();
    m_rig->boxes.unexpected = 0;
}

void TestPull::cleanup()
{
    frmPullReport::Unload();
    QCOMPARE(m_rig->boxes.unexpected, 0);
    QCOMPARE(m_rig->boxes.pendingAnswers(), 0);
}

void TestPull::loadCase(const QString& caseName)
{
    ModalDriver user;
    user.on("frmPullReport", closeWindow());
    m_rig->useCase(caseName);
    if (caseName == "old")
        m_rig->boxes.expect(vbNo);
    m_rig->check();
    Props().setPollingSleepTime(20);
    m_rig->sim.clearRequests();
    m_rig->boxes.boxes.clear();
}

// ---- the window before an order

void TestPull::setUpByTypeStatusAndRights_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<int>>("status");     // EFX, EXP, TU on the existing report
    QTest::addColumn<QList<bool>>("rights");    // EFQ, EXP, TU
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QList<bool>>("ticked");    // Equifax, Experian, Trans Union
    QTest::addColumn<QList<bool>>("enabled");
    QTest::addColumn<bool>("pullEnabled");

    const QList<bool> all = {true, true, true};
    QTest::newRow("new, nothing on record") << 1 << QList<int>{0, 0, 0} << all << "New Credit Pull"
        << QList<bool>{false, false, false} << all << true;
    QTest::newRow("repull ticks the report's bureaus") << 2 << QList<int>{4, 4, 0} << all << "RePull Credit"
        << QList<bool>{true, true, false} << all << true;
    QTest::newRow("add a bureau: only missing ones open") << 3 << QList<int>{4, 0, 4} << all << "Add A Bureau"
        << QList<bool>{true, false, true} << QList<bool>{false, true, false} << true;
    QTest::newRow("add a bureau with all three: Pull disabled") << 3 << QList<int>{4, 4, 4} << all << "Add A Bureau"
        << all << QList<bool>{false, false, false} << false;
    QTest::newRow("no right: unticked and disabled") << 2 << QList<int>{4, 4, 4} << QList<bool>{true, true, false}
        << "RePull Credit" << QList<bool>{true, true, false} << QList<bool>{true, true, false} << true;
    QTest::newRow("no Experian right on an add") << 3 << QList<int>{4, 0, 0} << QList<bool>{true, false, true}
        << "Add A Bureau" << QList<bool>{true, false, false} << QList<bool>{false, false, true} << true;
}

void TestPull::setUpByTypeStatusAndRights()
{
    QFETCH(int, type);
    QFETCH(QList<int>, status);
    QFETCH(QList<bool>, rights);
    QFETCH(QString, caption);
    QFETCH(QList<bool>, ticked);
    QFETCH(QList<bool>, enabled);
    QFETCH(bool, pullEnabled);

    Props().setbEFQ_Right(rights[0]);
    Props().setbEXP_Right(rights[1]);
    Props().setbTU_Right(rights[2]);
    auto record = std::make_shared<clsReportStatus>();
    record->setnStatusEFX(qint16(status[0]));
    record->setnStatusEXP(qint16(status[1]));
    record->setnStatusTU(qint16(status[2]));

    main()->session().setReportStatus(record);
    frmPullReport& window = frmPullReport::Load(*main(), main()->session(), main());
    window.SetProps(type);
    window.show();
    QCOMPARE(window.windowTitle(), caption);
    const QList<QCheckBox*> boxes = {window.cbxEquifax(), window.cbxExperian(), window.cbxTransUnion()};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(boxes[i]->isChecked(), ticked[i]);
        QCOMPARE(boxes[i]->isEnabled(), enabled[i]);
    }
    QCOMPARE(window.cmdPull()->isEnabled(), pullEnabled);
    QCOMPARE(window.nBureausTicked(), qint16(0));
    // Set up: the progress list lies below the window's 2430 twips.
    QVERIFY(!window.lstbxProgress()->isVisible());
    QCOMPARE(window.height(), window.twipsToPixels(frmPullReport::SetUpHeight));
    Props().setbEFQ_Right(true);
    Props().setbEXP_Right(true);
    Props().setbTU_Right(true);
}

void TestPull::pullIsRefused_data()
{
    QTest::addColumn<QString>("caseName");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("box");   // title|icon|text of the last box
    QTest::addColumn<bool>("staysOpen");
    const QString validation = "Validation Error|" + QString::number(vbExclamation) + "|";
    QTest::newRow("no bureau ticked") << "no-report" << "cmdRepull" << "none"
        << validation + "You must choose atleast 1 bureau to pull credit from." << true;
    QTest::newRow("add a bureau: ticked and unticked again") << "joint" << "cmdAddBureau" << "twice"
        << validation + "You must select atleast 1 bureau to add to the original report." << true;
    // The main window's own rules refuse a comma too; here the user types one while the window is open.
    QTest::newRow("comma typed while open") << "recent" << "cmdRepull" << "comma"
        << "Comma Error|" + QString::number(vbInformation) + "|You can not have any commas in the address field.\r\n"
           "Please go back to the main screen and remove any commas." << false;
    QTest::newRow("reference chooser left, abort confirmed") << "no-report" << "cmdRepull" << "chooser"
        << "Abort?|" + QString::number(vbExclamation) + "|You can not pull credit without chosing a reference.\r\n\r\n\r\n"
           "Abort Credit Pull?" << true;
}

// Pull is refused before anything reaches the server.
void TestPull::pullIsRefused()
{
    QFETCH(QString, caseName);
    QFETCH(QString, button);
    QFETCH(QString, how);
    QFETCH(QString, box);
    QFETCH(bool, staysOpen);
    loadCase(caseName);
    const int typeBefore = main()->ePullType();
    bool stayedOpen = false;
    ModalDriver user;
    user.on("frmPullReport", [&, this](QWidget* w) {
        auto* window = static_cast<frmPullReport*>(w);
        if (how == "twice") {
            window->cbxTransUnion()->click();
            window->cbxTransUnion()->click();
            QCOMPARE(window->nBureausTicked(), qint16(0));
        }
        if (how == "comma") {
            main()->Box(LoanBox::lblCurAddr).setText("27 CAFE ROW, APT 4");
            main()->Button(MainButton::cmdAddBureau).setEnabled(true);
        }
        tickAndPull(how == "none" || how == "twice" ? QStringList() : QStringList{"cbxEquifax"})(w);
        stayedOpen = w->isVisible();
        w->close();
    });
    user.on("frmLoginByRef", [](QWidget* w) { w->findChild<QPushButton*>("cmdClose")->click(); });
    if (how == "chooser")
        m_rig->boxes.expect(vbYes);   // on behalf of someone else
    m_rig->boxes.expect(vbYes);
    QUILL_FIND_CHILD(command, QPushButton, main(), button);
    command->click();
    QCOMPARE(user.acted("frmPullReport"), 1);
    QCOMPARE(stayedOpen, staysOpen);
    const ScriptedMsgBox::Box last = m_rig->boxes.boxes.last();
    QCOMPARE(last.title + "|" + QString::number(last.icon()) + "|" + last.text, box);
    QVERIFY(m_rig->sim.requests().isEmpty());
    QCOMPARE(main()->ePullType(), typeBefore);   // adding a bureau leaves the next order's kind alone
    if (how == "comma") {
        QVERIFY(!main()->Button(MainButton::cmdAddBureau).isEnabled());   // the buttons were refreshed on unload
        QTRY_COMPARE(QApplication::focusWidget(), &main()->Box(LoanBox::lblCurAddr));
        QCOMPARE(main()->Box(LoanBox::lblCurAddr).selectedText(), QString("27 CAFE ROW, APT 4"));
    }
}

// ---- orders at the server

void TestPull::orderReachesServerByteForByte_data()
{
    QTest::addColumn<QString>("caseName");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("tick");
    QTest::addColumn<QString>("criteria");
    QTest::addColumn<QStringList>("edits");   // city and suffix typed over the loan's

    QTest::newRow("new pull, single") << "no-report" << "cmdRepull" << QStringList{"cbxEquifax", "cbxTransUnion"}
        << "&Keywords=" + kNoReportFields + "&EQUIFAX=TRUE&TRANSUNION=TRUE" << QStringList();
    QTest::newRow("repull, single") << "recent" << "cmdRepull" << QStringList{"cbxEquifax", "cbxExperian", "cbxTransUnion"}
        << "&Keywords=REQUEST" + kRecentFields + kAllThree << QStringList();
    QTest::newRow("repull, joint") << "joint" << "cmdRepull" << QStringList{"cbxExperian"}
        << "&Keywords=REQUEST" + kJointFields + "&EXPERIAN=TRUE" << QStringList();
    QTest::newRow("add a bureau, joint") << "joint" << "cmdAddBureau" << QStringList{"cbxTransUnion"}
        << "&Keywords=UPGRADE" + kJointFields + kAllThree << QStringList();
    // Values go out trimmed and form-encoded, never XML-escaped.
    QTest::newRow("typed values, unescaped") << "no-report" << "cmdRepull" << QStringList{"cbxExperian"}
        << "&Keywords=" + QString(kNoReportFields).replace("AUSTIN", "ST.+MARY+%26+%3COLD%3E+TOWN")
               .replace("&Suffix=", "&Suffix=%3CII%3E") + "&EXPERIAN=TRUE"
        << QStringList{"  ST. MARY & <OLD> TOWN ", "<II>"};
}

void TestPull::orderReachesServerByteForByte()
{
    QFETCH(QString, caseName);
    QFETCH(QString, button);
    QFETCH(QStringList, tick);
    QFETCH(QString, criteria);
    QFETCH(QStringList, edits);

    loadCase(caseName);
    if (!edits.isEmpty()) {
        main()->Box(LoanBox::lblCurCity).setText(edits[0]);
        main()->Box(LoanBox::lblBorSufx).setText(edits[1]);
    }
    const int typeBefore = main()->ePullType();
    ModalDriver user;
    user.on("frmPullReport", tickAndPull(tick));
    m_rig->boxes.expect(vbNo);   // not on behalf of someone else
    m_rig->boxes.expect();       // the success box
    QUILL_FIND_CHILD(command, QPushButton, main(), button);
    command->click();

    const QStringList requests = m_rig->sim.requests();
    const QStringList orders = m_rig->sent("REQUEST");
    QCOMPARE(orders.size(), 1);
    QCOMPARE(orders[0], requestLine(kOwnLogin, criteria));
    const int at = requests.indexOf(orders[0]);
    QVERIFY(at > 0);
    QCOMPARE(requests[at - 1], findPendingLine(kOwnLogin, criteria));

    const QString guid = main()->sReportUID();
    QVERIFY(!guid.isEmpty());
    QCOMPARE(requests.value(at + 1), versionLine(guid));
    QVERIFY(m_rig->sent("GET_STATUS").size() >= 2);
    QCOMPARE(m_rig->boxes.boxes.size(), 2);
    QCOMPARE(m_rig->boxes.boxes[1].text, QString("Credit Report pulled successfully!"));
    QCOMPARE(m_rig->boxes.boxes[1].title, QString("Success"));
    QCOMPARE(m_rig->boxes.boxes[1].icon(), int(vbExclamation));

    // The window closed; the main window holds the new report and its buttons show it.
    QCOMPARE(frmPullReport::loaded(), nullptr);
    QCOMPARE(main()->ePullType(), button == "cmdAddBureau" ? typeBefore : 2);
    QCOMPARE(main()->reportStatus()->sReportID(), guid);
    QCOMPARE(main()->Button(MainButton::cmdRepull).text(), QString("&Repull"));
    for (const char* name : {"cmdView", "cmdPrint", "cmdImport", "cmdRepull"})
        QVERIFY2(m_rig->enabled(name), name);
    QCOMPARE(main()->session().ExistingReportID(), guid);
    QVERIFY(main()->sReportLocation().isEmpty());
}

void TestPull::oldReportAsksBeforeRepull_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes: repull") << int(vbYes);
    QTest::newRow("No: keep the old report") << int(vbNo);
}

void TestPull::oldReportAsksBeforeRepull()
{
    QFETCH(int, answer);
    ModalDriver user;
    user.on("frmPullReport", closeWindow());
    m_rig->useCase("old");
    m_rig->boxes.expect(answer);
    m_rig->check();
    QCOMPARE(m_rig->boxes.boxes.size(), 1);
    const QString date = QDate::currentDate().addDays(-45).toString("MM/dd/yyyy");
    QCOMPARE(m_rig->boxes.boxes[0].text, "This report was last ran on " + date
                 + ".\r\nDo you want to use the existing one or repull a new one.\r\n\r\nRepull new report?");
    QCOMPARE(m_rig->boxes.boxes[0].title, QString("Confirmation"));
    QCOMPARE(m_rig->boxes.boxes[0].style, int(vbYesNo | vbQuestion));
    QCOMPARE(user.acted("frmPullReport"), answer == vbYes ? 1 : 0);
    QCOMPARE(main()->ePullType(), 2);
}

// The user closes the status window: the order stays in progress at the server, the pull window
// stays open, and pressing Pull again follows that order instead of placing a second one.
void TestPull::closingStatusWindowAbortsAndPendingOrderIsFollowed()
{
    loadCase("no-report");
    m_rig->sim.setStatusPolls(1000);
    ModalDriver user;
    QStringList afterAbort;
    int heightAfterAbort = 0;
    int pullTypeAfterAbort = 0;
    user.on("frmPullReport", tickAndPull({"cbxEquifax"}));
    user.on("frmStatus", closeWindow());
    user.on("frmPullReport", [&](QWidget* w) {
        auto* window = static_cast<frmPullReport*>(w);
        afterAbort = progressLines(window);
        heightAfterAbort = window->height();
        pullTypeAfterAbort = window->ePullType();
        QCOMPARE(main()->ePullType(), 1);
        QCOMPARE(window->height(), window->twipsToPixels(frmPullReport::AbortedHeight));
        // Still in progress when the second Pull asks for it; done two polls later.
        m_rig->sim.setStatusPolls(int(m_rig->sent("GET_STATUS").size()) + 2);
        pressPullWhenReady(window);
    });
    m_rig->boxes.expect(vbNo);   // on behalf of someone else?
    m_rig->boxes.expect();       // aborted
    m_rig->boxes.expect(vbNo);
    m_rig->boxes.expect();       // success of the second Pull
    main()->Button(MainButton::cmdRepull).click();

    QCOMPARE(user.acted("frmStatus"), 1);
    QCOMPARE(afterAbort, (QStringList{"Request sent...", "Request accepted...", "Checking status..."}));
    QVERIFY(heightAfterAbort > 0);
    QCOMPARE(pullTypeAfterAbort, 1);
    QCOMPARE(m_rig->boxes.boxes.size(), 4);
    QCOMPARE(m_rig->boxes.boxes[1].text, QString("Credit pull aborted by user."));
    QCOMPARE(m_rig->boxes.boxes[1].title, QString("Aborted"));
    QCOMPARE(m_rig->boxes.boxes[1].icon(), int(vbInformation));
    QCOMPARE(m_rig->boxes.boxes[3].text, QString("Credit Report pulled successfully!"));

    const QString criteria = "&Keywords=" + kNoReportFields + "&EQUIFAX=TRUE";
    QCOMPARE(m_rig->sent("REQUEST").size(), 1);
    QCOMPARE(m_rig->sent("FINDPENDING"),
             (QStringList{findPendingLine(kOwnLogin, criteria), findPendingLine(kOwnLogin, criteria)}));
    const QString guid = main()->sReportUID();
    QCOMPARE(m_rig->sent("UPDATELOSVERSION"), (QStringList{versionLine(guid), versionLine(guid)}));
    QCOMPARE(m_rig->sim.reports().size(), 6);   // the five seeded ones and this order
}

void TestPull::loginByReference_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("login");
    QTest::newRow("Yes: on the reference's account") << int(vbYes)
        << "UserName=agent&Password=Agent2026pass&LoginByRefUserName=demo&LoginByRefPassword=Demo2026pass";
    QTest::newRow("No: on the user's own") << int(vbNo) << kOwnLogin;
}

void TestPull::loginByReference()
{
    QFETCH(int, answer);
    QFETCH(QString, login);
    loadCase("no-report");
    QVERIFY(Props().CanLoginByRef());
    Props().setLoginByRef(true);   // a choice made before; No must clear it
    ModalDriver user;
    user.on("frmPullReport", tickAndPull({"cbxEquifax", "cbxExperian"}));
    user.on("frmLoginByRef", [](QWidget* w) {
        auto* list = w->findChild<QListWidget*>("lstbxRefs");
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QString("Alex Agent"));
        list->item(0)->setSelected(true);
        w->findChild<QPushButton*>("cmdPull")->click();
    });
    m_rig->boxes.expect(answer);   // "Pull As Confirmation"
    m_rig->boxes.expect();         // success
    main()->Button(MainButton::cmdRepull).click();

    QCOMPARE(m_rig->boxes.boxes[0].text, QString("Would you like to pull a report on behalf of someone else?"));
    QCOMPARE(m_rig->boxes.boxes[0].title, QString("Pull As Confirmation"));
    QCOMPARE(m_rig->boxes.boxes[0].style, int(vbYesNo | vbQuestion));
    QCOMPARE(user.acted("frmLoginByRef"), answer == vbYes ? 1 : 0);
    QCOMPARE(Props().IsLoginByRef(), answer == vbYes);
    const QString criteria = "&Keywords=" + kNoReportFields + "&EQUIFAX=TRUE&EXPERIAN=TRUE";
    QCOMPARE(m_rig->sent("REQUEST"), QStringList{requestLine(login, criteria)});
    QCOMPARE(m_rig->sent("FINDPENDING"), QStringList{findPendingLine(login, criteria)});
    Props().setLoginByRef(false);
}

// The connection drops after the server took the order: the Pull fails without a second order
// line, and the next Pull finds the order with FINDPENDING and follows it.
void TestPull::droppedRequestIsFollowedNextTime()
{
    loadCase("no-report");
    m_rig->sim.scriptDropAfterHandling("REQUEST", 2);
    ModalDriver user;
    QStringList afterDrop;
    user.on("frmPullReport", [&](QWidget* w) {
        tickAndPull({"cbxTransUnion"})(w);
        afterDrop = progressLines(static_cast<frmPullReport*>(w));
        w->findChild<QPushButton*>("cmdPull")->click();
    });
    m_rig->boxes.expect(vbNo);   // on behalf of someone else?
    m_rig->boxes.expect();       // the order may have been placed
    m_rig->boxes.expect(vbNo);
    m_rig->boxes.expect();       // success of the second Pull
    main()->Button(MainButton::cmdRepull).click();

    QCOMPARE(afterDrop, (QStringList{"Request sent...", "An error occurred, check log"}));
    QCOMPARE(m_rig->boxes.boxes.size(), 4);
    QCOMPARE(m_rig->boxes.boxes[1].title, QString("Order May Have Been Placed"));
    QCOMPARE(m_rig->boxes.boxes[1].icon(), int(vbExclamation));
    QVERIFY2(m_rig->boxes.boxes[1].text.contains("may have been placed")
                 && m_rig->boxes.boxes[1].text.contains("The next Pull for this loan will first look for this order"),
             qPrintable(m_rig->boxes.boxes[1].text));
    QCOMPARE(m_rig->sent("REQUEST").size(), 1);
    QCOMPARE(m_rig->sent("FINDPENDING").size(), 2);
    QCOMPARE(m_rig->boxes.boxes.last().text, QString("Credit Report pulled successfully!"));
    // The order followed is one the server took from this loan's REQUEST.
    QStringList placed;
    for (const auto& report : m_rig->sim.reports())
        if (report.toObject().value("ssn").toString().remove('-') == "900110001")
            placed << report.toObject().value("id").toString();
    QCOMPARE(placed.size(), int(m_rig->sent("REQUEST").size()));
    QVERIFY2(placed.contains(main()->sReportUID()), qPrintable(main()->sReportUID()));
}

// The user clicks Pull again while a slow order waits for the server: the click does nothing,
// and exactly one order reaches the server.
void TestPull::clickDuringSlowRequestOrdersOnce()
{
    loadCase("no-report");
    m_rig->sim.setLatency(300);
    ModalDriver user;
    bool clicked = false;
    bool pullEnabledDuringOrder = true;
    QTimer secondClick;
    QObject::connect(&secondClick, &QTimer::timeout, [&] {
        frmPullReport* window = frmPullReport::loaded();
        if (clicked || !window || progressLines(window).value(0) != "Request sent...")
            return;
        clicked = true;
        pullEnabledDuringOrder = window->cmdPull()->isEnabled() || window->cmdClose()->isEnabled()
            || window->cbxEquifax()->isEnabled();
        QTest::mouseClick(window->cmdPull(), Qt::LeftButton);
    });
    secondClick.start(20);
    user.on("frmPullReport", tickAndPull({"cbxEquifax"}));
    m_rig->boxes.expect(vbNo);   // on behalf of someone else?
    m_rig->boxes.expect();       // success
    main()->Button(MainButton::cmdRepull).click();

    QVERIFY(clicked);
    QVERIFY(!pullEnabledDuringOrder);
    QCOMPARE(m_rig->sent("REQUEST").size(), 1);
    QCOMPARE(m_rig->sent("FINDPENDING").size(), 1);
    QCOMPARE(m_rig->boxes.boxes.size(), 2);
    QCOMPARE(m_rig->boxes.boxes[1].text, QString("Credit Report pulled successfully!"));
}

// The search for a pending identical order fails: that is not "none pending". No order is
// sent and the user is told why.
void TestPull::failedPendingCheckSendsNoOrder_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QStringList>("titles");   // the boxes after the on-behalf question
    const QString notSent = "Order Not Sent";
    QTest::newRow("HTTP 500") << "500" << QStringList{notSent};
    QTest::newRow("HTML page") << "html" << QStringList{notSent};
    QTest::newRow("dropped connection") << "drop" << QStringList{notSent};
    QTest::newRow("connection refused") << "refused" << QStringList{"Invalid Internet Connection Found", notSent};
}

void TestPull::failedPendingCheckSendsNoOrder()
{
    QFETCH(QString, failure);
    QFETCH(QStringList, titles);
    loadCase("no-report");
    const QString server = Props().ServerURL();
    if (failure == "500")
        m_rig->sim.scriptStatus("FINDPENDING", 500, "Internal Server Error");
    else if (failure == "html")
        m_rig->sim.script("FINDPENDING", "<html><body>Please sign in</body></html>");
    else if (failure == "drop")
        m_rig->sim.scriptDrop("FINDPENDING", 2);   // a read is sent again once
    ModalDriver user;
    QStringList lines;
    user.on("frmPullReport", [&](QWidget* w) {
        if (failure == "refused")
            Props().setServerURL(QString("http://127.0.0.1:%1").arg(closedPort()));
        tickAndPull({"cbxExperian"})(w);
        Props().setServerURL(server);
        lines = progressLines(static_cast<frmPullReport*>(w));
        w->close();
    });
    m_rig->boxes.expect(vbNo);
    for (int i = 0; i < titles.size(); ++i)
        m_rig->boxes.expect();
    main()->Button(MainButton::cmdRepull).click();

    QVERIFY(m_rig->sent("REQUEST").isEmpty());
    QCOMPARE(lines, QStringList{"An error occurred, check log"});
    QCOMPARE(m_rig->boxes.boxes.size(), 1 + titles.size());
    for (int i = 0; i < titles.size(); ++i)
        QCOMPARE(m_rig->boxes.boxes[1 + i].title, titles[i]);
    QVERIFY2(m_rig->boxes.boxes.last().text.startsWith("The credit vendor could not be asked whether this order is "
                                                       "already in progress, so no order was sent."),
             qPrintable(m_rig->boxes.boxes.last().text));
    QCOMPARE(m_rig->boxes.boxes.last().icon(), int(vbCritical));
    QCOMPARE(main()->ePullType(), 1);
    QCOMPARE(main()->Button(MainButton::cmdRepull).text(), QString("&Pull Credit"));
}

// The order was placed but its version stamp failed: the main window and the check's results
// know the order all the same.
void TestPull::failedVersionStampLeavesOrderKnown_data()
{
    QTest::addColumn<int>("httpStatus");
    QTest::newRow("refused") << 200;
    QTest::newRow("HTTP 500") << 500;
}

void TestPull::failedVersionStampLeavesOrderKnown()
{
    QFETCH(int, httpStatus);
    loadCase("no-report");
    m_rig->sim.scriptStatus("UPDATELOSVERSION", httpStatus, "Version not stored");
    ModalDriver user;
    QString guid;
    user.on("frmPullReport", [&](QWidget* w) {
        tickAndPull({"cbxEquifax"})(w);
        guid = static_cast<frmPullReport*>(w)->sReportUID();
        w->close();
    });
    m_rig->boxes.expect(vbNo);
    main()->Button(MainButton::cmdRepull).click();

    QCOMPARE(m_rig->sent("REQUEST").size(), 1);
    QVERIFY(m_rig->sent("GET_STATUS").isEmpty());
    QVERIFY(!guid.isEmpty());
    QCOMPARE(main()->sReportUID(), guid);
    QCOMPARE(main()->reportStatus()->sReportID(), guid);
    QCOMPARE(main()->session().ExistingReportID(), guid);
    QCOMPARE(main()->Button(MainButton::cmdRepull).text(), QString("&Repull"));
    QVERIFY(m_rig->enabled("cmdView"));
}

// Each Pull adds its lines; the list keeps the newest one in view.
void TestPull::progressListShowsNewestLine()
{
    loadCase("no-report");
    const int pulls = 4;
    m_rig->sim.script("REQUEST", "FAILED", pulls);
    ModalDriver user;
    int count = 0;
    bool lastVisible = false;
    user.on("frmPullReport", [&](QWidget* w) {
        auto* window = static_cast<frmPullReport*>(w);
        tickAndPull({"cbxEquifax"})(w);
        for (int i = 1; i < pulls; ++i)
            window->cmdPull()->click();
        QListWidget* list = window->lstbxProgress();
        count = list->count();
        lastVisible = list->viewport()->rect().contains(list->visualItemRect(list->item(count - 1)));
        w->close();
    });
    for (int i = 0; i < pulls; ++i) {
        m_rig->boxes.expect(vbNo);
        m_rig->boxes.expect();   // "Error Submitting Request"
    }
    main()->Button(MainButton::cmdRepull).click();
    QCOMPARE(count, 2 * pulls);
    QVERIFY(lastVisible);
}

int runPullTests(int argc, char** argv)
{
    return RunTests<TestPull>(argc, argv);
}

#include "test_pull.moc"
