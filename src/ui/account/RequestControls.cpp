#include "ui/account/RequestControls.h"

void RequestControls::set(std::initializer_list<std::pair<QWidget*, bool>> controls)
{
    QWidget* focused = m_window->focusWidget();
    for (const auto& [control, enabled] : controls) {
        if (!enabled && control == focused && control->isEnabled())
            m_focus = control;
        control->setEnabled(enabled);
    }
    if (m_focus && m_focus->isEnabled()) {
        m_focus->setFocus();
        m_focus = nullptr;
        return;
    }
    if (m_window->focusWidget())
        return;
    for (const auto& [control, enabled] : controls) {
        if (enabled && control->focusPolicy() != Qt::NoFocus) {
            control->setFocus();
            return;
        }
    }
}
