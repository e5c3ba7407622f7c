// The notification icon and its popup menu, as a user meets them.

#include "NotificationArea.h"
#include "ProgramFixture.h"
#include "ProgramWindows.h"
#include "RealInput.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

constexpr DWORD kIconTimeoutMs = 10000;

std::string MenuWithChecks(bool oneChecked, bool normalChecked)
{
    return std::string("[ ] Exit (32773)\n"
                       "[ ] About (32771)\n"
                       "----\n"
                       "[ ] Button Mode\n") +
        (oneChecked ? "  [x]" : "  [ ]") + " One (32777)\n" + (normalChecked ? "  [x]" : "  [ ]") +
        " Normal (32776)\n";
}

using TrayIconTest = ProgramTest;

TEST_F(TrayIconTest, FirstStartShowsTheNormalIconWithTheProgramsNameAndStoresNothing)
{
    ASSERT_TRUE(Start(kFirstIconId));

    EXPECT_TRUE(ShowsOnlyIcon(kFirstIconId));
    EXPECT_EQ(IconTooltip(), kFirstTooltip);
    EXPECT_FALSE(IsWindowVisible(m_mainWindow)) << "the main window must never show";
    EXPECT_FALSE(ProgramKeyExists()) << "a start without a stored mode creates no key";
}

TEST_F(TrayIconTest, LeftPressOpensTheMenuWithNormalCheckedAtFirstStart)
{
    ASSERT_TRUE(Start(kFirstIconId));

    const MenuReading menu = MenuAsShownBy(kLeftButton);

    ASSERT_TRUE(menu.Succeeded()) << menu.failure;
    EXPECT_EQ(menu.Describe(), MenuWithChecks(false, true));
    EXPECT_TRUE(m_program.IsRunning()) << "closing the menu with Escape ends nothing";
}

TEST_F(TrayIconTest, RightPressOpensTheSameMenu)
{
    ASSERT_TRUE(Start(kFirstIconId));

    const MenuReading menu = MenuAsShownBy(kRightButton);

    ASSERT_TRUE(menu.Succeeded()) << menu.failure;
    EXPECT_EQ(menu.Describe(), MenuWithChecks(false, true));
}

TEST_F(TrayIconTest, MiddlePressOpensNoMenu)
{
    ASSERT_TRUE(Start(kFirstIconId));

    ASSERT_TRUE(ClickNewestIcon(kMiddleButton));

    EXPECT_TRUE(StaysAbsent(m_program.Id(), "#32768", nullptr, 1500));
}

TEST_F(TrayIconTest, StoredNormalIsAppliedAndReAddsTheIconAsTheModeIcon)
{
    ASSERT_TRUE(StoreModeText("2"));
    ASSERT_TRUE(Start(kModeIconId));

    EXPECT_TRUE(ShowsOnlyIcon(kModeIconId));
    EXPECT_EQ(IconTooltip(), kModeTooltip);
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived);
    const MenuReading menu = MenuAsShownBy(kLeftButton);
    ASSERT_TRUE(menu.Succeeded()) << menu.failure;
    EXPECT_EQ(menu.Describe(), MenuWithChecks(false, true));
}

TEST_F(TrayIconTest, StoredModeOfNoMeaningChecksNeitherItemAndActsAsNormal)
{
    ASSERT_TRUE(StoreModeText("7"));
    ASSERT_TRUE(Start(kModeIconId));

    const MenuReading menu = MenuAsShownBy(kLeftButton);
    ASSERT_TRUE(menu.Succeeded()) << menu.failure;
    EXPECT_EQ(menu.Describe(), MenuWithChecks(false, false));
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived);
    const std::optional<RegistryData> stored = ReadStoredMode();
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->Text(), "7") << "reading the stored mode must not rewrite it";
}

TEST_F(TrayIconTest, TaskbarCreatedBringsALostIconBack)
{
    ASSERT_TRUE(Start(kFirstIconId));
    // What a restarting shell does: it forgets every icon, then tells every
    // top-level window that the taskbar exists again.
    ASSERT_TRUE(RemoveIconOf(m_mainWindow, kFirstIconId));
    ASSERT_TRUE(WaitForIcon(m_mainWindow, kFirstIconId, false, kIconTimeoutMs));

    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);

    EXPECT_TRUE(WaitForIcon(m_mainWindow, kFirstIconId, true, kIconTimeoutMs));
    EXPECT_TRUE(ShowsOnlyIcon(kFirstIconId));
    EXPECT_EQ(IconTooltip(), kFirstTooltip);
    const MenuReading menu = MenuAsShownBy(kLeftButton);
    ASSERT_TRUE(menu.Succeeded()) << menu.failure;
    EXPECT_EQ(menu.Describe(), MenuWithChecks(false, true));
}

TEST_F(TrayIconTest, TaskbarCreatedBringsTheModeIconBackAfterAModeWasApplied)
{
    ASSERT_TRUE(StoreModeText("1"));
    ASSERT_TRUE(Start(kModeIconId));
    ASSERT_TRUE(RemoveIconOf(m_mainWindow, kModeIconId));
    ASSERT_TRUE(WaitForIcon(m_mainWindow, kModeIconId, false, kIconTimeoutMs));

    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);

    EXPECT_TRUE(WaitForIcon(m_mainWindow, kModeIconId, true, kIconTimeoutMs));
    EXPECT_TRUE(ShowsOnlyIcon(kModeIconId));
    EXPECT_EQ(IconTooltip(), kModeTooltip);
}

TEST_F(TrayIconTest, TaskbarCreatedWhileTheIconIsShownLeavesOneIcon)
{
    ASSERT_TRUE(Start(kFirstIconId));

    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    LetProgramSettle();

    EXPECT_TRUE(ShowsOnlyIcon(kFirstIconId));
    EXPECT_TRUE(testing_support::PumpMessagesUntil([] { return ShownIconCount() == 1; }, 3000))
        << ShownIconCount() << " icons in the tray";
}

} // namespace
} // namespace e2e
