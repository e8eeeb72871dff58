#include "AnswerScript.h"

void AnswerScript::add(const QString& action, const Answer& answer, int times)
{
    QList<Answer>& queue = m_queues[action.toUpper()];
    for (int i = 0; i < times; ++i)
        queue.append(answer);
}

std::optional<Answer> AnswerScript::take(const QString& action)
{
    const auto it = m_queues.find(action.toUpper());
    if (it == m_queues.end() || it->isEmpty())
        return std::nullopt;
    return it->takeFirst();
}
