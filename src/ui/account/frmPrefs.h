#pragma once

#include "ui/account/RequestControls.h"

#include <QDialog>

#include <functional>
#include <memory>

class HourglassCursor;
class QLineEdit;
struct ServiceOutcome;
namespace Ui {
class frmPrefs;
}

// "Configure Account": server address, user name and password. The entries are checked here,
// validated by the server, and only then stored. Leaving without valid credentials offers to
// quit the program.
//
// One instance, loaded on first use and deleted when unloaded. UserCancelled lives in the
// program context rather than in a loaded instance: the main window sets it before it unloads
// this window and clears it afterwards, when no instance is loaded any more.
class frmPrefs : public QDialog
{
    Q_OBJECT
    Q_PROPERTY(bool UserCancelled READ UserCancelled WRITE setUserCancelled)

public:
    ~frmPrefs() override;

    // The loaded window, loading it (and filling its boxes) when needed.
    static frmPrefs& instance();
    // The loaded window, or nullptr.
    static frmPrefs* loaded();
    // Loads the window when needed, shows it modally and returns once it is unloaded.
    static void ShowModal();
    // Unloads the window when it is loaded. Unless UserCancelled is set the user is asked
    // whether to quit; false when the user chose to keep the window.
    static bool Unload();

    // While true, unloading neither asks nor ends the program, and loading leaves the boxes empty.
    static bool UserCancelled();
    static void setUserCancelled(bool value);

    // The local checks run by OK, in their order; shows the first problem and focuses its box.
    bool ValidateEntries();

public slots:
    // Esc, the close box and Cancel all come here: unloading, with the quit question. Nothing
    // while the credentials are being validated (Cancel is disabled then).
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdReset_Click();

private:
    explicit frmPrefs(QWidget* parent = nullptr);

    // Asks whether to quit unless UserCancelled is set; Yes ends the program. True when the
    // window may go.
    bool QueryUnload();
    // Unloading with the quit question, also while a validation runs (the program's own close).
    void leave();
    void focusFirstEmptyBox();
    bool refuse(const QString& text, QLineEdit* box);

    // OK's steps: the request, then its answer; the credentials are stored once the server has
    // accepted them.
    void startValidation();
    void validated(const ServiceOutcome& outcome);
    void storeCredentials();
    // Runs step; a failure ends the validation with the "Error" box. False after a failure.
    bool guarded(const std::function<void()>& step);
    void showFailure(const QString& description);
    // The entries and buttons from the state: all disabled while a validation runs.
    void setControls();
    void endValidation();

    std::unique_ptr<Ui::frmPrefs> ui;
    // The hourglass of the validation that runs; none when no validation runs.
    std::unique_ptr<HourglassCursor> m_busy;
    RequestControls m_controls{this};
};
