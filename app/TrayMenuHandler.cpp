#include "TrayMenuHandler.h"

#include "Afx.h"
#include "MainDialog.h"
#include "ModeMenuChecks.h"
#include "resource.h"

namespace {

bool ChoiceIsPending(HWND owner)
{
    // The menu posts the chosen item before TrackPopupMenu returns.
    MSG message;
    return PeekMessageA(&message, owner, WM_COMMAND, WM_COMMAND, PM_NOREMOVE) != FALSE;
}

void GiveForegroundBack(HWND owner, HWND previousForeground)
{
    // A menu closed without a choice leaves the hidden owner in front, where
    // it would swallow the user's typing: the window that was in front before
    // gets the keyboard back. After a choice the owner keeps it, so that the
    // exit question or the About dialog can come to the front.
    if (previousForeground != nullptr && previousForeground != owner && IsWindow(previousForeground)
        && GetForegroundWindow() == owner)
        SetForegroundWindow(previousForeground);
}

} // namespace

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

    const HWND owner = mainWindow != nullptr ? mainWindow->m_hWnd : nullptr;
    const HWND previousForeground = GetForegroundWindow();
    // The owner must be the foreground window, or the menu does not close
    // when the user clicks elsewhere.
    SetForegroundWindow(owner);
    CMenu::TrackPopupMenu(popup, TPM_RIGHTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, mainWindow);
    if (owner != nullptr && !ChoiceIsPending(owner))
        GiveForegroundBack(owner, previousForeground);
}
