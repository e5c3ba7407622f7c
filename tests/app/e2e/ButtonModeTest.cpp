// Choosing a button mode from the real menu: what the registry holds
// afterwards, which icon the tray shows, and what a real right click on
// another window turns into.

#include "NotificationArea.h"
#include "ProgramFixture.h"
#include "RealInput.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

constexpr DWORD kStoreTimeoutMs = 5000;
// Longer than applying a mode takes here (about 2 s for the icon).
constexpr DWORD kNoChangeWaitMs = 3000;

using ButtonModeTest = ProgramTest;

// Ctrl+Shift+F9 in the hotkey control's format: HOTKEYF_CONTROL | HOTKEYF_SHIFT,
// VK_F9. (Ctrl+Alt+F1 to F12 switch consoles in X's keymap: Wine never sees them.)
constexpr DWORD kCtrlShiftF9 = 0x0378;

TEST_F(ButtonModeTest, ChoosingOneStoresItSwapsTheIconAndTurnsRightClicksIntoLeftClicks)
{
    ASSERT_TRUE(Start(kFirstIconId));
    ASSERT_EQ(RealRightClickOnTestWindow(), kRightClickArrived) << "the filter is off before One is chosen";

    ASSERT_TRUE(Choose(MenuChoice::One, kLeftButton));

    EXPECT_TRUE(StoredModeBecomes("1", kStoreTimeoutMs));
    EXPECT_TRUE(WaitForIcon(m_mainWindow, kModeIconId, true, 10000));
    EXPECT_TRUE(ShowsOnlyIcon(kModeIconId));
    EXPECT_EQ(IconTooltip(), kModeTooltip);
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);
}

TEST_F(ButtonModeTest, OneIsChosenByRightClicksOnTheMenuItems)
{
    ASSERT_TRUE(Start(kFirstIconId));

    // The menu takes its items from either button.
    ASSERT_TRUE(ChooseWithClicks(MenuChoice::One, kRightButton));

    EXPECT_TRUE(StoredModeBecomes("1", kStoreTimeoutMs));
    EXPECT_TRUE(WaitForIcon(m_mainWindow, kModeIconId, true, 10000));
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);
}

TEST_F(ButtonModeTest, NormalIsChosenByLeftClicksOnTheMenuItems)
{
    ASSERT_TRUE(StoreModeText("1"));
    ASSERT_TRUE(Start(kModeIconId));

    ASSERT_TRUE(ChooseWithClicks(MenuChoice::Normal, kLeftButton));

    EXPECT_TRUE(StoredModeBecomes("2", kStoreTimeoutMs));
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived);
}

TEST_F(ButtonModeTest, InModeOneARightPressOnTheIconStillOpensTheMenuWithOneChecked)
{
    ASSERT_TRUE(Start(kFirstIconId));
    ASSERT_TRUE(Choose(MenuChoice::One, kRightButton));
    ASSERT_TRUE(WaitForIcon(m_mainWindow, kModeIconId, true, 10000));

    // The filter turns this right press into a left press before the tray sees it.
    EXPECT_TRUE(ChecksModes(MenuAsShownBy(kRightButton), true, false));
}

TEST_F(ButtonModeTest, StoredOneTurnsTheFilterOnFromTheStart)
{
    ASSERT_TRUE(StoreModeText("1"));
    ASSERT_TRUE(Start(kModeIconId));

    EXPECT_TRUE(ShowsOnlyIcon(kModeIconId));
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);
    EXPECT_TRUE(ChecksModes(MenuAsShownBy(kLeftButton), true, false));
}

TEST_F(ButtonModeTest, StoredOneAsANumberTurnsTheFilterOnToo)
{
    ASSERT_TRUE(StoreModeData(Dword(1)));
    ASSERT_TRUE(Start(kModeIconId));

    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);
}

TEST_F(ButtonModeTest, ChoosingNormalUndoesOne)
{
    ASSERT_TRUE(StoreModeText("1"));
    ASSERT_TRUE(Start(kModeIconId));
    ASSERT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);

    ASSERT_TRUE(Choose(MenuChoice::Normal, kLeftButton));

    EXPECT_TRUE(StoredModeBecomes("2", kStoreTimeoutMs));
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived);
    EXPECT_TRUE(ShowsOnlyIcon(kModeIconId));
    EXPECT_EQ(IconTooltip(), kModeTooltip);
    EXPECT_TRUE(ChecksModes(MenuAsShownBy(kLeftButton), false, true));
}

TEST_F(ButtonModeTest, ChoosingNormalInNormalChangesNothing)
{
    ASSERT_TRUE(Start(kFirstIconId));

    ASSERT_TRUE(Choose(MenuChoice::Normal, kLeftButton));
    testing_support::PumpMessagesFor(kNoChangeWaitMs);

    EXPECT_FALSE(ProgramKeyExists()) << "nothing may be stored";
    EXPECT_TRUE(ShowsOnlyIcon(kFirstIconId)) << "the icon may not be re-added";
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived);
}

TEST_F(ButtonModeTest, ChoosingOneInOneChangesNothing)
{
    ASSERT_TRUE(StoreModeText("1"));
    ASSERT_TRUE(Start(kModeIconId));
    // Were the choice stored, the value would come back.
    ASSERT_TRUE(DeleteStoredMode());

    ASSERT_TRUE(Choose(MenuChoice::One, kLeftButton));
    testing_support::PumpMessagesFor(kNoChangeWaitMs);

    EXPECT_FALSE(ReadStoredMode()) << "nothing may be stored: " << ReadStoredMode().value_or(RegistryData{}).Text();
    EXPECT_TRUE(ShowsOnlyIcon(kModeIconId));
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);
}

TEST_F(ButtonModeTest, TheShortcutSwitchesBothWaysAsTheMenuDoes)
{
    ASSERT_TRUE(StoreProgramValue("ToggleHotkey", Dword(kCtrlShiftF9)));
    ASSERT_TRUE(Start(kFirstIconId));

    ASSERT_TRUE(PressKeysOnTestWindow("ctrl+shift+F9"));
    EXPECT_TRUE(StoredModeBecomes("1", kStoreTimeoutMs));
    EXPECT_TRUE(WaitForIcon(m_mainWindow, kModeIconId, true, 10000));
    LetProgramSettle();
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);
    EXPECT_TRUE(ChecksModes(MenuAsShownBy(kLeftButton), true, false));

    ASSERT_TRUE(PressKeysOnTestWindow("ctrl+shift+F9"));
    EXPECT_TRUE(StoredModeBecomes("2", kStoreTimeoutMs));
    LetProgramSettle();
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived);
    EXPECT_TRUE(ChecksModes(MenuAsShownBy(kLeftButton), false, true));
}

TEST_F(ButtonModeTest, At300MsAPressTooSoonAfterAReleaseGoesWithItsOwnRelease)
{
    ASSERT_TRUE(StoreModeText("1"));
    ASSERT_TRUE(StoreProgramValue("BounceMs", Dword(300)));
    ASSERT_TRUE(Start(kModeIconId));

    EXPECT_EQ(RealInputOnTestWindow("click --repeat 2 --delay 50 1", 2), kLeftClickArrived) << "50 ms apart";
    EXPECT_EQ(RealInputOnTestWindow("click --repeat 2 --delay 700 1", 4), kTwoLeftClicksArrived) << "700 apart";
    // Held longer than the bounce time: the wait starts at the release.
    EXPECT_EQ(RealInputOnTestWindow("mousedown 1 sleep 0.4 mouseup 1 sleep 0.05 click 1", 2), kLeftClickArrived);
    // The second right press and its late release inject nothing and pass nothing.
    EXPECT_EQ(RealInputOnTestWindow("click 3 sleep 0.05 mousedown 3 sleep 0.6 mouseup 3", 2), kLeftClickArrived);
}

} // namespace
} // namespace e2e
