#include "ModalDriver.h"
#include "ScreenRig.h"
#include "TestSupport.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "host/basDates.h"
#include "ui/ordering/frmMain.h"
#include "ui/ordering/frmPullReport.h"
#include "ui/ordering/frmReissue.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <memory>

namespace {

using Edits = QList<QPair<QString, QString>>;

// A loan that passes every rule.
const Edits kValid = {
    {"lblReference", "DANA DEMO"}, {"lblBorFirst", "AVERY"}, {"lblBorLast", "NEWCOMB"}, {"lblBorMi", "J"},
    {"lblBorSufx", ""}, {"lblBorSSN", "900-11-0001"}, {"lblBorDOB", "04/28/1978"},
    {"lblCurAddr", "12 MAIN ST"}, {"lblCurCity", "SPRINGFIELD"}, {"lblCurState", "IL"}, {"lblCurZip", "62701"},
    {"lblCoFirst", "TAYLOR"}, {"lblCoLast", "JOYNER"}, {"lblCoMi", "ANN"}, {"lblCoSufx", ""},
    {"lblCoSSN", "900-11-0006"}, {"lblCoDOB", "11/23/1989"}};

const QString kComma = "You can not have any commas in the current address field.\r\nPlease remove any commas.";

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

// One row per rule: the edits that break it, the box it sends the user to and a part of its
// message (empty box: the order goes on). A message whole where its form is special.
void TestValidation::rulesBlockTheOrder_data()
{
    QTest::addColumn<bool>("joint");
    QTest::addColumn<Edits>("edits");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("says");
    const auto row = [](const char* name, bool joint, const Edits& edits, const QString& box, const QString& says) {
        QTest::newRow(name) << joint << edits << box << says;
    };
    row("1 reference empty", false, {{"lblReference", ""}}, "lblReference",
        "You must provide a reference from the Loan Rep field to pull credit.\r\n\r\n"
        "Please change this field on the main screen.");
    row("2 first name empty", false, {{"lblBorFirst", ""}}, "lblBorFirst", "a first name for the primary");
    row("3 last name empty", false, {{"lblBorLast", ""}}, "lblBorLast", "a last name for the primary");
    row("4 SSN empty", false, {{"lblBorSSN", ""}}, "lblBorSSN", "a social security number for the primary");
    row("5 street empty", false, {{"lblCurAddr", ""}}, "lblCurAddr", "an address for the current");
    row("6 city empty", false, {{"lblCurCity", ""}}, "lblCurCity", "a city for the current");
    row("7 state empty", false, {{"lblCurState", ""}}, "lblCurState", "a state for the current");
    row("8 zip empty", false, {{"lblCurZip", ""}}, "lblCurZip", "provide a postal code");
    row("9 four-digit zip", false, {{"lblCurZip", "6270"}}, "lblCurZip", "a recognized postal code format");
    row("9 nine characters with a dash", false, {{"lblCurZip", "62701-123"}}, "", "");
    row("9 ten characters", false, {{"lblCurZip", "62701-1234"}}, "", "");
    row("10 comma in the street", false, {{"lblCurAddr", "12 MAIN ST, APT 4"}}, "lblCurAddr", kComma);
    row("11 apostrophe in reference", false, {{"lblReference", "D'ANA"}}, "lblReference", "apostrophe in the reference");
    row("12 apostrophe in first name", false, {{"lblBorFirst", "A'VERY"}}, "lblBorFirst", "apostrophe in the first name for the primary");
    row("13 apostrophe in last name", false, {{"lblBorLast", "O'NEIL"}}, "lblBorLast", "apostrophe in the last name for the primary");
    row("14 apostrophe in SSN", false, {{"lblBorSSN", "900'11"}}, "lblBorSSN", "apostrophe in the social security number for the primary");
    row("15 apostrophe in street", false, {{"lblCurAddr", "12 O'HARA ST"}}, "lblCurAddr", "apostrophe in the address");
    row("16 ampersand in street", false, {{"lblCurAddr", "12 MAIN & 3RD"}}, "lblCurAddr", "ampersand in the address");
    row("17 apostrophe in city", false, {{"lblCurCity", "COEUR D'ALENE"}}, "lblCurCity", "apostrophe in the city");
    row("18 apostrophe in state", false, {{"lblCurState", "I'L"}}, "lblCurState", "apostrophe in the state");
    row("19 apostrophe in zip", false, {{"lblCurZip", "6270'"}}, "lblCurZip", "apostrophe in the postal code");
    row("20 apostrophe in middle", false, {{"lblBorMi", "'"}}, "lblBorMi", "apostrophe in the middle initial for the primary");
    row("21 period in middle", false, {{"lblBorMi", "Q."}}, "lblBorMi", "period in the middle initial for the primary");
    row("22 apostrophe in suffix", false, {{"lblBorSufx", "J'R"}}, "lblBorSufx", "apostrophe in the suffix for the primary");
    row("23 period in suffix", false, {{"lblBorSufx", "JR."}}, "lblBorSufx", "period in the suffix for the primary");
    row("24 day-first birth date", false, {{"lblBorDOB", "31/31/1970"}}, "lblBorDOB",
        "Invalid birth date format for the primary borrower.\r\nValue: 31/31/1970\r\n"
        "Required Format: Month / Day / Year (ex. 04/28/1978)\r\n\r\nPlease change this field on the main screen.");
    row("24 empty birth date", false, {{"lblBorDOB", ""}}, "", "");
    row("first failing rule wins", false, {{"lblBorFirst", ""}, {"lblReference", ""}}, "lblReference", "a reference");
    row("comma before apostrophes", false, {{"lblCurAddr", "1 O'HARA, ST"}, {"lblReference", "D'A"}}, "lblCurAddr", kComma);
    row("ampersand before the birth date", false, {{"lblCurAddr", "1 A & B"}, {"lblBorDOB", "x"}}, "lblCurAddr", "ampersand");
    row("single loan skips the co-borrower boxes", false, {{"lblCoFirst", ""}, {"lblCoMi", "A'."}, {"lblCoDOB", "x"}}, "", "");
    row("everything valid, joint", true, {}, "", "");
    row("25 co-borrower boxes cleared", true, {{"lblCoFirst", ""}, {"lblCoLast", ""}, {"lblCoSSN", ""}}, "lblCoFirst",
        "a first name for the co-borrower");
    row("26 co last name empty", true, {{"lblCoLast", ""}}, "lblCoLast", "a last name for the co-borrower");
    row("27 co SSN empty", true, {{"lblCoSSN", ""}}, "lblCoSSN", "a social security number for the co-borrower");
    row("28 apostrophe in co first", true, {{"lblCoFirst", "T'AYLOR"}}, "lblCoFirst", "apostrophe in the first name for the co");
    row("29 apostrophe in co last", true, {{"lblCoLast", "O'JOY"}}, "lblCoLast", "apostrophe in the last name for the co");
    row("30 apostrophe in co SSN", true, {{"lblCoSSN", "'900"}}, "lblCoSSN", "apostrophe in the social security number for the co");
    row("31 apostrophe in co middle", true, {{"lblCoMi", "A'"}}, "lblCoMi", "apostrophe in the middle initial for the co");
    row("32 period in co middle", true, {{"lblCoMi", "A."}}, "lblCoMi", "period in the middle initial for the co");
    row("33 apostrophe in co suffix", true, {{"lblCoSufx", "S'R"}}, "lblCoSufx", "apostrophe in the suffix for the co");
    row("34 period in co suffix", true, {{"lblCoSufx", "SR."}}, "lblCoSufx", "period in the suffix for the co");
    row("35 co birth date", true, {{"lblCoDOB", "13/45/1970"}}, "lblCoDOB",
        "Invalid birth date format for the co-borrower.\r\nValue: 13/45/1970\r\n"
        "Required format: Month / Day / Year (ex. 04/28/1978)\r\n\r\nPlease change this field on the main screen.");
    row("primary rules before co-borrower rules", true, {{"lblCoFirst", ""}, {"lblBorSufx", "JR."}}, "lblBorSufx",
        "period in the suffix for the primary");
}

// Repull runs the rules: a failing one shows its box, selects the field and opens no pull window.
void TestValidation::rulesBlockTheOrder()
{
    QFETCH(bool, joint);
    QFETCH(Edits, edits);
    QFETCH(QString, box);
    QFETCH(QString, says);
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
    user.on("frmPullReport", [](QWidget* w) { w->close(); });
    window->Button(MainButton::cmdRepull).click();

    QCOMPARE(user.acted("frmPullReport"), box.isEmpty() ? 1 : 0);
    QCOMPARE(m_rig->boxes.unexpected, 0);
    if (box.isEmpty())
        return;
    const ScriptedMsgBox::Box shown = m_rig->boxes.boxes.value(0);
    QVERIFY2(says.contains("\r\n") ? shown.text == says : shown.text.contains(says), qPrintable(shown.text));
    const bool comma = says == kComma;
    QCOMPARE(shown.title, QString(comma ? "Comma Error" : "Validation Error"));
    QCOMPARE(shown.style, int(vbOKOnly) | int(comma ? vbInformation : vbExclamation));
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

int runValidationTests(int argc, char** argv)
{
    TestValidation t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_validation.moc"
