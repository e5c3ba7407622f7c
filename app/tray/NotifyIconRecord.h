#pragma once

#include <windows.h>
#include <shellapi.h>

// The records handed to Shell_NotifyIconA. They use the first version of the
// structure: the program needs no balloon and sets no version, so the shell
// reports mouse activity in the old form (wParam = icon id, lParam = message).
inline constexpr DWORD kNotifyIconRecordSize = NOTIFYICONDATAA_V1_SIZE;
static_assert(sizeof(void*) != 4 || kNotifyIconRecordSize == 88, "first-version record of 32-bit Windows");

// The tooltip field of the first version holds 63 characters and a zero.
inline constexpr int kNotifyIconTooltipSize = 64;

// Names the icon (window and identifier) and nothing else: enough to remove it.
NOTIFYICONDATAA MakeNotifyIconKeyRecord(HWND window, UINT iconId);

// Names the icon and gives its callback message, image and tooltip; a null
// tooltip gives an empty one, a longer one is cut to 63 characters.
NOTIFYICONDATAA MakeNotifyIconAddRecord(HWND window, UINT iconId, HICON icon, const char* tooltip);
