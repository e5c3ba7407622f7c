#include "ButtonModePolicy.h"

#include "ButtonMode.h"
#include "resource.h"

namespace {

constexpr char kPolicyKey[] = "Software\\Policies\\Vantrel";
constexpr char kButtonModeName[] = "ButtonMode";
constexpr char kAllowExitName[] = "AllowExit";
constexpr char kAllowSettingsName[] = "AllowSettings";
constexpr char kPolicyChangeName[] = "Policy";

// One policy value from one root: REG_DWORD of exactly 4 bytes within
// [lowest, highest], or nothing (-1). A longer value does not fit the buffer
// and fails with ERROR_MORE_DATA, so it is refused like a wrong type.
int ReadPolicyDword(HKEY root, REGSAM view, const char* name, DWORD lowest, DWORD highest)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, kPolicyKey, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return -1;
    DWORD type = REG_NONE;
    DWORD data = 0;
    DWORD size = sizeof data;
    const LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof data || data < lowest || data > highest)
        return -1;
    return static_cast<int>(data);
}

void GreyItem(HMENU menu, UINT command)
{
    EnableMenuItem(menu, command, MF_BYCOMMAND | MF_GRAYED);
}

} // namespace

void ButtonModePolicy::Read()
{
    const int mode = ReadPolicyValue(kButtonModeName, kButtonModeOne, kButtonModeNormal);
    m_forcedMode = mode > 0 ? mode : 0;
    m_allowsExit = ReadPolicyValue(kAllowExitName, 0, 1) != 0;
    m_allowsSettings = ReadPolicyValue(kAllowSettingsName, 0, 1) != 0;
}

bool ButtonModePolicy::IsPolicyChange(LPARAM settingName)
{
    const auto* const name = reinterpret_cast<const char*>(settingName);
    return name != nullptr && lstrcmpiA(name, kPolicyChangeName) == 0;
}

void SetPolicyGreying(HMENU menu, const ButtonModePolicy& policy)
{
    if (policy.ForcedMode() != 0) {
        GreyItem(menu, ID_MODE_ONE);
        GreyItem(menu, ID_MODE_NORMAL);
    }
    if (!policy.AllowsExit())
        GreyItem(menu, ID_TRAY_EXIT);
    if (!policy.AllowsSettings())
        GreyItem(menu, ID_TRAY_SETTINGS);
}

// The machine's value wins over the user's, value by value.
int ReadPolicyValue(const char* name, DWORD lowest, DWORD highest)
{
    // Software\Policies is shared by both registry views on 64-bit Windows;
    // naming the 64-bit view keeps a 32-bit build right should that change.
    const int machine = ReadPolicyDword(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, name, lowest, highest);
    return machine >= 0 ? machine : ReadPolicyDword(HKEY_CURRENT_USER, 0, name, lowest, highest);
}
