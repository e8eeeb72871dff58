#include "ModalDriver.h"

#include <QApplication>

ModalDriver::ModalDriver()
{
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &ModalDriver::poll);
    m_timer.start();
}

int ModalDriver::pending() const
{
    int n = 0;
    for (const auto& queue : m_actions)
        n += int(queue.size());
    return n;
}

void ModalDriver::poll()
{
    QWidget* window = QApplication::activeModalWidget();
    if (!window || !window->isVisible()) {
        m_last = nullptr;
        return;
    }
    if (window == m_last) {
        if (m_since.elapsed() > 20000) {
            qWarning("ModalDriver: closing %s, left waiting without an action", window->metaObject()->className());
            m_since.start();
            window->close();
        }
        return;
    }
    m_last = window;
    m_since.start();
    const QString className = QString::fromLatin1(window->metaObject()->className());
    auto queue = m_actions.find(className);
    if (queue == m_actions.end() || queue->isEmpty())
        return;
    Action action = queue->takeFirst();
    ++m_acted[className];
    // Outside this slot: the action may run nested event loops of its own.
    QTimer::singleShot(0, window, [window, action] { action(window); });
}
