#include "platform/HttpBatch.h"

#include "platform/AppError.h"

HttpBatch::~HttpBatch()
{
    clear();
}

bool HttpBatch::add(const QString& address, std::function<void(HttpRequest&)> answered)
{
    if (m_requests.contains(address))
        return false;
    auto request = std::make_shared<HttpRequest>();
    request->open(QStringLiteral("POST"), address);
    std::function<void()> done;
    if (answered) {
        // A weak reference: the callback must not keep a request alive that was given up.
        std::weak_ptr<HttpRequest> weak = request;
        done = [weak, answered = std::move(answered)] {
            if (const auto alive = weak.lock())
                answered(*alive);
        };
    }
    try {
        request->begin(std::move(done));
    } catch (const AppError&) {
        return false;
    }
    m_requests.insert(address, request);
    m_order << address;
    return true;
}

std::shared_ptr<HttpRequest> HttpBatch::take(const QString& address)
{
    const auto request = m_requests.take(address);
    if (!request)
        return nullptr;
    m_order.removeOne(address);
    try {
        request->finish();
    } catch (const AppError&) {
        // Kept in the request: its finish() raises it again for the caller.
    }
    return request;
}

void HttpBatch::waitAll()
{
    // By index: an answered callback may add requests while this waits.
    for (int i = 0; i < m_order.size(); ++i) {
        const auto request = m_requests.value(m_order.at(i));
        if (!request || request->isAnswered())
            continue;
        try {
            request->finish();
        } catch (const AppError&) {
            // Kept for take().
        }
    }
}

void HttpBatch::clear()
{
    m_requests.clear();
    m_order.clear();
}
