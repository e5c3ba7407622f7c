#include "FilterLibrary.h"
#include "TestSupport.h"
#include "TrayWindow.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testing_support::PumpMessagesUntil;

constexpr DWORD kInputTimeoutMs = 10000;

// The filter library bound as the main window binds it, seen from the outside:
// a real right-button click on a window of this program, through X.
class FilterHookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_window.m_onMessage = [this](UINT message, WPARAM, LPARAM) {
            if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN)
                m_presses.push_back(message);
        };
        SetWindowPos(m_window.Handle(), HWND_TOP, 300, 300, 200, 200, SWP_SHOWWINDOW);
        testing_support::PumpMessagesFor(200);
    }

    // The filter is off whatever a test left behind.
    void TearDown() override { CallMouseFilter(FilterLibraryPath(), 2); }

    UINT RightClickArrivesAs()
    {
        m_presses.clear();
        // xdotool button 3 is the right button; the window's client area is
        // around (400, 400).
        EXPECT_EQ(testing_support::RunUnixCommand("xdotool mousemove 400 400 click 3", kInputTimeoutMs), 0);
        PumpMessagesUntil([this] { return !m_presses.empty(); }, kInputTimeoutMs);
        return m_presses.empty() ? 0 : m_presses.front();
    }

    TrayTestWindow m_window;
    std::vector<UINT> m_presses;
};

TEST_F(FilterHookTest, ModeOneTurnsARightPressIntoALeftOneAndNormalUndoesIt)
{
    EXPECT_EQ(RightClickArrivesAs(), static_cast<UINT>(WM_RBUTTONDOWN));
    ASSERT_EQ(CallMouseFilter(FilterLibraryPath(), 1), FilterCallResult::Called);
    EXPECT_EQ(RightClickArrivesAs(), static_cast<UINT>(WM_LBUTTONDOWN));
    ASSERT_EQ(CallMouseFilter(FilterLibraryPath(), 2), FilterCallResult::Called);
    EXPECT_EQ(RightClickArrivesAs(), static_cast<UINT>(WM_RBUTTONDOWN));
}

} // namespace
