#include "TrayMenuHandler.h"

#include "Afx.h"
#include "MainDialog.h"
#include "ModeMenuChecks.h"
#include "resource.h"

TrayMenuHandler::TrayMenuHandler(UINT mouseMessage) : TrayIconHandler(mouseMessage) {}

void TrayMenuHandler::Invoke()
{
    // Loaded and checked anew each time; the menu object destroys it.
    CMenu menu;
    menu.LoadMenu(IDR_TRAY_MENU);
    POINT cursor{};
    GetCursorPos(&cursor);

    CWnd* const mainWindow = AfxGetMainWnd();
    // A main window of another kind has no mode: neither item is checked.
    const auto* const mainDialog = dynamic_cast<const MainDialog*>(mainWindow);
    const int buttonMode = mainDialog != nullptr ? mainDialog->GetButtonMode() : 0;
    const HMENU popup = menu.GetSubMenu(0);
    SetModeCheckMarks(popup, buttonMode);

    // The owner must be the foreground window, or the menu does not close
    // when the user clicks elsewhere.
    SetForegroundWindow(mainWindow != nullptr ? mainWindow->m_hWnd : nullptr);
    CMenu::TrackPopupMenu(popup, TPM_RIGHTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, mainWindow);
}
