#pragma once

#include <QDialog>

#include <functional>
#include <memory>

class ILoanScreen;
class LoanSession;
class ParamBlock;

namespace Ui {
class frmCheckExisting;
}

// Loads the exported loan into the main window, searches the vendor for a report of it and
// refreshes the account data.
//
// One instance, loaded on first use and unloaded explicitly; Run does both around the work. The
// work runs inside Run, not from an event after the window is shown, so nothing the user does
// to the window can skip it. What the check finds goes into the loan's session, which outlives
// the window; every check starts it unset (search error, nothing found).
class frmCheckExisting : public QDialog
{
    Q_OBJECT

public:
    ~frmCheckExisting() override;

    // Asks for a reissue number over the given window (it sets the settings' ReissueNumber).
    using AskReissue = std::function<void(QWidget*)>;

    // Loads the window over screen, shows it modally while the whole check runs, and unloads
    // it. A failed step ends the check in the state it reached (at worst the search error).
    static void Run(ILoanScreen& screen, LoanSession& session, AskReissue askReissue);
    // The loaded window, or nullptr; Unload deletes it when loaded.
    static frmCheckExisting* loaded();
    static void Unload();

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
    frmCheckExisting(ILoanScreen& screen, LoanSession& session, AskReissue askReissue);

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
    LoanSession& m_session;
    AskReissue m_askReissue;
    bool m_running = false;
};
