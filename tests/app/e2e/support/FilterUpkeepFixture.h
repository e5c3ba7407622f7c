#pragma once

// The fixture of the tests that play Windows' part against the program's
// filter. Wine never drops a hook, so the probe inside the program does: it
// removes the library's hook behind its back (the library keeps the dead
// handle, as on Windows), refuses an install or an icon, or keeps a shell
// call waiting. Events come as Windows sends them: WM_POWERBROADCAST and
// WM_WTSSESSION_CHANGE to the program's window, "TaskbarCreated" to all.

#include "FilterProbeCalls.h"
#include "ProbeCall.h"
#include "ProgramFixture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <wtsapi32.h>

#include <string>
#include <vector>

namespace e2e {

inline constexpr DWORD kAnswerTimeoutMs = 15000;
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
        WatchLibrary();
    }

    void WatchLibrary()
    {
        std::string path = BuiltLibraryPath();
        ASSERT_EQ(Probe(kWatchFilterLibraryExport, path.data(), path.size() + 1), 1u);
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
        PostMessageA(m_mainWindow, WM_COMMAND, command, 0);
        const char* const storedText = command == kCommandOne ? "1" : "2";
        EXPECT_TRUE(StoredModeBecomes(storedText, kAnswerTimeoutMs)) << "the mode was not applied";
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

} // namespace e2e
