#include "TrayMenuHandler.h"

#include "Afx.h"
#include "MainDialog.h"
#include "ModeMenuChecks.h"
#include "resource.h"

namespace {

// The command the menu chose, or 0 when it closed without a choice. The menu
// posts the chosen item before TrackPopupMenu returns.
UINT PendingChoice(HWND owner)
{
    MSG message;
    if (!PeekMessageA(&message, owner, WM_COMMAND, WM_COMMAND, PM_NOREMOVE))
        return 0;
    return LOWORD(message.wParam);
}

// Exit asks its question and About shows its dialog: they need the front.
// A mode shows nothing, so after it the user goes on typing where they were.
bool ChoiceShowsAWindow(UINT command)
{
    return command == ID_TRAY_EXIT || command == ID_TRAY_ABOUT;
}

void GiveForegroundBack(HWND owner, HWND previousForeground)
{
    // A menu closed without a choice, or with a mode, leaves the hidden owner
    // in front, where it would swallow the user's typing: the window that was
    // in front before gets the keyboard back.
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
    if (mainDialog != nullptr)
        SetPolicyGreying(popup, mainDialog->GetPolicy());

    const HWND owner = mainWindow != nullptr ? mainWindow->m_hWnd : nullptr;
    const HWND previousForeground = GetForegroundWindow();
    // The owner must be the foreground window, or the menu does not close
    // when the user clicks elsewhere.
    SetForegroundWindow(owner);
    CMenu::TrackPopupMenu(popup, TPM_RIGHTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, mainWindow);
    if (owner != nullptr && !ChoiceShowsAWindow(PendingChoice(owner)))
        GiveForegroundBack(owner, previousForeground);
}
