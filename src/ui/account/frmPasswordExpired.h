#pragma once

#include <QDialog>

#include <memory>

namespace Ui { class frmPasswordExpired; }

// Tells the user that the server reports the password as expired and offers to quit or to go
// on with the current password. Stands where the change-password window will be, until that
// window exists.
class frmPasswordExpired : public QDialog
{
    Q_OBJECT

public:
    ~frmPasswordExpired() override;

    // Shows the window modally and returns once it is closed. userInitiated: opened from the
    // menu rather than by the expiry check; the heading then says so and Quit is hidden.
    static void ShowModal(bool userInitiated);
    // The window while it is shown, or nullptr.
    static frmPasswordExpired* loaded();

private slots:
    void cmdQuit_Click();

private:
    explicit frmPasswordExpired(bool userInitiated, QWidget* parent = nullptr);

    std::unique_ptr<Ui::frmPasswordExpired> ui;
};
