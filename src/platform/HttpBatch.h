#pragma once

#include "platform/HttpPolicy.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <unordered_map>

class HttpExchange;
struct HttpResult;

// Several POST exchanges sent together on the shared network manager (no threads): each is
// started at once and runs beside the others, up to the manager's connections per server,
// with its own limits and failures. take() hands one over as a request, waiting for it when
// needed, and waitAll() waits for every one still running. Exchanges are known by their
// address; one not taken is given up (aborted if still running) by clear() and by the
// destructor.
class HttpBatch
{
public:
    HttpBatch();
    ~HttpBatch();
    HttpBatch(const HttpBatch&) = delete;
    HttpBatch& operator=(const HttpBatch&) = delete;

    // Starts a POST of address unless one for it is held already; false then, or when the
    // address is not a web address (nothing is sent). answered, when given, is called with
    // the exchange's result once it finished (from the event loop), while it is still held.
    bool add(const QString& address, std::function<void(const HttpResult&)> answered = {});

    bool holds(const QString& address) const { return m_exchanges.count(address) != 0; }
    // The addresses held, in the order they were added.
    QStringList addresses() const { return m_order; }

    // The exchange for address, finished or not, handed over; nullptr when none is held. It is
    // no longer held afterwards.
    std::unique_ptr<HttpExchange> release(const QString& address);

    // Gives up every exchange held.
    void clear();

private:
    bool holdsExactly(const QString& address, const HttpExchange* exchange) const;

    std::unordered_map<QString, std::unique_ptr<HttpExchange>> m_exchanges;
    QStringList m_order;
};
