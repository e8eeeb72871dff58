#pragma once

#include "platform/Desktop.h"
#include "service/basPrefetch.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

class ILoanScreen;
class LoanSession;
class ParamBlock;
class clsReportStatus;
struct AppError;
struct ServiceOutcome;

namespace Ui {
class frmCheckExisting;
}

// Loads the exported loan into the main window, searches the vendor for a report of it and
// refreshes the account data.
//
// One instance, loaded by Run and unloaded when the check has ended. The check is a chain of
// steps, each started by the answer to the one before; the window is the context of every
// request, so nothing arrives after it has gone. It is application-modal while the check runs
// and refuses Esc and the close box, so nothing the user does can skip a step or start another
// check. What the check finds goes into the loan's session, which outlives the window; every
// check starts it unset (search error, nothing found).
class frmCheckExisting : public QDialog
{
    Q_OBJECT

public:
    ~frmCheckExisting() override;

    // Asks for a reissue number over the given window (it sets the settings' ReissueNumber).
    using AskReissue = std::function<void(QWidget*)>;

    // Loads the window over screen, shows it and starts the check; returns once the first
    // request is out. done (may be empty) is called once the check has ended, in whatever state
    // it reached (at worst the search error), after the window has been unloaded; before Run
    // returns when the loan cannot be read. When the session goes first, the check is given up
    // and done is not called.
    static void Run(ILoanScreen& screen, LoanSession& session, AskReissue askReissue, std::function<void()> done);
    // The loaded window, or nullptr; Unload deletes it when loaded (a check still running is
    // given up: what its requests answer is ignored, and done is not called).
    static frmCheckExisting* loaded();
    static void Unload();

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
    frmCheckExisting(ILoanScreen& screen, LoanSession& session, AskReissue askReissue, std::function<void()> done);

    void start();
    void repaintBoth();
    void readLoan();
    void searchPass();
    QString startSearchPass(ParamBlock& block);
    void fillBorrowers(ParamBlock& block);
    void searched(const ServiceOutcome& outcome, const std::shared_ptr<clsReportStatus>& status,
                  const QString& reissue);
    void requestDate(const QString& reportId);
    void dated(const ServiceOutcome& outcome);
    void classifyFound(const QString& dateText);
    void endSearch();
    void refreshFrom(int index);
    void refreshed(int index, const ServiceOutcome& outcome);
    void importFailed(const AppError& error);
    void finish();

    std::unique_ptr<Ui::frmCheckExisting> ui;
    ILoanScreen& m_screen;
    LoanSession& m_session;
    AskReissue m_askReissue;
    std::function<void()> m_done;
    bool m_running = false;
    // While the search runs: a found report's request date is read beside its status look-up.
    std::optional<Prefetch::FoundReportReads> m_foundReads;
    // One search pass's wait, up to the handling of its answer (before the reissue window can
    // come up again).
    std::optional<HourglassCursor> m_passWait;
};
