#include "ScreenRig.h"
#include "TestSupport.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "platform/WebAddress.h"
#include "ui/ordering/frmCheckExisting.h"
#include "ui/ordering/frmMain.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include <memory>

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
    void onlyWebAddressesOpen_data();
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
    if (box) {
        QCOMPARE(m_rig->shell.calls.size(), expected.contains("31-") ? 1 : 0);
        const ScriptedMsgBox::Box shown = m_rig->boxes.boxes.last();
        QCOMPARE(shown.title, expected.mid(4).section('|', 0, 0));
        QVERIFY2(shown.text.endsWith(expected.section('|', 1)), qPrintable(shown.text));
        QCOMPARE(shown.icon(), int(vbCritical));
        return;
    }
    QCOMPARE(m_rig->shell.calls.size(), 1);
    QCOMPARE(m_rig->shell.calls[0].verb + " " + m_rig->shell.calls[0].target, "open " + expected);
    if (button == "cmdWeb")
        QCOMPARE(m_rig->boxes.boxes[0].title + QString::number(m_rig->boxes.boxes[0].icon()),
                 "Reminder" + QString::number(vbInformation));
}

void TestWebPages::onlyWebAddressesOpen_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("web");
    for (const char* web : {"https://v.example/a?b=c", "http://127.0.0.1:8765/x", "HTTPS://V.example/news",
                            "https://v.example/n.asp?username=ann lee"})
        QTest::newRow(web) << web << true;
    for (const char* other : {"file:///etc/passwd", "/usr/bin/xterm", "httpevil/x", "http:///ReportList.asp",
                              "/ReportList.asp", "javascript:alert(1)", "mailto:help@v.example", " https://v.example/"})
        QTest::newRow(other) << other << false;
}

void TestWebPages::onlyWebAddressesOpen()
{
    QFETCH(QString, address);
    QFETCH(bool, web);
    QCOMPARE(IsWebAddress(address), web);
}

// Social security numbers as the boxes show them.
void TestWebPages::ssnAsShown()
{
    QCOMPARE(frmCheckExisting::FormatSSN("123456789"), QString("123-45-6789"));
    QCOMPARE(frmCheckExisting::FormatSSN(""), QString("--"));
    QCOMPARE(frmCheckExisting::FormatSSN("12345"), QString("12345"));
}

int runWebPageTests(int argc, char** argv)
{
    TestWebPages t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_webpages.moc"
