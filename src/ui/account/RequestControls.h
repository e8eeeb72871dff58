#pragma once

#include <QPointer>
#include <QWidget>

#include <initializer_list>
#include <utility>

// The controls of a window that a running server request disables, so that nothing can start a
// second request or change what the running one reads. Disabling the control that has the focus
// moves the focus away; enabling it again gives the focus back, so the user ends where they were
// once the request has ended.
class RequestControls
{
public:
    explicit RequestControls(QWidget* window) : m_window(window) {}

    // Enables or disables each control as paired. A control disabled here while it had the focus
    // gets it back when it is enabled again; when none had it and the window has no focus, the
    // first control that takes the focus gets it (the window's first box, once a request begun
    // before the window was shown has ended).
    void set(std::initializer_list<std::pair<QWidget*, bool>> controls);

private:
    QWidget* m_window;
    QPointer<QWidget> m_focus;
};
