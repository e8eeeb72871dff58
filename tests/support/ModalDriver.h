#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

// Plays the user at modal windows: each time a window of a given class becomes the active modal
// window, the next queued action for that class runs on it (from the event loop, so the action
// may itself open further modal windows). A window whose class has no action left is left alone;
// one that is still waiting after 20 s is closed with a warning, so a test fails instead of hanging.
class ModalDriver : public QObject
{
public:
    using Action = std::function<void(QWidget*)>;

    ModalDriver();

    // Queues an action for the next time a window of className comes up.
    void on(const QString& className, Action action) { m_actions[className].append(std::move(action)); }
    // How often a window of className came up with an action waiting.
    int acted(const QString& className) const { return m_acted.value(className); }
    // Actions still queued, all classes together.
    int pending() const;

private:
    void poll();

    QHash<QString, QList<Action>> m_actions;
    QHash<QString, int> m_acted;
    QPointer<QWidget> m_last;
    QElapsedTimer m_since; // how long m_last has been waiting without an action
    QTimer m_timer;
};
