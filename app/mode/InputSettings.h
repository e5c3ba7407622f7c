#pragma once

// What a helper sets beside the mode: the shortcut that switches between One
// and Normal, and the time within which a press after a release counts as
// bounce. Each is stored per user under HKEY_CURRENT_USER\Software\Vantrel;
// an administrator's value under Software\Policies\Vantrel (the machine's
// before the user's) stands in its place. A value of another type or out of
// range counts as absent, wherever it is stored.

#include <windows.h>

inline constexpr char kToggleHotkeyName[] = "ToggleHotkey";
inline constexpr char kBounceMsName[] = "BounceMs";

struct InputSettings {
    // In the hotkey control's own format (HKM_GETHOTKEY): the virtual key in
    // the low byte, HOTKEYF_ modifiers in the next; 0 for none.
    WORD toggleHotkey = 0;
    // 0 (off) to kMaxBounceMs.
    DWORD bounceMs = 0;
    // Set by a policy: shown, not editable.
    bool toggleHotkeyFixed = false;
    bool bounceMsFixed = false;
};

// A value the hotkey control can give: none, or a key with HOTKEYF_SHIFT,
// _CONTROL, _ALT and _EXT modifiers only.
constexpr bool IsToggleHotkeyValue(DWORD value)
{
    return value == 0 || (value <= 0x0FFF && (value & 0xFF) != 0);
}

// The policy's values where it sets them, the user's otherwise.
InputSettings ReadInputSettings();

// Store the user's own value as REG_DWORD, creating the key when needed.
// False when the value is malformed (nothing written) or the write failed.
bool StoreToggleHotkey(WORD hotkey);
bool StoreBounceMs(DWORD bounceMs);
