#pragma once

#include "TrayIconHandler.h"

// Shows the notification icon's popup menu at the pointer, with the main
// window's button mode checked; the chosen item reaches the main window as
// WM_COMMAND once the menu has closed. A menu closed without a choice, or
// with a mode chosen, gives the foreground back to the window that had it.
class TrayMenuHandler : public TrayIconHandler {
public:
    explicit TrayMenuHandler(UINT mouseMessage);

    void Invoke() override;
};
