#pragma once

#include <QString>

// What an order tells the window it runs in: its progress lines and how it ended. The pull window
// implements it; the order knows nothing else of the window.
class IOrderProgress
{
public:
    virtual ~IOrderProgress() = default;
    // The progress list comes into view (the window grows to show it).
    virtual void ShowProgressList() = 0;
    // One line at the bottom of the list; repaintNow paints it at once rather than with the next
    // repaint.
    virtual void AddProgress(const QString& line, bool repaintNow = true) = 0;
    // The order's GUID is known: it exists at the vendor whatever happens next.
    virtual void OrderKnown(const QString& guid) = 0;
    // The user closed the status wait: the list goes away again.
    virtual void OrderAborted() = 0;
    // Every bureau has answered; the next order on this report is a repull.
    virtual void OrderFinished() = 0;
    // The user sent the wait for the bureaus to the background: the window closes, and the order
    // tells it nothing more (its end included).
    virtual void OrderInBackground() = 0;
};
