#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <functional>

// Acts on the first modal window of type W once it is the active modal window, even when
// event loops of server requests run before it appears. cleanup runs afterwards on every path
// (also when the window never came), so the caller's exec() returns.
template <class W>
void whenModal(std::function<void(W&)> act, std::function<void()> cleanup, int timeoutMs = 15000)
{
    auto* timer = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, act, cleanup, timeoutMs] {
        auto* window = qobject_cast<W*>(QApplication::activeModalWidget());
        const bool timedOut = clock->elapsed() > timeoutMs;
        if (!window && !timedOut)
            return;
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (window)
            act(*window);
        else
            QTest::qFail("The expected modal window did not appear", __FILE__, __LINE__);
        if (cleanup)
            cleanup();
    });
    timer->start();
}
