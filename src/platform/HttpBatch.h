#pragma once

#include "platform/HttpRequest.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// Several POST requests sent together on the shared network manager (no threads): each is
// started at once and runs beside the others, up to the manager's connections per server.
// Each keeps the limits and failures of a single HttpRequest; take() hands one over, waiting
// for it when needed, and waitAll() waits for every one still running. Requests are known by
// their address; a request not taken is given up (aborted if still running) by clear() and
// by the destructor.
class HttpBatch
{
public:
    HttpBatch() = default;
    ~HttpBatch();
    HttpBatch(const HttpBatch&) = delete;
    HttpBatch& operator=(const HttpBatch&) = delete;

    // Starts a POST of address unless one for it is held already; false then, or when the
    // address is not a web address (nothing is sent). answered, when given, is called with the
    // finished request once its answer is complete (from the event loop; finish() on it
    // raises its failure).
    bool add(const QString& address, std::function<void(HttpRequest&)> answered = {});

    bool holds(const QString& address) const { return m_requests.contains(address); }
    // The addresses held, in the order they were added.
    QStringList addresses() const { return m_order; }

    // The request for address, finished (finish() has been called: responseText() holds the
    // answer, or finish() raises its failure again); nullptr when none is held. It is no
    // longer held afterwards.
    std::shared_ptr<HttpRequest> take(const QString& address);

    // Waits until every request held has its answer or its failure.
    void waitAll();

    // Gives up every request held.
    void clear();

private:
    QHash<QString, std::shared_ptr<HttpRequest>> m_requests;
    QStringList m_order;
};
