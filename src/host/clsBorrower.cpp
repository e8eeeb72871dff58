#include "host/clsBorrower.h"

#include "core/MsgBox.h"
#include "core/basLog.h"
#include "host/basDates.h"
#include "platform/AppError.h"

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}

bool clsBorrower::IsMonthDayYear(const QString& text)
{
    return ParseDate(text).isValid();
}

void clsBorrower::ValidDate()
{
    if (m_DOB.isEmpty())
        return;
    try {
        if (!IsMonthDayYear(m_DOB))
            throw AppError(ErrNo::Silent, QStringLiteral("Not a date"), QStringLiteral("ValidDate"));
    } catch (const AppError& error) {
        const QString text = QStringLiteral("Error determining birth date: ") + m_DOB + kCrLf + kCrLf
            + QStringLiteral("Incorrect format, please use Month / Day / Year format. No birth date will be used.");
        MsgBox(text, vbExclamation, QStringLiteral("Date Error"));
        try {
            WriteClientLog(text + kCrLf + error.Description);
        } catch (const AppError&) {
            // The user has been told; a run log that cannot be written does not stop the load.
        }
        m_DOB.clear();
    }
}

std::shared_ptr<clsAddress> clsBorrower::PreviousAddress() const
{
    if (!m_PreviousAddress)
        m_PreviousAddress = std::make_shared<clsAddress>();
    return m_PreviousAddress;
}

std::shared_ptr<clsAddress> clsBorrower::CurrentAddress() const
{
    if (!m_CurrentAddress)
        m_CurrentAddress = std::make_shared<clsAddress>();
    return m_CurrentAddress;
}
