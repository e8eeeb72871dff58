#pragma once

#include "service/ServiceOutcome.h"

#include <QObject>
#include <QTest>

#include <functional>
#include <optional>

// A server operation that reports through a callback, waited for (tests only): the outcome, or
// a silent one with "no outcome" as its text when none came within the time-out.
inline ServiceOutcome Await(const std::function<void(QObject* context, ServiceReply done)>& start, int ms = 90000)
{
    QObject context;
    std::optional<ServiceOutcome> got;
    start(&context, [&got](const ServiceOutcome& outcome) { got = outcome; });
    if (!QTest::qWaitFor([&got] { return got.has_value(); }, ms)) {
        ServiceOutcome none;
        none.errorText = QStringLiteral("no outcome");
        return none;
    }
    return *got;
}
