#include "service/clsReportStatus.h"

#include "core/MsgBox.h"
#include "platform/AppError.h"
#include "service/basAccountRefresh.h"
#include "service/basActions.h"
#include "service/basAnswer.h"
#include "service/basPrefetch.h"

bool clsReportStatus::LoadSearchAnswer(const QString& vsData)
{
    try {
        readSearchAnswer(vsData);
        Prefetch::ReportFound(m_sReportID);
        return true;
    } catch (const AppError& e) {
        showLoadProblem(e.Description);
        return false;
    }
}

void clsReportStatus::SetOverallStatus(bool answered, const QString& answer)
{
    try {
        m_nStatusReport = answered && !answer.isEmpty() ? Answer::Int16(answer) : 1;
    } catch (const AppError& e) {
        showLoadProblem(e.Description);
    }
}

void clsReportStatus::showLoadProblem(const QString& description)
{
    MsgBox(QStringLiteral("There was a problem loading credit report information.\r\nProblem: ") + description,
           vbCritical, QStringLiteral("Error/Problem"));
}

void clsReportStatus::readSearchAnswer(const QString& vsData)
{
    const QStringList lines = Answer::Lines(vsData);
    m_sReportID = Answer::At(lines, 1);
    const QStringList codes = Answer::At(lines, 2).split(QLatin1Char(' '));
    m_nStatusEXP = Answer::Int16(Answer::At(codes, 0));
    m_nStatusEFX = Answer::Int16(Answer::At(codes, 1));
    m_nStatusTU = Answer::Int16(Answer::At(codes, 2));
    m_nReportType = Answer::Int16(Answer::At(lines, 3));
    m_sFirstName = Answer::At(lines, 4);
    m_sMiddleInit = Answer::At(lines, 5);
    m_sLastName = Answer::At(lines, 6);
}
