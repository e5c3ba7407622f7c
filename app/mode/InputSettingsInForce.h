#pragma once

// The shortcut and the bounce time as they are in force for the main window,
// and the way to change them: the Settings dialog shows Settings() and calls
// the two Change operations on OK, the shortcut's first, so that a refused
// shortcut keeps the dialog open with nothing else committed yet.
// Everything runs on the GUI thread.

#include "FilterLibrary.h"
#include "InputSettings.h"
#include "ToggleHotkey.h"

#include <windows.h>

enum class SettingChange {
    Done,                  // in force and stored
    UsedByAnotherProgram,  // the shortcut is held elsewhere; the previous one stays, nothing stored
    FixedByPolicy,         // an administrator's value stands; nothing changed
    Malformed,             // not a value of the setting; nothing changed
};

class InputSettingsInForce {
public:
    // Reads the stored values and the policy and puts them in force for
    // window: the shortcut is registered (without a word, and then none, when
    // the system refuses it) and the filter library is given the bounce time.
    // At start and on every policy change.
    void Apply(HWND window);

    const InputSettings& Settings() const { return m_settings; }
    // False when the shortcut in force could not be registered: the dialog
    // shows it as not available.
    bool ToggleHotkeyAvailable() const { return m_toggleHotkey.Registered() == m_settings.toggleHotkey; }
    // WM_HOTKEY's wParam is the shortcut's.
    bool IsToggleHotkey(WPARAM hotkeyId) const { return m_toggleHotkey.IsOwnId(hotkeyId); }

    // A new shortcut (hotkey control format, 0 for none). On
    // UsedByAnotherProgram the dialog says "This shortcut is already used by
    // another program." and stays open.
    SettingChange ChangeToggleHotkey(WORD hotkey);
    // A new bounce time, 0 to 500 ms.
    SettingChange ChangeBounceMs(DWORD bounceMs);

private:
    void ApplyBounceMs();

    HWND m_window = nullptr;
    InputSettings m_settings;
    ToggleHotkey m_toggleHotkey;
    SetBounceFilterFunction m_setBounceFilter = nullptr;
};
