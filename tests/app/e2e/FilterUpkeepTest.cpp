// The filter survives what makes Windows drop a low-level hook. Wine never
// drops one, so the probe inside the program plays Windows' part: it removes
// the library's hook behind its back (the library keeps the dead handle, as
// on Windows), refuses an install or an icon, or keeps a shell call waiting.
// Events come as Windows sends them: WM_POWERBROADCAST and
// WM_WTSSESSION_CHANGE to the program's window, "TaskbarCreated" to all.

#include "FilterProbeCalls.h"
#include "NotificationArea.h"
#include "ProbeCall.h"
#include "ProgramFixture.h"
#include "RealInput.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <wtsapi32.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {
namespace {

constexpr DWORD kAnswerTimeoutMs = 15000;
// A lost hook must be back within 10 s of the first input it missed; X and
// a loaded machine add their delay to the click that shows it.
constexpr DWORD kSilentLossBoundMs = 10000;
constexpr DWORD kClickAllowanceMs = 1000;
// A refused install is retried after 1 s, a refused icon after 1 s.
constexpr DWORD kRetryTimeoutMs = 5000;
constexpr DWORD kRenewalsInARow = 50;

struct Event {
    const char* name;
    UINT message;
    WPARAM wParam;
};

class FilterUpkeepTest : public ProgramTest {
protected:
    // Normal applied at start, so the library is loaded before the probe
    // watches it; then One, which the probe sees install the hook.
    void StartWatched()
    {
        ASSERT_TRUE(StoreModeText("2"));
        ASSERT_TRUE(Start(kModeIconId));
        std::string libraryPath = BuiltLibraryPath();
        std::vector<char> path(libraryPath.begin(), libraryPath.end());
        path.push_back(0);
        ASSERT_EQ(Probe(kWatchFilterLibraryExport, path.data(), path.size()), 1u);
    }

    void StartInOne()
    {
        ASSERT_NO_FATAL_FAILURE(StartWatched());
        Command(kCommandOne);
        // One install, and a renewal when the icon's re-add kept the program
        // waiting (removing the tray's only icon takes about 2 s under Wine).
        m_installsAtOne = Probe(kFilterInstallsExport);
        ASSERT_GE(m_installsAtOne, 1u) << "choosing One installs the hook";
        ASSERT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);
    }

    DWORD Probe(const char* exportName, void* data = nullptr, size_t size = 0)
    {
        DWORD result = 0;
        const std::string failure = CallProbe(m_program.Handle(), exportName, data, size, result);
        EXPECT_EQ(failure, "");
        return result;
    }

    // What the menu sends, without the 2 s that opening it costs. The mode is
    // stored once it has been applied: a message sent to the program would be
    // answered from inside the shell calls of applying it.
    void Command(WORD command)
    {
        const char* const storedText = command == kCommandOne ? "1" : "2";
        PostMessageA(m_mainWindow, WM_COMMAND, command, 0);
        const bool stored = testing_support::PumpMessagesUntil(
            [&] {
                const std::optional<RegistryData> data = ReadStoredMode();
                return data && data->Text() == storedText;
            },
            kAnswerTimeoutMs);
        EXPECT_TRUE(stored) << "the mode was not applied";
        LetProgramSettle();
    }

    void Deliver(const Event& event)
    {
        DWORD_PTR ignored = 0;
        const HWND target = event.message == TaskbarCreated() ? HWND_BROADCAST : m_mainWindow;
        SendMessageTimeoutA(target, event.message, event.wParam, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &ignored);
        LetProgramSettle();
    }

    void DropFilter() { ASSERT_EQ(Probe(kDropMouseFilterExport), 1u) << "the probe knows no hook to drop"; }

    static UINT TaskbarCreated() { return RegisterWindowMessageA("TaskbarCreated"); }

    static std::vector<Event> Events()
    {
        return {
            {"resume from sleep (automatic)", WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC},
            {"resume from sleep (by the user)", WM_POWERBROADCAST, PBT_APMRESUMESUSPEND},
            {"session unlock", WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK},
            {"console reconnect", WM_WTSSESSION_CHANGE, WTS_CONSOLE_CONNECT},
            {"remote reconnect", WM_WTSSESSION_CHANGE, WTS_REMOTE_CONNECT},
            {"TaskbarCreated", TaskbarCreated(), 0},
        };
    }

    DWORD m_installsAtOne = 0;
};

TEST_F(FilterUpkeepTest, EveryEventAfterWhichWindowsMayDropTheHookBringsRemappingBack)
{
    ASSERT_NO_FATAL_FAILURE(StartInOne());

    for (const Event& event : Events()) {
        ASSERT_NO_FATAL_FAILURE(DropFilter());
        Deliver(event);
        EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived) << "after " << event.name;
    }

    // A shell that keeps the program waiting while One is applied.
    Command(kCommandNormal);
    ASSERT_EQ(Probe(kSlowNextShellCallExport), 1u);
    Command(kCommandOne);
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived) << "after a slow shell call";
    EXPECT_TRUE(ShowsOnlyIcon(kModeIconId));
}

// Real presses held across a lost hook and across the program's end: the
// left press injected for each is released, and no button stays down.
TEST_F(FilterUpkeepTest, NoLeftPressOutlivesALostHookOrTheProgram)
{
    ASSERT_NO_FATAL_FAILURE(StartInOne());
    ClickRecorder& recorder = TestWindow();
    const auto held = [&](const char* expected, const std::function<void()>& meanwhile) {
        recorder.Clear();
        ASSERT_TRUE(PressAt(recorder.Centre(), kRightButton));
        ASSERT_TRUE(recorder.WaitForMessages(1, kAnswerTimeoutMs));
        meanwhile();
        recorder.WaitForMessages(3, kAnswerTimeoutMs);
        EXPECT_EQ(ButtonMessageNames(recorder.Messages()), expected);
        EXPECT_FALSE(GetAsyncKeyState(VK_LBUTTON) & 0x8000) << "the left button stays down";
        EXPECT_FALSE(GetAsyncKeyState(VK_RBUTTON) & 0x8000) << "the right button stays down";
    };
    held("WM_LBUTTONDOWN WM_RBUTTONUP WM_LBUTTONUP", [&] {
        DropFilter();
        ReleaseButton(kRightButton);
        recorder.WaitForMessages(2, kAnswerTimeoutMs);
        Deliver(Events()[0]);
    });
    held("WM_LBUTTONDOWN WM_LBUTTONUP WM_RBUTTONUP", [&] {
        PostMessageA(m_mainWindow, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(m_program.WaitForExit(kAnswerTimeoutMs));
        ReleaseButton(kRightButton);
    });
}

TEST_F(FilterUpkeepTest, ALossWithNoEventIsMendedWithinTenSecondsOfTheNextInput)
{
    ASSERT_NO_FATAL_FAILURE(StartInOne());
    ASSERT_NO_FATAL_FAILURE(DropFilter());

    const DWORD firstInput = GetTickCount();
    ASSERT_EQ(RealRightClickOnTestWindow(), kRightClickArrived) << "the hook was not lost";
    testing_support::PumpMessagesFor(kSilentLossBoundMs + kClickAllowanceMs - (GetTickCount() - firstInput));
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);
    EXPECT_EQ(Probe(kFilterInstallsExport), m_installsAtOne + 1) << "one renewal for one loss";

    // In Normal nothing watches: input the filter never sees turns nothing on.
    Command(kCommandNormal);
    const DWORD installsInNormal = Probe(kFilterInstallsExport);
    const DWORD normalInput = GetTickCount();
    ASSERT_EQ(RealRightClickOnTestWindow(), kRightClickArrived);
    testing_support::PumpMessagesFor(kSilentLossBoundMs + kClickAllowanceMs - (GetTickCount() - normalInput));
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived);
    EXPECT_EQ(Probe(kFilterInstallsExport), installsInNormal);
}

TEST_F(FilterUpkeepTest, FiftyRenewalsInARowLeaveOneHookThatNormalRemoves)
{
    ASSERT_NO_FATAL_FAILURE(StartInOne());

    const Event unlock = Events()[2];
    for (DWORD i = 0; i < kRenewalsInARow; ++i) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(m_mainWindow, unlock.message, unlock.wParam, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &ignored);
    }
    EXPECT_EQ(Probe(kFilterInstallsExport), m_installsAtOne + kRenewalsInARow);
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);

    Command(kCommandNormal);
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived) << "a hook outlived the renewals";

    const DWORD installsInNormal = Probe(kFilterInstallsExport);
    for (const Event& event : Events())
        Deliver(event);
    EXPECT_EQ(RealRightClickOnTestWindow(), kRightClickArrived) << "an event turned the filter on in Normal";
    EXPECT_EQ(Probe(kFilterInstallsExport), installsInNormal);
    const std::optional<RegistryData> stored = ReadStoredMode();
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->Text(), "2");
}

TEST_F(FilterUpkeepTest, ARefusedInstallAndARefusedIconComeBackWithoutTheUser)
{
    ASSERT_NO_FATAL_FAILURE(StartWatched());
    ASSERT_EQ(Probe(kRefuseNextFilterInstallExport), 1u);
    ASSERT_EQ(Probe(kRefuseNextIconAddExport), 1u);

    Command(kCommandOne);

    const DWORD refusals = Probe(kRefusalsExport);
    ASSERT_EQ(LOWORD(refusals), 1u) << "the install was not refused";
    ASSERT_EQ(HIWORD(refusals), 1u) << "the icon's add was not refused";
    EXPECT_TRUE(WaitForIcon(m_mainWindow, kModeIconId, true, kRetryTimeoutMs)) << "the icon never came back";
    EXPECT_TRUE(testing_support::PumpMessagesUntil([&] { return Probe(kFilterInstallsExport) >= 1; }, kRetryTimeoutMs))
        << "the install was never retried";
    EXPECT_EQ(RealRightClickOnTestWindow(), kLeftClickArrived);
    const std::optional<RegistryData> stored = ReadStoredMode();
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->Text(), "1") << "One stays the chosen mode";
}

} // namespace
} // namespace e2e
