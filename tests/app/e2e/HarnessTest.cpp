// The harness's own mechanisms, proved against TrayStandIn, a test-only
// program with Vantrel's outside: when these pass and a scenario fails, the
// fault is in the program, not in the harness or in Wine.

#include "NotificationArea.h"
#include "ProgramFixture.h"
#include "ProgramWindows.h"
#include "RealInput.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <shellapi.h>

namespace e2e {
namespace {

constexpr char kStandInFileName[] = "TrayStandIn.exe";
constexpr DWORD kIconTimeoutMs = 10000;

class HarnessTest : public ProgramTest {
protected:
    HarnessTest() : ProgramTest(kStandInFileName) {}
};

TEST_F(HarnessTest, XAndWineAgreeOnScreenCoordinates)
{
    const POINT target{321, 456};

    ASSERT_TRUE(MovePointerTo(target));

    POINT seen{};
    ASSERT_TRUE(GetCursorPos(&seen));
    EXPECT_EQ(seen.x, target.x);
    EXPECT_EQ(seen.y, target.y);
}

TEST_F(HarnessTest, TheNewestIconIsFoundInWinesTrayWindow)
{
    ASSERT_TRUE(Start(kFirstIconId));

    const std::optional<RECT> icon = NewestIconRect();

    ASSERT_TRUE(icon.has_value());
    EXPECT_EQ(icon->right - icon->left, 20);
    EXPECT_EQ(icon->bottom - icon->top, 20);
    // An icon of a program that an earlier test ended may linger 1 to 2 s.
    EXPECT_TRUE(testing_support::PumpMessagesUntil([] { return ShownIconCount() == 1; }, 3000))
        << ShownIconCount() << " icons in the tray";
}

// The session's keeper icon (tests/support/TrayKeeper.cpp) is left out by its
// owner window, wherever it sits: gone, nothing else is dropped; added again,
// now newest, it is still not the newest icon the tests see.
TEST_F(HarnessTest, TheKeepersIconIsToldByItsOwnerNotByItsPlace)
{
    ASSERT_TRUE(Start(kFirstIconId));
    const HWND keeper = FindWindowA("VantrelTestTrayKeeper", nullptr);
    ASSERT_NE(keeper, nullptr) << "no keeper in this session";
    NOTIFYICONDATAA keeperIcon{};
    keeperIcon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    keeperIcon.hWnd = keeper;
    keeperIcon.uID = 1;
    keeperIcon.uFlags = NIF_ICON | NIF_TIP;
    keeperIcon.hIcon = LoadIconA(nullptr, IDI_INFORMATION);
    lstrcpynA(keeperIcon.szTip, "test session", sizeof keeperIcon.szTip);

    ASSERT_TRUE(RemoveIconOf(keeper, keeperIcon.uID));
    EXPECT_TRUE(testing_support::PumpMessagesUntil([] { return ShownIconCount() == 1; }, 3000))
        << ShownIconCount() << " icons in the tray without the keeper's";
    const std::optional<RECT> ours = NewestIconRect();
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &keeperIcon));

    EXPECT_TRUE(testing_support::PumpMessagesUntil([] { return ShownIconCount() == 1; }, 3000))
        << ShownIconCount() << " icons in the tray with the keeper's";
    const std::optional<RECT> newest = NewestIconRect();
    ASSERT_TRUE(ours && newest);
    EXPECT_EQ(newest->left, ours->left) << "the keeper's icon was taken for the newest";
}

TEST_F(HarnessTest, IconProbingTellsPresentFromAbsentIcons)
{
    ASSERT_TRUE(Start(kFirstIconId));

    EXPECT_TRUE(IconExists(m_mainWindow, kFirstIconId));
    EXPECT_FALSE(IconExists(m_mainWindow, kModeIconId));
    ASSERT_TRUE(RemoveIconOf(m_mainWindow, kFirstIconId));
    EXPECT_TRUE(WaitForIcon(m_mainWindow, kFirstIconId, false, kIconTimeoutMs));
}

TEST_F(HarnessTest, TheProbeReadsEachStateOfTheOtherProcesssMenu)
{
    ASSERT_TRUE(Start(kFirstIconId));
    EXPECT_TRUE(ChecksModes(MenuAsShownBy(kLeftButton), false, true)) << "before the choice";

    ASSERT_TRUE(Choose(MenuChoice::One, kLeftButton));

    EXPECT_TRUE(ChecksModes(MenuAsShownBy(kLeftButton), true, false)) << "after the choice";
}

TEST_F(HarnessTest, TheTooltipFollowsTheIcon)
{
    ASSERT_TRUE(Start(kFirstIconId));
    EXPECT_EQ(IconTooltip(), kFirstTooltip);

    ASSERT_TRUE(Choose(MenuChoice::One, kLeftButton));

    ASSERT_TRUE(WaitForIcon(m_mainWindow, kModeIconId, true, kIconTimeoutMs));
    EXPECT_EQ(IconTooltip(), kModeTooltip);
}

TEST_F(HarnessTest, TheTestWindowTellsRemappedFromPlainRightClicks)
{
    ASSERT_TRUE(Start(kFirstIconId));
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived);

    ASSERT_TRUE(Choose(MenuChoice::One, kLeftButton));

    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);
}

TEST_F(HarnessTest, StopEndsTheProgramPolitelyWhileItsMenuIsOpen)
{
    ASSERT_TRUE(Start(kFirstIconId));
    ASSERT_TRUE(OpenMenu(kLeftButton));

    EXPECT_TRUE(m_program.Stop());
}

TEST_F(HarnessTest, StopEndsTheProgramPolitelyWhileItAsks)
{
    ASSERT_TRUE(Start(kFirstIconId));
    PostCommand(m_mainWindow, kCommandExit);
    ASSERT_NE(WaitForVisibleWindow(m_program.Id(), kDialogClass, kProgramTitle, 5000), nullptr);

    EXPECT_TRUE(m_program.Stop());
}

} // namespace
} // namespace e2e
