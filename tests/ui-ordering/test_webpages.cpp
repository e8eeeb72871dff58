#include "platform/WebAddress.h"
#include "ui/ordering/WebPages.h"
#include "ui/ordering/frmCheckExisting.h"

#include <QDate>
#include <QtTest/QTest>

class TestWebPages : public QObject
{
    Q_OBJECT

private slots:
    void separatorFollowsBase_data();
    void separatorFollowsBase();
    void loanPageEncodesBoxValues();
    void loanPageLeavesCoBorrowerOut();
    void reportListAddress_data();
    void reportListAddress();
    void onlyWebAddressesOpen_data();
    void onlyWebAddressesOpen();
    void ssnFormatting_data();
    void ssnFormatting();
    void ageCountsCalendarDays_data();
    void ageCountsCalendarDays();
};

void TestWebPages::separatorFollowsBase_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no query") << "https://v.example/rmcr.asp" << "https://v.example/rmcr.asp?";
    QTest::newRow("ends with ?") << "https://v.example/rmcr.asp?" << "https://v.example/rmcr.asp?";
    QTest::newRow("query present") << "https://v.example/p.asp?a=1" << "https://v.example/p.asp?a=1&";
}

void TestWebPages::separatorFollowsBase()
{
    QFETCH(QString, base);
    QFETCH(QString, expected);
    QCOMPARE(WebPages::WithSeparator(base), expected);
}

void TestWebPages::loanPageEncodesBoxValues()
{
    LoanOnScreen loan;
    loan.borSSN = "123-45-6789";
    loan.borFirst = "JOHN";
    loan.borLast = "O'NEIL & SONS";
    loan.borMiddle = "Q";
    loan.hasCoBorrower = true;
    loan.coSSN = "987 65 4321";
    loan.coFirst = "MARY ANN";
    loan.coLast = "O'NEIL";
    const QString rmcr = WebPages::LoanPage("https://v.example/rmcr.asp?x=1", true, "demo", "", "G-1", loan);
    QCOMPARE(rmcr, QString("https://v.example/rmcr.asp?x=1&From=RMCR&Username=demo&Companyid=&RID=G-1"
                           "&BorSSN=123456789&BorFirstname=JOHN&BorLastname=O%27NEIL+%26+SONS&BorMiddle=Q&BorSuffix="
                           "&CoSSN=987654321&CoFirstname=MARY+ANN&CoLastname=O%27NEIL&CoMiddle=&CoSuffix="));
    const QString supp = WebPages::LoanPage("https://v.example/supp.asp", false, "demo", "C1", "G-1", loan);
    QVERIFY(supp.startsWith("https://v.example/supp.asp?Username=demo&Companyid=C1&RID=G-1&BorSSN=123456789"));
}

void TestWebPages::loanPageLeavesCoBorrowerOut()
{
    LoanOnScreen loan;
    loan.borFirst = "ANA";
    loan.coFirst = "LEFT OVER";   // boxes keep old values when the frame is hidden
    const QString page = WebPages::LoanPage("b?", false, "u", "", "R", loan);
    QVERIFY(!page.contains("CoSSN") && !page.contains("LEFT"));
    QVERIFY(page.endsWith("&BorSuffix="));
}

void TestWebPages::reportListAddress_data()
{
    QTest::addColumn<QString>("website");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("expected");
    QTest::newRow("host and rooted page") << "www.v.example" << "/ReportList.asp" << "https://www.v.example/ReportList.asp";
    QTest::newRow("relative page") << "http://v.example" << "list.asp" << "http://v.example/list.asp";
    QTest::newRow("site ends with /") << "https://v.example/" << "list.asp" << "https://v.example/list.asp";
}

void TestWebPages::reportListAddress()
{
    QFETCH(QString, website);
    QFETCH(QString, page);
    QFETCH(QString, expected);
    QCOMPARE(WebPages::ReportList(website, page), expected);
}

void TestWebPages::onlyWebAddressesOpen_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("web");
    QTest::newRow("https") << "https://v.example/a?b=c" << true;
    QTest::newRow("http loopback") << "http://127.0.0.1:8765/x" << true;
    QTest::newRow("file") << "file:///etc/passwd" << false;
    QTest::newRow("program") << "/usr/bin/xterm" << false;
    QTest::newRow("scheme-like host") << "httpevil/x" << false;
    QTest::newRow("scheme in capitals") << "HTTPS://V.example/news" << true;
    QTest::newRow("unescaped value") << "https://v.example/n.asp?username=ann lee" << true;
    QTest::newRow("no host") << "http:///ReportList.asp" << false;
    QTest::newRow("relative page") << "/ReportList.asp" << false;
    QTest::newRow("script") << "javascript:alert(1)" << false;
    QTest::newRow("mail") << "mailto:help@v.example" << false;
    QTest::newRow("leading blank") << " https://v.example/" << false;
}

void TestWebPages::onlyWebAddressesOpen()
{
    QFETCH(QString, address);
    QFETCH(bool, web);
    QCOMPARE(IsWebAddress(address), web);
}

void TestWebPages::ssnFormatting_data()
{
    QTest::addColumn<QString>("ssn");
    QTest::addColumn<QString>("shown");
    QTest::newRow("nine digits") << "123456789" << "123-45-6789";
    QTest::newRow("empty") << "" << "--";
    QTest::newRow("short number shown as is") << "12345" << "12345";
}

void TestWebPages::ssnFormatting()
{
    QFETCH(QString, ssn);
    QFETCH(QString, shown);
    QCOMPARE(frmCheckExisting::FormatSSN(ssn), shown);
}

void TestWebPages::ageCountsCalendarDays_data()
{
    QTest::addColumn<QString>("requested");
    QTest::addColumn<qint64>("days");
    QTest::newRow("late yesterday") << "12/05/2026 11:59:00 PM" << qint64(1);
    QTest::newRow("today") << "12/6/2026" << qint64(0);
    QTest::newRow("thirty days") << "11/06/2026" << qint64(30);
    QTest::newRow("iso") << "2026-11-07" << qint64(29);
    QTest::newRow("hyphens, as birth dates load") << "11-6-2026" << qint64(30);
}

void TestWebPages::ageCountsCalendarDays()
{
    QFETCH(QString, requested);
    QFETCH(qint64, days);
    const QDate date = frmCheckExisting::ParseRequestDate(requested);
    QVERIFY(date.isValid());
    QCOMPARE(frmCheckExisting::DaysOld(date, QDate(2026, 12, 6)), days);
}

int runWebPageTests(int argc, char** argv)
{
    TestWebPages t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_webpages.moc"
