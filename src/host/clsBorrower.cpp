#include "host/clsBorrower.h"

#include "core/basLog.h"
#include "platform/AppError.h"
#include "platform/MsgBox.h"

#include <QDate>
#include <QRegularExpression>

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}

bool clsBorrower::IsMonthDayYear(const QString& text)
{
    static const QRegularExpression form(
        QStringLiteral("^ *([0-9]{1,2})([/-])([0-9]{1,2})\\2([0-9]{4}) *$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    return QDate::isValid(match.captured(4).toInt(), match.captured(1).toInt(), match.captured(3).toInt());
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
