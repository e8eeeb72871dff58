#pragma once

#include <QString>

#include <memory>

class ILoanScreen;
class QLineEdit;
class clsInquiry;

// The checks the main window runs on its borrower boxes before any order: the boxes, possibly
// edited by the user, are what the pull window sends. The first rule that fails tells the user,
// selects the box's text, gives it the focus and ends the check.
class BorrowerFieldsCheck
{
public:
    BorrowerFieldsCheck(const ILoanScreen& screen, std::shared_ptr<clsInquiry> inquiry);

    // True when every rule passed. A loan without an inquiry fails without a message: there is
    // nothing to order for.
    bool ValidateBorrowerFields() const;

private:
    bool primaryRules() const;
    bool coBorrowerRules() const;
    bool birthDate(QLineEdit* box, const QString& firstLine, const QString& formatLine) const;
    bool refuse(QLineEdit* box, const QString& message) const;

    const ILoanScreen& m_screen;
    std::shared_ptr<clsInquiry> m_inquiry;
};
