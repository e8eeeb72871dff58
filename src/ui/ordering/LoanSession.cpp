#include "ui/ordering/LoanSession.h"

#include "host/clsInquiry.h"
#include "service/clsReportStatus.h"

LoanSession::LoanSession(QObject* parent) : QObject(parent)
{
}

LoanSession::~LoanSession() = default;

template <class T>
void LoanSession::assign(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    emit changed();
}

QString LoanSession::ExistingReportID() const
{
    return m_checkResult == ReportSearchError ? QStringLiteral("ERROR") : m_reportId;
}

int LoanSession::NextOrderKind() const
{
    if (m_unfinished && m_unfinished->kind == PullNew)
        return PullNew;
    return ExistingReportID().isEmpty() ? PullNew : PullRepull;
}

void LoanSession::StartCheck()
{
    GiveUpOrder();
    m_inquiry.reset();
    m_reportStatus.reset();
    m_checkResult = ReportSearchError;
    m_dateRequested.clear();
    m_reportId.clear();
    m_unfinished.reset();
    emit changed();
}

void LoanSession::setInquiry(std::shared_ptr<clsInquiry> inquiry)
{
    assign(m_inquiry, inquiry);
}
void LoanSession::setReportStatus(std::shared_ptr<clsReportStatus> status)
{
    assign(m_reportStatus, status);
}
void LoanSession::setCheckResult(int result)
{
    assign(m_checkResult, result);
}
void LoanSession::setDateRequested(const QString& date)
{
    assign(m_dateRequested, date);
}
void LoanSession::setReportId(const QString& id)
{
    assign(m_reportId, id);
}
void LoanSession::setPullType(int type)
{
    assign(m_pullType, type);
}
void LoanSession::setReportLocation(const QString& path)
{
    assign(m_reportLocation, path);
}
void LoanSession::setRequestRunning(bool running)
{
    assign(m_requestRunning, running);
}

void LoanSession::OrderMayExist(const UnfinishedOrder& order)
{
    m_unfinished = order;
    emit changed();
}

void LoanSession::OrderPlaced(const UnfinishedOrder& order)
{
    m_unfinished = order;
    m_reportId = order.guid;
    if (m_reportStatus)
        m_reportStatus->setsReportID(order.guid);
    m_reportLocation.clear();
    emit changed();
}

void LoanSession::OrderCompleted()
{
    m_unfinished.reset();
    m_pullType = PullRepull;
    emit changed();
}

void LoanSession::OrderStarted(QObject* order)
{
    m_order = order;
    m_inBackground = false;
    m_orderNote.clear();
    emit changed();
}

void LoanSession::OrderSentToBackground()
{
    m_inBackground = true;
    emit changed();
}

void LoanSession::setOrderNote(const QString& note)
{
    assign(m_orderNote, note);
}

void LoanSession::OrderEnded()
{
    m_order = nullptr;
    m_inBackground = false;
    emit changed();
}

void LoanSession::GiveUpOrder()
{
    if (!m_order)
        return;
    delete m_order.data();
    OrderEnded();
    setOrderNote(QString());
}
