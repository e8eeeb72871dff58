#pragma once

#include "platform/MessageBoxes.h"
#include "platform/Seam.h"

#include <QList>
#include <QString>

// Message boxes for tests: records every box and answers from a queue. A box that finds the
// queue empty is unexpected: it is recorded, answered with OK and fails the test when the
// object is checked (or destroyed with unchecked surprises).
class ScriptedMsgBox : public MessageBoxes
{
public:
    struct Box {
        QString text;
        int style = 0;
        QString title;
        int icon() const { return style & 0x70; }
        // "title|style|text" with the style in words: the icon (Critical, Question, Warning,
        // Information; Plain without one), then the buttons unless OK alone ("Warning YesNo").
        QString shown() const;
    };

    ScriptedMsgBox() { Seam<MessageBoxes>::set(this); } // installs itself
    ~ScriptedMsgBox() override;

    // Queue the answer for the next expected box (vbOK, vbYes, ...).
    void expect(int answer = vbOK) { m_answers << answer; }

    int show(const QString& text, int style, const QString& title) override;

    QList<Box> boxes;
    int unexpected = 0;
    int pendingAnswers() const { return int(m_answers.size()); }

private:
    QList<int> m_answers;
};
