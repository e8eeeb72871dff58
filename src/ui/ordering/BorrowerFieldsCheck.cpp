#include "ui/ordering/BorrowerFieldsCheck.h"

#include "core/MsgBox.h"
#include "host/basDates.h"
#include "host/clsInquiry.h"
#include "ui/UiUtils.h"
#include "ui/ordering/ILoanScreen.h"

#include <QLineEdit>

#include <initializer_list>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kChangeField = QStringLiteral("\r\n\r\nPlease change this field on the main screen.");

// What makes a rule fail. "Empty" is the exact empty text: a box of blanks is not empty.
enum class Fails { Empty, Holds, ZipLength };

struct Rule {
    QLineEdit* box;
    Fails when;
    char character; // for Holds
    const char* message;
};

bool fails(const Rule& rule)
{
    const QString text = rule.box->text();
    switch (rule.when) {
    case Fails::Empty: return text.isEmpty();
    case Fails::Holds: return text.contains(QLatin1Char(rule.character));
    case Fails::ZipLength:
        // Counts characters only: 12345, 123456789 and 12345-6789 pass, and so does any other
        // text of those lengths.
        return text.size() != 5 && text.size() != 9 && text.size() != 10;
    }
    return false;
}

} // namespace

BorrowerFieldsCheck::BorrowerFieldsCheck(const ILoanScreen& screen, std::shared_ptr<clsInquiry> inquiry)
    : m_screen(screen), m_inquiry(std::move(inquiry))
{
}

bool BorrowerFieldsCheck::ValidateBorrowerFields() const
{
    if (!m_inquiry)
        return false;
    if (!primaryRules())
        return false;
    return !m_inquiry->CoBorrower() || coBorrowerRules();
}

bool BorrowerFieldsCheck::refuse(QLineEdit* box, const QString& message) const
{
    MsgBox(message + kChangeField, vbExclamation, QStringLiteral("Validation Error"));
    SelectAllText(box);
    return false;
}

bool BorrowerFieldsCheck::birthDate(QLineEdit* box, const QString& firstLine, const QString& formatLine) const
{
    bool ok = true;
    GetDate(box->text(), ok);
    if (ok)
        return true;
    return refuse(box, firstLine + kCrLf + QStringLiteral("Value: ") + box->text() + kCrLf + formatLine);
}

bool BorrowerFieldsCheck::primaryRules() const
{
    const ILoanScreen& w = m_screen;
    const std::initializer_list<Rule> before = {
        {&w.Box(LoanBox::lblReference), Fails::Empty, 0,
         "You must provide a reference from the Loan Rep field to pull credit."},
        {&w.Box(LoanBox::lblBorFirst), Fails::Empty, 0, "You must provide a first name for the primary borrower."},
        {&w.Box(LoanBox::lblBorLast), Fails::Empty, 0, "You must provide a last name for the primary borrower."},
        {&w.Box(LoanBox::lblBorSSN), Fails::Empty, 0,
         "You must provide a social security number for the primary borrower."},
        {&w.Box(LoanBox::lblCurAddr), Fails::Empty, 0, "You must provide an address for the current address."},
        {&w.Box(LoanBox::lblCurCity), Fails::Empty, 0, "You must provide a city for the current address."},
        {&w.Box(LoanBox::lblCurState), Fails::Empty, 0, "You must provide a state for the current address."},
        {&w.Box(LoanBox::lblCurZip), Fails::Empty, 0, "You must provide a postal code for the current address."},
        {&w.Box(LoanBox::lblCurZip), Fails::ZipLength, 0,
         "You must provide a recognized postal code format for the current address."},
    };
    for (const Rule& rule : before) {
        if (fails(rule))
            return refuse(rule.box, QString::fromLatin1(rule.message));
    }

    // The street line's comma has its own box: no "change this field" sentence.
    if (w.Box(LoanBox::lblCurAddr).text().contains(QLatin1Char(','))) {
        MsgBox(QStringLiteral("You can not have any commas in the current address field.\r\nPlease remove any commas."),
               vbInformation, QStringLiteral("Comma Error"));
        SelectAllText(&w.Box(LoanBox::lblCurAddr));
        return false;
    }

    const std::initializer_list<Rule> after = {
        {&w.Box(LoanBox::lblReference), Fails::Holds, '\'', "You can not have an apostrophe in the reference field."},
        {&w.Box(LoanBox::lblBorFirst), Fails::Holds, '\'',
         "You can not have an apostrophe in the first name for the primary borrower."},
        {&w.Box(LoanBox::lblBorLast), Fails::Holds, '\'',
         "You can not have an apostrophe in the last name for the primary borrower."},
        {&w.Box(LoanBox::lblBorSSN), Fails::Holds, '\'',
         "You can not have an apostrophe in the social security number for the primary borrower."},
        {&w.Box(LoanBox::lblCurAddr), Fails::Holds, '\'',
         "You can not have an apostrophe in the address for the current address."},
        {&w.Box(LoanBox::lblCurAddr), Fails::Holds, '&',
         "You can not have an ampersand in the address for the current address."},
        {&w.Box(LoanBox::lblCurCity), Fails::Holds, '\'',
         "You can not have an apostrophe in the city for the current address."},
        {&w.Box(LoanBox::lblCurState), Fails::Holds, '\'',
         "You can not have an apostrophe in the state for the current address."},
        {&w.Box(LoanBox::lblCurZip), Fails::Holds, '\'',
         "You can not have an apostrophe in the postal code for the current address."},
        {&w.Box(LoanBox::lblBorMi), Fails::Holds, '\'',
         "You can not have an apostrophe in the middle initial for the primary borrower."},
        {&w.Box(LoanBox::lblBorMi), Fails::Holds, '.',
         "You can not have a period in the middle initial for the primary borrower."},
        {&w.Box(LoanBox::lblBorSufx), Fails::Holds, '\'',
         "You can not have an apostrophe in the suffix for the primary borrower."},
        {&w.Box(LoanBox::lblBorSufx), Fails::Holds, '.',
         "You can not have a period in the suffix for the primary borrower."},
    };
    for (const Rule& rule : after) {
        if (fails(rule))
            return refuse(rule.box, QString::fromLatin1(rule.message));
    }

    return birthDate(&w.Box(LoanBox::lblBorDOB), QStringLiteral("Invalid birth date format for the primary borrower."),
                     QStringLiteral("Required Format: Month / Day / Year (ex. 04/28/1978)"));
}

bool BorrowerFieldsCheck::coBorrowerRules() const
{
    const ILoanScreen& w = m_screen;
    const std::initializer_list<Rule> rules = {
        {&w.Box(LoanBox::lblCoFirst), Fails::Empty, 0, "You must provide a first name for the co-borrower."},
        {&w.Box(LoanBox::lblCoLast), Fails::Empty, 0, "You must provide a last name for the co-borrower."},
        {&w.Box(LoanBox::lblCoSSN), Fails::Empty, 0, "You must provide a social security number for the co-borrower."},
        {&w.Box(LoanBox::lblCoFirst), Fails::Holds, '\'',
         "You can not have an apostrophe in the first name for the co-borrower."},
        {&w.Box(LoanBox::lblCoLast), Fails::Holds, '\'',
         "You can not have an apostrophe in the last name for the co-borrower."},
        {&w.Box(LoanBox::lblCoSSN), Fails::Holds, '\'',
         "You can not have an apostrophe in the social security number for the co-borrower."},
        {&w.Box(LoanBox::lblCoMi), Fails::Holds, '\'',
         "You can not have an apostrophe in the middle initial for the co-borrower."},
        {&w.Box(LoanBox::lblCoMi), Fails::Holds, '.',
         "You can not have a period in the middle initial for the co-borrower."},
        {&w.Box(LoanBox::lblCoSufx), Fails::Holds, '\'',
         "You can not have an apostrophe in the suffix for the co-borrower."},
        {&w.Box(LoanBox::lblCoSufx), Fails::Holds, '.', "You can not have a period in the suffix for the co-borrower."},
    };
    for (const Rule& rule : rules) {
        if (fails(rule))
            return refuse(rule.box, QString::fromLatin1(rule.message));
    }
    return birthDate(&w.Box(LoanBox::lblCoDOB), QStringLiteral("Invalid birth date format for the co-borrower."),
                     QStringLiteral("Required format: Month / Day / Year (ex. 04/28/1978)"));
}
