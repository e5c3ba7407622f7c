#include "ModeMenuChecks.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

// The popup menu as the program shows it: sub-menu 0 of menu resource 131,
// loaded from this test program, which links the program's resources.
class ModeMenuChecksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAY_MENU));
        ASSERT_NE(m_menu, nullptr);
        m_popup = GetSubMenu(m_menu, 0);
        ASSERT_NE(m_popup, nullptr);
    }

    void TearDown() override { DestroyMenu(m_menu); }

    // The item's state and type, read with the full-size record.
    MENUITEMINFOA Item(UINT command) const
    {
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STATE | MIIM_FTYPE;
        EXPECT_TRUE(GetMenuItemInfoA(m_popup, command, FALSE, &item)) << command;
        return item;
    }

    HMENU m_menu = nullptr;
    HMENU m_popup = nullptr;
};

TEST_F(ModeMenuChecksTest, ModeOneChecksOneOnly)
{
    SetModeCheckMarks(m_popup, 1);
    EXPECT_EQ(Item(ID_MODE_ONE).fState, static_cast<UINT>(MFS_CHECKED));
    EXPECT_EQ(Item(ID_MODE_NORMAL).fState, 0u);
}

TEST_F(ModeMenuChecksTest, ModeNormalChecksNormalOnly)
{
    SetModeCheckMarks(m_popup, 2);
    EXPECT_EQ(Item(ID_MODE_ONE).fState, 0u);
    EXPECT_EQ(Item(ID_MODE_NORMAL).fState, static_cast<UINT>(MFS_CHECKED));
}

TEST_F(ModeMenuChecksTest, AnyOtherModeChecksNeither)
{
    for (int mode : {0, 3, 7, -1, 12}) {
        SetModeCheckMarks(m_popup, mode);
        EXPECT_EQ(Item(ID_MODE_ONE).fState, 0u) << mode;
        EXPECT_EQ(Item(ID_MODE_NORMAL).fState, 0u) << mode;
    }
}

TEST_F(ModeMenuChecksTest, AnUncheckedItemGetsAWholeStateOfZero)
{
    // Greyed and checked beforehand: an item that is not the mode's loses both.
    CheckMenuItem(m_popup, ID_MODE_ONE, MF_BYCOMMAND | MF_CHECKED);
    EnableMenuItem(m_popup, ID_MODE_ONE, MF_BYCOMMAND | MF_GRAYED);
    SetModeCheckMarks(m_popup, 2);
    EXPECT_EQ(Item(ID_MODE_ONE).fState, 0u);
    EXPECT_EQ(Item(ID_MODE_NORMAL).fState, static_cast<UINT>(MFS_CHECKED));
}

TEST_F(ModeMenuChecksTest, CheckMarkIsAPlainTickNotARadioBullet)
{
    SetModeCheckMarks(m_popup, 1);
    EXPECT_EQ(Item(ID_MODE_ONE).fType & MFT_RADIOCHECK, 0u);
    SetModeCheckMarks(m_popup, 2);
    EXPECT_EQ(Item(ID_MODE_NORMAL).fType & MFT_RADIOCHECK, 0u);
}

TEST_F(ModeMenuChecksTest, OtherItemsAreLeftAlone)
{
    SetModeCheckMarks(m_popup, 1);
    EXPECT_EQ(Item(ID_TRAY_EXIT).fState, 0u);
    EXPECT_EQ(Item(ID_TRAY_ABOUT).fState, 0u);
    EXPECT_EQ(Item(ID_TRAY_SETTINGS).fState, 0u);
    EXPECT_EQ(GetMenuItemCount(m_popup), 5);
}

TEST_F(ModeMenuChecksTest, ShortRecordIsAcceptedByTheSystem)
{
    // The record without hbmpItem is what the program passes.
    MENUITEMINFOA item{};
    item.cbSize = kMenuItemInfoSize;
    item.fMask = MIIM_STATE;
    EXPECT_TRUE(GetMenuItemInfoA(m_popup, ID_MODE_ONE, FALSE, &item));
    EXPECT_EQ(kMenuItemInfoSize, sizeof(MENUITEMINFOA) - sizeof(HBITMAP));
}

} // namespace
