#include "service/OrderWatch.h"

#include "core/AppContext.h"
#include "core/MsgBox.h"
#include "core/basLog.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "service/basAnswer.h"
#include "service/basOrder.h"
#include "service/basReportPdf.h"

#include <algorithm>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Timer intervals keep to the classic 1 to 65535 ms.
int pollInterval()
{
    return std::clamp(int(Props().PollingSleepTime()), 1, 65535);
}

// A poll that got no answer must not leave the previous answer behind as if it were the last.
QString failedPoll(const QString& description)
{
    return QStringLiteral("FAILED\n") + description;
}

void statusProblem(const QString& description)
{
    MsgBox(QStringLiteral("There was an error checking for status.") + kCrLf + QStringLiteral("Error: ") + description,
           vbCritical, QStringLiteral("Error"));
    WriteErrorLog(description + QStringLiteral(" in frmStatus.CheckForStatus"));
}

} // namespace

OrderWatch::OrderWatch(Mode mode, QString block, QObject* parent)
    : QObject(parent), m_mode(mode), m_block(std::move(block))
{
    m_next.setSingleShot(true);
    connect(&m_next, &QTimer::timeout, this, &OrderWatch::poll);
}

void OrderWatch::start()
{
    m_running = true;
    poll();
}

void OrderWatch::abort()
{
    if (!m_running)
        return;
    m_aborted = true;
    finish();
}

QStringList OrderWatch::BureausInProgress(const QString& statusAnswer)
{
    const QStringList lines = Answer::Lines(statusAnswer);
    QStringList running;
    const std::pair<int, const char*> bureaus[] = {{2, "Equifax"}, {1, "Experian"}, {3, "Trans Union"}};
    for (const auto& [line, name] : bureaus)
        if (Answer::At(lines, line).trimmed() == QLatin1String("1"))
            running << QString::fromLatin1(name);
    return running;
}

void OrderWatch::poll()
{
    m_request = new QObject(this);
    emit pollStarted();
    const auto reply = [this](const ServiceOutcome& outcome) { answered(outcome); };
    if (m_mode == Mode::Status)
        PollStatus(m_block, m_request, reply);
    else
        PollPDF(m_block, m_request, reply);
}

void OrderWatch::answered(const ServiceOutcome& outcome)
{
    delete m_request;
    const bool goesOn = m_mode == Mode::Status ? statusGoesOn(outcome) : pdfGoesOn(outcome);
    if (!goesOn) {
        finish();
        return;
    }
    m_next.start(pollInterval());
    emit polled();
}

bool OrderWatch::statusGoesOn(const ServiceOutcome& outcome)
{
    if (outcome.kind == ServiceOutcome::Kind::Silent) {
        m_last = outcome.errorText; // the conversion has reported itself
        return false;
    }
    if (!outcome.ok()) {
        statusProblem(outcome.description);
        m_last = failedPoll(outcome.description);
        return false;
    }
    m_last = outcome.answer;
    const QStringList lines = Answer::Lines(m_last);
    if (lines.first().toUpper() != QLatin1String("SUCCESS")) {
        statusProblem(QStringLiteral("Didn't receive SUCCESS on status check. Return: ") + lines.first());
        return false;
    }
    return lines.mid(1).contains(QStringLiteral("1"));
}

bool OrderWatch::pdfGoesOn(const ServiceOutcome& outcome)
{
    if (outcome.kind == ServiceOutcome::Kind::Silent) {
        m_last = outcome.errorText;
        return false;
    }
    if (!outcome.ok()) {
        MsgBox(QStringLiteral("Error: ") + QString::number(outcome.number) + QStringLiteral(" - ")
                   + outcome.description,
               vbCritical | vbOKCancel, QStringLiteral("Error in CheckForPDF"));
        WriteErrorLog(outcome.description + QStringLiteral(" in frmStatus.CheckForPDF"));
        m_last = failedPoll(outcome.description);
        return false;
    }
    m_last = outcome.answer;
    if (m_last.startsWith(QLatin1Char('<'))) {
        m_last = QStringLiteral("FAILED");
        return false;
    }
    return m_last.startsWith(QLatin1String("PENDING"));
}

void OrderWatch::finish()
{
    m_next.stop();
    delete m_request;
    m_running = false;
    // From the event loop: an abort from a window's close box returns before anyone hears it.
    QTimer::singleShot(0, this, &OrderWatch::ended);
}
