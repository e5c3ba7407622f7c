// Three minutes of a user's clicks among what happens to Vantrel in the field,
// in a seeded random order (each fault at least once). It checks invariants,
// not a script: every click arrives as the mode says, no button stays down,
// nothing piles up. VANTREL_SOAK_SEED replays a run, VANTREL_SOAK_SECONDS
// sets its length.

#include "FilterUpkeepFixture.h"
#include "MenuReader.h"
#include "NotificationArea.h"
#include "ProgramWindows.h"
#include "RealInput.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>
#include <sstream>

namespace e2e {
namespace {

constexpr DWORD kClickTimeoutMs = 8000;
constexpr DWORD kWarmUpSteps = 25;
// Wine's own handles come and go with its server calls; a leak grows with
// the run, far past this.
constexpr size_t kFootprintSlack = 8;

const std::pair<int, const char*> kButtons[] = {{kLeftButton, kLeftClickArrived},
    {kMiddleButton, "WM_MBUTTONDOWN WM_MBUTTONUP"}, {kRightButton, kRightClickArrived},
    {8, "WM_XBUTTONDOWN WM_XBUTTONUP"}, {9, "WM_XBUTTONDOWN WM_XBUTTONUP"}};

enum Fault { kHookLost, kEvent, kRefusedIcon, kSlowShellCall, kSwitchMode, kHeldPress, kSecondStart, kHang, kFaults };
const char* const kFaultNames[] = {"hook lost", "event", "refused icon", "slow shell call", "mode switch",
    "held press", "second start", "hang"};

DWORD EnvironmentNumber(const char* name, DWORD fallback)
{
    const char* const text = std::getenv(name);
    return text != nullptr && *text != 0 ? static_cast<DWORD>(std::strtoul(text, nullptr, 10)) : fallback;
}

// Handles, windows and GDI objects of the program. Wine answers 0 to
// GetProcessHandleCount and GetGuiResources; windows it does count.
std::vector<size_t> FootprintOf(const ProgramProcess& program)
{
    DWORD handles = 0;
    GetProcessHandleCount(program.Handle(), &handles);
    size_t windows = 0;
    for (const HWND window : TopLevelWindowsOf(program.Id()))
        windows += 1 + ChildWindowsOf(window).size();
    return {handles, windows, GetGuiResources(program.Handle(), GR_USEROBJECTS),
        GetGuiResources(program.Handle(), GR_GDIOBJECTS)};
}

// No button is logically down, and the window got a left release for every
// left press.
bool NothingHeld(const std::string& got)
{
    std::istringstream words(got);
    int unreleased = 0;
    for (std::string word; words >> word;)
        unreleased += int(word == "WM_LBUTTONDOWN") - int(word == "WM_LBUTTONUP");
    const int buttons[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2};
    return unreleased == 0 &&
        std::none_of(std::begin(buttons), std::end(buttons), [](int key) { return GetAsyncKeyState(key) < 0; });
}

class SoakTest : public FilterUpkeepTest {
protected:
    // What the test window got for one click, or for a press held across
    // something (the left press injected for it must be released by then).
    std::string Recorded(const std::function<void()>& input, size_t messages)
    {
        ClickRecorder& recorder = TestWindow();
        recorder.Clear();
        input();
        recorder.WaitForMessages(messages, kClickTimeoutMs);
        ++m_checks;
        return ButtonMessageNames(recorder.Messages());
    }

    // A right press held across something, then released.
    std::string Held(const std::function<void()>& meanwhile)
    {
        return Recorded(
            [&] {
                PressAt(TestWindow().Centre(), kRightButton);
                TestWindow().WaitForMessages(1, kClickTimeoutMs);
                meanwhile();
                ReleaseButton(kRightButton);
            },
            m_one ? 3 : 2);
    }

    void Inflict(Fault fault, std::mt19937& random)
    {
        const std::vector<Event> events = Events();
        const Event& event = events[random() % events.size()];
        switch (fault) {
        case kHookLost:
            // Only in One is there a hook; One chosen again renews it too.
            if (m_one && Probe(kDropMouseFilterExport) == 1 && random() % 2 == 0)
                return Command(kCommandOne);
            return Deliver(event);
        case kEvent:
            return Deliver(event);
        case kRefusedIcon:
        case kSlowShellCall:
            Probe(fault == kRefusedIcon ? kRefuseNextIconAddExport : kSlowNextShellCallExport);
            Deliver(events.back());
            ++m_checks;
            EXPECT_TRUE(WaitForIcon(m_mainWindow, kModeIconId, true, kAnswerTimeoutMs)) << "the icon never came back";
            return;
        case kSwitchMode:
            m_one = !m_one;
            return Command(m_one ? kCommandOne : kCommandNormal);
        case kHeldPress: {
            const std::string got = Held([&] { Inflict(random() % 2 == 0 ? kHookLost : kSwitchMode, random); });
            EXPECT_TRUE(NothingHeld(got)) << "a press held across a lost hook or a mode switch gave " << got;
            return;
        }
        case kSecondStart:
        case kHang:
            return StartAgain(fault == kHang, random);
        case kFaults:
            return;
        }
    }

    // The first defers (and opens its menu); while the program hangs for a
    // few seconds, the second runs and the first gives way once it recovers.
    void StartAgain(bool hang, std::mt19937& random)
    {
        ++m_checks;
        if (hang) {
            ASSERT_TRUE(m_program.Suspend(true));
        }
        ProgramProcess second = ProgramProcess::Launch({BuiltProgramPath(), "", ""});
        if (!hang) {
            EXPECT_TRUE(second.WaitForExit(kAnswerTimeoutMs)) << "the second start did not defer";
            m_menuWindow = WaitForOpenMenuWindow(m_program.Id(), kAnswerTimeoutMs);
            EXPECT_TRUE(m_menuWindow != nullptr && CloseMenu()) << "no menu for the second start";
            return;
        }
        const HWND window = WaitForMainWindow(second.Id(), kAnswerTimeoutMs);
        testing_support::PumpMessagesFor(1000 + random() % 2000);
        ASSERT_TRUE(m_program.Suspend(false));
        ASSERT_NE(window, nullptr) << "the start while the program hung did not run";
        EXPECT_TRUE(m_program.WaitForExit(kAnswerTimeoutMs)) << "the recovered program did not give way";
        m_program = std::move(second);
        m_mainWindow = window;
        EXPECT_TRUE(WaitForIcon(m_mainWindow, kModeIconId, true, kAnswerTimeoutMs));
        LetProgramSettle();
        // The probe learns the new program's hook at its next installation.
        ASSERT_NO_FATAL_FAILURE(WatchLibrary());
        Deliver(Events()[2]);
        m_baseline = FootprintOf(m_program);
    }

    bool m_one = true;
    DWORD m_checks = 0;
    std::vector<size_t> m_baseline;
};

TEST_F(SoakTest, ClicksAmongFaultsStayClicksAndNothingPilesUp)
{
    const DWORD seed = EnvironmentNumber("VANTREL_SOAK_SEED", GetTickCount());
    const DWORD seconds = EnvironmentNumber("VANTREL_SOAK_SECONDS", 180);
    std::printf("soak seed %lu (VANTREL_SOAK_SEED=%lu replays it), %lu s\n", seed, seed, seconds);
    std::fflush(stdout);
    std::mt19937 random(seed);
    ASSERT_NO_FATAL_FAILURE(StartInOne());
    std::vector<int> order(kFaults);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);

    std::string history;
    DWORD clicks = 0;
    DWORD faults[kFaults] = {};
    const DWORD start = GetTickCount();
    for (size_t step = 0; (GetTickCount() - start < seconds * 1000 || step < 2 * kFaults) && !HasFailure(); ++step) {
        if (step == kWarmUpSteps)
            m_baseline = FootprintOf(m_program);
        if (step % 2 == 0) {
            const auto& [xButton, normalClick] = kButtons[random() % std::size(kButtons)];
            history += " click " + std::to_string(xButton) + ";";
            ++clicks;
            const std::string got = Recorded([&] { ClickAt(TestWindow().Centre(), xButton); }, 2);
            EXPECT_EQ(got, m_one ? kLeftClickArrived : normalClick) << "button " << xButton;
        } else {
            const auto fault = static_cast<Fault>(step < 2 * kFaults ? order[step / 2] : random() % kFaults);
            history += std::string(" ") + kFaultNames[fault] + ";";
            ++faults[fault];
            Inflict(fault, random);
        }
    }

    EXPECT_EQ(ShownIconCount(), 1);
    const std::vector<size_t> footprint = FootprintOf(m_program);
    std::string growth;
    for (size_t i = 0; i < footprint.size() && !m_baseline.empty(); ++i) {
        EXPECT_LE(footprint[i], m_baseline[i] + kFootprintSlack) << "handles, windows, USER, GDI objects: " << i;
        growth += " " + std::to_string(m_baseline[i]) + "/" + std::to_string(footprint[i]);
    }
    // The end itself, with a press held: the OK command ends the program.
    if (!m_one)
        Command(kCommandOne);
    const std::string got = Held([&] {
        PostMessageA(m_mainWindow, WM_COMMAND, IDOK, 0);
        m_program.WaitForExit(kAnswerTimeoutMs);
    });
    EXPECT_EQ(got, "WM_LBUTTONDOWN WM_LBUTTONUP WM_RBUTTONUP");
    EXPECT_TRUE(NothingHeld(got));
    m_checks += 2;

    std::printf("soak seed %lu: %lu clicks, %lu invariants checked; faults:", seed, clicks, m_checks);
    for (int fault = 0; fault < kFaults; ++fault)
        std::printf(" %s %lu,", kFaultNames[fault], faults[fault]);
    std::printf("\nhandles, windows, USER, GDI objects after warm-up then at the end:%s\n", growth.c_str());
    if (HasFailure())
        std::printf("history of seed %lu:%s\n", seed, history.c_str());
}

} // namespace
} // namespace e2e
