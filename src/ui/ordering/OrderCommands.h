#pragma once

#include <QString>

#include <functional>

class frmMain;
class LoanSession;

// The main window's order commands: the existing-report check and what it leads to (a new pull
// when the vendor has no report, the repull question when its report is old), Repull / Pull
// Credit and Add Bureau. Each order checks the borrower boxes first and opens the pull window on
// the main window's session; the main window's buttons are refreshed when it has closed.
class OrderCommands
{
public:
    explicit OrderCommands(frmMain& window);

    // Starts the check window over the main window; once the check has ended, acts on its result
    // and then calls done (may be empty). A search that failed with "Invalid password" forgets
    // the saved password and starts the program over.
    void CheckForExisting(std::function<void()> done);
    void cmdRepull_Click();
    void cmdAddBureau_Click();
    // Close and Reload: an order waiting in the background is given up only when the user
    // confirms it. False: the user said No, and everything stays as it was.
    bool MayLeaveOrder();

private:
    // What the check's result leads to.
    void checked();
    // After the check, by its result: 3 (no report) a new pull, 1 (an old report) the question
    // whether to repull, 2 a repull next time. Sets the session's pull type.
    void afterCheck();
    bool validate();
    // Shows the pull window modally for an order of this kind; returns the pull type the window
    // ended with.
    int pull(int pullType);

    frmMain& m_window;
    LoanSession& m_session;
};
