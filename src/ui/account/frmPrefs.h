#pragma once

#include <QDialog>

#include <memory>

class QLineEdit;
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
    // Esc, the close box and Cancel all come here: unloading, with the quit question.
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
    void focusFirstEmptyBox();
    bool refuse(const QString& text, QLineEdit* box);

    std::unique_ptr<Ui::frmPrefs> ui;
};
