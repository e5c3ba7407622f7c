#include "TrayIcon.h"

#include "NotifyIconRecord.h"
#include "TrayIconHandler.h"

TrayIcon::TrayIcon(HWND window, UINT iconId, HICON icon, const char* tooltip, TrayIconHandler** handlers,
    int handlerCount)
    : m_window(window), m_iconId(iconId), m_icon(icon), m_tooltip(tooltip), m_handlers(handlers),
      m_handlerCount(handlerCount)
{
}

TrayIcon::~TrayIcon()
{
    if (m_pDestroyedDuringDispatch != nullptr)
        *m_pDestroyedDuringDispatch = true;
    RemoveIcon();
    delete[] m_handlers;
}

void TrayIcon::SetIconData(HWND window, UINT iconId, HICON icon, const char* tooltip)
{
    m_window = window;
    m_iconId = iconId;
    m_icon = icon;
    m_tooltip = tooltip;
}

BOOL TrayIcon::AddIcon()
{
    const HICON icon = m_icon;
    NOTIFYICONDATAA record = MakeNotifyIconAddRecord(m_window, m_iconId, icon, m_tooltip);
    // While the shell takes the icon, this thread answers messages sent to
    // it, and one of them may end the program and delete this object: nothing
    // of it is read after the call.
    const BOOL added = Shell_NotifyIconA(NIM_ADD, &record);
    // The icon is a shared one: DestroyIcon leaves it valid, so the same
    // handle can be added again after the taskbar is re-created.
    if (icon != nullptr)
        DestroyIcon(icon);
    return added;
}

BOOL TrayIcon::RemoveIcon()
{
    NOTIFYICONDATAA record = MakeNotifyIconKeyRecord(m_window, m_iconId);
    return Shell_NotifyIconA(NIM_DELETE, &record);
}

BOOL TrayIcon::IsShown()
{
    NOTIFYICONDATAA record = MakeNotifyIconKeyRecord(m_window, m_iconId);
    record.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &record);
}

void TrayIcon::DispatchNotification(WPARAM wParam, LPARAM lParam)
{
    bool destroyed = false;
    bool* const enclosingDispatch = m_pDestroyedDuringDispatch;
    m_pDestroyedDuringDispatch = &destroyed;
    // The count is read afresh at each step and every match runs: two
    // handlers may answer one message.
    for (int i = 0; i < m_handlerCount; ++i) {
        TrayIconHandler* const handler = m_handlers[i];
        if (handler->m_mouseMessage == static_cast<UINT>(lParam) && wParam == m_iconId) {
            handler->Invoke();
            if (destroyed) {
                if (enclosingDispatch != nullptr)
                    *enclosingDispatch = true;
                return;
            }
        }
    }
    m_pDestroyedDuringDispatch = enclosingDispatch;
}

LRESULT TrayIcon::OnTaskbarCreated(WPARAM, LPARAM)
{
    AddIcon();
    return 0;
}
