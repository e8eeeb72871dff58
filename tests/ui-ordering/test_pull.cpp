#include "OrderingKit.h"
#include "RunTests.h"
#include "TestSupport.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "host/basDates.h"
#include "service/clsReportStatus.h"
#include "ui/ordering/LoanSession.h"
#include "TestEnv.h"
#include "ui/ordering/frmLoginByRef.h"
#include "ui/ordering/frmReissue.h"
#include "ui/ordering/OrderingWindows.h"

#include <QApplication>
#include <QJsonObject>
#include <QLineEdit>
#include <QTimer>
#include <QtTest/QTest>

#include <memory>
#include <optional>

using namespace kit;

namespace {

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
const QString kSuccess = "Credit Report pulled successfully!";

QString requestLine(const QString& login, const QString& criteria)
{
    return "POST /cia/cgi/marrowCGI.exe?" + login + "&action=REQUEST" + criteria + "&Source=Orrery+Client&LOSVersion="
        + ClientVersion();
}

QString findPendingLine(const QString& login, const QString& criteria)
{
    return "POST /utils/CGI_Utilities.asp?" + login + "&Action=FINDPENDING" + criteria;
}

QString versionLine(const QString& guid)
{
    return "POST /utils/CGI_Utilities.asp?Action=UPDATELOSVERSION&guid=" + guid + "&LOSVersion=" + ClientVersion();
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

} // namespace

class TestPull : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { m_rig.reset(); }
    void init();
    void cleanup();
    void setUpByTypeStatusAndRights_data();
    void setUpByTypeStatusAndRights();
    void pullIsRefused_data();
    void pullIsRefused();
    void orderReachesServerByteForByte_data();
    void orderReachesServerByteForByte();
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
    void loadCase(const QString& caseName)
    {
        kit::loadCase(*m_rig, caseName);
        Props().setPollingSleepTime(20);
    }
    frmMain* main() { return m_rig->window(); }
    // The pull the user starts with Repull; `boxes` answers queued after "on behalf of someone else?" No.
    void repull(int boxes)
    {
        m_rig->boxes.expect(vbNo);
        for (int i = 0; i < boxes; ++i)
            m_rig->boxes.expect();
        main()->Button(MainButton::cmdRepull).click();
    }
    const ScriptedMsgBox::Box& shown(int i) { return m_rig->boxes.boxes.at(i); }
    // The report the main window now works on, as the supplement page it opens names it.
    QString reportInWindow()
    {
        m_rig->shell.calls.clear();
        main()->Button(MainButton::cmdRequestSupp).click();
        return m_rig->shell.calls.value(0).target.section("&RID=", 1).section('&', 0, 0);
    }

    std::unique_ptr<ScreenRig> m_rig;
};

void TestPull::initTestCase()
{
    RegisterOrderingWindows();   // the status wait, also when these tests run on their own
    m_rig = std::make_unique<ScreenRig>("recent");
    QVERIFY(m_rig->started);
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

void TestPull::setUpByTypeStatusAndRights_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("status");    // EFX, EXP, TU on the existing report
    QTest::addColumn<QString>("rights");    // EFQ, EXP, TU
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("ticked");    // Equifax, Experian, Trans Union
    QTest::addColumn<QString>("enabled");   // the three boxes, then Pull
    QTest::newRow("new, nothing on record") << 1 << "000" << "111" << "New Credit Pull" << "000" << "1111";
    QTest::newRow("repull ticks the report's bureaus") << 2 << "440" << "111" << "RePull Credit" << "110" << "1111";
    QTest::newRow("add a bureau: only missing ones open") << 3 << "404" << "111" << "Add A Bureau" << "101" << "0101";
    QTest::newRow("add a bureau with all three: Pull disabled") << 3 << "444" << "111" << "Add A Bureau" << "111" << "0000";
    QTest::newRow("no right: unticked and disabled") << 2 << "444" << "110" << "RePull Credit" << "110" << "1101";
    QTest::newRow("no Experian right on an add") << 3 << "400" << "101" << "Add A Bureau" << "100" << "0011";
}

void TestPull::setUpByTypeStatusAndRights()
{
    QFETCH(int, type);
    QFETCH(QString, status);
    QFETCH(QString, rights);
    QFETCH(QString, caption);
    QFETCH(QString, ticked);
    QFETCH(QString, enabled);
    Props().setbEFQ_Right(rights[0] == '1');
    Props().setbEXP_Right(rights[1] == '1');
    Props().setbTU_Right(rights[2] == '1');
    auto record = std::make_shared<clsReportStatus>();
    record->setnStatusEFX(qint16(status[0].digitValue()));
    record->setnStatusEXP(qint16(status[1].digitValue()));
    record->setnStatusTU(qint16(status[2].digitValue()));

    main()->session().setReportStatus(record);
    frmPullReport& window = frmPullReport::Load(*main(), main()->session(), main());
    window.SetProps(type);
    window.show();
    QCOMPARE(window.windowTitle(), caption);
    QString isTicked, isEnabled;
    for (QAbstractButton* b : {(QAbstractButton*)window.cbxEquifax(), (QAbstractButton*)window.cbxExperian(),
                               (QAbstractButton*)window.cbxTransUnion(), (QAbstractButton*)window.cmdPull()}) {
        isTicked += b->isChecked() ? '1' : '0';
        isEnabled += b->isEnabled() ? '1' : '0';
    }
    QCOMPARE(isTicked.left(3) + " " + isEnabled, ticked + " " + enabled);
    QCOMPARE(window.nBureausTicked(), qint16(0));
    // Set up: the progress list lies below the window's 2430 twips.
    QVERIFY(!window.lstbxProgress()->isVisible());
    QCOMPARE(window.height(), window.twipsToPixels(frmPullReport::SetUpHeight));
    for (auto set : {&clsProperties::setbEFQ_Right, &clsProperties::setbEXP_Right, &clsProperties::setbTU_Right})
        (Props().*set)(true);
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
    const QString before = disabledButtons(*m_rig) + main()->Button(MainButton::cmdRepull).text();
    bool stayedOpen = false;
    ModalDriver user;
    user.on("frmPullReport", [&, this](QWidget* w) {
        auto* window = static_cast<frmPullReport*>(w);
        if (how == "twice") {
            window->cbxTransUnion()->click();
            window->cbxTransUnion()->click();
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
    QCOMPARE(kit::box(m_rig->boxes.boxes.last()), box);
    QVERIFY(m_rig->sim.requests().isEmpty());
    if (how != "comma")   // the buttons are refreshed on unload, and nothing was ordered
        QCOMPARE(disabledButtons(*m_rig) + main()->Button(MainButton::cmdRepull).text(), before);
    else {
        QVERIFY(!main()->Button(MainButton::cmdAddBureau).isEnabled());
        QTRY_COMPARE(QApplication::focusWidget(), &main()->Box(LoanBox::lblCurAddr));
        QCOMPARE(main()->Box(LoanBox::lblCurAddr).selectedText(), QString("27 CAFE ROW, APT 4"));
    }
}

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

// The order's lines at the server, one after the other; afterwards the main window holds the
// new report and its buttons show it.
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
    ModalDriver user;
    user.on("frmPullReport", tickAndPull(tick));
    m_rig->boxes.expect(vbNo);   // not on behalf of someone else
    m_rig->boxes.expect();       // the success box
    QUILL_FIND_CHILD(command, QPushButton, main(), button);
    command->click();

    const QStringList requests = m_rig->sim.requests();
    QCOMPARE(m_rig->sent("REQUEST"), QStringList{requestLine(kOwnLogin, criteria)});
    const int at = requests.indexOf(m_rig->sent("REQUEST")[0]);
    QCOMPARE(requests.value(at - 1), findPendingLine(kOwnLogin, criteria));
    const QString guid = m_rig->sim.reports().last().toObject().value("id").toString();
    QCOMPARE(requests.value(at + 1), versionLine(guid));
    QVERIFY(m_rig->sent("GET_STATUS").size() >= 2);
    QCOMPARE(m_rig->boxes.boxes.size(), 2);
    QCOMPARE(kit::box(shown(1)), "Success|" + QString::number(vbExclamation) + "|" + kSuccess);
    QCOMPARE(frmPullReport::loaded(), nullptr);
    QCOMPARE(main()->Button(MainButton::cmdRepull).text(), QString("&Repull"));
    for (const char* name : {"cmdView", "cmdPrint", "cmdImport", "cmdRepull"})
        QVERIFY2(m_rig->enabled(name), name);
    QCOMPARE(reportInWindow(), guid);
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
    user.on("frmPullReport", tickAndPull({"cbxEquifax"}));
    user.on("frmStatus", closeWindow());
    user.on("frmPullReport", [&](QWidget* w) {
        auto* window = static_cast<frmPullReport*>(w);
        afterAbort = progressLines(window);
        heightAfterAbort = window->height() - window->twipsToPixels(frmPullReport::AbortedHeight);
        // Still in progress when the second Pull asks for it; done two polls later.
        m_rig->sim.setStatusPolls(int(m_rig->sent("GET_STATUS").size()) + 2);
        pressPullWhenReady(window);
    });
    m_rig->boxes.expect(vbNo);   // on behalf of someone else?
    m_rig->boxes.expect();       // aborted
    repull(1);                   // success of the second Pull

    QCOMPARE(user.acted("frmStatus"), 1);
    QCOMPARE(afterAbort, (QStringList{"Request sent...", "Request accepted...", "Checking status..."}));
    QCOMPARE(heightAfterAbort, 0);
    QCOMPARE(m_rig->boxes.boxes.size(), 4);
    QCOMPARE(kit::box(shown(1)), "Aborted|" + QString::number(vbInformation) + "|Credit pull aborted by user.");
    QCOMPARE(shown(3).text, kSuccess);
    const QString criteria = "&Keywords=" + kNoReportFields + "&EQUIFAX=TRUE";
    QCOMPARE(m_rig->sent("REQUEST").size(), 1);
    QCOMPARE(m_rig->sent("FINDPENDING"), QStringList(2, findPendingLine(kOwnLogin, criteria)));
    const QString guid = m_rig->sim.reports().last().toObject().value("id").toString();
    QCOMPARE(m_rig->sent("UPDATELOSVERSION"), QStringList(2, versionLine(guid)));
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

    QCOMPARE(kit::box(shown(0)), "Pull As Confirmation|" + QString::number(vbQuestion)
                                     + "|Would you like to pull a report on behalf of someone else?");
    QCOMPARE(shown(0).buttons(), int(vbYesNo));
    QCOMPARE(user.acted("frmLoginByRef"), answer == vbYes ? 1 : 0);
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
    repull(1);                   // success of the second Pull

    QCOMPARE(afterDrop, (QStringList{"Request sent...", "An error occurred, check log"}));
    QCOMPARE(m_rig->boxes.boxes.size(), 4);
    QCOMPARE(shown(1).title + QString::number(shown(1).icon()), "Order May Have Been Placed" + QString::number(vbExclamation));
    QVERIFY2(shown(1).text.contains("The next Pull for this loan will first look for this order"), qPrintable(shown(1).text));
    QCOMPARE(m_rig->sent("REQUEST").size(), 1);
    QCOMPARE(m_rig->sent("FINDPENDING").size(), 2);
    QCOMPARE(m_rig->boxes.boxes.last().text, kSuccess);
    // The order followed is the one the server took from this loan's REQUEST.
    QStringList placed;
    for (const auto& report : m_rig->sim.reports())
        if (report.toObject().value("ssn").toString().remove('-') == "900110001")
            placed << report.toObject().value("id").toString();
    QCOMPARE(placed.size(), 1);
    QCOMPARE(m_rig->sent("UPDATELOSVERSION"), QStringList{versionLine(placed[0])});
    QCOMPARE(reportInWindow(), placed[0]);
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
    repull(1);
    QVERIFY(clicked);
    QVERIFY(!pullEnabledDuringOrder);
    QCOMPARE(m_rig->sent("REQUEST").size(), 1);
    QCOMPARE(m_rig->sent("FINDPENDING").size(), 1);
    QCOMPARE(m_rig->boxes.boxes.size(), 2);
    QCOMPARE(shown(1).text, kSuccess);
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
    repull(int(titles.size()));

    QVERIFY(m_rig->sent("REQUEST").isEmpty());
    QCOMPARE(lines, QStringList{"An error occurred, check log"});
    QCOMPARE(m_rig->boxes.boxes.size(), 1 + titles.size());
    for (int i = 0; i < titles.size(); ++i)
        QCOMPARE(shown(1 + i).title, titles[i]);
    QVERIFY2(m_rig->boxes.boxes.last().text.startsWith("The credit vendor could not be asked whether this order is "
                                                       "already in progress, so no order was sent."),
             qPrintable(m_rig->boxes.boxes.last().text));
    QCOMPARE(m_rig->boxes.boxes.last().icon(), int(vbCritical));
    QCOMPARE(main()->Button(MainButton::cmdRepull).text(), QString("&Pull Credit"));
}

// The order was placed but its version stamp failed: the main window knows the order all the same.
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
    user.on("frmPullReport", [&](QWidget* w) {
        tickAndPull({"cbxEquifax"})(w);
        w->close();
    });
    repull(0);
    QCOMPARE(m_rig->sent("REQUEST").size(), 1);
    QVERIFY(m_rig->sent("GET_STATUS").isEmpty());
    QCOMPARE(main()->Button(MainButton::cmdRepull).text(), QString("&Repull"));
    QVERIFY(m_rig->enabled("cmdView"));
    QCOMPARE(reportInWindow(), m_rig->sim.reports().last().toObject().value("id").toString());
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


namespace {

using Edits = QList<QPair<QString, QString>>;

// A joint loan that passes every rule.
const Edits kValid = {
    {"lblReference", "DANA DEMO"}, {"lblBorFirst", "AVERY"}, {"lblBorLast", "NEWCOMB"}, {"lblBorMi", "J"},
    {"lblBorSufx", ""}, {"lblBorSSN", "900-11-0001"}, {"lblBorDOB", "04/28/1978"},
    {"lblCurAddr", "12 MAIN ST"}, {"lblCurCity", "SPRINGFIELD"}, {"lblCurState", "IL"}, {"lblCurZip", "62701"},
    {"lblCoFirst", "TAYLOR"}, {"lblCoLast", "JOYNER"}, {"lblCoMi", "ANN"}, {"lblCoSufx", ""},
    {"lblCoSSN", "900-11-0006"}, {"lblCoDOB", "11/23/1989"}};

} // namespace

Q_DECLARE_METATYPE(Edits)

// The main window's rules before an order, the birth-date reader behind them and the reissue
// number's rules.
class TestValidation : public QObject
{
    Q_OBJECT
    std::unique_ptr<ScreenRig> m_rig;
    bool m_joint = true;

private slots:
    void initTestCase()
    {
        m_rig = std::make_unique<ScreenRig>("recent");
        QVERIFY(m_rig->started);
    }
    void cleanupTestCase() { m_rig.reset(); }
    void rulesBlockTheOrder_data();
    void rulesBlockTheOrder();
    void getDateForms_data();
    void getDateForms();
    void reissueNumber_data();
    void reissueNumber();
};

// One row per rule: the edits that break it and the box it sends the user to (none: the order
// goes on). The co-borrower rules apply to joint loans only.
void TestValidation::rulesBlockTheOrder_data()
{
    QTest::addColumn<bool>("joint");
    QTest::addColumn<Edits>("edits");
    QTest::addColumn<QString>("box");
    const auto rows = [](bool joint, const Edits& breaking) {
        for (const auto& [name, value] : breaking)
            QTest::addRow("%s=\"%s\"", qPrintable(name), qPrintable(value)) << joint << Edits{{name, value}} << name;
    };
    rows(false, {{"lblReference", ""}, {"lblBorFirst", ""}, {"lblBorLast", ""}, {"lblBorSSN", ""}, {"lblCurAddr", ""},
                 {"lblCurCity", ""}, {"lblCurState", ""}, {"lblCurZip", ""}, {"lblCurZip", "6270"},
                 {"lblCurAddr", "12 MAIN ST, APT 4"}, {"lblReference", "D'ANA"}, {"lblBorFirst", "A'VERY"},
                 {"lblBorLast", "O'NEIL"}, {"lblBorSSN", "900'11"}, {"lblCurAddr", "12 O'HARA ST"},
                 {"lblCurAddr", "12 MAIN & 3RD"}, {"lblCurCity", "COEUR D'ALENE"}, {"lblCurState", "I'L"},
                 {"lblCurZip", "6270'"}, {"lblBorMi", "'"}, {"lblBorMi", "Q."}, {"lblBorSufx", "J'R"},
                 {"lblBorSufx", "JR."}, {"lblBorDOB", "31/31/1970"}});
    rows(true, {{"lblCoFirst", ""}, {"lblCoLast", ""}, {"lblCoSSN", ""}, {"lblCoFirst", "T'AYLOR"}, {"lblCoLast", "O'JOY"},
                {"lblCoSSN", "'900"}, {"lblCoMi", "A'"}, {"lblCoMi", "A."}, {"lblCoSufx", "S'R"}, {"lblCoSufx", "SR."},
                {"lblCoDOB", "13/45/1970"}});
    QTest::newRow("nine characters with a dash") << false << Edits{{"lblCurZip", "62701-123"}} << "";
    QTest::newRow("ten characters") << false << Edits{{"lblCurZip", "62701-1234"}} << "";
    QTest::newRow("empty birth date") << false << Edits{{"lblBorDOB", ""}} << "";
    QTest::newRow("first failing rule wins") << false << Edits{{"lblBorFirst", ""}, {"lblReference", ""}} << "lblReference";
    QTest::newRow("comma before apostrophes") << false << Edits{{"lblCurAddr", "1 O'HARA, ST"}, {"lblReference", "D'A"}}
                                              << "lblCurAddr";
    QTest::newRow("ampersand before the birth date") << false << Edits{{"lblCurAddr", "1 A & B"}, {"lblBorDOB", "x"}}
                                                     << "lblCurAddr";
    QTest::newRow("single loan skips the co-borrower boxes") << false
        << Edits{{"lblCoFirst", ""}, {"lblCoMi", "A'."}, {"lblCoDOB", "x"}} << "";
    QTest::newRow("everything valid, joint") << true << Edits{} << "";
    QTest::newRow("primary rules before co-borrower rules") << true << Edits{{"lblCoFirst", ""}, {"lblBorSufx", "JR."}}
                                                            << "lblBorSufx";
}

// Repull runs the rules: a failing one shows its box, selects the field and opens no pull window.
void TestValidation::rulesBlockTheOrder()
{
    QFETCH(bool, joint);
    QFETCH(Edits, edits);
    QFETCH(QString, box);
    frmMain* window = m_rig->window();
    if (joint != m_joint) {   // the co-borrower rules follow the loaded loan, not the boxes
        m_rig->useCase(joint ? "joint" : "recent");
        m_rig->check();
        m_joint = joint;
    }
    window->activateWindow();   // also after a pull window of the row before
    QVERIFY(QTest::qWaitForWindowActive(window));
    for (const auto& [name, text] : kValid + edits) {
        QUILL_FIND_CHILD(edit, QLineEdit, window, name);
        edit->setText(text);
    }
    window->Button(MainButton::cmdClose).setFocus();
    m_rig->boxes.boxes.clear();
    if (!box.isEmpty())
        m_rig->boxes.expect();
    ModalDriver user;
    user.on("frmPullReport", closeWindow());
    window->Button(MainButton::cmdRepull).click();

    QCOMPARE(user.acted("frmPullReport"), box.isEmpty() ? 1 : 0);
    QCOMPARE(m_rig->boxes.unexpected, 0);
    if (box.isEmpty())
        return;
    const ScriptedMsgBox::Box shown = m_rig->boxes.boxes.value(0);
    // A comma has its own box; every other refusal says which field and sends the user back to it.
    const bool comma = shown.title == "Comma Error";
    QCOMPARE(comma, std::any_of(edits.cbegin(), edits.cend(), [](const auto& e) { return e.second.contains(','); }));
    QCOMPARE(shown.style, int(vbOKOnly) | int(comma ? vbInformation : vbExclamation));
    if (comma)
        QCOMPARE(shown.text, QString("You can not have any commas in the current address field.\r\nPlease remove any commas."));
    else
        QVERIFY2(shown.title == "Validation Error" && shown.text.endsWith("\r\n\r\nPlease change this field on the main screen."),
                 qPrintable(shown.title + ": " + shown.text));
    if (box.endsWith("DOB"))   // the value and the form the user must use
        QVERIFY2(shown.text.contains("Value: " + edits.last().second + "\r\nRequired ") && shown.text.contains("(ex. 04/28/1978)"),
                 qPrintable(shown.text));
    QUILL_FIND_CHILD(failing, QLineEdit, window, box);
    QTRY_COMPARE(QApplication::focusWidget(), failing);
    QCOMPARE(failing->selectedText(), failing->text());
}

void TestValidation::getDateForms_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("sent");   // "!": refused
    for (const auto& [value, sent] : QList<QPair<QString, QString>>{
             {"", ""}, {"04/28/1978", "04/28/1978"}, {"4/8/1978", "04/08/1978"}, {"4-8-1978", "04/08/1978"},
             {"4/8/78", "!"}, {"28/04/1978", "!"}, {"02/30/2001", "!"}, {"not a date", "!"}})
        QTest::newRow(value.isEmpty() ? "empty" : qPrintable(value)) << value << sent;
}

void TestValidation::getDateForms()
{
    QFETCH(QString, value);
    QFETCH(QString, sent);
    bool ok = sent == "!";
    QCOMPARE(GetDate(value, ok), sent == "!" ? QString() : sent);
    QCOMPARE(ok, sent != "!");
}

void TestValidation::reissueNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("button");   // empty: the window's close box
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored");
    QTest::newRow("trimmed") << "  R-1234 " << "cmdReissue" << "" << "R-1234";
    QTest::newRow("empty") << "   " << "cmdReissue" << "You must enter a reissue number to proceed." << "";
    QTest::newRow("blank inside") << "R 1234" << "cmdReissue" << "You must enter a valid reissue number to proceed." << "";
    QTest::newRow("Not a Reissue clears it") << "R-2" << "cmdClose" << "" << "";
    QTest::newRow("close box clears it") << "R-2" << "" << "" << "";
}

// The reissue window: a refused number keeps it open; leaving it without one clears the number.
void TestValidation::reissueNumber()
{
    QFETCH(QString, typed);
    QFETCH(QString, button);
    QFETCH(QString, message);
    QFETCH(QString, stored);
    if (!message.isEmpty())
        m_rig->boxes.expect();
    m_rig->boxes.boxes.clear();
    Props().setReissueNumber("previous");
    QTimer::singleShot(0, [=] {
        auto* window = qobject_cast<frmReissue*>(QApplication::activeModalWidget());
        QVERIFY(window);
        window->findChild<QLineEdit*>("txtReissue")->setText(typed);
        if (!button.isEmpty())
            window->findChild<QPushButton*>(button)->click();
        if (window->isVisible())
            window->close();
    });
    QCOMPARE(frmReissue::Ask(), stored);
    QCOMPARE(Props().ReissueNumber(), stored);
    QCOMPARE(m_rig->boxes.boxes.value(0).text, message);
    if (!message.isEmpty())
        QCOMPARE(m_rig->boxes.boxes[0].style, int(vbOKOnly | vbExclamation));
}

namespace {

struct ChoiceRow {
    QStringList presses;      // in turn: a button's name, "close" (the close box) or "pick:N" (select row N)
    bool abortMessage;
    QList<int> answers;       // answers to the abort question, in turn
    QList<bool> openAfter;    // whether the window is still open after each press that is not a pick
    QString reference;        // LoginReference's user afterwards ("prev": cancelled, LoginByRef stays off)
};

std::shared_ptr<clsLoginByRef> entry(const QString& longName, const QString& user)
{
    auto ref = std::make_shared<clsLoginByRef>();
    ref->setLongName(longName);
    ref->setUserName(user);
    ref->setPassword("pw-" + user);
    return ref;
}

} // namespace

Q_DECLARE_METATYPE(ChoiceRow)

// The reference chooser: whose account an order goes on.
class TestLoginByRef : public QObject
{
    Q_OBJECT
    std::optional<TestEnv> m_env;
    std::optional<ScriptedMsgBox> m_boxes;

private slots:
    void init()
    {
        m_env.emplace();
        m_boxes.emplace();
        m_env->freshProps();
        Props().setLoginByReferences({entry("Alex Agent", "agent"), entry("Bo Broker", "bo"), entry("Cy Closer", "cy")});
        Props().setLoginReference(entry("Previous One", "prev"));
        Props().setLoginByRef(false);
    }

    void cleanup()
    {
        frmLoginByRef::Unload();
        m_boxes.reset();
        m_env.reset();
    }

    void choices_data()
    {
        QTest::addColumn<ChoiceRow>("row");
        QTest::newRow("continue with a choice") << ChoiceRow{{"pick:1", "cmdPull"}, true, {}, {false}, "bo"};
        QTest::newRow("several selected: first in list order")
            << ChoiceRow{{"pick:2", "pick:0", "cmdPull"}, true, {}, {false}, "agent"};
        QTest::newRow("continue without a choice, abort") << ChoiceRow{{"cmdPull"}, true, {vbYes}, {false}, "prev"};
        QTest::newRow("cancel, No keeps it open, then abort")
            << ChoiceRow{{"cmdClose", "cmdClose"}, true, {vbNo, vbYes}, {true, false}, "prev"};
        QTest::newRow("close box, No, then a choice") << ChoiceRow{{"close", "pick:2", "cmdPull"}, true, {vbNo}, {true, false}, "cy"};
        QTest::newRow("cancel without the abort question") << ChoiceRow{{"cmdClose"}, false, {}, {false}, "prev"};
    }

    // Acts on the chooser once it is shown: records its list, makes the presses in turn (recording
    // whether it stayed open after each) and, should it still be open, closes it without a question.
    void choices()
    {
        QFETCH(ChoiceRow, row);
        for (int answer : row.answers)
            m_boxes->expect(answer);
        QStringList listShown;
        QList<bool> openAfter;
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<frmLoginByRef*>(QApplication::activeModalWidget());
            QVERIFY(window);
            auto* list = window->findChild<QListWidget*>("lstbxRefs");
            for (int i = 0; i < list->count(); ++i)
                listShown << list->item(i)->text();
            for (const QString& press : row.presses) {
                if (press.startsWith("pick:")) {
                    list->item(press.mid(5).toInt())->setSelected(true);
                    continue;
                }
                if (press == "close")
                    window->close();
                else
                    window->findChild<QPushButton*>(press)->click();
                openAfter << window->isVisible();
            }
            if (window->isVisible()) {
                window->setAbortMessage(false);
                window->reject();
            }
        });
        frmLoginByRef& chooser = frmLoginByRef::Load();
        chooser.setUserCancelled(true);   // showing the window starts it over
        chooser.setAbortMessage(row.abortMessage);
        chooser.exec();

        QCOMPARE(listShown, QStringList({"Alex Agent", "Bo Broker", "Cy Closer"}));
        QCOMPARE(openAfter, row.openAfter);
        QCOMPARE(m_boxes->boxes.size(), row.answers.size());
        for (const auto& box : m_boxes->boxes)   // the text is checked with the pull it aborts
            QCOMPARE(box.title + QString::number(box.style), "Abort?" + QString::number(vbYesNo | vbExclamation));
        QCOMPARE(chooser.UserCancelled(), row.reference == "prev");
        QCOMPARE(Props().LoginReference()->UserName(), row.reference);
        QCOMPARE(Props().IsLoginByRef(), row.reference != "prev");
    }
};

int runPullTests(int argc, char** argv)
{
    return RunTests<TestPull, TestValidation, TestLoginByRef>(argc, argv);
}

#include "test_pull.moc"
