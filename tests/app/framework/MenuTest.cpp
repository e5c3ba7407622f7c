// CMenu: loading from the program's resources, owning and destroying the
// menu with its sub-menus, and tracking a popup whose command reaches the
// owner dialog's message map.

#include "FrameworkTestResources.h"
#include "ScriptedDialog.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(MenuTest, LoadsTheMenuWithItsSubMenus)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    EXPECT_EQ(menu.m_hMenu, menu.GetSafeHmenu());
    const HMENU popup = menu.GetSubMenu(0);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(ID_TEST_FIRST, GetMenuItemID(popup, 0));
    EXPECT_EQ(ID_TEST_SECOND, GetMenuItemID(popup, 1));
    EXPECT_EQ(nullptr, menu.GetSubMenu(1));
}

TEST(MenuTest, MissingMenuLoadsNothing)
{
    CMenu menu;
    EXPECT_FALSE(menu.LoadMenu(IDD_TEST_MISSING));
    EXPECT_EQ(nullptr, menu.GetSafeHmenu());
    EXPECT_EQ(nullptr, menu.GetSubMenu(0));
    EXPECT_FALSE(CMenu::TrackPopupMenu(menu.GetSubMenu(0), 0, 0, 0, nullptr));
}

TEST(MenuTest, DestroysTheMenuAndItsSubMenusAtTheEndOfItsScope)
{
    HMENU menuHandle = nullptr;
    HMENU popup = nullptr;
    HMENU nested = nullptr;
    {
        CMenu menu;
        ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
        menuHandle = menu.m_hMenu;
        popup = menu.GetSubMenu(0);
        nested = GetSubMenu(popup, 3);
        ASSERT_TRUE(IsMenu(nested));
    }
    EXPECT_FALSE(IsMenu(menuHandle));
    EXPECT_FALSE(IsMenu(popup));
    EXPECT_FALSE(IsMenu(nested));
}

TEST(MenuTest, DestroysTheMenuWhenAnExceptionLeavesTheScope)
{
    HMENU menuHandle = nullptr;
    HMENU popup = nullptr;
    try {
        CMenu menu;
        menu.LoadMenu(IDR_TEST_MENU);
        menuHandle = menu.m_hMenu;
        popup = menu.GetSubMenu(0);
        throw std::runtime_error("leaves the scope");
    } catch (const std::runtime_error&) {
    }
    ASSERT_NE(nullptr, menuHandle);
    EXPECT_FALSE(IsMenu(menuHandle));
    EXPECT_FALSE(IsMenu(popup));
}

TEST(MenuTest, LoadingAgainDestroysTheFirstMenu)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    const HMENU first = menu.m_hMenu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    EXPECT_FALSE(IsMenu(first));
    EXPECT_TRUE(IsMenu(menu.m_hMenu));
}

TEST(MenuTest, DestroyedMenuIsNotDestroyedAgain)
{
    HMENU later = nullptr;
    {
        CMenu menu;
        ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
        EXPECT_TRUE(menu.DestroyMenu());
        EXPECT_FALSE(menu.DestroyMenu());
        // May get the handle value the destroyed menu had: the object must
        // not take it for its own.
        later = CreatePopupMenu();
    }
    EXPECT_TRUE(IsMenu(later));
    DestroyMenu(later);
}

// Tracks the test menu's popup from a hidden dialog, as a tray program does;
// the test drives the menu with keys posted to it.
class MenuOwnerDialog : public HiddenDialog {
public:
    using HiddenDialog::HiddenDialog;
    UINT chosen = 0;

protected:
    afx_msg void OnFirst() { chosen = ID_TEST_FIRST; }
    afx_msg void OnSecond() { chosen = ID_TEST_SECOND; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MenuOwnerDialog, HiddenDialog)
    ON_COMMAND(ID_TEST_FIRST, OnFirst)
    ON_COMMAND(ID_TEST_SECOND, OnSecond)
END_MESSAGE_MAP()

// Keys for the open popup menu, posted one per tick.
const WPARAM* g_keys = nullptr;
// The menu that the popup window shows.
HMENU g_shownMenu = nullptr;

void CALLBACK DriveMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    const HWND popup = FindThreadWindow("#32768");
    if (popup == nullptr)
        return;
    if (g_shownMenu == nullptr)
        g_shownMenu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    if (*g_keys == 0) {
        KillTimer(nullptr, timer);
        return;
    }
    PostMessageA(popup, WM_KEYDOWN, *g_keys++, 0);
}

class MenuTrackingTest : public ::testing::Test {
protected:
    void SetUp() override { m_app.m_pMainWnd = &m_dialog; }
    void TearDown() override { EXPECT_FALSE(m_watchdog.Fired()) << "a modal loop had to be ended by the watchdog"; }

    // Tracks the popup with the given keys; returns what TrackPopupMenu did.
    BOOL Track(const WPARAM* keys, UINT flags, bool wholeMenu = false)
    {
        BOOL tracked = FALSE;
        g_keys = keys;
        g_shownMenu = nullptr;
        m_dialog.onInit = [](ScriptedDialog& self) { self.PostMessage(WM_APP); };
        m_dialog.onApp = [&](ScriptedDialog& self, WPARAM) {
            CMenu menu;
            EXPECT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
            m_loadedMenu = menu.m_hMenu;
            m_popup = menu.GetSubMenu(0);
            self.SetForegroundWindow();
            const UINT_PTR timer = SetTimer(nullptr, 0, 50, &DriveMenu);
            tracked = wholeMenu ? menu.TrackPopupMenu(flags, 400, 300, &self)
                                : CMenu::TrackPopupMenu(menu.GetSubMenu(0), flags, 400, 300, &self);
            KillTimer(nullptr, timer);
            // The command is posted: let it arrive before the dialog ends.
            self.PostMessage(WM_COMMAND, IDOK);
        };
        m_dialog.DoModal();
        return tracked;
    }

    CWinApp m_app;
    MenuOwnerDialog m_dialog{ IDD_TEST_VISIBLE };
    HMENU m_loadedMenu = nullptr;
    HMENU m_popup = nullptr;
    ModalWatchdog m_watchdog;
};

TEST_F(MenuTrackingTest, ChosenItemReachesTheOwnerDialogsMap)
{
    static const WPARAM keys[] = { VK_DOWN, VK_DOWN, VK_RETURN, 0 };
    EXPECT_TRUE(Track(keys, TPM_RIGHTALIGN | TPM_RIGHTBUTTON));
    EXPECT_EQ(m_popup, g_shownMenu);
    EXPECT_EQ(static_cast<UINT>(ID_TEST_SECOND), m_dialog.chosen);
}

TEST_F(MenuTrackingTest, EscapeChoosesNothing)
{
    static const WPARAM keys[] = { VK_DOWN, VK_ESCAPE, 0 };
    Track(keys, TPM_RIGHTBUTTON);
    EXPECT_EQ(0u, m_dialog.chosen);
}

TEST_F(MenuTrackingTest, ReturnsTheCommandWhenAskedTo)
{
    static const WPARAM keys[] = { VK_DOWN, VK_RETURN, 0 };
    EXPECT_EQ(ID_TEST_FIRST, Track(keys, TPM_RETURNCMD | TPM_NONOTIFY));
    EXPECT_EQ(0u, m_dialog.chosen) << "TPM_RETURNCMD sends no command";
}

TEST_F(MenuTrackingTest, TracksTheLoadedMenuItselfAsAPopup)
{
    static const WPARAM keys[] = { VK_ESCAPE, 0 };
    EXPECT_TRUE(Track(keys, TPM_RIGHTBUTTON, true));
    ASSERT_NE(nullptr, m_loadedMenu);
    EXPECT_EQ(m_loadedMenu, g_shownMenu);
}

} // namespace
