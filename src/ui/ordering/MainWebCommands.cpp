#include "ui/ordering/MainWebCommands.h"

#include "core/AppContext.h"
#include "core/basShell.h"
#include "core/clsProperties.h"
#include "platform/Desktop.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"
#include "platform/WebAddress.h"
#include "ui/ordering/ILoanScreen.h"
#include "ui/ordering/WebPages.h"

#include <QLineEdit>

namespace {

// Opens a web page with the shell; a failed open, or an address that is not a web address,
// is shown in a critical box with the caller's title and message.
void openPage(const QString& address, const QString& title, const QString& message)
{
    if (!IsWebAddress(address)) {
        MsgBox(message + QStringLiteral("\r\n\r\nNot a web address: ") + address, vbCritical, title);
        return;
    }
    const auto failed = [title, message](int code) {
        MsgBox(message + QStringLiteral("\r\n\r\n") + ShellErrorText(code), vbCritical, title);
    };
    // The browser's opener may take seconds to report; its failure is shown when it does.
    const int code = TheShell().OpenPage(address, failed);
    if (code <= 32)
        failed(code);
}

LoanOnScreen loanOnScreen(const ILoanScreen& screen, bool jointLoan)
{
    const auto text = [&screen](LoanBox box) { return screen.Box(box).text().trimmed(); };
    LoanOnScreen loan;
    loan.borSSN = text(LoanBox::lblBorSSN);
    loan.borFirst = text(LoanBox::lblBorFirst);
    loan.borLast = text(LoanBox::lblBorLast);
    loan.borMiddle = text(LoanBox::lblBorMi);
    loan.borSuffix = text(LoanBox::lblBorSufx);
    loan.hasCoBorrower = jointLoan;
    loan.coSSN = text(LoanBox::lblCoSSN);
    loan.coFirst = text(LoanBox::lblCoFirst);
    loan.coLast = text(LoanBox::lblCoLast);
    loan.coMiddle = text(LoanBox::lblCoMi);
    loan.coSuffix = text(LoanBox::lblCoSufx);
    return loan;
}

} // namespace

void MainWebCommands::openLoanPage(bool fromRmcr, const QString& reportUid, bool jointLoan) const
{
    HourglassCursor hourglass;
    const clsProperties& props = Props();
    const QString base = props.BaseUrl() + (fromRmcr ? props.RMCRPageLink() : props.SuppPageLink());
    const QString address = WebPages::LoanPage(base, fromRmcr, props.UserName(), props.CompanyID(), reportUid,
                                               loanOnScreen(m_screen, jointLoan));
    if (fromRmcr)
        openPage(address, QStringLiteral("Error in cmdRMCR_Click"),
                 QStringLiteral("There was an error requesting RMCR information."));
    else
        openPage(address, QStringLiteral("Error in cmdRequestSupp_Click"),
                 QStringLiteral("There was an error requesting supplement information."));
}

void MainWebCommands::cmdRMCR(const QString& reportUid, bool jointLoan) const
{
    openLoanPage(true, reportUid, jointLoan);
}

void MainWebCommands::cmdRequestSupp(const QString& reportUid, bool jointLoan) const
{
    openLoanPage(false, reportUid, jointLoan);
}

void MainWebCommands::cmdWeb(const QString& reportUid) const
{
    MsgBox(QStringLiteral("Reminder:\r\n\r\nIf you flip, split or join reports at the website you will need to \r\n"
                          "make the corresponding changes to your borrower file before\r\n"
                          "importing the modified report back into ORRERY Quill.\r\n\r\nClick 'OK' to continue."),
           vbInformation, QStringLiteral("Reminder"));
    HourglassCursor hourglass;
    openPage(Props().BaseUrl() + Props().SummaryPageLink() + reportUid, QStringLiteral("Error in cmdWeb_Click"),
             QStringLiteral("There was an error requesting website information."));
}

void MainWebCommands::Picture1() const
{
    openPage(WebPages::ReportList(Props().ClientWebsite(), Props().ReportListPage()),
             QStringLiteral("Error in Picture1_Click"),
             QStringLiteral("There was an error while trying to open your web browser."));
}
