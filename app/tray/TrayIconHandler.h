#pragma once

#include <windows.h>

#include "CObject.h"

// An action bound to one mouse message on the notification icon, as the shell
// reports it in the callback's lParam (WM_LBUTTONDOWN, WM_RBUTTONDOWN, ...).
class TrayIconHandler : public CObject {
public:
    explicit TrayIconHandler(UINT mouseMessage);
    ~TrayIconHandler() override;

    virtual void Invoke();

    UINT m_mouseMessage;
};
