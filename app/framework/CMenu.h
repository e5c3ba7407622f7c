#pragma once

#include "CObject.h"

#include <windows.h>

class CWnd;

// Owns one menu loaded from the program's resources: the destructor destroys
// it with its sub-menus, also when an exception leaves the scope. Menus it
// did not load are never destroyed by it.
class CMenu : public CObject {
public:
    CMenu() = default;
    ~CMenu() override;

    // Loads the menu resource; a menu loaded before is destroyed first.
    BOOL LoadMenu(UINT resourceId);
    // Destroys the loaded menu now; FALSE when there is none.
    BOOL DestroyMenu();

    HMENU GetSafeHmenu() const;
    // A sub-menu of the loaded menu, owned by it: null when there is none.
    HMENU GetSubMenu(int position) const;

    // Tracks the loaded menu as a popup; commands go to owner as WM_COMMAND
    // (unless flags ask for TPM_RETURNCMD). Returns what TrackPopupMenu does.
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr) const;
    // The same for a sub-menu, as GetSubMenu gives it:
    //   CMenu::TrackPopupMenu(menu.GetSubMenu(0), flags, x, y, owner);
    static BOOL TrackPopupMenu(HMENU popup, UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);

    HMENU m_hMenu = nullptr;
};
