#include "test_host.h"

#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "host/clsBorrower.h"
#include "service/CharRoutines.h"

#include <QTest>

void RecordsTest::birthDateCheck_data()
{
    QTest::addColumn<QString>("dob");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty passes") << "" << true;
    QTest::newRow("two-digit month and day") << "04/28/1978" << true;
    QTest::newRow("one-digit month and day") << "4/8/1978" << true;
    QTest::newRow("hyphens") << "12-31-1999" << true;
    QTest::newRow("blanks around") << " 4/8/1978 " << true;
    QTest::newRow("leap day") << "02/29/2000" << true;
    QTest::newRow("month 13, day 45") << "13/45/1970" << false;
    QTest::newRow("february 30") << "02/30/2001" << false;
    QTest::newRow("leap day of a common year") << "02/29/2001" << false;
    QTest::newRow("day first") << "28/04/1978" << false;
    QTest::newRow("year first") << "1978-04-28" << false;
    QTest::newRow("two-digit year") << "4/8/78" << false;
    QTest::newRow("mixed separators") << "4/8-1978" << false;
    QTest::newRow("words") << "April 8 1978" << false;
    QTest::newRow("unknown") << "UNKNOWN" << false;
    QTest::newRow("zero day") << "04/00/1978" << false;
}

void RecordsTest::birthDateCheck()
{
    QFETCH(QString, dob);
    QFETCH(bool, accepted);
    TestEnv env;
    FakeDesktop desk;
    ScriptedMsgBox boxes;
    if (!accepted)
        boxes.expect(vbOK);

    clsBorrower borrower;
    borrower.setLastName("SMITH");
    borrower.setSSN("123456789");
    borrower.setDOB(dob);
    borrower.ValidDate();

    QCOMPARE(borrower.LastName(), QString("SMITH"));
    QCOMPARE(borrower.SSN(), QString("123456789"));
    if (accepted) {
        QCOMPARE(borrower.DOB(), dob);
        QVERIFY(boxes.boxes.isEmpty());
        QCOMPARE(env.readFile("Client.log"), QByteArray());
        return;
    }
    const QString text = "Error determining birth date: " + dob
        + "\r\n\r\nIncorrect format, please use Month / Day / Year format. No birth date will be used.";
    QCOMPARE(borrower.DOB(), QString());
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, QString("Date Error"));
    QCOMPARE(boxes.boxes[0].icon(), int(vbExclamation));
    QCOMPARE(boxes.boxes[0].text, text);
    QCOMPARE(QString::fromLatin1(env.readFile("Client.log")),
             "[ 02.03.2026 13.05.09 ]  " + text + "\r\nNot a date\r\n");
}

void RecordsTest::containedRecordsAreCreatedOnceAndShared()
{
    auto borrower = std::make_shared<clsBorrower>();
    borrower->CurrentAddress()->setCity("DALLAS");
    borrower->PreviousAddress()->setCity("AUSTIN");
    QCOMPARE(borrower->CurrentAddress()->City(), QString("DALLAS"));
    QCOMPARE(borrower->PreviousAddress()->City(), QString("AUSTIN"));
    QCOMPARE(borrower->CurrentAddress(), borrower->CurrentAddress());
    QCOMPARE(borrower->CurrentAddress()->ParsedStreet(), borrower->CurrentAddress()->ParsedStreet());

    // A holder of the address keeps it after the borrower is gone.
    const std::shared_ptr<clsAddress> kept = borrower->CurrentAddress();
    const std::weak_ptr<clsAddress> previous = borrower->PreviousAddress();
    borrower.reset();
    QCOMPARE(kept->City(), QString("DALLAS"));
    QVERIFY(previous.expired());
}

void RecordsTest::digitsOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("digits");
    QTest::newRow("hyphenated ssn") << "123-45-6789" << "123456789";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("blanks and letters") << " 12 a3\tx" << "123";
    QTest::newRow("only blanks") << "   " << "";
    QTest::newRow("other scripts' digits dropped") << QString::fromUtf8("1\u0662\uFF13 4") << "14";
}

void RecordsTest::digitsOnly()
{
    QFETCH(QString, text);
    QFETCH(QString, digits);
    QCOMPARE(DigitsOnly(text), digits);
}
