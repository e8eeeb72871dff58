#pragma once

#include <QDate>
#include <QString>

class QJsonObject;
class VendorState;
struct Account;
struct Applicant;
struct Report;

// Builds the vendor's state from a JSON seed (format in README.md). Request dates may be given as
// "daysAgo" so that a seed describes "a report from last week" whatever the day it is loaded.
class SeedLoader
{
public:
    explicit SeedLoader(QDate today) : m_today(today) {}

    // Replaces the state with the seed's content. Returns an error text, empty on success.
    QString loadFile(const QString& path, VendorState& state) const;
    QString load(const QByteArray& json, VendorState& state) const;

private:
    void readKnobs(const QJsonObject& server, VendorState& state) const;
    static Account readAccount(const QJsonObject& json);
    static Applicant readApplicant(const QJsonObject& json);
    Report readReport(const QJsonObject& json, VendorState& state) const;

    QDate m_today;
};
