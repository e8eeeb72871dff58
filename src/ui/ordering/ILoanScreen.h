#pragma once

#include <QString>

class QLineEdit;

// The main window's loan boxes, named as their controls. A misspelt box is a compile error.
enum class LoanBox {
    lblReference,
    lblBorFirst,
    lblBorLast,
    lblBorMi,
    lblBorSufx,
    lblBorSSN,
    lblBorDOB,
    lblCoFirst,
    lblCoLast,
    lblCoMi,
    lblCoSufx,
    lblCoSSN,
    lblCoDOB,
    lblCurAddr,
    lblCurCity,
    lblCurState,
    lblCurZip,
    lblCurCountry,
    lblPreAddr,
    lblPreCity,
    lblPreState,
    lblPreZip,
    lblPreCountry,
};

// The part of the main window that the windows working on the loan fill and read: the loan's
// boxes, the reference caption, the window caption, the co-borrower frame and the
// change-password item. The existing-report check (and the order windows) see only this, so
// they need not know the main window's class.
class ILoanScreen
{
public:
    virtual ~ILoanScreen() = default;
    // The box itself: its text, whether it is enabled, the focus.
    virtual QLineEdit& Box(LoanBox box) const = 0;
    // The caption in front of the reference box ("Reference:" or "Reissue #:").
    virtual void SetReferenceCaption(const QString& caption) = 0;
    virtual void SetCaption(const QString& caption) = 0;
    virtual void SetCoBorrowerVisible(bool visible) = 0;
    virtual void SetChangePasswordEnabled(bool enabled) = 0;
    // Paints the window now, while a long step keeps the event loop from doing it.
    virtual void RepaintScreen() = 0;
};
