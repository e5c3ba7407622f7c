#include "FilterWatch.h"

#include <wtsapi32.h>

namespace {

// At most six wake-ups in an idle minute, and a loss is mended within this
// long of the first input that the hook missed.
constexpr UINT kCheckPauseMs = 10000;
// A filter that could not be installed (at logon the desktop may not be
// ready) is retried sooner at first, then as often as the check runs.
constexpr UINT kFirstRetryPauseMs = 1000;
// The system stamps an input event when it queues it and the hook stamps its
// call when it runs, on the same clock; under Wine the stamp may come a
// moment after the hook answered. Input later than the hook's latest call
// by more than this was not seen by the hook. Keyboard input is never seen
// by a mouse hook either: it costs at most one needless renewal per check,
// and releases a held press only when the pointer moved past the hook too.
constexpr LONG kHookLagMs = 250;

DWORD LastSystemInputTime()
{
    LASTINPUTINFO info{};
    info.cbSize = sizeof info;
    return GetLastInputInfo(&info) ? info.dwTime : 0;
}

} // namespace

FilterWatch::FilterWatch() : m_retryPause(kFirstRetryPauseMs, kCheckPauseMs) {}

FilterWatch::~FilterWatch()
{
    End();
}

void FilterWatch::Start(HWND window, bool installed)
{
    m_window = window;
    m_installed = installed;
    m_retryPause.Reset();
    if (!m_upkeep.IsBound())
        m_upkeep = BindFilterUpkeep(FilterLibraryPath());
    m_answeredInputTime = LastSystemInputTime();
    RegisterSessionNotifications();
    Schedule();
}

void FilterWatch::RegisterSessionNotifications()
{
    // Unlock and reconnect arrive as WM_WTSSESSION_CHANGE only to windows that
    // asked. It may fail early at logon, before the session service runs: each
    // check asks again until it is granted.
    if (!m_sessionNotifications)
        m_sessionNotifications = WTSRegisterSessionNotification(m_window, NOTIFY_FOR_THIS_SESSION) != FALSE;
}

void FilterWatch::End()
{
    Stop();
    if (m_upkeep.IsBound())
        m_upkeep.remove(WH_MOUSE_LL);
}

void FilterWatch::Stop()
{
    if (m_window == nullptr)
        return;
    KillTimer(m_window, kTimerId);
    if (m_sessionNotifications)
        WTSUnRegisterSessionNotification(m_window);
    m_sessionNotifications = false;
    m_timerPauseMs = 0;
    m_window = nullptr;
}

void FilterWatch::Renew(HeldPress heldPress)
{
    if (m_window == nullptr)
        return;
    if (!m_upkeep.IsBound())
        m_upkeep = BindFilterUpkeep(FilterLibraryPath());
    if (m_upkeep.IsBound()) {
        m_installed = m_upkeep.renew(WH_MOUSE_LL, 0) != 0;
        // Whether or not the new hook came: Windows often refuses one right
        // after an unlock or a resume, just when the old one was lost.
        if (heldPress != HeldPress::Keep)
            m_upkeep.releaseHeldPress(
                heldPress == HeldPress::Release ? kReleaseHeldPressAlways : kReleaseHeldPressIfPointerMoved);
    }
    m_answeredInputTime = LastSystemInputTime();
    Schedule();
}

void FilterWatch::OnTimer(UINT_PTR timerId)
{
    if (timerId != kTimerId || m_window == nullptr)
        return;
    RegisterSessionNotifications();
    if (!m_installed)
        Renew();
    else if (HookMissedInput())
        Renew(HeldPress::ReleaseIfPointerMoved);
}

void FilterWatch::OnPowerBroadcast(WPARAM event)
{
    // Hooks are often gone after sleep or hibernation. The automatic resume
    // always comes; the other follows when a user is there.
    if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND)
        Renew(HeldPress::Release);
}

void FilterWatch::OnSessionChange(WPARAM event)
{
    // Back to the desktop after a lock or a user switch, which often cost it.
    if (event == WTS_SESSION_UNLOCK || event == WTS_CONSOLE_CONNECT || event == WTS_REMOTE_CONNECT ||
        event == WTS_SESSION_LOGON)
        Renew(HeldPress::Release);
}

void FilterWatch::OnTaskbarCreated()
{
    // A new taskbar usually follows a hung shell, which may have held this
    // thread long enough to cost the hook; so may the icon's re-add, which
    // comes first.
    Renew();
}

void FilterWatch::OnMenuClosed()
{
    // Closing a popup menu may keep this thread from its messages past the
    // hook timeout (Wine waits up to 2 s there for a window manager, and the
    // 32-bit build lost a release so), and the system then passes a button's
    // release without the hook. A press that closed the menu goes now: no
    // drag can start in a menu. Its own release is swallowed when it comes.
    if (m_window != nullptr && m_upkeep.IsBound())
        m_upkeep.releaseHeldPress(kReleaseHeldPressAlways);
}

void FilterWatch::AfterShellCalls(DWORD startTick)
{
    // Windows drops a low-level hook whose thread overran the hook timeout (at
    // most 1 s since Windows 10 1709); half of that leaves room for the rest.
    constexpr DWORD kLongShellCallMs = 500;
    if (GetTickCount() - startTick > kLongShellCallMs)
        Renew();
}

bool FilterWatch::HookMissedInput()
{
    const DWORD inputTime = LastSystemInputTime();
    if (inputTime == m_answeredInputTime || !m_upkeep.IsBound())
        return false;
    m_answeredInputTime = inputTime;
    // Tick counts wrap after 49 days: the signed difference stays right.
    return static_cast<LONG>(inputTime - m_upkeep.lastCallTime()) > kHookLagMs;
}

void FilterWatch::Schedule()
{
    UINT pauseMs = kCheckPauseMs;
    if (m_installed)
        m_retryPause.Reset();
    else
        pauseMs = m_retryPause.Next();
    // The same period goes on by itself; setting it again would only push
    // the next check further away.
    if (pauseMs == m_timerPauseMs)
        return;
    m_timerPauseMs = pauseMs;
    SetTimer(m_window, kTimerId, pauseMs, nullptr);
}
