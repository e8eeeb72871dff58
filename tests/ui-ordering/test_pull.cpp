#include "OrderingKit.h"
#include "service/basTransport.h"

namespace {

const QString kOwnLogin = "UserName=demo&Password=Demo2026pass";
const QString kAgentLogin =
    "UserName=agent&Password=Agent2026pass&LoginByRefUserName=demo&LoginByRefPassword=Demo2026pass";
// The criteria of the demo loans as the order sends them, blanks as "+", after the Keywords.
const QString kNoReportFields =
    "&Reference=DANA+DEMO&FirstName=AVERY&LastName=NEWCOMB&MiddleInitial=J&SSN=900110001"
    "&DOB=07%2F04%2F1990&CurAddress=301+MAIN+ST&CurCity=AUSTIN&CurState=TX&CurZip=78701&Suffix=&Joint=FALSE";
const QString kRecentFields =
    "&Reference=DANA+DEMO&FirstName=JORDAN&LastName=SAMPLE&MiddleInitial=L&SSN=900110002&DOB=02%2F14%2F1985"
    "&CurAddress=27+CAF%C3%89+ROW&CurCity=SPRINGFIELD&CurState=IL&CurZip=62701&Suffix=&Joint=FALSE";
const QString kJointFields =
    "&Reference=DANA+DEMO&FirstName=RILEY&LastName=JOYNER&MiddleInitial=&SSN=900110005&DOB=06%2F01%2F1988"
    "&CurAddress=55+HARBOR+WAY&CurCity=PORTLAND&CurState=ME&CurZip=04101&Suffix=&Joint=TRUE&CoFirstName=TAYLOR"
    "&CoLastName=JOYNER&CoMiddleInitial=ANN&CoSSN=900110006&CoDOB=11%2F23%2F1989&CoSuffix=";
const QString kAllThree = "&EQUIFAX=TRUE&EXPERIAN=TRUE&TRANSUNION=TRUE";
const QString kAsk = "Pull As Confirmation";
const QString kSuccess = kAsk + ";Success|Warning|Credit Report pulled successfully!";
const QString kDone = "Request sent...|Request accepted...|Checking status...|Report finished.";
const QString kFailed = "An error occurred, check log";
// The server's requests of an order that goes through: a run of GET_STATUS polls counts once.
const QString kOrdered = "FINDPENDING REQUEST UPDATELOSVERSION GET_STATUS";

// The pull type (new, repull, add); the bureaus on the existing report; the bureaus the user has
// the right to; what is seen: the caption, the bureaus ticked, the boxes and buttons enabled;
// before Pull, a bureau's box clicked or "," (a comma typed into the main window's address); the
// refusal's box.
struct SetUpRow {
    QString type, report, rights, seen, moves, refusal;
};

const QStringList kBureaus{"Equifax", "Experian", "TransUnion"};
const QString kAllBureaus = kBureaus.join(' ');

using Edits = QStringList; // "box=text": a box of the main window, its text

// One Pull (or several) from the main window, against the server as `setup` leaves it.
struct OrderRow {
    QString caseName = "no-report";
    QString button = "Repull";
    QStringList ticks = {"cbxEquifax"};
    QString criteria = "&Keywords=" + kNoReportFields + "&EQUIFAX=TRUE"; // the order's, after the login
    Edits edits;
    QString answers; // Yes or No to the boxes in turn, first "on behalf of someone else?"; No where none is given
    QString chooser; // presses at the reference chooser
    QString setup;
    int pulls = 1;            // Pull presses in the pull window
    int presses = 1;          // presses of the main window's button, the pull window closed in between
    QStringList againTicks;   // the ticks of the later presses, when they differ
    QString boxes = kSuccess; // each box as far as given ("title|style|text"), ';' between boxes
    QString lines = kDone;    // the progress list after the first Pull
    QString sent = kOrdered;  // the actions of the server's requests
};

// A joint loan that passes every rule.
const Edits kValid({"lblReference=DANA DEMO", "lblBorFirst=AVERY", "lblBorLast=NEWCOMB", "lblBorMi=J",
                    "lblBorSufx=", "lblBorSSN=900-11-0001", "lblBorDOB=04/28/1978", "lblCurAddr=12 MAIN ST",
                    "lblCurCity=SPRINGFIELD", "lblCurState=IL", "lblCurZip=62701", "lblCoFirst=TAYLOR",
                    "lblCoLast=JOYNER", "lblCoMi=ANN", "lblCoSufx=", "lblCoSSN=900-11-0006", "lblCoDOB=11/23/1989"});

// The user at the pull window: ticks the named boxes (unticking the others that are enabled)
// and presses Pull.
ModalDriver::Action tickAndPull(const QStringList& ticked)
{
    return [ticked](QWidget* window) {
        for (QCheckBox* box : window->findChildren<QCheckBox*>())
            if (box->isEnabled() && box->isChecked() != ticked.contains(box->objectName()))
                box->click();
        window->findChild<QPushButton*>("cmdPull")->click();
    };
}

} // namespace

Q_DECLARE_METATYPE(OrderRow)
Q_DECLARE_METATYPE(SetUpRow)

// The pull window at the main window, the rules the main window applies before it, and the
// reissue number, against the stand-in vendor server.
class TestPull : public QObject
{
    Q_OBJECT

    // Loads a demo loan as start-up does; the pull window a missing report brings up is cancelled
    // and an old report is kept. The user may order on behalf of three references.
    void loadCase(const QString& caseName)
    {
        ModalDriver user;
        user.on("frmPullReport", &QWidget::close);
        m_rig->useCase(caseName);
        if (caseName == "old")
            m_rig->boxes.expect(vbNo);
        m_rig->check();
        m_rig->sim.clearRequests();
        m_rig->boxes.boxes.clear();
        Props().setPollingSleepTime(20);
        auto refs = Props().LoginByReferences().mid(0, 1); // the server's own: Alex Agent
        for (const char* name : {"Bo Broker", "Cy Closer"}) {
            refs << std::make_shared<clsLoginByRef>();
            refs.last()->setLongName(name);
        }
        Props().setLoginByReferences(refs);
    }
    frmMain* main() { return m_rig->window(); }
    void waitForOrder() { QTRY_VERIFY_WITH_TIMEOUT(!main()->session().orderRunning(), 20000); }
    void type(const Edits& edits)
    {
        for (const QString& edit : edits)
            main()->findChild<QLineEdit*>(edit.section('=', 0, 0))->setText(edit.section('=', 1));
    }

    std::unique_ptr<ScreenRig> m_rig;

private slots:
    void cleanupTestCase() { m_rig.reset(); }

    void initTestCase()
    {
        RegisterOrderingWindows(); // the status wait, also when these tests run on their own
        m_rig = std::make_unique<ScreenRig>("recent");
        QVERIFY(m_rig->started);
    }

    void init()
    {
        m_rig->sim.reset();
        m_rig->boxes.boxes.clear();
        m_rig->boxes.unexpected = 0;
    }

    void cleanup()
    {
        main()->session().GiveUpOrder();
        WindowHooks::EndRequested() = false; // the main window closed
        main()->show();
        frmPullReport::Unload();
        QCOMPARE(m_rig->boxes.unexpected, 0);
        QCOMPARE(m_rig->boxes.pendingAnswers(), 0);
    }

    void setUpAndRefusals_data()
    {
        QTest::addColumn<SetUpRow>("row");
        const auto add = [](const char* name, const QString& type, const QString& report, const QString& rights,
                            const QString& seen, const QString& moves, const QString& refusal) {
            QTest::newRow(name) << SetUpRow{type, report, rights, seen, moves, refusal};
        };
        const QString atLeastOne = "Validation Error|Warning|You must choose atleast 1 bureau to pull credit from.";
        const QString toAdd =
            "Validation Error|Warning|You must select atleast 1 bureau to add to the original report.";
        const QString comma = "Comma Error|Information|You can not have any commas in the address field.\r\n"
                              "Please go back to the main screen and remove any commas.";
        const QString all = kAllBureaus;
        add("new, nothing on record", "new", "", all,
            "New Credit Pull | ticked: none | enabled: Equifax Experian TransUnion Pull", "", atLeastOne);
        add("repull ticks the report's bureaus, comma typed while open", "repull", "Equifax Experian", all,
            "RePull Credit | ticked: Equifax Experian | enabled: Equifax Experian TransUnion Pull", ",", comma);
        add("add a bureau: only missing ones open", "add", "Equifax TransUnion", all,
            "Add A Bureau | ticked: Equifax TransUnion | enabled: Experian Pull", "", toAdd);
        add("add a bureau with all three", "add", all, all, "Add A Bureau | ticked: " + all + " | enabled: none", "",
            "");
        add("no right: unticked and disabled", "repull", all, "Equifax Experian",
            "RePull Credit | ticked: Equifax Experian | enabled: Equifax Experian Pull", "Equifax Experian",
            atLeastOne);
        add("no Experian right on an add, ticked and unticked again", "add", "Equifax", "Equifax TransUnion",
            "Add A Bureau | ticked: Equifax | enabled: TransUnion Pull", "TransUnion TransUnion", toAdd);
    }

    // The window as set up for the pull type, the report and the user's rights; a refused Pull
    // sends nothing.
    void setUpAndRefusals()
    {
        QFETCH(SetUpRow, row);
        const auto& [type, report, rights, seen, moves, refusal] = row;
        const auto rightSetters = {&clsProperties::setbEFQ_Right, &clsProperties::setbEXP_Right,
                                   &clsProperties::setbTU_Right};
        const auto statusSetters = {&clsReportStatus::setnStatusEFX, &clsReportStatus::setnStatusEXP,
                                    &clsReportStatus::setnStatusTU};
        auto record = std::make_shared<clsReportStatus>();
        for (int i = 0; i < 3; ++i) { // a bureau on the report is complete (4), the others not ordered (0)
            (Props().*rightSetters.begin()[i])(rights.contains(kBureaus[i]));
            ((*record).*statusSetters.begin()[i])(report.contains(kBureaus[i]) ? 4 : 0);
        }
        main()->session().setReportStatus(record);
        frmPullReport& window = frmPullReport::Load(*main(), main()->session(), main());
        window.SetProps(QStringList{"new", "repull", "add"}.indexOf(type) + 1);
        window.show();
        QStringList ticked, enabled;
        const QList<QAbstractButton*> buttons{window.cbxEquifax(), window.cbxExperian(), window.cbxTransUnion(),
                                              window.cmdPull()};
        for (int i = 0; i < buttons.size(); ++i) {
            const QString name = kBureaus.value(i, "Pull");
            ticked << (buttons[i]->isChecked() ? name : QString());
            enabled << (buttons[i]->isEnabled() ? name : QString());
        }
        const auto named = [](QStringList names) {
            names.removeAll(QString());
            return names.isEmpty() ? QString("none") : names.join(' ');
        };
        QCOMPARE(window.windowTitle() + " | ticked: " + named(ticked) + " | enabled: " + named(enabled), seen);
        // Set up: the progress list lies below the window's 2430 twips.
        QVERIFY(!window.lstbxProgress()->isVisible()
                && window.height() == window.twipsToPixels(frmPullReport::SetUpHeight));
        for (auto set : rightSetters)
            (Props().*set)(true);
        QLineEdit& address = main()->Box(LoanBox::lblCurAddr);
        for (const QString& move : moves.split(' ', Qt::SkipEmptyParts))
            move == "," ? address.setText("27 CAFE ROW, APT 4") : window.findChild<QCheckBox*>("cbx" + move)->click();
        if (!refusal.isEmpty())
            m_rig->boxes.expect();
        // Refused: no request is sent or even started (an order runs from the event loop), and only
        // the comma closes the window.
        window.cmdPull()->click();
        QString after =
            QString::number(m_rig->sim.requests().size() + PostsRunning()) + (window.isVisible() ? " open " : " ");
        for (const auto& shown : m_rig->boxes.boxes)
            after += shown.shown();
        QCOMPARE(after, (moves == "," ? "0 " : "0 open ") + refusal);
        if (moves == ",") { // back at the main window's address, selected
            QTRY_COMPARE(QApplication::focusWidget(), &address);
            QCOMPARE(address.selectedText(), address.text());
        }
    }

    void orders_data()
    {
        QTest::addColumn<OrderRow>("row");
        const QString abort = "Abort?|Warning YesNo|You can not pull credit without chosing a reference.\r\n\r\n\r\n"
                              "Abort Credit Pull?";
        const QString notSent = "Order Not Sent|Critical|The credit vendor could not be asked whether this order is "
                                "already in progress, so no order was sent.";
        const QString onBehalf = kAsk + "|Question YesNo|Would you like to pull a report on behalf of someone else?";
        // The order stays in progress at the server; the next Pull follows its GUID instead of
        // ordering again, from the same window or after Cancel.
        const QString aborted = kAsk + ";Aborted|Information|Credit pull aborted by user.;";
        const QString abortedLines = "Request sent...|Request accepted...|Checking status...|<aborted height>";
        const QString second = "Order Not Finished|Warning YesNo|The last order for this loan has not finished yet, "
                               "and this order differs";
        const QString lost = ";Order May Have Been Placed|Warning|The order was sent to the credit vendor, but its "
                             "answer was lost;";
        const QString stampRefused = "UPDATELOSVERSION 200 Version not stored";
        const QString placed = "FINDPENDING REQUEST UPDATELOSVERSION";
        const QString accepted = "Request sent...|Request accepted...|" + kFailed;
        QString newPull = "&Keywords=" + kNoReportFields + "&EXPERIAN=TRUE&TRANSUNION=TRUE";
        newPull.replace("AUSTIN", "ST.+MARY+%26+%3COLD%3E+TOWN").replace("&Suffix=", "&Suffix=%3CII%3E");
        const QString again = kOrdered + " UPDATELOSVERSION GET_STATUS";
        const QString found = "FINDPENDING REQUEST FINDPENDING UPDATELOSVERSION GET_STATUS";
        // clang-format off
        // Values go out trimmed and form-encoded, never XML-escaped; the birth date in its one form.
        QTest::newRow("new pull, typed values") << OrderRow{.ticks = {"cbxExperian", "cbxTransUnion"},
            .criteria = newPull,
            .edits = {"lblCurCity=  ST. MARY & <OLD> TOWN ", "lblBorSufx=<II>", "lblBorDOB=7-4-1990"}};
        QTest::newRow("repull, single") << OrderRow{.caseName = "recent",
            .ticks = {"cbxEquifax", "cbxExperian", "cbxTransUnion"},
            .criteria = "&Keywords=REQUEST" + kRecentFields + kAllThree};
        QTest::newRow("add a bureau, joint") << OrderRow{.caseName = "joint", .button = "AddBureau",
            .ticks = {"cbxTransUnion"}, .criteria = "&Keywords=UPGRADE" + kJointFields + kAllThree};
        // The reference chooser: the first selected line in list order orders; leaving it asks first.
        QTest::newRow("on behalf of a reference") << OrderRow{.answers = "Yes",
            .chooser = "pick2 pick0 pick1 cmdPull", .boxes = onBehalf + ";Success"};
        QTest::newRow("chooser closed, No, then a choice") << OrderRow{.answers = "Yes No",
            .chooser = "close pick0 cmdPull", .boxes = kAsk + ";Abort?;Success"};
        QTest::newRow("chooser continued without a choice, abort") << OrderRow{.answers = "Yes Yes",
            .chooser = "cmdPull", .boxes = kAsk + ";" + abort, .lines = "", .sent = ""};
        QTest::newRow("status window closed, Pull again") << OrderRow{.setup = "abort", .pulls = 2,
            .boxes = aborted + kSuccess, .lines = abortedLines, .sent = again};
        QTest::newRow("status window closed, Cancel, Pull Credit again") << OrderRow{.setup = "abort", .presses = 2,
            .boxes = aborted + kSuccess, .lines = abortedLines, .sent = again};
        QTest::newRow("after an abort, other bureaus: a second order only when confirmed") << OrderRow{
            .answers = "No No No No No Yes", .setup = "abort", .presses = 3, .againTicks = {"cbxExperian"},
            .boxes = aborted + kAsk + ";" + second + ";" + kAsk + ";" + second + ";Success",
            .lines = abortedLines, .sent = kOrdered + " " + kOrdered};
        QTest::newRow("order's answer lost, Pull again") << OrderRow{.setup = "drop", .pulls = 2,
            .boxes = kAsk + lost + kSuccess, .lines = "Request sent...|" + kFailed, .sent = found};
        // The vendor lists only orders in progress: one done before the next Pull is placed again
        // only when confirmed.
        const QString lostDone = kAsk + lost + kAsk + ";Order May Have Finished|Warning YesNo|The last order for "
                                 "this loan was sent to the credit vendor but its answer was lost";
        QTest::newRow("order's answer lost and done, Pull again, No") << OrderRow{.answers = "No No No No",
            .setup = "drop-done", .pulls = 2, .boxes = lostDone, .lines = "Request sent...|" + kFailed,
            .sent = "FINDPENDING REQUEST FINDPENDING"};
        QTest::newRow("order's answer lost and done, Pull again, Yes") << OrderRow{.answers = "No No No Yes",
            .setup = "drop-done", .pulls = 2, .boxes = lostDone + ";Success", .lines = "Request sent...|" + kFailed,
            .sent = "FINDPENDING REQUEST " + kOrdered};
        // A report the search found with a bureau at work (an order of an earlier run) is not
        // ordered again unless confirmed.
        const QString running = kAsk + ";Report In Progress|Warning YesNo|The credit vendor is still preparing";
        QTest::newRow("report found in progress, No") << OrderRow{.caseName = "recent", .setup = "running",
            .boxes = running, .lines = "", .sent = ""};
        QTest::newRow("report found in progress, Yes") << OrderRow{.caseName = "recent",
            .ticks = {"cbxEquifax", "cbxExperian", "cbxTransUnion"},
            .criteria = "&Keywords=REQUEST" + kRecentFields + kAllThree, .answers = "No Yes", .setup = "running",
            .boxes = running + ";Success"};
        QTest::newRow("click during a slow order") << OrderRow{.setup = "slow"};
        // Not knowing whether an order is pending is not "none pending".
        QTest::newRow("pending check: HTTP 500") << OrderRow{.setup = "FINDPENDING 500 Internal Server Error",
            .boxes = kAsk + ";" + notSent, .lines = kFailed, .sent = "FINDPENDING"};
        // The order was placed: the main window knows it, whatever its version stamp's fate.
        QTest::newRow("version stamp refused") << OrderRow{.setup = stampRefused, .boxes = kAsk,
            .lines = accepted, .sent = placed};
        QTest::newRow("version stamp refused, Pull Credit again") << OrderRow{.setup = stampRefused, .presses = 2,
            .boxes = kAsk + ";" + kSuccess, .lines = accepted, .sent = placed + " UPDATELOSVERSION GET_STATUS"};
        QTest::newRow("refused orders, each Pull adds its lines") << OrderRow{.setup = "REQUEST 200 FAILED",
            .pulls = 3, .boxes = QStringList(3, kAsk + ";Error Submitting Request").join(';'),
            .lines = "Request sent...|" + kFailed, .sent = QStringList(3, "FINDPENDING REQUEST").join(' ')};
        // clang-format on
    }

    // What reaches the server, byte for byte and at most once per Pull, what the user is told, and
    // whether the main window then works on the new report.
    void orders()
    {
        QFETCH(OrderRow, row);
        loadCase(row.caseName);
        if (row.setup == "running") // as the search found it: TransUnion still at work
            main()->session().reportStatus()->setnStatusTU(1);
        Props().setLoginByRef(true);                     // a choice made before; No must clear it
        const QStringList script = row.setup.split(' '); // "ACTION status answer": every Pull's answer
        if (script.size() > 1)
            m_rig->sim.scriptStatus(script[0], script[1].toInt(), row.setup.section(' ', 2), row.pulls);
        type(row.edits);
        m_rig->sim.setStatusPolls(row.setup == "abort" ? 1000 : row.setup == "drop-done" ? 0 : 2);
        m_rig->sim.setLatency(row.setup == "slow" ? 300 : 0);
        if (row.setup.startsWith("drop"))
            m_rig->sim.scriptDropAfterHandling("REQUEST", row.setup == "drop" ? 2 : 1);
        for (int i = 0; i <= row.boxes.count(';'); ++i)
            m_rig->boxes.expect(row.answers.split(' ').value(i) == "Yes" ? vbYes : vbNo);
        ModalDriver user;
        if (row.setup == "abort")
            user.on("frmStatus", &QWidget::close);
        user.on("frmLoginByRef", [&](QWidget* w) { // a line picked by its row, the close box, or a button
            for (const QString& press : row.chooser.split(' ')) {
                if (press.startsWith("pick"))
                    w->findChild<QListWidget*>()->setCurrentRow(press.back().digitValue(), QItemSelectionModel::Select);
                else if (press.startsWith("close"))
                    w->close();
                else
                    w->findChild<QPushButton*>(press)->click();
            }
        });
        if (row.setup == "slow") // the user clicks Pull again while the order waits (300 ms a request)
            QTimer::singleShot(450, main(), [] {
                frmPullReport* window = frmPullReport::loaded();
                QVERIFY(window && !window->cmdPull()->isEnabled() && !window->cmdClose()->isEnabled()
                        && !window->cbxEquifax()->isEnabled());
                QTest::mouseClick(window->cmdPull(), Qt::LeftButton);
            });
        QString afterFirst;
        int shown = 0;
        const auto pullWindow = [&](QWidget* w) {
            auto* window = static_cast<frmPullReport*>(w);
            tickAndPull(shown++ && !row.againTicks.isEmpty() ? row.againTicks : row.ticks)(w);
            // Pull is disabled while the order's requests run: a second click sends nothing more.
            if (main()->session().orderRunning()) {
                QVERIFY(!window->cmdPull()->isEnabled() && !window->cmdClose()->isEnabled());
                QTest::mouseClick(window->cmdPull(), Qt::LeftButton);
            }
            waitForOrder();
            QListWidget* list = window->lstbxProgress();
            QStringList lines;
            for (int i = 0; i < list->count(); ++i)
                lines << list->item(i)->text();
            if (window->height() == window->twipsToPixels(frmPullReport::AbortedHeight))
                lines << "<aborted height>";
            if (shown == 1)
                afterFirst = lines.join('|');
            if (row.setup != "drop-done")
                m_rig->sim.setStatusPolls(int(m_rig->sent("GET_STATUS").size()) + 2); // done two polls from now
            for (int i = 1; i < row.pulls && window->isVisible(); ++i) {
                window->cmdPull()->click();
                waitForOrder();
            }
            // The newest line in view.
            QVERIFY(!window->isVisible() || !list->count()
                    || list->viewport()->rect().contains(list->visualItemRect(list->item(list->count() - 1))));
            w->close();
        };
        for (int i = 0; i < row.presses; ++i) {
            user.on("frmPullReport", pullWindow);
            main()->findChild<QPushButton*>("cmd" + row.button)->click();
        }

        QStringList boxes; // each as far as the row gives it
        for (int i = 0; i < m_rig->boxes.boxes.size(); ++i)
            boxes << m_rig->boxes.boxes[i].shown().left(row.boxes.split(';').value(i).size());
        QStringList sent; // a run of GET_STATUS as one
        for (const QString& request : m_rig->sim.requests())
            if (const QString action = request.section("ction=", 1).section('&', 0, 0);
                action != "GET_STATUS" || !sent.endsWith(action))
                sent << action;
        QCOMPARE(QStringList({boxes.join(';'), afterFirst, sent.join(' ')}).join(" / "),
                 QStringList({row.boxes, row.lines, row.sent}).join(" / "));
        const QString guid = m_rig->sim.reports().last().toObject().value("id").toString();
        const bool finished = !m_rig->boxes.boxes.isEmpty() && m_rig->boxes.boxes.last().title == "Success";
        // Until an order's wait completes, a new pull stays a new pull: the same block follows it.
        const QString caption = finished || row.caseName != "no-report" ? "&Repull" : "&Pull Credit";
        const bool placed = sent.contains("UPDATELOSVERSION");
        QCOMPARE(main()->Button(MainButton::cmdRepull).text() + QString::number(m_rig->enabled("cmdView")),
                 caption + (placed || row.caseName != "no-report" ? "1" : "0")); // a report to view
        if (!row.againTicks.isEmpty()) // the later orders carry their own bureaus
            return;
        const QString login = row.answers.startsWith("Yes") ? kAgentLogin : kOwnLogin;
        const QString version = "&LOSVersion=" + ClientVersion(), account = "POST /utils/CGI_Utilities.asp?";
        const auto each = [&](const QString& action, const QString& line) { // the line of every such request
            QCOMPARE(m_rig->sent(action), QStringList(sent.count(action), line));
        };
        each("FINDPENDING", account + login + "&Action=FINDPENDING" + row.criteria);
        each("REQUEST",
             "POST /cia/cgi/marrowCGI.exe?" + login + "&action=REQUEST" + row.criteria + "&Source=Orrery+Client"
                 + version);
        each("UPDATELOSVERSION", account + "Action=UPDATELOSVERSION&guid=" + guid + version);
        // Once the order is known the main window works on it, whatever came after.
        m_rig->shell.calls.clear(); // the supplement page names the report the main window works on
        main()->Button(MainButton::cmdRequestSupp).click();
        if (placed)
            QCOMPARE(m_rig->shell.calls.value(0).target.section("&RID=", 1).section('&', 0, 0), guid);
    }

    void background_data()
    {
        QTest::addColumn<QString>("move"); // what the user does while the order waits in the background
        QTest::addColumn<QString>("seen"); // the status bar's line | the boxes then | the order | the main window
        const QString waiting = "Waiting for the bureaus: Equifax, Trans Union";
        const QString asked =
            "Order In Progress|Question YesNo|A credit report order is still in progress. It will be found "
            "the next time this loan is loaded.\r\n\r\nClose anyway?";
        QTest::newRow("ready behind the About window") << "about"
                                                       << "Credit report ready.||finished|open";
        QTest::newRow("a poll fails") << "fail"
                                      << "The order's status could not be read; see the log.|Error|Critical|"
                                         "There was an error checking for status.\r\nError: The server "
                                         "answered|ended|open";
        QTest::newRow("close, No") << "close N" << waiting + "|" + asked + "|running|open";
        QTest::newRow("close, Yes") << "close Y"
                                    << "|" + asked + "|given up|closed";
        QTest::newRow("Reload, No") << "reload N" << waiting + "|" + asked + "|running|open";
        QTest::newRow("Reload, Yes") << "reload Y"
                                     << "|" + asked + "|given up|open";
    }

    // Pull's wait for the bureaus sent to the background: the pull and status windows close, the
    // main window shows the order's progress, keeps the report buttons off until it has ended, and
    // gives it up on Close or Reload only when the user confirms.
    void background()
    {
        QFETCH(QString, move);
        QFETCH(QString, seen);
        loadCase("recent");
        m_rig->sim.setStatusPolls(1000);
        m_rig->boxes.expect(vbNo); // not on behalf of someone else
        ModalDriver user;
        user.on("frmPullReport", tickAndPull({"cbxEquifax", "cbxTransUnion"}));
        user.on("frmStatus", [](QWidget* w) { w->findChild<QPushButton*>("cmdBackground")->click(); });
        main()->Button(MainButton::cmdRepull).click(); // back once the pull window has closed
        const QLabel* note = main()->findChild<QLabel*>("lblOrderProgress");
        QCOMPARE(note->text(), "Waiting for the bureaus: Equifax, Trans Union");
        QVERIFY(!frmPullReport::loaded() && !frmStatus::Load().isVisible() && m_rig->desk.busyDepth == 0);
        const auto ordering = [this] { // the buttons an order in progress holds off
            QString off;
            for (const char* name : {"Repull", "AddBureau", "View", "Print", "Import"}) {
                const QPushButton* b = main()->findChild<QPushButton*>(QString("cmd") + name);
                off += !b->isEnabled() && b->toolTip() == "An order is in progress" ? name : "";
            }
            return off;
        };
        QCOMPARE(ordering(), "RepullAddBureauViewPrintImport");
        m_rig->boxes.boxes.clear();
        qsizetype polls = m_rig->sent("GET_STATUS").size();
        QString behind; // the main window as the About window's user could see it
        if (move == "about") {
            m_rig->sim.setStatusPolls(int(polls) + 1);
            user.on("frmAbout", [&](QWidget* w) {
                QTRY_COMPARE(note->text(), "Credit report ready.");
                behind = ordering() + main()->Button(MainButton::cmdRepull).toolTip();
                w->close();
            });
            main()->findChild<QAction*>("mnuAbout")->trigger();
            QCOMPARE(behind, "Repull Previously Pulled Report");
            QCOMPARE(m_rig->desk.notices, QStringList(main()->windowTitle() + "|Credit report ready."));
            QVERIFY(m_rig->env.readFile("Client.log").contains("the credit report is ready"));
        } else if (move == "fail") {
            m_rig->sim.scriptStatus("GET_STATUS", 500);
            m_rig->boxes.expect();
            waitForOrder();
        } else {
            m_rig->boxes.expect(move.endsWith('Y') ? vbYes : vbNo);
            if (move.startsWith("close"))
                main()->close();
            else
                main()->findChild<QAction*>("mnuReload")->trigger();
            QTRY_VERIFY(!RestartPending()); // a reload runs start-up again
        }
        const bool running = main()->session().orderRunning();
        QTest::qWait(50); // a poll already on its way when the order ended may still reach the server
        polls = m_rig->sent("GET_STATUS").size();
        QTest::qWait(150); // time for several polls
        QString order = running ? "running" : main()->session().unfinishedOrder() ? "ended" : "finished";
        if (m_rig->sent("GET_STATUS").size() == polls)
            order = running ? "stalled" : move.contains(' ') ? "given up" : order;
        QString boxes;
        for (const auto& shown : m_rig->boxes.boxes)
            boxes += shown.shown().left(seen.section('|', 1, 3).size());
        QCOMPARE(QStringList({note->text(), boxes, order, main()->isVisible() ? "open" : "closed"}).join('|'), seen);
        if (!running) // the buttons follow the loan again
            QCOMPARE(ordering(), "");
    }

    // One row per rule: the edits that break it and the box it sends the user to (none: the order
    // goes on). The co-borrower rules apply to joint loans only.
    void rulesBlockTheOrder_data()
    {
        QTest::addColumn<bool>("joint");
        QTest::addColumn<Edits>("edits");
        QTest::addColumn<QString>("field"); // the box the user is sent to
        const auto rows = [](bool joint, const Edits& breaking, bool passes = false) {
            for (const QString& edit : breaking)
                QTest::newRow(qPrintable(edit)) << joint << Edits{edit} << (passes ? "" : edit.section('=', 0, 0));
        };
        rows(false,
             {"lblReference=", "lblBorFirst=", "lblBorLast=", "lblBorSSN=", "lblCurAddr=", "lblCurCity=",
              "lblCurState=", "lblCurZip=", "lblCurZip=6270", "lblCurAddr=12 MAIN ST, APT 4"});
        rows(false,
             {"lblReference=D'ANA", "lblBorFirst=A'VERY", "lblBorLast=O'NEIL", "lblBorSSN=900'11",
              "lblCurAddr=12 O'HARA ST", "lblCurAddr=12 MAIN & 3RD", "lblCurCity=COEUR D'ALENE", "lblCurState=I'L",
              "lblCurZip=6270'", "lblBorMi='", "lblBorMi=Q.", "lblBorSufx=J'R", "lblBorSufx=JR.",
              "lblBorDOB=28/04/1978", "lblBorDOB=4/8/78", "lblBorDOB=02/30/2001"});
        rows(true,
             {"lblCoFirst=", "lblCoLast=", "lblCoSSN=", "lblCoFirst=T'AYLOR", "lblCoLast=O'JOY", "lblCoSSN='900",
              "lblCoMi=A'", "lblCoMi=A.", "lblCoSufx=S'R", "lblCoSufx=SR.", "lblCoDOB=13/45/1970"});
        // Nine and ten characters pass as postal codes, no birth date passes, and so do the
        // co-borrower's boxes of a single loan.
        rows(false, {"lblCurZip=62701-123", "lblCurZip=62701-1234", "lblBorDOB=", "lblCoFirst=", "lblCoDOB=x"}, true);
        QTest::newRow("first failing rule wins") << false << Edits{"lblBorFirst=", "lblReference="} << "lblReference";
        QTest::newRow("comma before apostrophes")
            << false << Edits{"lblCurAddr=1 O'HARA, ST", "lblReference=D'A"} << "lblCurAddr";
        QTest::newRow("ampersand before the birth date")
            << false << Edits{"lblCurAddr=1 A & B", "lblBorDOB=x"} << "lblCurAddr";
        QTest::newRow("primary rules before co-borrower rules")
            << true << Edits{"lblCoFirst=", "lblBorSufx=JR."} << "lblBorSufx";
    }

    // Repull runs the rules: a failing one shows its box, selects the field and opens no pull window.
    void rulesBlockTheOrder()
    {
        QFETCH(bool, joint);
        QFETCH(Edits, edits);
        QFETCH(QString, field);
        loadCase(joint ? "joint" : "recent"); // the co-borrower rules follow the loaded loan, not the boxes
        main()->activateWindow();             // also after a pull window of the row before
        QVERIFY(QTest::qWaitForWindowActive(main()));
        type(kValid + edits);
        main()->Button(MainButton::cmdClose).setFocus();
        if (!field.isEmpty())
            m_rig->boxes.expect();
        ModalDriver user;
        user.on("frmPullReport", &QWidget::close);
        main()->Button(MainButton::cmdRepull).click();

        QCOMPARE(user.acted("frmPullReport"), field.isEmpty() ? 1 : 0);
        if (field.isEmpty())
            return;
        const ScriptedMsgBox::Box shown = m_rig->boxes.boxes.value(0);
        // A comma has its own box (the whole text); every other refusal says which field and sends
        // the user back to it.
        const QString end = main()->Box(LoanBox::lblCurAddr).text().contains(',')
            ? "Comma Error|Information|You can not have any commas in the current address field.\r\n"
              "Please remove any commas."
            : "Validation Error|Warning|\r\n\r\nPlease change this field on the main screen.";
        QCOMPARE(shown.shown().section('|', 0, 1) + "|" + shown.text.right(end.section('|', 2).size()), end);
        if (field.endsWith("DOB")) // the value and the form the user must use
            QVERIFY2(shown.text.contains("Value: " + edits.last().section('=', 1) + "\r\nRequired ")
                         && shown.text.contains("(ex. 04/28/1978)"),
                     qPrintable(shown.text));
        const QLineEdit* failing = main()->findChild<QLineEdit*>(field);
        QVERIFY2(failing, qPrintable(field));
        QTRY_COMPARE(QApplication::focusWidget(), failing);
        QCOMPARE(failing->selectedText(), failing->text());
    }

    void reissueNumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("outcome"); // the number returned and stored | the box shown
        const auto add = [](const char* name, const QString& typed, const QString& outcome) {
            QTest::newRow(name) << typed << outcome;
        };
        add("trimmed", "  R-1234 ", "R-1234|R-1234|");
        add("empty", "   ", "||Warning|You must enter a reissue number to proceed.");
        add("blank inside", "R 1234", "||Warning|You must enter a valid reissue number to proceed.");
    }

    // The reissue window: a refused number keeps it open; leaving it without one clears the number.
    void reissueNumber()
    {
        QFETCH(QString, typed);
        QFETCH(QString, outcome);
        if (outcome.endsWith('.'))
            m_rig->boxes.expect();
        Props().setReissueNumber("previous");
        ModalDriver user;
        user.on("frmReissue", [=](QWidget* window) {
            window->findChild<QLineEdit*>("txtReissue")->setText(typed);
            window->findChild<QPushButton*>("cmdReissue")->click();
            if (window->isVisible())
                window->close();
        });
        QString seen = frmReissue::Ask();
        seen += "|" + Props().ReissueNumber() + "|";
        for (const auto& shown : m_rig->boxes.boxes)
            seen += shown.shown().section('|', 1);
        QCOMPARE(seen, outcome);
    }
};

int runPullTests(int argc, char** argv)
{
    return RunTests<TestPull>(argc, argv);
}

#include "test_pull.moc"
