#include "ToggleHotkey.h"

bool ToggleHotkey::Register(HWND window, WORD hotkey)
{
    // The same keys again, if only in another spelling (HOTKEYF_EXT): asking
    // once more would be refused, since this window holds them already.
    if (window == m_window && HotkeyVirtualKey(hotkey) == HotkeyVirtualKey(m_hotkey) &&
        HotkeyModifiers(hotkey) == HotkeyModifiers(m_hotkey)) {
        m_hotkey = hotkey;
        return true;
    }
    if (hotkey == 0) {
        Unregister();
        m_window = window;
        return true;
    }
    const int newId = m_id == kFirstId ? kSecondId : kFirstId;
    if (!RegisterHotKey(window, newId, HotkeyModifiers(hotkey), HotkeyVirtualKey(hotkey)))
        return false;
    Unregister();
    m_window = window;
    m_id = newId;
    m_hotkey = hotkey;
    return true;
}

void ToggleHotkey::Unregister()
{
    // A window already destroyed took its shortcut with it; the call then
    // fails harmlessly.
    if (m_hotkey != 0)
        UnregisterHotKey(m_window, m_id);
    m_hotkey = 0;
}
