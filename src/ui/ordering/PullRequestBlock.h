#pragma once

#include <QString>

class ILoanScreen;

// The REQUEST block of an order, built from the loan screen's boxes as they stand (trimmed) and
// the ticked bureaus. The same block goes to FINDPENDING and REQUEST. Values are escaped like
// every other block, so a city or suffix holding "&" or "<" reaches the server unchanged.
struct PullRequestBlock {
    int pullType = 0;   // 1 new, 2 repull, 3 add a bureau
    bool joint = false; // the inquiry has a co-borrower
    bool equifax = false;
    bool experian = false;
    bool transUnion = false;

    // Criteria in this order: Keywords, Reference, FirstName, LastName, MiddleInitial, SSN
    // (digits only), DOB, CurAddress, CurCity, CurState, CurZip, Suffix, Joint, the six
    // co-borrower criteria of a joint loan, then EQUIFAX, EXPERIAN, TRANSUNION when ticked.
    QString text(const ILoanScreen& screen) const;

    // "UPGRADE" for an added bureau, "REQUEST" for a repull, empty for a new report.
    static QString Keywords(int pullType);
};
