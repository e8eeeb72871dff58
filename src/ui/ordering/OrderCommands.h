#pragma once

#include <QString>

class frmMain;

// The main window's order commands: Repull / Pull Credit, Add Bureau, and what the
// existing-report check leads to (a new pull when the vendor has no report, the repull question
// when its report is old). Each checks the borrower boxes first and opens the pull window.
class OrderCommands
{
public:
    explicit OrderCommands(frmMain& window);

    void cmdRepull_Click();
    void cmdAddBureau_Click();

    // After the check, by its result: 3 (no report) a new pull, 1 (an old report) the question
    // whether to repull, 2 a repull next time. Sets the window's ePullType.
    void AfterCheck(int reportStatus, const QString& dateRequested);

private:
    bool validate();
    // SetProps with the window's report status and inquiry, then the modal show; returns the
    // pull type the pull window ended with.
    int pull(int pullType);

    frmMain& m_window;
};
