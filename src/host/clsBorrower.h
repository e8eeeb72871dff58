#pragma once

#include "host/clsAddress.h"

#include <QString>

#include <memory>

// One applicant of a loan. Setters store values unchanged; the only behaviour is the birth
// date check and the lazy creation of the two addresses.
class clsBorrower
{
public:
    // Checks DOB. An empty DOB passes; one that is not a month/day/year date is reported in a
    // "Date Error" box and in Client.log, then cleared. A valid DOB stays exactly as written.
    void ValidDate();

    // True when text is a date by ParseDate (host/basDates.h), the parser that also shows and
    // sends the date: M/D/YYYY or M-D-YYYY (04/28/1978, 4/8/1978, 4-8-1978), blanks around it
    // allowed. Two-digit years, names of months and dates that do not exist on the calendar
    // (13/45/1970, 02/30/2001, 02/29/2001) are refused.
    static bool IsMonthDayYear(const QString& text);

    // Never empty: a missing address is created, stored and returned on first read.
    std::shared_ptr<clsAddress> PreviousAddress() const;
    void setPreviousAddress(std::shared_ptr<clsAddress> v) { m_PreviousAddress = std::move(v); }
    std::shared_ptr<clsAddress> CurrentAddress() const;
    void setCurrentAddress(std::shared_ptr<clsAddress> v) { m_CurrentAddress = std::move(v); }

    QString Reference() const { return m_Reference; }
    void setReference(const QString& v) { m_Reference = v; }
    QString SSN() const { return m_SSN; }
    void setSSN(const QString& v) { m_SSN = v; }
    QString Suffix() const { return m_Suffix; }
    void setSuffix(const QString& v) { m_Suffix = v; }
    QString DOB() const { return m_DOB; }
    void setDOB(const QString& v) { m_DOB = v; }
    QString MiddleInitial() const { return m_MiddleInitial; }
    void setMiddleInitial(const QString& v) { m_MiddleInitial = v; }
    QString LastName() const { return m_LastName; }
    void setLastName(const QString& v) { m_LastName = v; }
    QString FirstName() const { return m_FirstName; }
    void setFirstName(const QString& v) { m_FirstName = v; }

private:
    QString m_FirstName;
    QString m_LastName;
    QString m_MiddleInitial;
    QString m_Suffix;
    QString m_DOB;
    QString m_SSN;
    QString m_Reference;
    mutable std::shared_ptr<clsAddress> m_CurrentAddress;
    mutable std::shared_ptr<clsAddress> m_PreviousAddress;
};
