#include "ui/ordering/OrderCommands.h"

#include "app/basMain.h"
#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/basSettings.h"
#include "core/clsProperties.h"
#include "platform/Desktop.h"
#include "service/clsReportStatus.h"
#include "ui/ordering/BorrowerFieldsCheck.h"
#include "ui/ordering/LoanSession.h"
#include "ui/ordering/frmCheckExisting.h"
#include "ui/ordering/frmMain.h"
#include "ui/ordering/frmPullReport.h"
#include "ui/ordering/frmReissue.h"

OrderCommands::OrderCommands(frmMain& window) : m_window(window), m_session(window.session())
{
}

void OrderCommands::CheckForExisting(std::function<void()> done)
{
    // The hourglass stays up until the check and what it leads to have ended.
    auto hourglass = std::make_shared<HourglassCursor>();
    frmCheckExisting::Run(
        m_window, m_session, [](QWidget* over) { frmReissue::Ask(over); },
        [commands = *this, hourglass, done = std::move(done)]() mutable {
            commands.checked();
            hourglass.reset();
            if (done)
                done();
        });
}

void OrderCommands::checked()
{
    if (m_session.checkResult() == ReportSearchError) {
        const auto status = m_session.reportStatus();
        if (status && status->sErrorText().compare(QLatin1String("Invalid password"), Qt::CaseInsensitive) == 0) {
            Props().setSavePassword(false);
            SaveSettings(Props());
            QueueRestart();
        }
        return;
    }
    afterCheck();
    m_window.SetButtons();
}

bool OrderCommands::validate()
{
    return BorrowerFieldsCheck(m_window, m_session.inquiry()).ValidateBorrowerFields();
}

int OrderCommands::pull(int pullType)
{
    frmPullReport& window = frmPullReport::Load(m_window, m_session, &m_window);
    window.SetProps(pullType);
    const int type = frmPullReport::ShowModal();
    m_window.SetButtons();
    return type;
}

void OrderCommands::cmdRepull_Click()
{
    if (validate())
        m_session.setPullType(pull(m_session.NextOrderKind()));
}

void OrderCommands::cmdAddBureau_Click()
{
    if (validate())
        pull(PullAddBureau);
}

bool OrderCommands::MayLeaveOrder()
{
    if (!m_session.orderInBackground())
        return true;
    const QString question = QStringLiteral("A credit report order is still in progress. It will be found the next "
                                            "time this loan is loaded.\r\n\r\nClose anyway?");
    if (MsgBox(question, vbYesNo | vbQuestion, QStringLiteral("Order In Progress")) != vbYes)
        return false;
    m_session.GiveUpOrder();
    return true;
}

void OrderCommands::afterCheck()
{
    if (m_session.checkResult() == ReportNotFound) {
        m_session.setPullType(PullNew);
        if (validate())
            pull(PullNew);
        return;
    }
    m_session.setPullType(PullRepull);
    if (m_session.checkResult() != ReportFoundOld || !Props().ReissueNumber().isEmpty())
        return;
    const QString question = QStringLiteral("This report was last ran on ") + m_session.dateRequested()
        + QStringLiteral(".\r\nDo you want to use the existing one or repull a new one.\r\n\r\nRepull new report?");
    if (MsgBox(question, vbYesNo | vbQuestion, QStringLiteral("Confirmation")) == vbYes && validate())
        pull(PullRepull);
}
