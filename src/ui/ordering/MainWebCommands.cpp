#include "ui/ordering/MainWebCommands.h"

#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/basShell.h"
#include "core/clsProperties.h"
#include "platform/Desktop.h"
#include "platform/Shell.h"
#include "platform/WebAddress.h"
#include "ui/ordering/ILoanScreen.h"
#include "ui/ordering/WebPages.h"

#include <QLineEdit>

namespace {

// Opens a web page with the shell: base (the server's address or the vendor's site, with the
// link the server sent) followed by values. An address that leaves base's scheme, host and port,
// or is no web address at all, is shown in a critical box with the caller's title and message
// and not opened: it may carry the borrowers' SSNs. The box names base and the link only.
void openPage(const QString& server, const QString& base, const QString& address, const QString& title,
              const QString& message)
{
    if (!StaysOnServer(server, address)) {
        const QString why = server.isEmpty()
            ? QStringLiteral("No server address is set, so this page cannot be opened: ")
            : QStringLiteral("The page address does not stay on the server ") + server + QStringLiteral(": ");
        MsgBox(message + QStringLiteral("\r\n\r\n") + why + base, vbCritical, title);
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
        openPage(props.BaseUrl(), base, address, QStringLiteral("Error in cmdRMCR_Click"),
                 QStringLiteral("There was an error requesting RMCR information."));
    else
        openPage(props.BaseUrl(), base, address, QStringLiteral("Error in cmdRequestSupp_Click"),
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
    const QString base = Props().BaseUrl() + Props().SummaryPageLink();
    openPage(Props().BaseUrl(), base, WebPages::SummaryPage(base, reportUid), QStringLiteral("Error in cmdWeb_Click"),
             QStringLiteral("There was an error requesting website information."));
}

void MainWebCommands::Picture1() const
{
    // The list page stays on the vendor's site (the server address the user set, at start-up).
    const QString site = WithHttpsScheme(Props().ClientWebsite());
    const QString address = WebPages::ReportList(Props().ClientWebsite(), Props().ReportListPage());
    openPage(site, address, address, QStringLiteral("Error in Picture1_Click"),
             QStringLiteral("There was an error while trying to open your web browser."));
}
