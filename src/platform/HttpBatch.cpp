#include "platform/HttpBatch.h"

#include "platform/AppError.h"
#include "platform/HttpExchange.h"

HttpBatch::HttpBatch() = default;

HttpBatch::~HttpBatch()
{
    clear();
}

bool HttpBatch::add(const QString& address, std::function<void(const HttpResult&)> answered)
{
    if (holds(address))
        return false;
    std::unique_ptr<HttpExchange> exchange;
    try {
        exchange = HttpExchange::Start(QStringLiteral("POST"), address, HttpPolicy(), false);
    } catch (const AppError&) {
        return false;
    }
    if (answered) {
        HttpExchange* raw = exchange.get();
        // Queued, after whoever waits on it; not for an exchange taken or given up meanwhile.
        QObject::connect(
            raw, &HttpExchange::finished, raw,
            [this, raw, address, answered = std::move(answered)] {
                if (holdsExactly(address, raw))
                    answered(raw->result());
            },
            Qt::QueuedConnection);
    }
    m_exchanges.emplace(address, std::move(exchange));
    m_order << address;
    return true;
}

bool HttpBatch::holdsExactly(const QString& address, const HttpExchange* exchange) const
{
    const auto found = m_exchanges.find(address);
    return found != m_exchanges.end() && found->second.get() == exchange;
}

std::unique_ptr<HttpExchange> HttpBatch::release(const QString& address)
{
    const auto found = m_exchanges.find(address);
    if (found == m_exchanges.end())
        return nullptr;
    std::unique_ptr<HttpExchange> exchange = std::move(found->second);
    m_exchanges.erase(found);
    m_order.removeOne(address);
    return exchange;
}

void HttpBatch::clear()
{
    m_exchanges.clear();
    m_order.clear();
}
