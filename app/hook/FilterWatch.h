#pragma once

#include <windows.h>

#include "FilterLibrary.h"
#include "GrowingPause.h"

// Keeps the filter installed while One is in force. Windows removes a
// low-level hook without a word when its thread overruns the hook timeout,
// and often across sleep, a locked session or a user switch; the program
// cannot ask whether it still has it. So the hook is renewed after every
// event that may have cost it, and a coarse timer finds a loss that came
// with no event: the system saw input that the hook was never called for.
// In Normal nothing of this runs: no timer, no session notifications.
//
// Everything runs on the program's one GUI thread, which also serves the
// hook: nothing here waits.
class FilterWatch {
public:
    // What a renewal does with a primary press that the filter holds: it is
    // released only where the hook may really have missed its release, so
    // that a drag survives everything else.
    enum class HeldPress {
        Keep,
        // Input went past the hook: released when some of it moved the pointer.
        ReleaseIfPointerMoved,
        // Windows told of a loss: sleep, a lock, a disconnect.
        Release,
    };

    FilterWatch();
    // Ends the filter as End does: whatever ends the window (Exit, a WM_QUIT,
    // a failed start) leaves no hook and no button held behind it.
    ~FilterWatch();
    FilterWatch(const FilterWatch&) = delete;
    FilterWatch& operator=(const FilterWatch&) = delete;

    // One is in force; installed tells whether AddMouseFilter put a hook in
    // place. A filter that could not be installed is retried on the timer.
    void Start(HWND window, bool installed);
    // Normal: the watch ends, whether or not the filter could be removed.
    void Stop();
    // The program ends: the watch stops and the filter goes, releasing a
    // press it injected, so that no button stays down after the program.
    void End();

    // A new hook now, in place of the held one. Nothing while not started.
    void Renew(HeldPress heldPress = HeldPress::Keep);

    // The main window's messages, handed on as they come; each decides
    // whether the hook may have been lost.
    void OnTimer(UINT_PTR timerId);
    void OnPowerBroadcast(WPARAM event);
    void OnSessionChange(WPARAM event);
    void OnTaskbarCreated();
    void OnMenuClosed();

    // Runs calls that wait for the shell. This thread serves the hook only
    // between messages, so calls that held it long may have cost the hook.
    template <typename ShellCalls>
    void TimeShellCalls(ShellCalls calls)
    {
        const DWORD startTick = GetTickCount();
        calls();
        AfterShellCalls(startTick);
    }

private:
    // The WM_TIMER identifier of the check, on the window given to Start.
    static constexpr UINT_PTR kTimerId = 0x4657;

    void AfterShellCalls(DWORD startTick);
    bool HookMissedInput();
    void RegisterSessionNotifications();
    void Schedule();

    HWND m_window = nullptr;
    bool m_installed = false;
    bool m_sessionNotifications = false;
    // The system's last input time that the latest check or renewal already
    // answered for: one loss is renewed once, not at every tick while idle.
    DWORD m_answeredInputTime = 0;
    GrowingPause m_retryPause;
    UINT m_timerPauseMs = 0;
    FilterUpkeep m_upkeep;
};
