#pragma once

#include <QDialog>

#include <memory>

class ILoanScreen;
class ParamBlock;
class clsInquiry;
class clsReportStatus;

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
// refreshes the account data.
//
// One instance, loaded on first use and unloaded explicitly; Run does both around the work. The
// work runs inside Run, not from an event after the window is shown, so nothing the user does
// to the window can skip it. The results belong to the class, not to a loaded instance: they
// outlive the window, the main window and start-up read them afterwards, and the pull window
// sets sReportID after an order. Every check starts them unset (search error, nothing found).
class frmCheckExisting : public QDialog
{
    Q_OBJECT

public:
    ~frmCheckExisting() override;

    // Loads the window over screen, shows it modally while the whole check runs, and unloads
    // it. A failed step ends the check in the state it reached (at worst the search error).
    static void Run(ILoanScreen& screen);
    // The loaded window, or nullptr; Unload deletes it when loaded.
    static frmCheckExisting* loaded();
    static void Unload();

    // The results of the last check.
    static int eReportStatus();
    static std::shared_ptr<clsInquiry> oInquiry();
    static std::shared_ptr<clsReportStatus> oReportStatus();
    static void setoReportStatus(std::shared_ptr<clsReportStatus> v);
    static QString sDateRequested();
    static QString sReportID();
    static void setsReportID(const QString& v);

    // The whole check. ok is false when a step failed; errorText then holds the failing server
    // operation's text (search and date request only).
    void Import(QString& errorText, bool& ok);

    // "123-45-6789" for a nine-digit number, "--" for none.
    static QString FormatSSN(const QString& ssn);

    // Whole days from the request date to today, counted in local calendar days.
    static qint64 DaysOld(const QDate& requested, const QDate& today);
    // The request date as the server writes it; an invalid QDate when it is not a date.
    static QDate ParseRequestDate(const QString& text);

public slots:
    // Esc: ignored while the check runs.
    void reject() override;

protected:
    // The close box: ignored while the check runs.
    void closeEvent(QCloseEvent* event) override;

private:
    frmCheckExisting(ILoanScreen& screen, QWidget* parent);

    void runCheck();
    void repaintBoth();
    void readLoan();
    bool searchLoop(QString& errorText);
    QString startSearchPass(ParamBlock& block);
    void fillBorrowers(ParamBlock& block);
    bool classifyFound(const QString& answer, QString& errorText);
    bool refreshAccount();

    std::unique_ptr<Ui::frmCheckExisting> ui;
    ILoanScreen& m_screen;
    bool m_running = false;
};
