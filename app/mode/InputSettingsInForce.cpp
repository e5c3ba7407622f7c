#include "InputSettingsInForce.h"

#include "BounceJudge.h"

void InputSettingsInForce::Apply(HWND window)
{
    m_window = window;
    m_settings = ReadInputSettings();
    // A policy's shortcut that cannot be had leaves none, never the user's.
    if (!m_toggleHotkey.Register(window, m_settings.toggleHotkey))
        m_toggleHotkey.Unregister();
    ApplyBounceMs();
}

SettingChange InputSettingsInForce::ChangeToggleHotkey(WORD hotkey)
{
    if (m_settings.toggleHotkeyFixed)
        return SettingChange::FixedByPolicy;
    if (!IsToggleHotkeyValue(hotkey))
        return SettingChange::Malformed;
    if (!m_toggleHotkey.Register(m_window, hotkey))
        return SettingChange::UsedByAnotherProgram;
    m_settings.toggleHotkey = hotkey;
    // A failed write is not told: the shortcut works until the program ends,
    // as a mode that could not be stored does.
    StoreToggleHotkey(hotkey);
    return SettingChange::Done;
}

SettingChange InputSettingsInForce::ChangeBounceMs(DWORD bounceMs)
{
    if (m_settings.bounceMsFixed)
        return SettingChange::FixedByPolicy;
    if (bounceMs > kMaxBounceMs)
        return SettingChange::Malformed;
    m_settings.bounceMs = bounceMs;
    StoreBounceMs(bounceMs);
    ApplyBounceMs();
    return SettingChange::Done;
}

void InputSettingsInForce::ApplyBounceMs()
{
    // Bound once and kept: the library holds the time for the hook, in Normal
    // too, so that One finds it in place. A library never told starts at 0,
    // so without a bounce time nothing is loaded for it.
    if (m_setBounceFilter == nullptr && m_settings.bounceMs == 0)
        return;
    if (m_setBounceFilter == nullptr)
        m_setBounceFilter = BindBounceFilter(FilterLibraryPath());
    if (m_setBounceFilter != nullptr)
        m_setBounceFilter(m_settings.bounceMs);
}
