#pragma once

#include <QDialog>

#include <memory>

class clsLoginByRef;

namespace Ui {
class frmLoginByRef;
}

// Lets a user who may order for others choose the user (the reference) on whose account the
// order goes. The list shows the LongName of every entry of the settings' LoginByReferences.
// Continue with a line selected makes that entry the settings' LoginReference and switches
// LoginByRef on, so the order's credential fields carry the reference's login and the user's own
// login goes into the login-by-reference fields. Leaving without a choice asks whether to abort
// the pull when AbortMessage is set (No keeps the window open) and sets UserCancelled.
//
// An order asks through Choose(); when the user does not order for someone else it sets the
// settings' LoginByRef to false instead.
//
// The window exists once: created by Load on first use, refilled from the settings each time it
// is shown, kept (hidden) after a choice so that UserCancelled can be read, deleted by Unload.
class frmLoginByRef : public QDialog
{
    Q_OBJECT

public:
    ~frmLoginByRef() override;

    static frmLoginByRef& Load();
    // The window when it exists, else nullptr.
    static frmLoginByRef* loaded();
    static void Unload();
    // Loads the window, shows it with the abort question and returns the choice: false when the
    // user left it and confirmed aborting the pull.
    static bool Choose();

    bool AbortMessage() const { return m_AbortMessage; }
    void setAbortMessage(bool v) { m_AbortMessage = v; }
    bool UserCancelled() const { return m_UserCancelled; }
    void setUserCancelled(bool v) { m_UserCancelled = v; }

    // Fills the list from the settings, clears UserCancelled and shows the window modally.
    int exec() override;

    // Every way of closing passes here, the close box and Escape included.
    void done(int result) override;

private slots:
    void cmdPull_Click();

private:
    explicit frmLoginByRef(QWidget* parent = nullptr);
    void fillList();
    std::shared_ptr<clsLoginByRef> chosenEntry() const;

    std::unique_ptr<Ui::frmLoginByRef> ui;
    bool m_AbortMessage = false;
    bool m_UserCancelled = false;
    bool m_closedByChoice = false;
};
