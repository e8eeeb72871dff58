#pragma once

#include "Answer.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// Answers queued by a test for the next requests of an action. While an action has queued answers
// they are served in order instead of the vendor's own answer, and the action does not run.
class AnswerScript
{
public:
    void add(const QString& action, const Answer& answer, int times);
    std::optional<Answer> take(const QString& action);
    void clear() { m_queues.clear(); }

private:
    QHash<QString, QList<Answer>> m_queues; // keyed by upper-case action name
};
