#include "IconRetry.h"

#include "TrayIcon.h"

bool IconRetry::AddedOrShown(TrayIcon* const& icon)
{
    // The add may let Exit free the icon: the pointer is tested again after
    // it. An add also fails for an icon that is already there, so a refusal
    // is checked.
    return icon == nullptr || icon->AddIcon() || icon == nullptr || icon->IsShown();
}

void IconRetry::Show(TrayIcon* const& icon, HWND window)
{
    if (AddedOrShown(icon)) {
        End();
    } else if (m_window == nullptr) {
        m_window = window;
        m_pause.Reset();
        SetTimer(m_window, kTimerId, m_pause.Next(), nullptr);
    }
}

void IconRetry::OnTimer(TrayIcon* const& icon)
{
    if (AddedOrShown(icon))
        End();
    else if (m_window != nullptr)
        SetTimer(m_window, kTimerId, m_pause.Next(), nullptr);
}

void IconRetry::End()
{
    if (m_window == nullptr)
        return;
    KillTimer(m_window, kTimerId);
    m_window = nullptr;
}
