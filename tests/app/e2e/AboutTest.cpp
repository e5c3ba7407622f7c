// The About dialog, reached from the popup menu and from the system menu's
// command, and closed as a user closes it.

#include "ProgramFixture.h"
#include "ProgramWindows.h"
#include "RealInput.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace e2e {
namespace {

constexpr DWORD kDialogTimeoutMs = 5000;

class AboutTest : public ProgramTest {
protected:
    HWND WaitForAbout() const
    {
        return WaitForVisibleWindow(m_program.Id(), kDialogClass, kAboutTitle, kDialogTimeoutMs);
    }

    // The dialog names the program and its version and has a default OK button.
    static ::testing::AssertionResult ShowsVersionAndOk(HWND about)
    {
        const std::vector<std::string> texts = StaticTextsOf(about);
        if (std::find(texts.begin(), texts.end(), kAboutVersionText) == texts.end())
            return ::testing::AssertionFailure() << "no text \"" << kAboutVersionText << "\"";
        const HWND ok = GetDlgItem(about, IDOK);
        if (ok == nullptr || WindowTextOf(ok) != "OK")
            return ::testing::AssertionFailure() << "no OK button with the identifier IDOK";
        if (!HasDefaultPushButtonStyle(ok))
            return ::testing::AssertionFailure() << "OK is not the default button";
        return ::testing::AssertionSuccess();
    }

    // Once the dialog has closed the program goes on as before, hidden.
    ::testing::AssertionResult RunsOnUnchanged()
    {
        LetProgramSettle();
        if (!m_program.IsRunning())
            return ::testing::AssertionFailure() << "the program ended";
        if (IsWindowVisible(m_mainWindow))
            return ::testing::AssertionFailure() << "the main window became visible";
        if (ProgramKeyExists())
            return ::testing::AssertionFailure() << "something was stored";
        return ShowsOnlyIcon(kFirstIconId);
    }
};

TEST_F(AboutTest, AboutInTheMenuShowsTheVersionAndARealClickOnOkClosesIt)
{
    ASSERT_TRUE(Start(kFirstIconId));

    ASSERT_TRUE(Choose(MenuChoice::About, kLeftButton));

    const HWND about = WaitForAbout();
    ASSERT_NE(about, nullptr) << "no dialog titled \"" << kAboutTitle << "\"";
    EXPECT_TRUE(ShowsVersionAndOk(about));
    RECT ok{};
    ASSERT_TRUE(GetWindowRect(GetDlgItem(about, IDOK), &ok));
    ASSERT_TRUE(ClickAt(CentreOf(ok), kLeftButton));
    EXPECT_TRUE(WaitUntilGone(about, kDialogTimeoutMs)) << "OK did not close the dialog";
    EXPECT_TRUE(RunsOnUnchanged());
}

TEST_F(AboutTest, SystemCommandSixteenShowsTheSameDialogAndEscapeClosesIt)
{
    ASSERT_TRUE(Start(kFirstIconId));

    PostMessageA(m_mainWindow, WM_SYSCOMMAND, kSystemCommandAbout, 0);

    const HWND about = WaitForAbout();
    ASSERT_NE(about, nullptr) << "no dialog titled \"" << kAboutTitle << "\"";
    EXPECT_TRUE(ShowsVersionAndOk(about));
    PostKey(about, VK_ESCAPE);
    EXPECT_TRUE(WaitUntilGone(about, kDialogTimeoutMs)) << "Escape did not close the dialog";
    EXPECT_TRUE(RunsOnUnchanged());
}

TEST_F(AboutTest, SystemCommandsSeventeenToThirtyOneAreTheAboutCommandToo)
{
    ASSERT_TRUE(Start(kFirstIconId));

    // The low four bits of a system command are the system's own.
    PostMessageA(m_mainWindow, WM_SYSCOMMAND, kSystemCommandAbout | 0x0F, 0);

    const HWND about = WaitForAbout();
    ASSERT_NE(about, nullptr);
    PostCommand(about, IDOK);
    EXPECT_TRUE(WaitUntilGone(about, kDialogTimeoutMs));
}

TEST_F(AboutTest, TheSystemMenuOffersTheAboutEntryAfterASeparator)
{
    ASSERT_TRUE(Start(kFirstIconId));

    const MenuReading systemMenu = ReadSystemMenu(m_program.Handle(), m_mainWindow);

    ASSERT_TRUE(systemMenu.Succeeded()) << systemMenu.failure;
    ASSERT_GE(systemMenu.items.size(), 2u) << systemMenu.Describe();
    const MenuItemState& last = systemMenu.items.back();
    EXPECT_EQ(last.id, kSystemCommandAbout) << systemMenu.Describe();
    EXPECT_EQ(last.text, kSystemMenuAboutText) << systemMenu.Describe();
    EXPECT_TRUE(systemMenu.items[systemMenu.items.size() - 2].separator) << systemMenu.Describe();
}

TEST_F(AboutTest, TheMenuStillOpensWhileTheDialogIsShown)
{
    ASSERT_TRUE(Start(kFirstIconId));
    PostMessageA(m_mainWindow, WM_SYSCOMMAND, kSystemCommandAbout, 0);
    const HWND about = WaitForAbout();
    ASSERT_NE(about, nullptr);

    const MenuReading menu = MenuAsShownBy(kRightButton);

    EXPECT_TRUE(menu.Succeeded()) << menu.failure;
    PostCommand(about, IDOK);
    EXPECT_TRUE(WaitUntilGone(about, kDialogTimeoutMs));
}

} // namespace
} // namespace e2e
