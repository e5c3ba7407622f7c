#include "FilterAction.h"

#include <gtest/gtest.h>

TEST(FilterAction, PressesOfOtherButtonsBecomeLeftPresses)
{
    EXPECT_EQ(FilterActionFor(WM_RBUTTONDOWN), FilterAction::InjectLeftDown);
    EXPECT_EQ(FilterActionFor(WM_MBUTTONDOWN), FilterAction::InjectLeftDown);
    EXPECT_EQ(FilterActionFor(WM_XBUTTONDOWN), FilterAction::InjectLeftDown);
    EXPECT_EQ(FilterActionFor(WM_RBUTTONUP), FilterAction::InjectLeftUp);
    EXPECT_EQ(FilterActionFor(WM_MBUTTONUP), FilterAction::InjectLeftUp);
    EXPECT_EQ(FilterActionFor(WM_XBUTTONUP), FilterAction::InjectLeftUp);
}

TEST(FilterAction, EverythingElsePasses)
{
    // Low-level hooks never see double-click messages; should one come, it is
    // not a press to replace.
    for (const WPARAM message : {WPARAM{WM_MOUSEMOVE}, WPARAM{WM_LBUTTONDOWN}, WPARAM{WM_LBUTTONUP},
             WPARAM{WM_MOUSEWHEEL}, WPARAM{WM_MOUSEHWHEEL}, WPARAM{WM_LBUTTONDBLCLK}, WPARAM{WM_RBUTTONDBLCLK},
             WPARAM{WM_MBUTTONDBLCLK}, WPARAM{WM_XBUTTONDBLCLK}, WPARAM{0}})
        EXPECT_EQ(FilterActionFor(message), FilterAction::Pass) << "message 0x" << std::hex << message;
}
