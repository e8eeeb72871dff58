#pragma once

#include "VendorRecords.h"

#include <QList>
#include <QString>

// Made-up credit content for a report: a score per bureau and a handful of tradelines. It is
// derived from the borrower's SSN so that the PDF and the import data of one report agree and stay
// the same from run to run. Creditor names are invented and use the .example domain style.
class StandInCredit
{
public:
    struct Score {
        Bureau bureau;
        int value;
    };
    struct Tradeline {
        QString creditor;
        QString accountNumber; // masked, last four digits only
        QString kind;          // Revolving, Installment, Mortgage
        int balance;
        int payment;
        int limit;      // credit limit or original amount
        QString opened; // MM/yyyy
        QString owner;  // B borrower, C co-borrower, J joint
        QString status;
    };

    explicit StandInCredit(const Report& report);

    const QList<Score>& scores() const { return m_scores; }
    const QList<Tradeline>& tradelines() const { return m_tradelines; }

    static QString bureauName(Bureau bureau);

private:
    void makeScores(const Report& report, quint32 seed);
    void makeTradelines(const Report& report, quint32 seed);

    QList<Score> m_scores;
    QList<Tradeline> m_tradelines;
};
