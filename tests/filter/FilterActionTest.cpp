#include "FilterAction.h"
#include "PressLedger.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

namespace {

// An event (message, X button, swapped), a renewal that keeps the press (0),
// or a loss told by Windows, renewal refused or not (1).
struct LedgerStep {
    WPARAM message;
    DWORD mouseData = 0;
    bool swapped = false;
    bool overNormalProgram = false;
};

// One word per step: what is injected ("LD+LU"), "-" for nothing, "pass".
std::string Injected(const std::vector<LedgerStep>& steps)
{
    PressLedger ledger;
    std::string text;
    for (const LedgerStep& step : steps) {
        PressInjections in;
        if (step.message == 1)
            in.count = (in.flags[0] = ledger.TakeHeldRelease()) != 0 ? 1 : 0;
        else if (step.message > 1)
            in = ledger.Take(step.message, step.mouseData, 0, [&] { return step.swapped; },
                             [&](UINT) { return step.overNormalProgram; });
        text += std::string(text.empty() ? "" : " ") + (!in.swallow ? "pass" : in.count == 0 ? "-" : "");
        for (UINT i = 0; i < in.count; ++i)
            text += std::string(i == 0 ? "" : "+") + (in.flags[i] == MOUSEEVENTF_LEFTDOWN ? "LD"
                    : in.flags[i] == MOUSEEVENTF_LEFTUP ? "LU" : in.flags[i] == MOUSEEVENTF_RIGHTDOWN ? "RD" : "RU");
    }
    return text;
}

} // namespace

// Each primary press injected is released exactly once, and no release is
// injected for a press never made.
TEST(PressLedger, Table)
{
    constexpr DWORD x1 = XBUTTON1 << 16, x2 = XBUTTON2 << 16;
    const std::pair<std::vector<LedgerStep>, const char*> cases[] = {
        {{{WM_RBUTTONDOWN}, {WM_MBUTTONDOWN}, {WM_RBUTTONUP}, {WM_MBUTTONUP}}, "LD LU+LD LU -"},
        {{{WM_RBUTTONDOWN}, {WM_MBUTTONDOWN}, {WM_MBUTTONUP}, {WM_RBUTTONUP}}, "LD LU+LD LU -"},
        {{{WM_XBUTTONDOWN, x1}, {WM_XBUTTONDOWN, x2}, {WM_XBUTTONUP, x2}, {WM_XBUTTONUP, x1}}, "LD LU+LD LU -"},
        {{{WM_RBUTTONDOWN}, {WM_RBUTTONUP, 0, true}}, "LD LU"},
        {{{WM_MBUTTONDOWN, 0, true}, {WM_MBUTTONUP}}, "RD RU"},
        {{{WM_RBUTTONDOWN}, {0}, {WM_RBUTTONUP}}, "LD - LU"},
        {{{WM_RBUTTONDOWN}, {1}, {WM_RBUTTONUP}, {1}}, "LD LU - -"},
        {{{WM_MBUTTONDOWN}, {1}, {1}, {WM_RBUTTONDOWN}, {WM_MBUTTONUP}}, "LD LU - LD LU"},
        // A press over a program where the buttons work as usual passes with
        // its release; the release of a replaced press never does.
        {{{WM_RBUTTONDOWN, 0, false, true}, {WM_RBUTTONUP}}, "pass pass"},
        {{{WM_RBUTTONDOWN}, {WM_RBUTTONUP, 0, false, true}}, "LD LU"},
        {{{WM_RBUTTONDOWN}, {WM_MBUTTONDOWN, 0, false, true}, {WM_MBUTTONUP}, {WM_RBUTTONUP}}, "LD pass pass LU"},
    };
    for (size_t row = 0; row < std::size(cases); ++row)
        EXPECT_EQ(Injected(cases[row].first), cases[row].second) << "row " << row;
}
