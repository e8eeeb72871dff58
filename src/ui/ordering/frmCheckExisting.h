#pragma once

#include <QDialog>

#include <memory>

class clsInquiry;
class clsReportStatus;
class frmMain;
class ParamBlock;

namespace Ui {
class frmCheckExisting;
}

// Outcome of the search for an existing report.
enum eReportStatus : int {
    ReportSearchError = 0,
    ReportFoundOld = 1,
    ReportFound = 2,
    ReportNotFound = 3,
};

// Loads the exported loan into the main window, searches the vendor for a report of it and
// refreshes the account data. Does its work when shown, then closes itself; the caller reads
// the results from its properties.
class frmCheckExisting : public QDialog
{
    Q_OBJECT

public:
    explicit frmCheckExisting(frmMain& mainWindow, QWidget* parent = nullptr);
    ~frmCheckExisting() override;

    int eReportStatus() const { return m_eReportStatus; }
    std::shared_ptr<clsInquiry> oInquiry() const { return m_oInquiry; }
    std::shared_ptr<clsReportStatus> oReportStatus() const { return m_oReportStatus; }
    void setoReportStatus(std::shared_ptr<clsReportStatus> v) { m_oReportStatus = std::move(v); }
    QString sDateRequested() const { return m_sDateRequested; }
    QString sReportID() const { return m_sReportID; }
    void setsReportID(const QString& v) { m_sReportID = v; }

    // The whole check. ok is false when a step failed; errorText then holds the failing server
    // operation's text (search and date request only).
    void Import(QString& errorText, bool& ok);

    // "123-45-6789" for a nine-digit number, "--" for none.
    static QString FormatSSN(const QString& ssn);

    // Whole days from the request date to today, counted in local calendar days.
    static qint64 DaysOld(const QDate& requested, const QDate& today);
    // The request date as the server writes it; an invalid QDate when it is not a date.
    static QDate ParseRequestDate(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void runCheck();
    void repaintBoth();
    void readLoan();
    bool searchLoop(QString& errorText);
    QString startSearchPass(ParamBlock& block);
    void fillBorrowers(ParamBlock& block);
    bool classifyFound(const QString& answer, QString& errorText);
    bool refreshAccount();

    std::unique_ptr<Ui::frmCheckExisting> ui;
    frmMain& m_main;
    int m_eReportStatus = ReportNotFound;
    std::shared_ptr<clsInquiry> m_oInquiry;
    std::shared_ptr<clsReportStatus> m_oReportStatus;
    QString m_sDateRequested;
    QString m_sReportID;
    bool m_started = false;
};
