// The installed filter driven with input made by SendInput, which the filter
// treats like input from the mouse itself.

#include "FilterAction.h"
#include "FilterDesktopTest.h"
#include "RecordingMouseHook.h"
#include "TestSupport.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

short WheelDeltaOf(WPARAM wParam)
{
    return static_cast<short>((wParam >> 16) & 0xFFFF);
}

} // namespace

class RemappedButtonTest : public FilterDesktopTest, public ::testing::WithParamInterface<MouseButton> {};

TEST_P(RemappedButtonTest, ClickArrivesUnchangedWithoutFilter)
{
    EXPECT_TRUE(ClickArrivesUnchanged(GetParam()));
}

TEST_P(RemappedButtonTest, ClickArrivesAsLeftClickWherePointerIs)
{
    ASSERT_TRUE(InstallFilter());
    EXPECT_TRUE(ClickArrivesAsLeftClick(GetParam()));

    ASSERT_TRUE(PlacePointerAt(POINT{17, 29}));
    EXPECT_TRUE(ClickArrivesAsLeftClick(GetParam()));
}

TEST_P(RemappedButtonTest, RepeatedClicksEachArriveAsOneLeftClick)
{
    ASSERT_TRUE(InstallFilter());
    for (int click = 0; click < 3; ++click)
        EXPECT_TRUE(ClickArrivesAsLeftClick(GetParam())) << "click " << click;
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, RemappedButtonTest, ::testing::Values(kRightButton, kMiddleButton, kX1Button, kX2Button), ButtonTestName);

class PassingInputTest : public FilterDesktopTest {};

TEST_F(PassingInputTest, LeftClickPassesUnchanged)
{
    ASSERT_TRUE(InstallFilter());
    EXPECT_TRUE(ClickArrivesUnchanged(kLeftButton));
}

TEST_F(PassingInputTest, PointerMovesPassUnchanged)
{
    ASSERT_TRUE(InstallFilter());
    for (const POINT target : {POINT{40, 50}, POINT{300, 200}}) {
        ASSERT_TRUE(InjectMoveTo(m_window.ScreenPointOf(target)));
        EXPECT_TRUE(m_window.WaitForMoveTo(target, kWaitMs)) << "got " << DescribeMessages();
        const POINT pointer = m_window.ClientPointOf(PointerScreenPoint());
        EXPECT_TRUE(SamePoint(pointer, target))
            << "pointer at " << pointer.x << "," << pointer.y << "; got " << DescribeMessages();
    }
    EXPECT_EQ(m_window.CountOfNonLeftButtonMessages(), 0U) << DescribeMessages();
    EXPECT_EQ(m_window.CountOf(WM_LBUTTONDOWN), 0U) << DescribeMessages();
}

// Wheel messages go to the focus window, not to the window under the
// pointer; the fixture gives the test window the focus.
TEST_F(PassingInputTest, WheelTurnsPassUnchanged)
{
    ASSERT_TRUE(InstallFilter());
    const POINT clientPointer = m_window.ClientPointOf(PointerScreenPoint());

    ASSERT_TRUE(InjectMouseEvent(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-WHEEL_DELTA)));
    ASSERT_TRUE(m_window.WaitFor(WM_MOUSEWHEEL, kWaitMs)) << "got " << DescribeMessages();
    EXPECT_EQ(WheelDeltaOf(m_window.FirstOf(WM_MOUSEWHEEL)->wParam), -WHEEL_DELTA);
    EXPECT_TRUE(SamePoint(m_window.FirstOf(WM_MOUSEWHEEL)->clientPoint, clientPointer));

    ASSERT_TRUE(InjectMouseEvent(MOUSEEVENTF_HWHEEL, WHEEL_DELTA));
    ASSERT_TRUE(m_window.WaitFor(WM_MOUSEHWHEEL, kWaitMs)) << "got " << DescribeMessages();
    EXPECT_EQ(WheelDeltaOf(m_window.FirstOf(WM_MOUSEHWHEEL)->wParam), WHEEL_DELTA);

    ASSERT_TRUE(FlushInjectedInput());
    EXPECT_EQ(m_window.CountOf(WM_MOUSEWHEEL), 1U) << DescribeMessages();
    EXPECT_EQ(m_window.CountOf(WM_MOUSEHWHEEL), 1U) << DescribeMessages();
    EXPECT_EQ(m_window.CountOfNonLeftButtonMessages(), 0U) << DescribeMessages();
    EXPECT_EQ(m_window.CountOf(WM_LBUTTONDOWN), 0U) << DescribeMessages();
}

// A hook installed before the filter comes after it in the chain: it sees what
// the filter passes on, and nothing that the filter swallows.
TEST_F(PassingInputTest, LaterHooksSeeOnlyWhatTheFilterPasses)
{
    RecordingMouseHook laterHook;
    ASSERT_TRUE(laterHook.IsInstalled());
    ASSERT_TRUE(InstallFilter());
    const POINT pointer = PointerScreenPoint();

    constexpr ULONG_PTR kCallerExtraInfo = 0x5A5A;
    ASSERT_TRUE(InjectPress(kRightButton, kCallerExtraInfo));
    ASSERT_TRUE(InjectRelease(kRightButton));
    ASSERT_TRUE(m_window.WaitFor(WM_LBUTTONUP, kWaitMs)) << "got " << DescribeMessages();
    ASSERT_TRUE(FlushInjectedInput());

    EXPECT_EQ(laterHook.CountOf(WM_RBUTTONDOWN), 0U);
    EXPECT_EQ(laterHook.CountOf(WM_RBUTTONUP), 0U);
    EXPECT_EQ(laterHook.CountOf(WM_LBUTTONDOWN), 1U);
    EXPECT_EQ(laterHook.CountOf(WM_LBUTTONUP), 1U);
    EXPECT_GE(laterHook.CountOf(WM_MOUSEMOVE), 1U) << "the flushing move did not pass through the chain";

    // The filter's own left press: made by SendInput, where the pointer is,
    // with nothing of the swallowed event's data but its point, and marked as
    // the filter's own.
    const HookedMouseEvent* leftPress = laterHook.FirstOf(WM_LBUTTONDOWN);
    ASSERT_NE(leftPress, nullptr);
    EXPECT_TRUE(SamePoint(leftPress->point, pointer));
    EXPECT_NE(leftPress->flags & LLMHF_INJECTED, 0U);
    EXPECT_EQ(leftPress->mouseData, 0U);
    EXPECT_EQ(leftPress->extraInfo, kFilterInjectionMark);
}

// A right click marked as the filter marks its own injections passes as it
// is; the same click unmarked is remapped.
TEST_F(PassingInputTest, MarkedClickPassesUnmarkedIsRemapped)
{
    ASSERT_TRUE(InstallFilter());
    m_window.ClearMessages();
    ASSERT_TRUE(InjectPress(kRightButton, kFilterInjectionMark));
    ASSERT_TRUE(InjectRelease(kRightButton, kFilterInjectionMark));
    EXPECT_TRUE(m_window.WaitFor(WM_RBUTTONUP, kWaitMs)) << "got " << DescribeMessages();
    ASSERT_TRUE(FlushInjectedInput());
    EXPECT_EQ(m_window.CountOf(WM_RBUTTONDOWN), 1U) << DescribeMessages();
    EXPECT_EQ(m_window.CountOf(WM_LBUTTONDOWN), 0U) << DescribeMessages();

    EXPECT_TRUE(ClickArrivesAsLeftClick(kRightButton));
}

class FilterInstallTest : public FilterDesktopTest {};

TEST_F(FilterInstallTest, WrongHookTypeInstallsNothing)
{
    EXPECT_EQ(m_library.AddMouseFilter(WH_MOUSE, 0), 0);
    EXPECT_TRUE(ClickArrivesUnchanged(kRightButton));
}

TEST_F(FilterInstallTest, RemoveWithWrongHookTypeLeavesFilterWorking)
{
    ASSERT_TRUE(InstallFilter());
    m_library.RemoveMouseFilter(WH_MOUSE);
    EXPECT_TRUE(ClickArrivesAsLeftClick(kRightButton));
}

TEST_F(FilterInstallTest, RemoveWithNothingInstalledIsHarmless)
{
    m_library.RemoveMouseFilter(WH_MOUSE_LL);
    m_library.RemoveMouseFilter(WH_MOUSE_LL);
    EXPECT_TRUE(ClickArrivesUnchanged(kRightButton));
    ASSERT_TRUE(InstallFilter());
    EXPECT_TRUE(ClickArrivesAsLeftClick(kRightButton));
}

TEST_F(FilterInstallTest, RemovalRestoresPlainClicksAndInstallWorksAgain)
{
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(InstallFilter()) << "round " << round;
        EXPECT_TRUE(ClickArrivesAsLeftClick(kRightButton)) << "round " << round;
        m_library.RemoveMouseFilter(WH_MOUSE_LL);
        EXPECT_TRUE(ClickArrivesUnchanged(kRightButton)) << "round " << round;
    }
}

// The library keeps one hook: a second install while installed keeps it, so
// each press still gives one left press, and one removal ends the filter.
TEST_F(FilterInstallTest, SecondInstallNeitherDoublesNorOutlivesRemoval)
{
    ASSERT_TRUE(InstallFilter());
    ASSERT_TRUE(InstallFilter());
    EXPECT_TRUE(ClickArrivesAsLeftClick(kRightButton));
    m_library.RemoveMouseFilter(WH_MOUSE_LL);
    EXPECT_TRUE(ClickArrivesUnchanged(kRightButton));
}

// Every left press the filter injects is released, also when it never sees
// the right release: a marked release passes the hook as one that Windows
// took past a lost hook would.
namespace {

std::string ButtonMessagesOf(const MouseTestWindow& window)
{
    const std::pair<UINT, const char*> names[] = {
        {WM_LBUTTONDOWN, "L D"}, {WM_LBUTTONUP, "L U"}, {WM_RBUTTONDOWN, "R D"}, {WM_RBUTTONUP, "R U"}};
    std::string text;
    for (const ReceivedMouseMessage& received : window.Messages()) {
        for (const auto& [message, name] : names) {
            if (received.message == message)
                text += (text.empty() ? "" : ", ") + std::string(name);
        }
    }
    return text;
}

} // namespace

TEST_F(FilterInstallTest, NoInjectedPressIsLeftHeld)
{
    const auto renew = ExportOf<RenewMouseFilterFunction>(m_library.Module(), kRenewMouseFilterName);
    const auto releaseHeld = ExportOf<ReleaseHeldPressFunction>(m_library.Module(), kReleaseHeldPressName);
    ASSERT_TRUE(renew != nullptr && releaseHeld != nullptr);
    using Step = std::function<bool()>;
    const Step install = [&] { return InstallFilter(); };
    const Step press = [&] { return InjectPress(kRightButton); };
    const Step release = [&] { return InjectRelease(kRightButton); };
    const Step unseenRelease = [&] { return InjectRelease(kRightButton, kFilterInjectionMark); };
    const Step renewal = [&] { return renew(WH_MOUSE_LL, 0) == 1; };
    const Step lossTold = [&] { return releaseHeld(kReleaseHeldPressAlways) == 1; };
    const Step removal = [&] { m_library.RemoveMouseFilter(WH_MOUSE_LL); return true; };
    const struct {
        const char* name;
        std::vector<Step> steps;
        const char* expected;
    } cases[] = {
        {"hook lost mid-press, then renewed", {install, press, unseenRelease, renewal, lossTold}, "L D, R U, L U"},
        {"Normal chosen mid-press", {install, press, removal, release}, "L D, L U, R U"},
        {"a release that never came, then a new click", {install, press, unseenRelease, press, release},
            "L D, R U, L U, L D, L U"},
        {"pressed before the filter, released with it", {press, install, release}, "R D, R U"},
    };
    for (const auto& tested : cases) {
        m_window.ClearMessages();
        for (size_t step = 0; step < tested.steps.size(); ++step)
            ASSERT_TRUE(tested.steps[step]()) << tested.name << ", step " << step;
        ASSERT_TRUE(FlushInjectedInput());
        EXPECT_EQ(ButtonMessagesOf(m_window), tested.expected) << tested.name;
        EXPECT_FALSE(IsButtonDown(kLeftButton)) << tested.name;
        EXPECT_FALSE(IsButtonDown(kRightButton)) << tested.name;
        m_library.RemoveMouseFilter(WH_MOUSE_LL);
    }
}
