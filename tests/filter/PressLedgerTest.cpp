#include "PressLedger.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One thing that happens to the ledger: an event reaching the hook (with the
// swap setting and the menu mode of that moment), or a renewal of the hook.
struct Step {
    enum Kind { Event, RenewalKeepingThePress, Loss } kind;
    WPARAM message = 0;
    DWORD mouseData = 0;
    bool swapped = false;
    bool inMenu = false;
};

Step Ev(WPARAM message, bool swapped = false, DWORD mouseData = 0) { return {Step::Event, message, mouseData, swapped}; }
Step InMenu(WPARAM message) { return {Step::Event, message, 0, false, true}; }
const Step kRenewal{Step::RenewalKeepingThePress};
// A renewal after sleep or a lock, refused or not: the held press goes.
const Step kLoss{Step::Loss};
constexpr DWORD kX1 = XBUTTON1 << 16;
constexpr DWORD kX2 = XBUTTON2 << 16;

std::string Name(DWORD flag)
{
    switch (flag) {
    case MOUSEEVENTF_LEFTDOWN: return "LD";
    case MOUSEEVENTF_LEFTUP: return "LU";
    case MOUSEEVENTF_RIGHTDOWN: return "RD";
    case MOUSEEVENTF_RIGHTUP: return "RU";
    default: return "?";
    }
}

// What the hook does for each step, one word per step: the injected buttons
// joined by "+", "-" for an event swallowed with nothing injected, "pass".
std::string Injected(const std::vector<Step>& steps)
{
    PressLedger ledger;
    std::string text;
    for (const Step& step : steps) {
        PressInjections injections;
        if (step.kind == Step::Loss) {
            if (const DWORD flag = ledger.TakeHeldRelease())
                injections.flags[injections.count++] = flag;
        } else if (step.kind == Step::Event) {
            injections = ledger.Take(step.message, step.mouseData, 0, [&] { return step.swapped; },
                [&] { return step.inMenu; });
        } else {
            continue;
        }
        std::string word = injections.swallow ? (injections.count == 0 ? "-" : "") : "pass";
        for (UINT i = 0; i < injections.count; ++i)
            word += (i == 0 ? "" : "+") + Name(injections.flags[i]);
        text += (text.empty() ? "" : " ") + word;
    }
    return text;
}

struct Case {
    const char* name;
    std::vector<Step> steps;
    const char* expected;
};

} // namespace

// Every case ends with nothing held: each primary press injected is released
// exactly once, and no release is injected for a press never made.
TEST(PressLedger, Table)
{
    const Case cases[] = {
        {"a right click", {Ev(WM_RBUTTONDOWN), Ev(WM_RBUTTONUP)}, "LD LU"},
        {"right and middle held together, right released first",
            {Ev(WM_RBUTTONDOWN), Ev(WM_MBUTTONDOWN), Ev(WM_RBUTTONUP), Ev(WM_MBUTTONUP)}, "LD LU+LD LU -"},
        {"right and middle held together, middle released first",
            {Ev(WM_RBUTTONDOWN), Ev(WM_MBUTTONDOWN), Ev(WM_MBUTTONUP), Ev(WM_RBUTTONUP)}, "LD LU+LD LU -"},
        {"X1 and X2 held together",
            {Ev(WM_XBUTTONDOWN, false, kX1), Ev(WM_XBUTTONDOWN, false, kX2), Ev(WM_XBUTTONUP, false, kX2),
                Ev(WM_XBUTTONUP, false, kX1)},
            "LD LU+LD LU -"},
        {"X2 pressed before the filter, X1 clicked meanwhile",
            {Ev(WM_XBUTTONDOWN, false, kX1), Ev(WM_XBUTTONUP, false, kX2), Ev(WM_XBUTTONUP, false, kX1)},
            "LD pass LU"},
        {"the buttons switched between press and release",
            {Ev(WM_RBUTTONDOWN), Ev(WM_RBUTTONUP, true)}, "LD LU"},
        {"the buttons switched back between press and release",
            {Ev(WM_MBUTTONDOWN, true), Ev(WM_MBUTTONUP, false)}, "RD RU"},
        {"a renewal between press and release keeps the drag",
            {Ev(WM_RBUTTONDOWN), kRenewal, Ev(WM_RBUTTONUP)}, "LD LU"},
        {"a loss between press and release (the renewal refused or not)",
            {Ev(WM_RBUTTONDOWN), kLoss, Ev(WM_RBUTTONUP)}, "LD LU -"},
        {"a loss with nothing held", {Ev(WM_RBUTTONDOWN), Ev(WM_RBUTTONUP), kLoss}, "LD LU -"},
        {"a release that never came, then a new press",
            {Ev(WM_MBUTTONDOWN), Ev(WM_RBUTTONDOWN), Ev(WM_RBUTTONUP)}, "LD LU+LD LU"},
        {"pressed before the filter", {Ev(WM_RBUTTONUP)}, "pass"},
        {"a press that closes a popup menu is a whole click",
            {InMenu(WM_MBUTTONDOWN), Ev(WM_MBUTTONUP), Ev(WM_RBUTTONDOWN), Ev(WM_RBUTTONUP)}, "LD+LU - LD LU"},
        {"the menu's whole click, its release lost", {InMenu(WM_MBUTTONDOWN), kLoss}, "LD+LU -"},
    };
    for (const Case& tested : cases)
        EXPECT_EQ(Injected(tested.steps), tested.expected) << tested.name;
}
