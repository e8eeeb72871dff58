#pragma once

#include <QString>

// The parts of a street line. Nothing fills these yet; an address creates this record empty
// the first time its ParsedStreet is read.
class clsParsedStreet
{
public:
    QString ApartmentOrUnit() const { return m_ApartmentOrUnit; }
    void setApartmentOrUnit(const QString& v) { m_ApartmentOrUnit = v; }
    QString DirectionSuffix() const { return m_DirectionSuffix; }
    void setDirectionSuffix(const QString& v) { m_DirectionSuffix = v; }
    QString StreetSuffix() const { return m_StreetSuffix; }
    void setStreetSuffix(const QString& v) { m_StreetSuffix = v; }
    QString StreetName() const { return m_StreetName; }
    void setStreetName(const QString& v) { m_StreetName = v; }
    QString DirectionPrefix() const { return m_DirectionPrefix; }
    void setDirectionPrefix(const QString& v) { m_DirectionPrefix = v; }
    QString HouseNumber() const { return m_HouseNumber; }
    void setHouseNumber(const QString& v) { m_HouseNumber = v; }

private:
    QString m_HouseNumber;
    QString m_DirectionPrefix;
    QString m_StreetName;
    QString m_StreetSuffix;
    QString m_DirectionSuffix;
    QString m_ApartmentOrUnit;
};
