#pragma once

#include <windows.h>

#include "CObject.h"

class TrayIconHandler;

// One icon in the taskbar notification area. It remembers what names and shows
// the icon, adds and removes it through the shell, and hands the icon's mouse
// notifications to the handlers bound to them. It owns the handler array (the
// creator allocates it with new[]) but not the handlers themselves.
class TrayIcon : public CObject {
public:
    // Stores the values and shows nothing. The tooltip pointer is kept, not
    // the text, so the text must outlive the object. icon must be a shared
    // icon (see AddIcon).
    TrayIcon(HWND window, UINT iconId, HICON icon, const char* tooltip, TrayIconHandler** handlers,
        int handlerCount);
    // Removes the icon from the notification area and frees the handler array.
    ~TrayIcon() override;

    void SetIconData(HWND window, UINT iconId, HICON icon, const char* tooltip);
    BOOL AddIcon();
    BOOL RemoveIcon();
    // Whether the shell shows this icon now (a modify that changes nothing).
    BOOL IsShown();

    // Runs, in array order, every handler bound to the mouse message lParam
    // when wParam names this icon.
    void DispatchNotification(WPARAM wParam, LPARAM lParam);

    // The shell lost its icons when the taskbar was created anew: add ours again.
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);

    HWND m_window;
    UINT m_iconId;
    HICON m_icon;
    const char* m_tooltip;
    TrayIconHandler** m_handlers;
    int m_handlerCount;

private:
    // Set while DispatchNotification runs: a handler's nested message loop may
    // delete this object, and the loop must then stop touching it.
    bool* m_pDestroyedDuringDispatch = nullptr;
};
