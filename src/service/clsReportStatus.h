#pragma once

#include <QString>

// The record of one report at the vendor: its ID, the bureau statuses, the overall status and
// the name on the report. Bureau codes: 0 not on the report, 1 in progress, anything else the
// server's code for a bureau that has finished.
class clsReportStatus
{
public:
    QString sReportID() const { return m_sReportID; }
    void setsReportID(const QString& v) { m_sReportID = v; }
    QString sErrorText() const { return m_sErrorText; }
    void setsErrorText(const QString& v) { m_sErrorText = v; }
    qint16 nStatusReport() const { return m_nStatusReport; }
    void setnStatusReport(qint16 v) { m_nStatusReport = v; }
    qint16 nStatusEXP() const { return m_nStatusEXP; }
    void setnStatusEXP(qint16 v) { m_nStatusEXP = v; }
    qint16 nStatusEFX() const { return m_nStatusEFX; }
    void setnStatusEFX(qint16 v) { m_nStatusEFX = v; }
    qint16 nStatusTU() const { return m_nStatusTU; }
    void setnStatusTU(qint16 v) { m_nStatusTU = v; }
    QString sFirstName() const { return m_sFirstName; }
    QString sLastName() const { return m_sLastName; }
    QString sMiddleInit() const { return m_sMiddleInit; }
    qint16 nReportType() const { return m_nReportType; }

    // Fills the record from a found report's search answer (line 1 ID, line 2 the Experian,
    // Equifax and TransUnion codes separated by blanks, line 3 the report type, lines 4 to 6
    // first name, middle initial, last name) and sends the status look-up ahead; then the overall
    // status from the look-up's outcome (1 when it failed or gave none). A malformed answer shows
    // the "Error/Problem" box (false); what was read before the fault stays set.
    bool LoadSearchAnswer(const QString& vsData);
    void SetOverallStatus(bool answered, const QString& answer);

private:
    static void showLoadProblem(const QString& description);
    void readSearchAnswer(const QString& vsData);

    QString m_sReportID;
    QString m_sErrorText;
    qint16 m_nStatusReport = 0;
    qint16 m_nStatusEXP = 0;
    qint16 m_nStatusEFX = 0;
    qint16 m_nStatusTU = 0;
    QString m_sFirstName;
    QString m_sLastName;
    QString m_sMiddleInit;
    qint16 m_nReportType = 0;
};
