#include "CMenu.h"

#include "AfxFunctions.h"
#include "CWnd.h"

CMenu::~CMenu()
{
    DestroyMenu();
}

BOOL CMenu::LoadMenu(UINT resourceId)
{
    DestroyMenu();
    const LPCSTR name = MAKEINTRESOURCEA(resourceId);
    m_hMenu = ::LoadMenuA(AfxFindResourceHandle(name, RT_MENU), name);
    return m_hMenu != nullptr;
}

BOOL CMenu::DestroyMenu()
{
    if (m_hMenu == nullptr)
        return FALSE;
    // DestroyMenu destroys the sub-menus with it.
    const BOOL destroyed = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    return destroyed;
}

HMENU CMenu::GetSafeHmenu() const
{
    return m_hMenu;
}

HMENU CMenu::GetSubMenu(int position) const
{
    return m_hMenu != nullptr ? ::GetSubMenu(m_hMenu, position) : nullptr;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect) const
{
    return TrackPopupMenu(m_hMenu, flags, x, y, owner, rect);
}

BOOL CMenu::TrackPopupMenu(HMENU popup, UINT flags, int x, int y, CWnd* owner, LPCRECT rect)
{
    if (popup == nullptr)
        return FALSE;
    return ::TrackPopupMenu(popup, flags, x, y, 0, owner != nullptr ? owner->m_hWnd : nullptr, rect);
}
