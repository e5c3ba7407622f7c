#include "FilterDesktopTest.h"

#include "TestSupport.h"

#include <cstdio>

namespace {

std::string Describe(POINT point)
{
    return "(" + std::to_string(point.x) + ", " + std::to_string(point.y) + ")";
}

const MouseButton* const kAllButtons[] = {&kLeftButton, &kRightButton, &kMiddleButton, &kX1Button, &kX2Button};

} // namespace

MouseTestWindow& FilterDesktopTest::SharedWindow()
{
    static MouseTestWindow window;
    return window;
}

void FilterDesktopTest::SetUp()
{
    ASSERT_TRUE(m_library.IsBound()) << "cannot load " << FilterLibraryPath() << " or bind its exports";
    ASSERT_NE(m_window.Handle(), nullptr);
    ASSERT_TRUE(m_window.TakeFocus(kWaitMs)) << "the test window did not become the foreground and focus window";
    ASSERT_TRUE(PlacePointerAt(m_window.ClientCenter()));
    m_window.ClearMessages();
}

void FilterDesktopTest::TearDown()
{
    m_library.RemoveMouseFilter(WH_MOUSE_LL);
    // Every test balances its presses; one that failed half-way may have left
    // a button logically down, which would turn the next test's press into a drag.
    for (const MouseButton* button : kAllButtons) {
        if (IsButtonDown(*button)) {
            ADD_FAILURE() << "the test left the " << button->name << " button logically down";
            InjectRelease(*button);
            testing_support::PumpMessagesUntil([button] { return !IsButtonDown(*button); }, kWaitMs);
        }
    }
}

::testing::AssertionResult FilterDesktopTest::InstallFilter()
{
    const BOOLEAN result = m_library.AddMouseFilter(WH_MOUSE_LL, 0);
    if (result != 1)
        return ::testing::AssertionFailure() << "AddMouseFilter(14, 0) returned " << static_cast<int>(result);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult FilterDesktopTest::PlacePointerAt(POINT clientPoint)
{
    // Wine's SetCursorPos moves its own pointer at once and warps the X
    // pointer; the X server answers with motion and crossing events that Wine
    // turns into a move back to that point whenever this thread next reads X
    // events, which may be after input that a test has made since (SendInput
    // moves Wine's pointer only). So the pointer goes beside the target first,
    // and the last step is an X move onto the target: X delivers events in
    // order, so once the pointer is on the target, every answer to the warp
    // has been read and none can come later.
    const POINT target = m_window.ScreenPointOf(clientPoint);
    const POINT beside{target.x + 1, target.y};
    SetCursorPos(beside.x, beside.y);
    const std::string command = "xdotool mousemove " + std::to_string(target.x) + " " + std::to_string(target.y);
    const int status = testing_support::RunUnixCommand(command, kWaitMs);
    if (status != 0)
        return ::testing::AssertionFailure() << "'" << command << "' ended with " << status;
    if (!testing_support::PumpMessagesUntil([&] { return SamePoint(PointerScreenPoint(), target); }, kWaitMs))
        return ::testing::AssertionFailure() << "the pointer is at " << Describe(PointerScreenPoint()) << ", not at "
                                             << Describe(target);
    return ::testing::AssertionSuccess();
}

POINT FilterDesktopTest::PointerScreenPoint() const
{
    POINT point{};
    GetCursorPos(&point);
    return point;
}

::testing::AssertionResult FilterDesktopTest::FlushInjectedInput()
{
    POINT sentinel = m_window.ClientPointOf(PointerScreenPoint());
    sentinel.x += m_window.ContainsClientPoint(POINT{sentinel.x + 1, sentinel.y}) ? 1 : -1;
    if (!InjectMoveTo(m_window.ScreenPointOf(sentinel)))
        return ::testing::AssertionFailure() << "SendInput refused a pointer move";
    if (!m_window.WaitForMoveTo(sentinel, kWaitMs))
        return ::testing::AssertionFailure() << "a pointer move to " << Describe(sentinel)
                                             << " never reached the window; it got " << DescribeMessages();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult FilterDesktopTest::ClickArrivesAsLeftClick(const MouseButton& button)
{
    m_window.ClearMessages();
    const POINT pointer = PointerScreenPoint();
    const POINT clientPointer = m_window.ClientPointOf(pointer);

    if (!InjectPress(button))
        return ::testing::AssertionFailure() << "SendInput refused the " << button.name << " press";
    if (!m_window.WaitFor(WM_LBUTTONDOWN, kWaitMs))
        return ::testing::AssertionFailure() << "a " << button.name << " press did not arrive as a left press; got "
                                             << DescribeMessages();
    if (!IsButtonDown(kLeftButton))
        return ::testing::AssertionFailure() << "the left button is not logically down after a " << button.name
                                             << " press";
    if (!InjectRelease(button))
        return ::testing::AssertionFailure() << "SendInput refused the " << button.name << " release";
    if (!m_window.WaitFor(WM_LBUTTONUP, kWaitMs))
        return ::testing::AssertionFailure() << "a " << button.name
                                             << " release did not arrive as a left release; got " << DescribeMessages();
    // The injected events carry the hook record's point but neither
    // MOUSEEVENTF_MOVE nor MOUSEEVENTF_ABSOLUTE: read as a move, that point
    // would have sent the pointer elsewhere.
    if (!SamePoint(PointerScreenPoint(), pointer))
        return ::testing::AssertionFailure() << "the pointer moved from " << Describe(pointer) << " to "
                                             << Describe(PointerScreenPoint()) << " during a " << button.name
                                             << " click";
    ::testing::AssertionResult flushed = FlushInjectedInput();
    if (!flushed)
        return flushed;

    if (m_window.CountOf(WM_LBUTTONDOWN) != 1 || m_window.CountOf(WM_LBUTTONUP) != 1 ||
        m_window.CountOfNonLeftButtonMessages() != 0)
        return ::testing::AssertionFailure() << "one " << button.name
                                             << " click should give exactly one left press and one left release; got "
                                             << DescribeMessages();
    for (UINT message : {UINT{WM_LBUTTONDOWN}, UINT{WM_LBUTTONUP}}) {
        const POINT where = m_window.FirstOf(message)->clientPoint;
        if (!SamePoint(where, clientPointer))
            return ::testing::AssertionFailure() << "the left button message arrived at " << Describe(where)
                                                 << " while the pointer was at " << Describe(clientPointer);
    }
    if (IsButtonDown(kLeftButton) || IsButtonDown(button))
        return ::testing::AssertionFailure() << "a button stayed logically down after a " << button.name << " click";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult FilterDesktopTest::ClickArrivesUnchanged(const MouseButton& button)
{
    m_window.ClearMessages();
    const POINT clientPointer = m_window.ClientPointOf(PointerScreenPoint());

    if (!InjectPress(button) || !InjectRelease(button))
        return ::testing::AssertionFailure() << "SendInput refused a " << button.name << " click";
    if (!m_window.WaitFor(button.releaseMessage, kWaitMs))
        return ::testing::AssertionFailure() << "a " << button.name << " release never arrived; got "
                                             << DescribeMessages();
    ::testing::AssertionResult flushed = FlushInjectedInput();
    if (!flushed)
        return flushed;

    const size_t leftMessages = m_window.CountOf(WM_LBUTTONDOWN) + m_window.CountOf(WM_LBUTTONUP);
    const size_t pressMessages = m_window.CountOf(button.pressMessage);
    const size_t releaseMessages = m_window.CountOf(button.releaseMessage);
    if (pressMessages != 1 || releaseMessages != 1 || (button.pressMessage != WM_LBUTTONDOWN && leftMessages != 0))
        return ::testing::AssertionFailure() << "one " << button.name
                                             << " click should arrive as one press and one release of that button; got "
                                             << DescribeMessages();
    for (UINT message : {button.pressMessage, button.releaseMessage}) {
        const ReceivedMouseMessage* received = m_window.FirstOf(message);
        if (!SamePoint(received->clientPoint, clientPointer))
            return ::testing::AssertionFailure() << button.name << " message arrived at "
                                                 << Describe(received->clientPoint) << " while the pointer was at "
                                                 << Describe(clientPointer);
        if (button.mouseData != 0 && HIWORD(received->wParam) != button.mouseData)
            return ::testing::AssertionFailure() << "the X button message names X button " << HIWORD(received->wParam);
    }
    return ::testing::AssertionSuccess();
}

std::string FilterDesktopTest::DescribeMessages() const
{
    std::string description;
    for (const ReceivedMouseMessage& received : m_window.Messages()) {
        char line[96];
        std::snprintf(line, sizeof line, "%s0x%04X at %ld,%ld", description.empty() ? "" : ", ", received.message,
            static_cast<long>(received.clientPoint.x), static_cast<long>(received.clientPoint.y));
        description += line;
    }
    return description.empty() ? "nothing" : description;
}
