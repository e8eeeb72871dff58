#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class frmAbout;
}

// The program's title and version, the vendor it works for, the vendor's web address and
// support contact (from the GETABOUT answer of this run) and the vendor's logo; offers the
// system information program. Sends nothing itself.
//
// One instance while shown: loaded by ShowModal and deleted when it closes.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    ~frmAbout() override;

    // Loads the window from the settings, shows it modally and returns once OK closed it.
    static void ShowModal();
    // The window while it is shown, or nullptr.
    static frmAbout* loaded();
    // Closes the window when it is shown (Reload).
    static void Unload();

private slots:
    void cmdSysInfo_Click();

private:
    explicit frmAbout(QWidget* parent = nullptr);

    void Load();

    std::unique_ptr<Ui::frmAbout> ui;
};
