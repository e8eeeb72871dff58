#pragma once

#include "host/clsBorrower.h"
#include "host/clsCreditRequest.h"

#include <QString>

#include <memory>

// One loaded loan: the borrower, the co-borrower (empty for an individual loan), the credit
// request, the requesting loan representative and where the loan file lives in the host program.
class clsInquiry
{
public:
    // Path of the loan file as the host program writes it (backslash folders).
    QString BorrowerFilePath() const { return m_BorrowerFilePath; }
    void setBorrowerFilePath(const QString& v) { m_BorrowerFilePath = v; }
    // The loan file's name: the base name of the loan's report PDF files.
    QString BorrowerFile() const { return m_BorrowerFile; }
    void setBorrowerFile(const QString& v) { m_BorrowerFile = v; }
    QString Reference() const { return m_Reference; }
    void setReference(const QString& v) { m_Reference = v; }

    // These three return the stored reference, which may be empty.
    std::shared_ptr<clsBorrower> CoBorrower() const { return m_CoBorrower; }
    void setCoBorrower(std::shared_ptr<clsBorrower> v) { m_CoBorrower = std::move(v); }
    std::shared_ptr<clsBorrower> Borrower() const { return m_Borrower; }
    void setBorrower(std::shared_ptr<clsBorrower> v) { m_Borrower = std::move(v); }
    std::shared_ptr<clsCreditRequest> CreditRequest() const { return m_CreditRequest; }
    void setCreditRequest(std::shared_ptr<clsCreditRequest> v) { m_CreditRequest = std::move(v); }

private:
    std::shared_ptr<clsCreditRequest> m_CreditRequest;
    std::shared_ptr<clsBorrower> m_Borrower;
    std::shared_ptr<clsBorrower> m_CoBorrower;
    QString m_Reference;
    QString m_BorrowerFile;
    QString m_BorrowerFilePath;
};
