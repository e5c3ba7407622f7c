#include "FilterAction.h"

#include <gtest/gtest.h>

namespace {

constexpr ULONG_PTR kPenSignature = 0xFF515700;
constexpr ULONG_PTR kOtherProgramsInfo = 0x5A5A;

struct Decision {
    WPARAM message;
    ULONG_PTR extraInfo;
    bool swapped;
    FilterAction expected;
};

// The whole rule as a table: which events are replaced, by which physical
// button, and which pass.
const Decision kDecisions[] = {
    {WM_RBUTTONDOWN, 0, false, FilterAction::InjectLeftDown},
    {WM_MBUTTONDOWN, 0, false, FilterAction::InjectLeftDown},
    {WM_XBUTTONDOWN, 0, false, FilterAction::InjectLeftDown},
    {WM_RBUTTONUP, 0, false, FilterAction::InjectLeftUp},
    {WM_MBUTTONUP, 0, false, FilterAction::InjectLeftUp},
    {WM_XBUTTONUP, 0, false, FilterAction::InjectLeftUp},
    // Swapped buttons: the right button is the one Windows turns into the primary click.
    {WM_RBUTTONDOWN, 0, true, FilterAction::InjectRightDown},
    {WM_MBUTTONDOWN, 0, true, FilterAction::InjectRightDown},
    {WM_XBUTTONDOWN, 0, true, FilterAction::InjectRightDown},
    {WM_RBUTTONUP, 0, true, FilterAction::InjectRightUp},
    {WM_MBUTTONUP, 0, true, FilterAction::InjectRightUp},
    {WM_XBUTTONUP, 0, true, FilterAction::InjectRightUp},
    // Other programs' injections are remapped like the mouse's own events.
    {WM_RBUTTONDOWN, kOtherProgramsInfo, false, FilterAction::InjectLeftDown},
    {WM_XBUTTONUP, kPenSignature, true, FilterAction::InjectRightUp},
    {WM_MBUTTONDOWN, kFilterInjectionMark + 1, false, FilterAction::InjectLeftDown},
    // The filter's own events pass, whatever message they came back as.
    {WM_RBUTTONDOWN, kFilterInjectionMark, false, FilterAction::Pass},
    {WM_RBUTTONUP, kFilterInjectionMark, true, FilterAction::Pass},
    {WM_MBUTTONDOWN, kFilterInjectionMark, true, FilterAction::Pass},
    {WM_XBUTTONUP, kFilterInjectionMark, false, FilterAction::Pass},
    {WM_LBUTTONDOWN, kFilterInjectionMark, true, FilterAction::Pass},
};

} // namespace

TEST(FilterAction, DecisionTable)
{
    for (const Decision& row : kDecisions) {
        const FilterAction action = FilterActionFor(row.message, row.extraInfo, [&] { return row.swapped; });
        EXPECT_EQ(action, row.expected) << "message 0x" << std::hex << row.message << ", extra information 0x"
                                        << row.extraInfo << ", swapped " << row.swapped;
    }
}

TEST(FilterAction, EverythingElsePassesWithoutAskingForTheSwap)
{
    // Low-level hooks never see double-click messages; should one come, it is
    // not a press to replace. Asking for the swap costs a system call, which
    // events that pass (every pointer move) must not pay.
    for (const WPARAM message : {WPARAM{WM_MOUSEMOVE}, WPARAM{WM_LBUTTONDOWN}, WPARAM{WM_LBUTTONUP},
             WPARAM{WM_MOUSEWHEEL}, WPARAM{WM_MOUSEHWHEEL}, WPARAM{WM_LBUTTONDBLCLK}, WPARAM{WM_RBUTTONDBLCLK},
             WPARAM{WM_MBUTTONDBLCLK}, WPARAM{WM_XBUTTONDBLCLK}, WPARAM{0}}) {
        for (const bool swapped : {false, true}) {
            int asked = 0;
            const auto query = [&] {
                ++asked;
                return swapped;
            };
            EXPECT_EQ(FilterActionFor(message, 0, query), FilterAction::Pass) << "message 0x" << std::hex << message;
            EXPECT_EQ(asked, 0) << "message 0x" << std::hex << message;
        }
    }
}
