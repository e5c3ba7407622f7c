#pragma once

// Fixture of the tests that drive the installed filter with real input: the
// library loaded from the test program's folder, and a shown, focused window
// of the test with the pointer over its middle.
//
// The filter's hook runs on this thread, the one that installs it, so every
// wait here pumps messages; without that, each mouse event would wait for the
// hook to time out (Wine: about 2 s per event, and after about 5 s without
// pumping it skips the hook altogether, so events pass unremapped).
//
// Wine calls a hook of the calling thread from inside SendInput, before
// SendInput returns; Windows calls it later, when the thread pumps. The tests
// wait for what arrives at the window, so either order serves.

#include "InjectedMouseInput.h"
#include "LoadedFilterLibrary.h"
#include "MouseTestWindow.h"

#include <gtest/gtest.h>

#include <string>

inline bool SamePoint(POINT a, POINT b)
{
    return a.x == b.x && a.y == b.y;
}

// Names the cases of a test parameterised by button after the button.
inline std::string ButtonTestName(const ::testing::TestParamInfo<MouseButton>& tested)
{
    return tested.param.name;
}

class FilterDesktopTest : public ::testing::Test {
protected:
    // Generous: the machine is shared and Wine is slow to start things.
    static constexpr DWORD kWaitMs = 8000;

    void SetUp() override;
    void TearDown() override;

    ::testing::AssertionResult InstallFilter();
    // Puts the pointer on this point of the window and waits until the system has it there.
    ::testing::AssertionResult PlacePointerAt(POINT clientPoint);
    POINT PointerScreenPoint() const;

    // Input reaches the window in the order it was made. A pointer move made
    // after everything else therefore arrives last: once it has arrived, so
    // has anything else the earlier input caused, including messages that
    // should not exist. Moves the pointer by one pixel.
    ::testing::AssertionResult FlushInjectedInput();

    // Clicks the button with SendInput where the pointer is and checks that
    // the window got exactly one left press and one left release there, and no
    // message of any other button. The pointer must not move.
    ::testing::AssertionResult ClickArrivesAsLeftClick(const MouseButton& button);
    // Clicks the button with SendInput and checks that the window got exactly
    // that button's press and release where the pointer is, and nothing else.
    ::testing::AssertionResult ClickArrivesUnchanged(const MouseButton& button);

    // What the window received since the last check, for failure messages.
    std::string DescribeMessages() const;

    LoadedFilterLibrary m_library;
    MouseTestWindow& m_window = SharedWindow();

private:
    // One window serves every test of the program. Wine's X11 driver waits up
    // to 2 s for a window manager to confirm that an activated window was
    // withdrawn; this Xvfb has none, so hiding or destroying a window per test
    // would cost each test those 2 s (Windows hides at once).
    static MouseTestWindow& SharedWindow();
};
