// With the mode One in force, the filter runs on the program's only thread,
// so it is served only while that thread pumps messages. These scenarios
// click elsewhere while the thread sits in one of its nested loops: the
// popup menu, the exit question, the About dialog, and under Wine a call of
// the filter itself that waits on a later hook.

#include "ClickRecorder.h"
#include "ProgramFixture.h"
#include "ProgramWindows.h"
#include "RealInput.h"
#include "RecordingMouseHook.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

constexpr DWORD kDialogTimeoutMs = 5000;
// Hiding a dialog blocks its thread about 2 s under Wine.
constexpr DWORD kDialogCloseTimeoutMs = 10000;
constexpr DWORD kMenuTimeoutMs = 5000;
// Wine passes an event on after about 2 s when a hook's thread does not
// answer: well above that, so a late answer still shows.
constexpr DWORD kHookedClickTimeoutMs = 6000;
// Time for events after the expected ones to show up.
constexpr DWORD kStragglerWaitMs = 500;
// Wine keeps the menu open for a middle press; longer than any answer here.
constexpr DWORD kMenuStaysOpenMs = 2000;

constexpr char kInjectedLeftClick[] = "WM_LBUTTONDOWN (injected) WM_LBUTTONUP (injected)";
constexpr char kPlainRightClick[] = "WM_RBUTTONDOWN WM_RBUTTONUP";

// A right click sent as remote-control programs send it: the move to the point
// and the press in one record, then the release.
bool SendRightClickWithItsMove(POINT target)
{
    const LONG left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const LONG top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const LONG width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const LONG height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    // Rounded up, so that the pixel the system maps it back to is the target.
    inputs[0].mi.dx = ((target.x - left) * 65536 + width - 1) / width;
    inputs[0].mi.dy = ((target.y - top) * 65536 + height - 1) / height;
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | MOUSEEVENTF_RIGHTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

class NestedLoopInputTest : public ProgramTest {
protected:
    ::testing::AssertionResult StartInModeOne()
    {
        if (!StoreModeText("1"))
            return ::testing::AssertionFailure() << "could not store the mode";
        return Start(kModeIconId);
    }

    HWND WaitForDialog(const char* title) const
    {
        return WaitForVisibleWindow(m_program.Id(), kDialogClass, title, kDialogTimeoutMs);
    }

    // A real click of the X button on the test window, and what the test's
    // hook was handed for it: "WM_LBUTTONDOWN (injected) WM_LBUTTONUP
    // (injected)" style text.
    std::string HookedClickOnTestWindow(RecordingMouseHook& hook, int xButton)
    {
        return HookedClickOnTestWindow(hook, [xButton](POINT target) { return ClickAt(target, xButton); });
    }

    template <typename Click>
    std::string HookedClickOnTestWindow(RecordingMouseHook& hook, Click click)
    {
        // Events of earlier clicks (the one on the icon) may still be on
        // their way.
        testing_support::PumpMessagesFor(kStragglerWaitMs);
        hook.Clear();
        const POINT target = TestWindow().Centre();
        if (!click(target))
            return "(the click failed)";
        testing_support::PumpMessagesUntil([&] { return hook.ButtonEvents().size() >= 2; }, kHookedClickTimeoutMs);
        testing_support::PumpMessagesFor(kStragglerWaitMs);
        std::string text;
        bool allAtTarget = true;
        for (const HookedMouseEvent& event : hook.ButtonEvents()) {
            text += (text.empty() ? "" : " ") + ButtonMessageNames({static_cast<UINT>(event.message)});
            if (event.flags & LLMHF_INJECTED)
                text += " (injected)";
            allAtTarget = allAtTarget && event.point.x == target.x && event.point.y == target.y;
        }
        if (text.empty())
            return "(none)";
        return allAtTarget ? text : text + " (not all at the click's point)";
    }

    bool MenuIsOpen() const { return m_menuWindow != nullptr && IsWindowVisible(m_menuWindow); }
};

TEST_F(NestedLoopInputTest, WhileTheExitQuestionIsOpenARightClickElsewhereArrivesAsALeftClick)
{
    ASSERT_TRUE(StartInModeOne());
    TestWindow();
    ASSERT_TRUE(Choose(MenuChoice::Exit, kLeftButton));
    const HWND question = WaitForDialog(kProgramTitle);
    ASSERT_NE(question, nullptr) << "Exit asked nothing";

    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);

    EXPECT_TRUE(IsWindowVisible(question)) << "the question must still wait for its answer";
    PostCommand(question, IDNO);
    EXPECT_TRUE(WaitUntilGone(question, kDialogCloseTimeoutMs));
    LetProgramSettle();
    EXPECT_TRUE(m_program.IsRunning());
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived) << "after the question";
}

TEST_F(NestedLoopInputTest, WhileTheAboutDialogIsOpenARightClickElsewhereArrivesAsALeftClick)
{
    ASSERT_TRUE(StartInModeOne());
    TestWindow();
    ASSERT_TRUE(Choose(MenuChoice::About, kLeftButton));
    const HWND about = WaitForDialog(kAboutTitle);
    ASSERT_NE(about, nullptr) << "About showed no dialog";

    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);

    EXPECT_TRUE(IsWindowVisible(about)) << "the dialog must still be open";
    PostCommand(about, IDOK);
    EXPECT_TRUE(WaitUntilGone(about, kDialogCloseTimeoutMs));
    LetProgramSettle();
    EXPECT_TRUE(m_program.IsRunning());
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived) << "after the dialog";
}

// Under Wine a left or right press on another program's window while a popup
// menu is open closes the menu and is eaten: that window receives neither the
// press nor the release, so the test window cannot show what the filter made
// of the click (on Windows it can). What the hooks are handed can be seen: a
// hook of the test, installed before the program starts and so called after
// the program's filter, sees only what the filter passes on and what it
// injects. Served inside the menu's loop, the filter takes the right press
// and release and injects a left press and release at the same point; were
// it not served, Wine would pass the right press on after about 2 s and this
// hook would see it.
TEST_F(NestedLoopInputTest, WhileThePopupMenuIsOpenTheFilterTakesARightClickElsewhereAndInjectsALeftClick)
{
    RecordingMouseHook hook;
    ASSERT_TRUE(hook.IsInstalled());
    ASSERT_TRUE(StartInModeOne());
    TestWindow();
    ASSERT_TRUE(OpenMenu(kLeftButton));
    ASSERT_TRUE(MenuIsOpen());

    EXPECT_EQ(HookedClickOnTestWindow(hook, kRightButton), kInjectedLeftClick);

    EXPECT_TRUE(WaitUntilGone(m_menuWindow, kMenuTimeoutMs)) << "a left press outside the menu closes it";
    EXPECT_TRUE(m_program.IsRunning());
}

// Wine hands the filter the move and the press of such a record together and,
// with a later hook in another thread (the test's), serves the press inside
// the call for the move, before the pointer has moved: the left press must
// still land at the press's point, not where the pointer came from.
TEST_F(NestedLoopInputTest, ARightClickSentWithItsMoveArrivesAsALeftClickWhereItMovedTo)
{
    RecordingMouseHook hook;
    ASSERT_TRUE(hook.IsInstalled());
    ASSERT_TRUE(StartInModeOne());
    const auto moveAwayThenSend = [](POINT target) {
        return SetCursorPos(target.x / 2, target.y / 2) && SendRightClickWithItsMove(target);
    };

    EXPECT_EQ(HookedClickOnTestWindow(hook, moveAwayThenSend), kInjectedLeftClick);
}

// The same observation without the filter: the hook is handed the right
// click itself, so the observation above tells a served filter from none.
TEST_F(NestedLoopInputTest, WithoutTheFilterTheRightClickElsewhereReachesTheHooksUnchangedWhileTheMenuIsOpen)
{
    RecordingMouseHook hook;
    ASSERT_TRUE(hook.IsInstalled());
    ASSERT_TRUE(Start(kFirstIconId));
    TestWindow();
    ASSERT_TRUE(OpenMenu(kLeftButton));
    ASSERT_TRUE(MenuIsOpen());

    EXPECT_EQ(HookedClickOnTestWindow(hook, kRightButton), kPlainRightClick);

    EXPECT_TRUE(WaitUntilGone(m_menuWindow, kMenuTimeoutMs)) << "a right press outside the menu closes it";
}

// Under Wine a middle press outside a popup menu is eaten and leaves the menu
// open, while a left press closes it. With the filter on, the middle press
// reaches the menu's loop as a left press: the program's own menu closing
// shows that its filter was served inside that loop. Closing the menu may
// keep the program from its messages past Wine's hook timeout, so that the
// release passes without the filter (the 32-bit build kept the left button
// down): with the middle button held across the close, the left one is up.
TEST_F(NestedLoopInputTest, WhileThePopupMenuIsOpenAMiddleClickElsewhereClosesItAsALeftClickWould)
{
    ASSERT_TRUE(StartInModeOne());
    TestWindow();
    ASSERT_TRUE(OpenMenu(kLeftButton));
    ASSERT_TRUE(MenuIsOpen());

    ASSERT_TRUE(PressAt(TestWindow().Centre(), kMiddleButton));

    EXPECT_TRUE(WaitUntilGone(m_menuWindow, kMenuTimeoutMs)) << "the menu stayed open";
    EXPECT_TRUE(testing_support::PumpMessagesUntil([] { return GetAsyncKeyState(VK_LBUTTON) >= 0; }, kMenuTimeoutMs));
    ASSERT_TRUE(ReleaseButton(kMiddleButton));
    EXPECT_TRUE(m_program.IsRunning());
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived) << "the next click";
}

TEST_F(NestedLoopInputTest, WithoutTheFilterAMiddleClickElsewhereLeavesThePopupMenuOpen)
{
    ASSERT_TRUE(Start(kFirstIconId));
    TestWindow();
    ASSERT_TRUE(OpenMenu(kLeftButton));
    ASSERT_TRUE(MenuIsOpen());

    ASSERT_TRUE(ClickAt(TestWindow().Centre(), kMiddleButton));

    EXPECT_FALSE(WaitUntilGone(m_menuWindow, kMenuStaysOpenMs)) << "the menu closed";
}

} // namespace
} // namespace e2e
