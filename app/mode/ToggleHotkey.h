#pragma once

// The shortcut that switches between One and Normal, registered for the main
// window: Windows posts WM_HOTKEY when it is pressed anywhere, so it costs
// neither a hook nor a wake-up.

#include <windows.h>

#include <commctrl.h>

// RegisterHotKey's modifiers for a value in the hotkey control's format.
// HOTKEYF_EXT has no counterpart: it marks the extended twin of a key (the
// arrow keys beside the keypad), which RegisterHotKey does not tell apart
// from the keypad's own. MOD_NOREPEAT: a key held down switches once.
constexpr UINT HotkeyModifiers(WORD hotkey)
{
    const UINT controlFlags = HIBYTE(hotkey);
    UINT modifiers = MOD_NOREPEAT;
    if ((controlFlags & HOTKEYF_SHIFT) != 0)
        modifiers |= MOD_SHIFT;
    if ((controlFlags & HOTKEYF_CONTROL) != 0)
        modifiers |= MOD_CONTROL;
    if ((controlFlags & HOTKEYF_ALT) != 0)
        modifiers |= MOD_ALT;
    return modifiers;
}

constexpr UINT HotkeyVirtualKey(WORD hotkey)
{
    return LOBYTE(hotkey);
}

class ToggleHotkey {
public:
    ToggleHotkey() = default;
    ~ToggleHotkey() { Unregister(); }
    ToggleHotkey(const ToggleHotkey&) = delete;
    ToggleHotkey& operator=(const ToggleHotkey&) = delete;

    // Puts hotkey (0: none) in place of the one held, for window. False when
    // the system refuses it, mostly because another program holds that
    // combination: the one held then stays.
    bool Register(HWND window, WORD hotkey);
    // None from now on.
    void Unregister();

    // WM_HOTKEY's wParam names this shortcut.
    bool IsOwnId(WPARAM hotkeyId) const { return m_hotkey != 0 && hotkeyId == static_cast<WPARAM>(m_id); }
    // The one held, 0 for none.
    WORD Registered() const { return m_hotkey; }

private:
    // Two identifiers in turn, so that a new shortcut holds before the old
    // one is given up: no moment in which another program could take it.
    static constexpr int kFirstId = 1;
    static constexpr int kSecondId = 2;

    HWND m_window = nullptr;
    int m_id = kFirstId;
    WORD m_hotkey = 0;
};
