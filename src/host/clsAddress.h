#pragma once

#include "host/clsParsedStreet.h"

#include <QString>

#include <memory>

// One postal address. Setters store values unchanged.
class clsAddress
{
public:
    // Never empty: a missing parsed street is created, stored and returned on first read.
    std::shared_ptr<clsParsedStreet> ParsedStreet() const;
    void setParsedStreet(std::shared_ptr<clsParsedStreet> v) { m_ParsedStreet = std::move(v); }

    QString Country() const { return m_Country; }
    void setCountry(const QString& v) { m_Country = v; }
    QString Address2() const { return m_Address2; }
    void setAddress2(const QString& v) { m_Address2 = v; }
    QString Address1() const { return m_Address1; }
    void setAddress1(const QString& v) { m_Address1 = v; }
    QString PostalCode() const { return m_PostalCode; }
    void setPostalCode(const QString& v) { m_PostalCode = v; }
    QString State() const { return m_State; }
    void setState(const QString& v) { m_State = v; }
    QString City() const { return m_City; }
    void setCity(const QString& v) { m_City = v; }

private:
    QString m_City;
    QString m_State;
    QString m_PostalCode;
    QString m_Address1;
    QString m_Address2;
    QString m_Country;
    mutable std::shared_ptr<clsParsedStreet> m_ParsedStreet;
};
