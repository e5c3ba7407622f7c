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
