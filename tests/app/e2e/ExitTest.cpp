// Ending the program: Exit asks first, the OK command does not, Close only
// hides the window that is hidden anyway, and no key typed while the hidden
// window has the keyboard ends it or shows anything.

#include "NotificationArea.h"
#include "ProgramFixture.h"
#include "ProgramWindows.h"
#include "RealInput.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

namespace e2e {
namespace {

constexpr DWORD kDialogTimeoutMs = 5000;
// Ending removes the icon, which blocks the program about 2 s under Wine.
constexpr DWORD kExitTimeoutMs = 10000;
constexpr DWORD kForegroundTimeoutMs = 3000;
constexpr DWORD kKeysTimeoutMs = 3000;
// Long enough for an exit question or a dialog to appear if a key made one.
constexpr DWORD kNothingShownMs = 1000;

// The keys that a dialog manager turns into commands: Enter into OK, Escape
// into Cancel, Space into a click on the focused button.
constexpr WORD kCommandKeys[] = {VK_RETURN, VK_SPACE, VK_ESCAPE};

class ExitTest : public ProgramTest {
protected:
    HWND WaitForExitQuestion() const
    {
        return WaitForVisibleWindow(m_program.Id(), kDialogClass, kProgramTitle, kDialogTimeoutMs);
    }

    // Still running with its icon, and no window of it shown for a while.
    ::testing::AssertionResult StaysRunningAndShowsNothing(UINT iconId)
    {
        bool shown = false;
        testing_support::PumpMessagesUntil(
            [&] {
                for (HWND window : TopLevelWindowsOf(m_program.Id()))
                    shown = shown || IsWindowVisible(window);
                return shown || !m_program.IsRunning();
            },
            kNothingShownMs);
        if (!m_program.IsRunning())
            return ::testing::AssertionFailure() << "the program ended";
        if (shown)
            return ::testing::AssertionFailure() << "the program showed a window";
        return ShowsOnlyIcon(iconId);
    }

    // With the test window in front, opens the menu as a press on the icon
    // does; the caller closes it without a choice. Mode One is in force, so
    // that the filter's survival shows too. A real press on the icon makes
    // Wine's tray window the foreground window first (on Windows the taskbar
    // takes it), so the test window is no longer in front when the menu
    // opens. Without throughTheTray the notification that such a press makes
    // the shell send is sent directly, and the test window stays in front.
    ::testing::AssertionResult OpenMenuFromTheTestWindow(bool throughTheTray)
    {
        if (!m_program.IsStarted()) {
            if (!StoreModeText("1"))
                return ::testing::AssertionFailure() << "could not store the mode";
            const ::testing::AssertionResult started = Start(kModeIconId);
            if (!started)
                return started;
        }
        const HWND testWindow = TestWindow().Window();
        SetForegroundWindow(testWindow);
        if (!testing_support::PumpMessagesUntil(
                [&] { return GetForegroundWindow() == testWindow; }, kForegroundTimeoutMs))
            return ::testing::AssertionFailure() << "the test window did not come to the front";
        if (throughTheTray)
            return OpenMenu(kLeftButton);
        PostMessageA(m_mainWindow, RegisterWindowMessageA("NotifyIcon"), kModeIconId, WM_LBUTTONDOWN);
        m_menuWindow = WaitForOpenMenuWindow(m_program.Id(), kDialogTimeoutMs);
        if (m_menuWindow == nullptr)
            return ::testing::AssertionFailure() << "the notification opened no menu";
        return ::testing::AssertionSuccess();
    }

    // What the user types next after the menu closed without a choice: the
    // hidden window has given the foreground back, and the program neither
    // ends nor shows anything. With the test window in front before the
    // menu, the keys reach it.
    void ExpectTypingAfterTheMenuLeavesTheProgramAlone(bool testWindowWasInFront)
    {
        ASSERT_TRUE(WaitUntilGone(m_menuWindow, kDialogTimeoutMs)) << "the menu did not close";
        m_menuWindow = nullptr;
        const HWND testWindow = TestWindow().Window();
        EXPECT_TRUE(testing_support::PumpMessagesUntil(
            [&] {
                const HWND front = GetForegroundWindow();
                return testWindowWasInFront ? front == testWindow : front != m_mainWindow;
            },
            kForegroundTimeoutMs))
            << "the hidden window kept the foreground";
        TestWindow().Clear();

        for (WORD key : kCommandKeys)
            ASSERT_TRUE(TypeKey(key));

        if (testWindowWasInFront) {
            const std::vector<WPARAM> expected(std::begin(kCommandKeys), std::end(kCommandKeys));
            testing_support::PumpMessagesUntil(
                [&] { return TestWindow().Keys().size() >= expected.size(); }, kKeysTimeoutMs);
            EXPECT_EQ(TestWindow().Keys(), expected) << "the keys did not reach the window that was in front";
        }
        LetProgramSettle();
        EXPECT_TRUE(StaysRunningAndShowsNothing(kModeIconId));
        if (m_program.IsRunning()) {
            EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived) << "the filter must still remap";
        }
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
    EXPECT_EQ(WindowTextOf(yes), "&Yes");
    EXPECT_EQ(WindowTextOf(no), "&No");
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

TEST_F(ExitTest, KeysThatReachTheHiddenWindowNeitherEndNorShowAnything)
{
    ASSERT_TRUE(Start(kFirstIconId));

    for (WORD key : kCommandKeys)
        PostKey(m_mainWindow, key);
    LetProgramSettle();

    EXPECT_TRUE(StaysRunningAndShowsNothing(kFirstIconId));
    EXPECT_TRUE(MenuAsShownBy(kLeftButton).Succeeded()) << "the icon still answers";
}

// Under Wine the hidden window keeps the foreground after its menu closed
// without a choice, so what the user types next would go to it: Enter would
// end the program. The program gives the foreground back to the window that
// had it before the menu, and drops any key that still reaches it.
TEST_F(ExitTest, TypingAfterTheMenuClosedByEscapeNeitherEndsNorShowsAnything)
{
    ASSERT_TRUE(OpenMenuFromTheTestWindow(true));

    ASSERT_TRUE(TypeKey(VK_ESCAPE));

    ExpectTypingAfterTheMenuLeavesTheProgramAlone(false);
}

// A left press elsewhere closes the menu and is eaten under Wine: the test
// window neither gets the press nor comes to the front by it.
TEST_F(ExitTest, TypingAfterTheMenuClosedByAClickElsewhereNeitherEndsNorShowsAnything)
{
    ASSERT_TRUE(OpenMenuFromTheTestWindow(true));

    ASSERT_TRUE(ClickAt(TestWindow().Centre(), kLeftButton));

    ExpectTypingAfterTheMenuLeavesTheProgramAlone(false);
}

TEST_F(ExitTest, AMenuClosedWithoutAChoiceOrWithAModeGivesTheKeyboardBackToTheWindowThatWasInFront)
{
    ASSERT_TRUE(OpenMenuFromTheTestWindow(false));
    ASSERT_TRUE(TypeKey(VK_ESCAPE));
    ExpectTypingAfterTheMenuLeavesTheProgramAlone(true);

    ASSERT_TRUE(OpenMenuFromTheTestWindow(false));
    ASSERT_TRUE(ClickAt(TestWindow().Centre(), kLeftButton));
    ExpectTypingAfterTheMenuLeavesTheProgramAlone(true);

    // A mode shows nothing: the user goes on typing where they were.
    ASSERT_TRUE(OpenMenuFromTheTestWindow(false));
    ASSERT_TRUE(ChooseInOpenMenu(MenuChoice::One));
    ExpectTypingAfterTheMenuLeavesTheProgramAlone(true);
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
                    ClassNameOf(window) == kDialogClass && WindowTextOf(window) == kProgramTitle)
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

// The Restart Manager or a logoff ends the program wherever it waits, as
// from its window's own loop (PolicyTest): in its menu, question or About box.
TEST_F(ExitTest, TheEndOfTheSessionEndsTheProgramFromInsideItsMenuQuestionAndAboutBox)
{
    for (const MenuChoice open : {MenuChoice::One, MenuChoice::Exit, MenuChoice::About}) {
        ASSERT_TRUE(StoreModeText("1"));
        ASSERT_TRUE(Start(kModeIconId));
        ASSERT_TRUE(open == MenuChoice::One ? OpenMenu(kLeftButton) : Choose(open, kLeftButton));
        const char* const title = open == MenuChoice::About ? kAboutTitle : kProgramTitle;
        ASSERT_TRUE(open == MenuChoice::One || WaitForVisibleWindow(m_program.Id(), kDialogClass, title, kDialogTimeoutMs));
        PostMessageA(m_mainWindow, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
        ASSERT_TRUE(m_program.WaitForExit(2 * kExitTimeoutMs)) << "it stayed in loop " << static_cast<int>(open);
        DWORD exitCode = STILL_ACTIVE;
        EXPECT_TRUE(GetExitCodeProcess(m_program.Handle(), &exitCode) && exitCode == 0) << exitCode;
        EXPECT_FALSE(IconExists(m_mainWindow, kModeIconId));
        EXPECT_EQ(ReadStoredMode()->Text(), "1");
    }
}

} // namespace
} // namespace e2e
