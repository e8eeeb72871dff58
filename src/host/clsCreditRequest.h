#pragma once

#include <QString>

// The kind of report an inquiry asks for, as the export reader sets it up. The ordering
// windows decide from their own controls; this record travels with the inquiry.
class clsCreditRequest
{
public:
    QString CoBorrowerID() const { return m_CoBorrowerID; }
    void setCoBorrowerID(const QString& v) { m_CoBorrowerID = v; }
    QString BorrowerID() const { return m_BorrowerID; }
    void setBorrowerID(const QString& v) { m_BorrowerID = v; }
    QString ReportGUID() const { return m_ReportGUID; }
    void setReportGUID(const QString& v) { m_ReportGUID = v; }
    bool ReqTU() const { return m_ReqTU; }
    void setReqTU(bool v) { m_ReqTU = v; }
    bool ReqExperian() const { return m_ReqExperian; }
    void setReqExperian(bool v) { m_ReqExperian = v; }
    bool ReqEquifax() const { return m_ReqEquifax; }
    void setReqEquifax(bool v) { m_ReqEquifax = v; }
    QString RequestType() const { return m_RequestType; }
    void setRequestType(const QString& v) { m_RequestType = v; }
    QString ReportType() const { return m_ReportType; }
    void setReportType(const QString& v) { m_ReportType = v; }
    QString ActionType() const { return m_ActionType; }
    void setActionType(const QString& v) { m_ActionType = v; }
    QString CreditRequestID() const { return m_CreditRequestID; }
    void setCreditRequestID(const QString& v) { m_CreditRequestID = v; }

private:
    QString m_CreditRequestID;
    QString m_ActionType;
    QString m_ReportType;
    QString m_RequestType;
    bool m_ReqEquifax = false;
    bool m_ReqExperian = false;
    bool m_ReqTU = false;
    QString m_ReportGUID;
    QString m_BorrowerID;
    QString m_CoBorrowerID;
};
