#include "ui/ordering/OrderCommands.h"

#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "platform/MsgBox.h"
#include "ui/ordering/BorrowerFieldsCheck.h"
#include "ui/ordering/frmCheckExisting.h"
#include "ui/ordering/frmMain.h"
#include "ui/ordering/frmPullReport.h"

#include <QPushButton>

OrderCommands::OrderCommands(frmMain& window) : m_window(window) {}

bool OrderCommands::validate()
{
    return BorrowerFieldsCheck(m_window).ValidateBorrowerFields();
}

int OrderCommands::pull(int pullType)
{
    frmPullReport& window = frmPullReport::Load(m_window);
    window.SetProps(m_window.reportStatus(), pullType, m_window.inquiry());
    return frmPullReport::ShowModal(m_window);
}

void OrderCommands::cmdRepull_Click()
{
    if (!validate())
        return;
    const bool newPull = m_window.Button(MainButton::cmdRepull).text() == QLatin1String("&Pull Credit");
    m_window.setePullType(pull(newPull ? PullNew : PullRepull));
}

void OrderCommands::cmdAddBureau_Click()
{
    if (validate())
        pull(PullAddBureau);
}

void OrderCommands::AfterCheck(int reportStatus, const QString& dateRequested)
{
    if (reportStatus == ReportNotFound) {
        m_window.setePullType(PullNew);
        if (validate())
            pull(PullNew);
        return;
    }
    m_window.setePullType(PullRepull);
    if (reportStatus != ReportFoundOld || !Props().ReissueNumber().isEmpty())
        return;
    const QString question = QStringLiteral("This report was last ran on ") + dateRequested
        + QStringLiteral(".\r\nDo you want to use the existing one or repull a new one.\r\n\r\nRepull new report?");
    if (MsgBox(question, vbYesNo | vbQuestion, QStringLiteral("Confirmation")) == vbYes && validate())
        pull(PullRepull);
}
