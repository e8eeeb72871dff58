#pragma once

#include "ui/account/RequestControls.h"

#include <QDialog>

#include <memory>

class HourglassCursor;
class QLineEdit;
struct ServiceOutcome;
namespace Ui {
class frmChangePass;
}

// Replaces the password at the vendor. Forced (UserInitiated false: start-up found the password
// expired) leaving without a change offers to quit the program; by choice (the File menu) it
// simply closes.
//
// One window object, created on first use and kept between showings until Reload unloads it;
// each showing starts from empty boxes. Once a change succeeded the object remembers it, so a
// later forced showing in the same run closes without the quit question.
class frmChangePass : public QDialog
{
    Q_OBJECT
    Q_PROPERTY(bool UserInitiated READ UserInitiated WRITE setUserInitiated)

public:
    ~frmChangePass() override;

    // The window object, created when needed.
    static frmChangePass& instance();
    // The window object, or nullptr.
    static frmChangePass* loaded();
    // Loads the window (by choice: with the heading "Change Your Password"), shows it modally
    // and returns once it is closed.
    static void ShowModal(bool userInitiated);
    // Discards the window object without a question (Reload).
    static void Unload();

    bool UserInitiated() const { return m_userInitiated; }
    void setUserInitiated(bool value) { m_userInitiated = value; }

    // The policy text shown when the server's cannot be fetched.
    static QString DefaultPasswordSpecs();

    // The local checks run by OK, in their order; shows the first problem and focuses its box.
    bool ValidateEntries();

public slots:
    // Esc, the close box and Cancel: closing, with the quit question when forced. Nothing while
    // a request runs (Cancel is disabled then).
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void cmdOK_Click();
    void lblPasswordSpecs_Click();

private:
    explicit frmChangePass(QWidget* parent = nullptr);

    // The state of a fresh load: empty boxes, the user's name, the designed heading.
    void Load();
    // Sends the change; changeAnswered hears how it ended.
    void SendChange(const QString& newPassword);
    void changeAnswered(const ServiceOutcome& outcome, const QString& newPassword, const QString& oldPassword);
    // Keeps the new password in the settings and the store, and tells the user.
    void StoreChange(const QString& newPassword);
    // The policy help once the server's policy was fetched, or not.
    void showPasswordSpecs(bool fetched);
    bool QueryUnload();
    bool refuse(const QString& text, QLineEdit* box, bool selectText);

    // A request starts or ends: the hourglass and the controls follow.
    void beginRequest(bool change);
    void endRequest();
    // From the state: while any request runs, nothing can start another or close the window; while
    // the change runs, its entries stay as sent.
    void setControls();

    std::unique_ptr<Ui::frmChangePass> ui;
    bool m_userInitiated = false;
    bool m_passwordChanged = false;
    // The hourglass of the request that runs; none when no request runs.
    std::unique_ptr<HourglassCursor> m_busy;
    bool m_changing = false;
    RequestControls m_controls{this};
};
