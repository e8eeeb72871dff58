#pragma once

#include "VendorRecords.h"

#include <QString>

#include <array>

class FormQuery;

// The fields of an order (REQUEST, and the same block sent to FINDPENDING), read and checked.
class OrderForm : public LoanParties
{
public:
    explicit OrderForm(const FormQuery& query);

    // Empty when the order can be placed, otherwise the reason to refuse it.
    QString problem() const;

    // Identity of the order: two orders with the same key ask for the same thing.
    QString key() const;

    QString keywords; // "", REQUEST (repull) or UPGRADE (add bureaus)
    std::array<bool, BureauCount> bureaus{false, false, false};

private:
    static Applicant readApplicant(const FormQuery& query, const QString& prefix);
    static QString applicantProblem(const Applicant& p, const QString& who);
};
