#include "InputSettings.h"

#include "BounceJudge.h"
#include "ButtonModePolicy.h"
#include "RegistryKey.h"

namespace {

constexpr char kSettingsKey[] = "Software\\Vantrel";
constexpr DWORD kHighestHotkeyValue = 0x0FFF;

template <typename IsValid>
bool ReadPolicySetting(const char* name, DWORD highest, IsValid isValid, DWORD* value)
{
    const int policy = ReadPolicyValue(name, 0, highest);
    if (policy < 0 || !isValid(static_cast<DWORD>(policy)))
        return false;
    *value = static_cast<DWORD>(policy);
    return true;
}

template <typename IsValid>
DWORD ReadUserSetting(RegistryKey& key, const char* name, IsValid isValid)
{
    const RegistryValue& value = *key.Value(name);
    return value.m_type == REG_DWORD && isValid(value.m_dword) ? value.m_dword : 0;
}

bool IsBounceMs(DWORD value)
{
    return value <= kMaxBounceMs;
}

bool StoreSetting(const char* name, DWORD value)
{
    RegistryKey key(REGKEY_CREATE);
    if (!key.Open(kSettingsKey, HKEY_CURRENT_USER, KEY_QUERY_VALUE | KEY_SET_VALUE, false))
        return false;
    const RegistryValue& stored = key.Value(name)->SetDword(value);
    return stored.m_writeResult == ERROR_SUCCESS;
}

} // namespace

InputSettings ReadInputSettings()
{
    InputSettings settings;
    DWORD hotkey = 0;
    settings.toggleHotkeyFixed =
        ReadPolicySetting(kToggleHotkeyName, kHighestHotkeyValue, IsToggleHotkeyValue, &hotkey);
    settings.bounceMsFixed = ReadPolicySetting(kBounceMsName, kMaxBounceMs, IsBounceMs, &settings.bounceMs);
    if (!settings.toggleHotkeyFixed || !settings.bounceMsFixed) {
        // Never created here: reading alone leaves no trace in the registry.
        RegistryKey key(0);
        if (key.Open(kSettingsKey, HKEY_CURRENT_USER, KEY_QUERY_VALUE, false)) {
            if (!settings.toggleHotkeyFixed)
                hotkey = ReadUserSetting(key, kToggleHotkeyName, IsToggleHotkeyValue);
            if (!settings.bounceMsFixed)
                settings.bounceMs = ReadUserSetting(key, kBounceMsName, IsBounceMs);
        }
        key.Close();
    }
    settings.toggleHotkey = static_cast<WORD>(hotkey);
    return settings;
}

bool StoreToggleHotkey(WORD hotkey)
{
    return IsToggleHotkeyValue(hotkey) && StoreSetting(kToggleHotkeyName, hotkey);
}

bool StoreBounceMs(DWORD bounceMs)
{
    return IsBounceMs(bounceMs) && StoreSetting(kBounceMsName, bounceMs);
}
