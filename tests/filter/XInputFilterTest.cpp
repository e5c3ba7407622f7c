// Clicks made on the X server with xdotool: the way a user's mouse reaches a
// program under Wine, through Wine's X11 driver and then the low-level hooks.

#include "FilterDesktopTest.h"
#include "TestSupport.h"

#include <string>

namespace {

std::string Coordinates(POINT point)
{
    return std::to_string(point.x) + " " + std::to_string(point.y);
}

// Away from the window's middle, where the fixture leaves the pointer, so
// that the X pointer really moves before the click.
constexpr POINT kClickPoint{137, 101};

} // namespace

class XInputFilterTest : public FilterDesktopTest {
protected:
    // Moves the X pointer onto the window's client point, clicks the X button
    // there and then moves one pixel to the right. X delivers events in order,
    // so once that move has arrived, everything the click caused has too.
    ::testing::AssertionResult XClickAt(POINT clientPoint, int xButton)
    {
        m_window.ClearMessages();
        const POINT screenPoint = m_window.ScreenPointOf(clientPoint);
        const POINT endPoint{clientPoint.x + 1, clientPoint.y};
        const std::string command = "xdotool mousemove " + Coordinates(screenPoint) + " click " +
            std::to_string(xButton) + " mousemove " + Coordinates(m_window.ScreenPointOf(endPoint));
        const int status = testing_support::RunUnixCommand(command, kWaitMs);
        if (status != 0)
            return ::testing::AssertionFailure() << "'" << command << "' ended with " << status;
        if (!m_window.WaitForMoveTo(endPoint, kWaitMs))
            return ::testing::AssertionFailure() << "the X pointer move after the click never arrived; got "
                                                 << DescribeMessages();
        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult ArrivedOnceAt(UINT message, POINT clientPoint)
    {
        const ReceivedMouseMessage* received = m_window.FirstOf(message);
        if (m_window.CountOf(message) != 1 || !SamePoint(received->clientPoint, clientPoint))
            return ::testing::AssertionFailure() << "expected one message 0x" << std::hex << message << std::dec
                                                 << " at " << Coordinates(clientPoint) << "; got " << DescribeMessages();
        return ::testing::AssertionSuccess();
    }
};

// Xvfb runs here without a window manager and Wine's desktop covers the whole
// X screen, so an X screen coordinate is the same Windows screen coordinate.
// The other tests rely on that to click where they mean to.
TEST_F(XInputFilterTest, XAndWindowsShareScreenCoordinates)
{
    const POINT target = m_window.ScreenPointOf(kClickPoint);
    ASSERT_EQ(testing_support::RunUnixCommand("xdotool mousemove " + Coordinates(target), kWaitMs), 0);
    EXPECT_TRUE(testing_support::PumpMessagesUntil([&] { return SamePoint(PointerScreenPoint(), target); }, kWaitMs))
        << "the pointer is at " << Coordinates(PointerScreenPoint()) << " after an X move to " << Coordinates(target);

    const POINT windowsTarget = m_window.ScreenPointOf(POINT{kClickPoint.x + 20, kClickPoint.y + 10});
    SetCursorPos(windowsTarget.x, windowsTarget.y);
    const std::string expected = "X=" + std::to_string(windowsTarget.x) + " Y=" + std::to_string(windowsTarget.y);
    EXPECT_EQ(testing_support::RunUnixCommand(
                  "test \"$(xdotool getmouselocation --shell | head -n 2 | xargs)\" = '" + expected + "'",
                  kWaitMs),
        0)
        << "the X pointer is not at " << expected << " after SetCursorPos";
}

class XButtonTest : public XInputFilterTest, public ::testing::WithParamInterface<MouseButton> {};

TEST_P(XButtonTest, ClickArrivesUnchangedWithoutFilter)
{
    ASSERT_TRUE(XClickAt(kClickPoint, GetParam().xdotoolButton));
    EXPECT_TRUE(ArrivedOnceAt(GetParam().pressMessage, kClickPoint));
    EXPECT_TRUE(ArrivedOnceAt(GetParam().releaseMessage, kClickPoint));
    EXPECT_EQ(m_window.CountOf(WM_LBUTTONDOWN) + m_window.CountOf(WM_LBUTTONUP), 0U) << DescribeMessages();
}

TEST_P(XButtonTest, ClickArrivesAsLeftClickWithFilter)
{
    ASSERT_TRUE(InstallFilter());
    ASSERT_TRUE(XClickAt(kClickPoint, GetParam().xdotoolButton));
    EXPECT_TRUE(ArrivedOnceAt(WM_LBUTTONDOWN, kClickPoint));
    EXPECT_TRUE(ArrivedOnceAt(WM_LBUTTONUP, kClickPoint));
    EXPECT_EQ(m_window.CountOfNonLeftButtonMessages(), 0U) << DescribeMessages();
    EXPECT_FALSE(IsButtonDown(kLeftButton));
}

INSTANTIATE_TEST_SUITE_P(Buttons, XButtonTest, ::testing::Values(kRightButton, kMiddleButton, kX1Button, kX2Button),
    ButtonTestName);

TEST_F(XInputFilterTest, RemovalRestoresPlainRightClicks)
{
    ASSERT_TRUE(InstallFilter());
    m_library.RemoveMouseFilter(WH_MOUSE_LL);
    ASSERT_TRUE(XClickAt(kClickPoint, kRightButton.xdotoolButton));
    EXPECT_TRUE(ArrivedOnceAt(WM_RBUTTONDOWN, kClickPoint));
    EXPECT_TRUE(ArrivedOnceAt(WM_RBUTTONUP, kClickPoint));
    EXPECT_EQ(m_window.CountOf(WM_LBUTTONDOWN), 0U) << DescribeMessages();
}
