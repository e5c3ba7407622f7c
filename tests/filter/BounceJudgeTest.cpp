#include "BounceJudge.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Event {
    WPARAM message;
    DWORD time;
    bool swallowed;
    DWORD mouseData = 0;
    ULONG_PTR extraInfo = 0;
};

struct Sequence {
    const char* name;
    DWORD bounceMs;
    std::vector<Event> events;
};

constexpr DWORD kX1 = MAKELONG(0, XBUTTON1);
constexpr DWORD kX2 = MAKELONG(0, XBUTTON2);
constexpr ULONG_PTR kOwn = kFilterInjectionMark;

// Each sequence starts from a judge that has seen nothing.
const Sequence kSequences[] = {
    {"a click soon after a click goes with its release",
        300, {{WM_LBUTTONDOWN, 0, false}, {WM_LBUTTONUP, 10, false}, {WM_LBUTTONDOWN, 60, true},
                 {WM_LBUTTONUP, 70, true}, {WM_LBUTTONDOWN, 370, false}, {WM_LBUTTONUP, 380, false}}},
    {"judged from the release, not from the press",
        300, {{WM_LBUTTONDOWN, 0, false}, {WM_LBUTTONUP, 400, false}, {WM_LBUTTONDOWN, 450, true},
                 {WM_LBUTTONUP, 460, true}}},
    {"a bounce's release starts the wait again",
        300, {{WM_RBUTTONDOWN, 0, false}, {WM_RBUTTONUP, 10, false}, {WM_RBUTTONDOWN, 60, true},
                 {WM_RBUTTONUP, 70, true}, {WM_MBUTTONDOWN, 360, true}, {WM_MBUTTONUP, 370, true}}},
    {"a swallowed press's release goes whenever it comes",
        300, {{WM_RBUTTONDOWN, 0, false}, {WM_RBUTTONUP, 10, false}, {WM_RBUTTONDOWN, 50, true},
                 {WM_LBUTTONDOWN, 400, false}, {WM_LBUTTONUP, 410, false}, {WM_RBUTTONUP, 420, true},
                 {WM_RBUTTONDOWN, 800, false}}},
    {"the two X buttons are told apart",
        300, {{WM_XBUTTONDOWN, 0, false, kX1}, {WM_XBUTTONUP, 10, false, kX1}, {WM_XBUTTONDOWN, 50, true, kX2},
                 {WM_XBUTTONUP, 60, false, kX1}, {WM_XBUTTONUP, 70, true, kX2}}},
    {"the filter's own events are never judged and start no wait",
        300, {{WM_RBUTTONDOWN, 0, false}, {WM_RBUTTONUP, 10, false}, {WM_LBUTTONDOWN, 20, false, 0, kOwn},
                 {WM_LBUTTONUP, 30, false, 0, kOwn}, {WM_RBUTTONDOWN, 310, false}}},
    {"moves and the wheel pass and change nothing",
        300, {{WM_LBUTTONDOWN, 0, false}, {WM_LBUTTONUP, 10, false}, {WM_MOUSEMOVE, 20, false},
                 {WM_MOUSEWHEEL, 30, false}, {WM_LBUTTONDOWN, 40, true}}},
    {"nothing is judged at 0",
        0, {{WM_LBUTTONDOWN, 0, false}, {WM_LBUTTONUP, 10, false}, {WM_LBUTTONDOWN, 11, false},
               {WM_LBUTTONUP, 12, false}}},
    {"right across the tick count's wrap",
        300, {{WM_LBUTTONDOWN, 0xFFFFFF00, false}, {WM_LBUTTONUP, 0xFFFFFFF0, false}, {WM_LBUTTONDOWN, 0x10, true},
                 {WM_LBUTTONUP, 0x20, true}}},
    {"a swallowed press whose release never came is judged anew",
        300, {{WM_RBUTTONDOWN, 0, false}, {WM_RBUTTONUP, 10, false}, {WM_RBUTTONDOWN, 50, true},
                 {WM_RBUTTONDOWN, 1000, false}, {WM_RBUTTONUP, 1010, false}}},
};

} // namespace

TEST(BounceJudge, Sequences)
{
    for (const Sequence& sequence : kSequences) {
        BounceJudge judge;
        ASSERT_TRUE(judge.SetBounceMs(sequence.bounceMs));
        for (size_t i = 0; i < sequence.events.size(); ++i) {
            const Event& event = sequence.events[i];
            EXPECT_EQ(judge.Swallows(event.message, event.mouseData, event.time, event.extraInfo), event.swallowed)
                << sequence.name << ", event " << i;
        }
    }
}

TEST(BounceJudge, ATimeAbove500IsRefused)
{
    BounceJudge judge;
    EXPECT_TRUE(judge.SetBounceMs(500));
    EXPECT_FALSE(judge.SetBounceMs(501));
}
