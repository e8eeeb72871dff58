#include "ScreenRig.h"
#include "RunTests.h"
#include "TestSupport.h"
#include "ui/ordering/BorrowerFieldsCheck.h"
#include "ui/ordering/frmMain.h"
#include "ui/ordering/frmPullReport.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include <memory>

namespace {

using Edits = QList<QPair<QString, QString>>;

const QString kChange = "\r\n\r\nPlease change this field on the main screen.";

// A loan that passes every rule.
const Edits kValid = {
    {"lblReference", "DANA DEMO"}, {"lblBorFirst", "AVERY"}, {"lblBorLast", "NEWCOMB"}, {"lblBorMi", "J"},
    {"lblBorSufx", ""}, {"lblBorSSN", "900-11-0001"}, {"lblBorDOB", "04/28/1978"},
    {"lblCurAddr", "12 MAIN ST"}, {"lblCurCity", "SPRINGFIELD"}, {"lblCurState", "IL"}, {"lblCurZip", "62701"},
    {"lblCoFirst", "TAYLOR"}, {"lblCoLast", "JOYNER"}, {"lblCoMi", "ANN"}, {"lblCoSufx", ""},
    {"lblCoSSN", "900-11-0006"}, {"lblCoDOB", "11/23/1989"}};

} // namespace

Q_DECLARE_METATYPE(Edits)

class TestValidation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void rulesInOrder_data();
    void rulesInOrder();
    void getDateForms_data();
    void getDateForms();

private:
    void load(bool joint);
    std::unique_ptr<ScreenRig> m_rig;
    bool m_joint = false;
};

void TestValidation::initTestCase()
{
    m_rig = std::make_unique<ScreenRig>("recent");
    QVERIFY(m_rig->started);
    m_rig->check();
    m_rig->window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_rig->window()));
}

void TestValidation::cleanupTestCase()
{
    m_rig.reset();
}

// The co-borrower rules follow the loaded loan, not what the co-borrower boxes hold.
void TestValidation::load(bool joint)
{
    if (joint == m_joint)
        return;
    m_rig->useCase(joint ? "joint" : "recent");
    m_rig->check();
    m_joint = joint;
    m_rig->window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_rig->window()));
}

void TestValidation::rulesInOrder_data()
{
    QTest::addColumn<bool>("joint");
    QTest::addColumn<Edits>("edits");
    QTest::addColumn<QString>("message");   // empty: passes without a box
    QTest::addColumn<QString>("box");       // focused, its text selected
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");

    const auto fails = [](const char* name, bool joint, const Edits& edits, const QString& message,
                          const QString& box) {
        QTest::newRow(name) << joint << edits << message + kChange << box << QString("Validation Error")
                            << int(vbExclamation);
    };
    const auto passes = [](const char* name, bool joint, const Edits& edits) {
        QTest::newRow(name) << joint << edits << QString() << QString() << QString() << 0;
    };

    // Rules 1 to 9: required boxes, then the postal code's length.
    fails("1 reference empty", false, {{"lblReference", ""}},
          "You must provide a reference from the Loan Rep field to pull credit.", "lblReference");
    fails("2 first name empty", false, {{"lblBorFirst", ""}},
          "You must provide a first name for the primary borrower.", "lblBorFirst");
    fails("3 last name empty", false, {{"lblBorLast", ""}},
          "You must provide a last name for the primary borrower.", "lblBorLast");
    fails("4 SSN empty", false, {{"lblBorSSN", ""}},
          "You must provide a social security number for the primary borrower.", "lblBorSSN");
    fails("5 street empty", false, {{"lblCurAddr", ""}},
          "You must provide an address for the current address.", "lblCurAddr");
    fails("6 city empty", false, {{"lblCurCity", ""}}, "You must provide a city for the current address.",
          "lblCurCity");
    fails("7 state empty", false, {{"lblCurState", ""}}, "You must provide a state for the current address.",
          "lblCurState");
    fails("8 zip empty", false, {{"lblCurZip", ""}}, "You must provide a postal code for the current address.",
          "lblCurZip");
    fails("9 four-digit zip", false, {{"lblCurZip", "6270"}},
          "You must provide a recognized postal code format for the current address.", "lblCurZip");
    passes("9 nine characters with a dash", false, {{"lblCurZip", "62701-123"}});
    passes("9 ten characters", false, {{"lblCurZip", "62701-1234"}});

    // Rule 10 has its own box.
    QTest::newRow("10 comma in the street") << false << Edits{{"lblCurAddr", "12 MAIN ST, APT 4"}}
        << QString("You can not have any commas in the current address field.\r\nPlease remove any commas.")
        << QString("lblCurAddr") << QString("Comma Error") << int(vbInformation);

    // Rules 11 to 23: characters that break an order.
    fails("11 apostrophe in reference", false, {{"lblReference", "D'ANA"}},
          "You can not have an apostrophe in the reference field.", "lblReference");
    fails("12 apostrophe in first name", false, {{"lblBorFirst", "A'VERY"}},
          "You can not have an apostrophe in the first name for the primary borrower.", "lblBorFirst");
    fails("13 apostrophe in last name", false, {{"lblBorLast", "O'NEIL"}},
          "You can not have an apostrophe in the last name for the primary borrower.", "lblBorLast");
    fails("14 apostrophe in SSN", false, {{"lblBorSSN", "900'11"}},
          "You can not have an apostrophe in the social security number for the primary borrower.", "lblBorSSN");
    fails("15 apostrophe in street", false, {{"lblCurAddr", "12 O'HARA ST"}},
          "You can not have an apostrophe in the address for the current address.", "lblCurAddr");
    fails("16 ampersand in street", false, {{"lblCurAddr", "12 MAIN & 3RD"}},
          "You can not have an ampersand in the address for the current address.", "lblCurAddr");
    fails("17 apostrophe in city", false, {{"lblCurCity", "COEUR D'ALENE"}},
          "You can not have an apostrophe in the city for the current address.", "lblCurCity");
    fails("18 apostrophe in state", false, {{"lblCurState", "I'L"}},
          "You can not have an apostrophe in the state for the current address.", "lblCurState");
    fails("19 apostrophe in zip", false, {{"lblCurZip", "6270'"}},
          "You can not have an apostrophe in the postal code for the current address.", "lblCurZip");
    fails("20 apostrophe in middle", false, {{"lblBorMi", "'"}},
          "You can not have an apostrophe in the middle initial for the primary borrower.", "lblBorMi");
    fails("21 period in middle", false, {{"lblBorMi", "Q."}},
          "You can not have a period in the middle initial for the primary borrower.", "lblBorMi");
    fails("22 apostrophe in suffix", false, {{"lblBorSufx", "J'R"}},
          "You can not have an apostrophe in the suffix for the primary borrower.", "lblBorSufx");
    fails("23 period in suffix", false, {{"lblBorSufx", "JR."}},
          "You can not have a period in the suffix for the primary borrower.", "lblBorSufx");

    // Rule 24: the birth date's own text.
    fails("24 day-first birth date", false, {{"lblBorDOB", "31/31/1970"}},
          "Invalid birth date format for the primary borrower.\r\nValue: 31/31/1970\r\n"
          "Required Format: Month / Day / Year (ex. 04/28/1978)",
          "lblBorDOB");
    fails("24 two-digit year", false, {{"lblBorDOB", "04/28/78"}},
          "Invalid birth date format for the primary borrower.\r\nValue: 04/28/78\r\n"
          "Required Format: Month / Day / Year (ex. 04/28/1978)",
          "lblBorDOB");
    passes("24 empty birth date", false, {{"lblBorDOB", ""}});
    passes("24 single digits", false, {{"lblBorDOB", "4/8/1978"}});

    // The first failing rule wins.
    fails("reference and first name empty", false, {{"lblReference", ""}, {"lblBorFirst", ""}},
          "You must provide a reference from the Loan Rep field to pull credit.", "lblReference");
    fails("ampersand street and bad date", false, {{"lblCurAddr", "1 A & B"}, {"lblBorDOB", "x"}},
          "You can not have an ampersand in the address for the current address.", "lblCurAddr");
    QTest::newRow("comma before apostrophes") << false << Edits{{"lblCurAddr", "1 O'HARA, ST"}, {"lblReference", "D'A"}}
        << QString("You can not have any commas in the current address field.\r\nPlease remove any commas.")
        << QString("lblCurAddr") << QString("Comma Error") << int(vbInformation);

    passes("single loan skips junk in co-borrower boxes", false,
           {{"lblCoFirst", ""}, {"lblCoMi", "A'."}, {"lblCoDOB", "not a date"}});
    passes("everything valid, joint", true, {});

    // Rules 25 to 35: only for a joint loan.
    fails("25 co first name empty", true, {{"lblCoFirst", ""}},
          "You must provide a first name for the co-borrower.", "lblCoFirst");
    fails("25 co-borrower boxes cleared", true,
          {{"lblCoFirst", ""}, {"lblCoLast", ""}, {"lblCoMi", ""}, {"lblCoSSN", ""}, {"lblCoDOB", ""}},
          "You must provide a first name for the co-borrower.", "lblCoFirst");
    fails("26 co last name empty", true, {{"lblCoLast", ""}},
          "You must provide a last name for the co-borrower.", "lblCoLast");
    fails("27 co SSN empty", true, {{"lblCoSSN", ""}},
          "You must provide a social security number for the co-borrower.", "lblCoSSN");
    fails("28 apostrophe in co first", true, {{"lblCoFirst", "T'AYLOR"}},
          "You can not have an apostrophe in the first name for the co-borrower.", "lblCoFirst");
    fails("29 apostrophe in co last", true, {{"lblCoLast", "O'JOY"}},
          "You can not have an apostrophe in the last name for the co-borrower.", "lblCoLast");
    fails("30 apostrophe in co SSN", true, {{"lblCoSSN", "'900"}},
          "You can not have an apostrophe in the social security number for the co-borrower.", "lblCoSSN");
    fails("31 apostrophe in co middle", true, {{"lblCoMi", "A'"}},
          "You can not have an apostrophe in the middle initial for the co-borrower.", "lblCoMi");
    fails("32 period in co middle", true, {{"lblCoMi", "A."}},
          "You can not have a period in the middle initial for the co-borrower.", "lblCoMi");
    fails("33 apostrophe in co suffix", true, {{"lblCoSufx", "S'R"}},
          "You can not have an apostrophe in the suffix for the co-borrower.", "lblCoSufx");
    fails("34 period in co suffix", true, {{"lblCoSufx", "SR."}},
          "You can not have a period in the suffix for the co-borrower.", "lblCoSufx");
    fails("35 co birth date", true, {{"lblCoDOB", "13/45/1970"}},
          "Invalid birth date format for the co-borrower.\r\nValue: 13/45/1970\r\n"
          "Required format: Month / Day / Year (ex. 04/28/1978)",
          "lblCoDOB");
    fails("primary rules before co-borrower rules", true, {{"lblCoFirst", ""}, {"lblBorSufx", "JR."}},
          "You can not have a period in the suffix for the primary borrower.", "lblBorSufx");
}

void TestValidation::rulesInOrder()
{
    QFETCH(bool, joint);
    QFETCH(Edits, edits);
    QFETCH(QString, message);
    QFETCH(QString, box);
    QFETCH(QString, title);
    QFETCH(int, icon);

    load(joint);
    frmMain* window = m_rig->window();
    for (const auto& [name, text] : kValid + edits) {
        QUILL_FIND_CHILD(edit, QLineEdit, window, name);
        edit->setText(text);
    }
    window->Button(MainButton::cmdClose).setFocus();
    m_rig->boxes.boxes.clear();
    if (!message.isEmpty())
        m_rig->boxes.expect();

    const bool passed = BorrowerFieldsCheck(*window).ValidateBorrowerFields();

    QCOMPARE(passed, message.isEmpty());
    QCOMPARE(m_rig->boxes.unexpected, 0);
    if (message.isEmpty()) {
        QVERIFY(m_rig->boxes.boxes.isEmpty());
        return;
    }
    QCOMPARE(m_rig->boxes.boxes.size(), 1);
    const ScriptedMsgBox::Box shown = m_rig->boxes.boxes.first();
    QCOMPARE(shown.text, message);
    QCOMPARE(shown.title, title);
    QCOMPARE(shown.icon(), icon);
    QCOMPARE(shown.buttons(), int(vbOKOnly));
    QUILL_FIND_CHILD(failing, QLineEdit, window, box);
    QTRY_COMPARE(QApplication::focusWidget(), failing);
    QCOMPARE(failing->selectedText(), failing->text());
}

void TestValidation::getDateForms_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<bool>("ok");
    QTest::newRow("empty") << "" << "" << true;
    QTest::newRow("two-digit month and day") << "04/28/1978" << "04/28/1978" << true;
    QTest::newRow("single digits") << "4/8/1978" << "04/08/1978" << true;
    QTest::newRow("dashes") << "4-8-1978" << "04/08/1978" << true;
    QTest::newRow("two-digit year") << "4/8/78" << "" << false;
    QTest::newRow("day first") << "28/04/1978" << "" << false;
    QTest::newRow("no such day") << "02/30/2001" << "" << false;
    QTest::newRow("words") << "not a date" << "" << false;
}

void TestValidation::getDateForms()
{
    QFETCH(QString, value);
    QFETCH(QString, sent);
    QFETCH(bool, ok);
    bool parsed = !ok;
    QCOMPARE(frmPullReport::GetDate(value, parsed), sent);
    QCOMPARE(parsed, ok);
}

int runValidationTests(int argc, char** argv)
{
    return RunTests<TestValidation>(argc, argv);
}

#include "test_validation.moc"
