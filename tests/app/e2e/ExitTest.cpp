// Ending the program: Exit asks first, OK does not, Escape and Close only
// hide the window that is hidden anyway.

#include "NotificationArea.h"
#include "ProgramFixture.h"
#include "ProgramWindows.h"
#include "RealInput.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace e2e {
namespace {

constexpr DWORD kDialogTimeoutMs = 5000;
// Ending removes the icon, which blocks the program about 2 s under Wine.
constexpr DWORD kExitTimeoutMs = 10000;

class ExitTest : public ProgramTest {
protected:
    HWND WaitForExitQuestion() const
    {
        return WaitForVisibleWindow(m_program.Id(), kDialogClass, kProgramTitle, kDialogTimeoutMs);
    }
};

::testing::AssertionResult ShowsText(HWND dialog, const std::string& text)
{
    const std::vector<std::string> texts = StaticTextsOf(dialog);
    if (std::find(texts.begin(), texts.end(), text) != texts.end())
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << "\"" << text << "\" not among the texts shown:";
    for (const std::string& shown : texts)
        failure << " \"" << shown << "\"";
    return failure;
}

TEST_F(ExitTest, ExitAsksWithYesAndNoAndNoAsTheDefault)
{
    ASSERT_TRUE(Start(kFirstIconId));

    ASSERT_TRUE(Choose(MenuChoice::Exit, kLeftButton));

    const HWND question = WaitForExitQuestion();
    ASSERT_NE(question, nullptr) << "Exit showed no message box titled \"" << kProgramTitle << "\"";
    EXPECT_TRUE(ShowsText(question, kExitQuestion));
    const HWND yes = GetDlgItem(question, IDYES);
    const HWND no = GetDlgItem(question, IDNO);
    ASSERT_NE(yes, nullptr);
    ASSERT_NE(no, nullptr);
    EXPECT_EQ(TextOf(yes), "&Yes");
    EXPECT_EQ(TextOf(no), "&No");
    EXPECT_EQ(GetDlgItem(question, IDCANCEL), nullptr) << "only Yes and No";
    // DM_GETDEFID answers 1 under Wine whatever the default is; the style
    // tells.
    EXPECT_TRUE(HasDefaultPushButtonStyle(no)) << "No must be the default";
    EXPECT_FALSE(HasDefaultPushButtonStyle(yes));
}

TEST_F(ExitTest, AnsweringNoKeepsTheProgramAndItsIcon)
{
    ASSERT_TRUE(Start(kFirstIconId));
    ASSERT_TRUE(Choose(MenuChoice::Exit, kLeftButton));
    const HWND question = WaitForExitQuestion();
    ASSERT_NE(question, nullptr);

    ASSERT_TRUE(ClickAt(CentreOf([&] {
        RECT rect{};
        GetWindowRect(GetDlgItem(question, IDNO), &rect);
        return rect;
    }()),
        kLeftButton));

    EXPECT_TRUE(WaitUntilGone(question, kDialogTimeoutMs));
    LetProgramSettle();
    EXPECT_TRUE(m_program.IsRunning());
    EXPECT_TRUE(ShowsOnlyIcon(kFirstIconId));
    EXPECT_TRUE(MenuAsShownBy(kLeftButton).Succeeded()) << "the icon still answers";
}

TEST_F(ExitTest, AnsweringYesRemovesTheIconAndEndsWithTheStoredModeUntouched)
{
    ASSERT_TRUE(StoreModeText("1"));
    ASSERT_TRUE(Start(kModeIconId));
    ASSERT_TRUE(Choose(MenuChoice::Exit, kLeftButton));
    const HWND question = WaitForExitQuestion();
    ASSERT_NE(question, nullptr);

    PostCommand(question, IDYES);

    EXPECT_TRUE(m_program.WaitForExit(kExitTimeoutMs)) << "Yes did not end the program";
    EXPECT_FALSE(IconExists(m_mainWindow, kModeIconId)) << "the icon must leave with the program";
    const std::optional<RegistryData> stored = ReadStoredMode();
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->Text(), "1");
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
}

TEST_F(ExitTest, TheOkCommandEndsWithoutAskingAndRemovesTheIcon)
{
    ASSERT_TRUE(Start(kFirstIconId));

    PostCommand(m_mainWindow, IDOK);

    EXPECT_TRUE(m_program.WaitForExit(kExitTimeoutMs));
    EXPECT_FALSE(IconExists(m_mainWindow, kFirstIconId));
}

TEST_F(ExitTest, EscapeKeepsTheProgramRunningHidden)
{
    ASSERT_TRUE(Start(kFirstIconId));

    PostKey(m_mainWindow, VK_ESCAPE);
    LetProgramSettle();

    EXPECT_TRUE(m_program.IsRunning());
    EXPECT_FALSE(IsWindowVisible(m_mainWindow));
    EXPECT_TRUE(StaysAbsent(m_program.Id(), kDialogClass, kProgramTitle, 1000)) << "Escape asks nothing";
    EXPECT_TRUE(ShowsOnlyIcon(kFirstIconId));
    EXPECT_TRUE(MenuAsShownBy(kLeftButton).Succeeded()) << "the icon still answers";
}

TEST_F(ExitTest, TheCloseCommandKeepsTheProgramRunningHidden)
{
    ASSERT_TRUE(Start(kFirstIconId));

    PostMessageA(m_mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    LetProgramSettle();

    EXPECT_TRUE(m_program.IsRunning());
    EXPECT_FALSE(IsWindowVisible(m_mainWindow));
    EXPECT_TRUE(ShowsOnlyIcon(kFirstIconId));
}

TEST_F(ExitTest, ShowingTheWindowLeavesItHidden)
{
    ASSERT_TRUE(Start(kFirstIconId));

    ShowWindowAsync(m_mainWindow, SW_SHOWNORMAL);
    LetProgramSettle();

    EXPECT_FALSE(IsWindowVisible(m_mainWindow));
}

TEST_F(ExitTest, ASecondExitWhileTheQuestionIsOpenEndsCleanly)
{
    ASSERT_TRUE(Start(kFirstIconId));
    PostCommand(m_mainWindow, kCommandExit);
    const HWND first = WaitForExitQuestion();
    ASSERT_NE(first, nullptr);
    PostCommand(m_mainWindow, kCommandExit);
    HWND second = nullptr;
    testing_support::PumpMessagesUntil(
        [&] {
            for (HWND window : TopLevelWindowsOf(m_program.Id())) {
                if (window != first && window != m_mainWindow && IsWindowVisible(window) &&
                    ClassNameOf(window) == kDialogClass && TextOf(window) == kProgramTitle)
                    second = window;
            }
            return second != nullptr;
        },
        kDialogTimeoutMs);
    ASSERT_NE(second, nullptr) << "the second Exit asked nothing";

    // Yes to the inner question ends the program; the outer one must then
    // find nothing freed twice.
    PostCommand(second, IDYES);
    PostCommand(first, IDYES);

    EXPECT_TRUE(m_program.WaitForExit(kExitTimeoutMs));
    DWORD exitCode = 0;
    GetExitCodeProcess(m_program.Handle(), &exitCode);
    EXPECT_LT(exitCode, 0xC0000000u) << "the program crashed";
}

} // namespace
} // namespace e2e
