#pragma once

#include <QString>

class ILoanScreen;

// The main window's commands that open the vendor's web pages with the shell: the loan's RMCR
// and supplement pages (told the loan as it stands in the boxes), the report summary, and the
// report list behind the logo. A failed open, or an address that is not a web address or leaves
// the server's scheme, host and port (the vendor's site for the report list), is shown in a
// critical box titled after the command; nothing is opened then.
class MainWebCommands
{
public:
    explicit MainWebCommands(const ILoanScreen& screen) : m_screen(screen) {}

    // jointLoan: the loan read from the host has a co-borrower (not: its boxes hold text).
    void cmdRMCR(const QString& reportUid, bool jointLoan) const;
    void cmdRequestSupp(const QString& reportUid, bool jointLoan) const;
    // Shows the reminder about changing reports at the web site first.
    void cmdWeb(const QString& reportUid) const;
    void Picture1() const;

private:
    void openLoanPage(bool fromRmcr, const QString& reportUid, bool jointLoan) const;

    const ILoanScreen& m_screen;
};
