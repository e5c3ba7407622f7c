#pragma once

#include <windows.h>

// What an administrator fixed through Group Policy: the values "ButtonMode"
// (REG_DWORD 1 One, 2 Normal), "AllowExit" (REG_DWORD 0 greys Exit) and
// "AllowSettings" (REG_DWORD 0 greys Settings...) under
// Software\Policies\Vantrel, the machine's key before the user's. A value of
// another type, size or range counts as absent. Read at start and again on
// each policy change; no key means no policy.
class ButtonModePolicy {
public:
    void Read();

    // The mode the policy forces, or 0 when the user chooses.
    int ForcedMode() const { return m_forcedMode; }
    bool AllowsExit() const { return m_allowsExit; }
    bool AllowsSettings() const { return m_allowsSettings; }

    // WM_SETTINGCHANGE's lParam when Windows has applied new policy.
    static bool IsPolicyChange(LPARAM settingName);

private:
    int m_forcedMode = 0;
    bool m_allowsExit = true;
    bool m_allowsSettings = true;
};

// Greys both mode items when the mode is forced, and Exit and Settings...
// when they are not allowed; the check marks are set before this, and kept.
void SetPolicyGreying(HMENU menu, const ButtonModePolicy& policy);

// Any policy value under Software\Policies\Vantrel, read as those above are
// (REG_DWORD of 4 bytes within [lowest, highest], the machine's before the
// user's); -1 when absent or malformed.
int ReadPolicyValue(const char* name, DWORD lowest, DWORD highest);
