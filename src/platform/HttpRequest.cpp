#include "platform/HttpRequest.h"

#include "platform/HttpAnswer.h"
#include "platform/HttpErrors.h"
#include "platform/HttpExchange.h"

#include <QEventLoop>
#include <QScopeGuard>

namespace {

// True while a request waits for its answer.
bool& waiting()
{
    static bool flag = false;
    return flag;
}

} // namespace

void WaitFor(HttpExchange& exchange)
{
    if (exchange.isFinished())
        return;
    if (waiting())
        throw HttpErrors::Busy();
    waiting() = true;
    const auto done = qScopeGuard([] { waiting() = false; });
    QEventLoop loop;
    QObject::connect(&exchange, &HttpExchange::finished, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!exchange.isFinished())
        throw HttpErrors::Abandoned(exchange.address());
}

HttpRequest::HttpRequest() = default;

HttpRequest::HttpRequest(std::unique_ptr<HttpExchange> begun)
    : m_address(begun ? begun->address() : QString()), m_exchange(std::move(begun))
{
}

HttpRequest::~HttpRequest() = default;

void HttpRequest::open(const QString& method, const QString& address, bool)
{
    m_exchange.reset();
    m_failure.reset();
    m_method = method;
    m_address = address;
    m_body.clear();
    m_contentType.clear();
    m_status = 0;
}

void HttpRequest::send()
{
    if (waiting())
        throw HttpErrors::Busy();
    start(true);
    finish();
}

void HttpRequest::begin(std::function<void()> answered)
{
    start(false);
    if (answered)
        // Queued: the callback runs from the event loop after whoever waits on this request.
        QObject::connect(m_exchange.get(), &HttpExchange::finished, m_exchange.get(), std::move(answered),
                         Qt::QueuedConnection);
}

void HttpRequest::start(bool urgent)
{
    m_failure.reset();
    m_policy.timeoutMs = HttpTimeoutMs();
    m_exchange = HttpExchange::Start(m_method, m_address, m_policy, urgent);
}

bool HttpRequest::isAnswered() const
{
    return !m_exchange || m_exchange->isFinished();
}

void HttpRequest::finish()
{
    try {
        if (m_exchange) {
            m_exchange->hurry();
            WaitFor(*m_exchange);
            const HttpResult& result = m_exchange->result();
            m_status = result.status;
            m_contentType = result.contentType;
            m_body = result.body;
            if (result.failure)
                throw *result.failure;
        }
    } catch (const AppError& e) {
        m_failure = e;
    }
    m_exchange.reset();
    if (m_failure)
        throw *m_failure;
}

QString HttpRequest::responseText() const
{
    return DecodeAnswer(m_body, m_contentType);
}
