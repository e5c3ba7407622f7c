#include "NotifyIconRecord.h"

#include "RegisteredMessages.h"

NOTIFYICONDATAA MakeNotifyIconKeyRecord(HWND window, UINT iconId)
{
    NOTIFYICONDATAA record{};
    record.cbSize = kNotifyIconRecordSize;
    record.hWnd = window;
    record.uID = iconId;
    return record;
}

NOTIFYICONDATAA MakeNotifyIconAddRecord(HWND window, UINT iconId, HICON icon, const char* tooltip)
{
    NOTIFYICONDATAA record = MakeNotifyIconKeyRecord(window, iconId);
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = NotifyIconMessage;
    record.hIcon = icon;
    if (tooltip != nullptr)
        lstrcpynA(record.szTip, tooltip, kNotifyIconTooltipSize);
    return record;
}
