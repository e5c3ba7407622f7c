// The low-level mouse filter: while installed, every right, middle and X button
// press or release anywhere on the desktop is swallowed and replaced by a
// press or release of the primary button wherever the pointer is.
//
// The library is built without any C or C++ runtime: it may be loaded into a
// process that outlives everything else, and it needs nothing beyond USER32 and
// KERNEL32. Keep it that way: no globals with constructors, no library calls.

#include "BounceJudge.h"
#include "MouseFilter.h"
#include "NormalProgramFilter.h"
#include "PressLedger.h"

#include <windows.h>

// Sizes that the shipped 32-bit build depends on.
static_assert(sizeof(void*) != 4 || sizeof(INPUT) == 28, "INPUT is 28 bytes on 32-bit Windows");

namespace {

// Private to the loading process. A low-level hook runs in the installing
// process only, so no section needs to be shared between processes.
HINSTANCE g_moduleHandle = nullptr;
HHOOK g_hookHandle = nullptr;
// GetTickCount() when the hook was last called, whatever the event, or when
// it was installed: the program compares it with the system's last input to
// find a hook that Windows removed without a word. Stamped at installation,
// since a tick count of 0 is 24.9 days in the past or future.
DWORD g_lastHookCallTime = 0;
// Where the pointer was at the hook's latest call: a pointer found elsewhere
// later moved past the hook, which keys never tell.
POINT g_lastHookPoint = {0, 0};
// How many calls of the hook are running on this thread, one inside another.
// Windows calls the hook once per event, each in turn. Wine serves the hook
// the events that arrived meanwhile while one call waits: on its injection,
// or on CallNextHookEx, which is a message to a later hook's thread there.
// The events of the waiting calls have not moved the pointer yet.
int g_hookCallDepth = 0;
// Constant-initialised: the library runs no constructors.
PressLedger g_pressLedger;
BounceJudge g_bounceJudge;

INPUT PrimaryButtonInput(const POINT& where, DWORD buttonFlag)
{
    INPUT input;
    input.type = INPUT_MOUSE;
    input.mi.dx = where.x;
    input.mi.dy = where.y;
    input.mi.mouseData = 0;
    // Neither MOUSEEVENTF_MOVE nor MOUSEEVENTF_ABSOLUTE: the coordinates move
    // nothing, and the button acts wherever the pointer already is.
    input.mi.dwFlags = buttonFlag;
    input.mi.time = GetTickCount();
    input.mi.dwExtraInfo = kFilterInjectionMark;
    return input;
}

bool ButtonsSwapped()
{
    // Read for every replaced event: the user may switch the buttons while
    // the filter runs.
    return GetSystemMetrics(SM_SWAPBUTTON) != 0;
}

LRESULT CALLBACK FilterHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    // A negative code forbids looking at lParam: hand it on untouched.
    if (nCode < 0)
        return CallNextHookEx(g_hookHandle, nCode, wParam, lParam);

    const auto* hookRecord = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    // A bounce reaches nobody, and a replaced button's bounce injects nothing.
    if (g_bounceJudge.Swallows(wParam, hookRecord->mouseData, hookRecord->time, hookRecord->dwExtraInfo))
        return 1;
    // Over a listed program's window a press passes, and its release with it
    // wherever that comes: the ledger then holds no replaced press of it.
    const auto pressPasses = [hookRecord](UINT) { return NormalProgramPressPasses(hookRecord->pt); };
    const PressInjections injections =
        g_pressLedger.Take(wParam, hookRecord->mouseData, hookRecord->dwExtraInfo, ButtonsSwapped, pressPasses);
    if (!injections.swallow)
        return CallNextHookEx(g_hookHandle, nCode, wParam, lParam);
    INPUT inputs[2];
    for (UINT i = 0; i < injections.count; ++i)
        inputs[i] = PrimaryButtonInput(hookRecord->pt, injections.flags[i]);
    // A failed injection still swallows the original event: a right click must
    // never reach a window while the filter is on.
    if (injections.count != 0) {
        // Inside another call the pointer may still be where an earlier,
        // unfinished event left it, and the click would land there: put it
        // at this event's point first. Physical, as the hook's point is.
        if (g_hookCallDepth > 1)
            SetPhysicalCursorPos(hookRecord->pt.x, hookRecord->pt.y);
        SendInput(injections.count, inputs, sizeof(INPUT));
    }
    return 1;
}

// Releases a primary press that the filter injected and whose release it may
// never see: the filter is going, or Windows may have dropped it mid-click.
// Callers unhook first where they can: an injected event passes every
// installed hook, ours included, whose thread may be the one injecting.
bool InjectHeldRelease()
{
    const DWORD releaseFlag = g_pressLedger.TakeHeldRelease();
    if (releaseFlag == 0)
        return false;
    POINT where{};
    GetCursorPos(&where);
    INPUT input = PrimaryButtonInput(where, releaseFlag);
    SendInput(1, &input, sizeof(INPUT));
    return true;
}

void Unhook()
{
    if (g_hookHandle != nullptr)
        UnhookWindowsHookEx(g_hookHandle);
    g_hookHandle = nullptr;
}

// What is installed: the filter, plus the stores of the time and the point
// and the count of calls running.
// Kept apart from the filter's own procedure so that the remapping reads on
// its own.
LRESULT CALLBACK WatchedFilterHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    g_lastHookCallTime = GetTickCount();
    if (nCode >= 0)
        g_lastHookPoint = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->pt;
    ++g_hookCallDepth;
    const LRESULT result = FilterHookProc(nCode, wParam, lParam);
    --g_hookCallDepth;
    return result;
}

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        if (g_moduleHandle == nullptr)
            g_moduleHandle = instance;
        break;
    case DLL_PROCESS_DETACH:
        // The last resort: the program ends the filter itself on every end it
        // sees. A press the filter injected would outlive the process and
        // keep the button down. Unhooked first: on Windows the injected
        // release would pass our hook, whose thread is in here, and every
        // input on the desktop would wait out the hook timeout.
        Unhook();
        InjectHeldRelease();
        break;
    case DLL_THREAD_ATTACH:
    case DLL_THREAD_DETACH:
        break;
    default:
        OutputDebugStringA("Unknown Error!\n");
        break;
    }
    return TRUE;
}

BOOLEAN WINAPI AddMouseFilter(int hookType, DWORD threadId)
{
    if (g_moduleHandle == nullptr || hookType != WH_MOUSE_LL)
        return 0;
    // One hook at a time: a second hook would inject a second left press for
    // every right press. An installed filter already does what was asked.
    if (g_hookHandle != nullptr)
        return 1;
    g_pressLedger.Forget();
    g_lastHookCallTime = GetTickCount();
    g_hookHandle = SetWindowsHookExA(WH_MOUSE_LL, WatchedFilterHookProc, g_moduleHandle, threadId);
    return g_hookHandle != nullptr ? 1 : 0;
}

BOOLEAN WINAPI RenewMouseFilter(int hookType, DWORD threadId)
{
    if (g_moduleHandle == nullptr || hookType != WH_MOUSE_LL)
        return 0;
    // Windows may have removed the hook without telling (a hook thread that
    // overran the hook timeout, sleep, a locked session), and nothing can ask
    // it whether the handle still works: so a new hook is installed whatever
    // the old one's state. New first, old second, with nothing between that
    // could pump messages: a low-level hook is called by a message to this
    // thread, so every event is served by exactly one of the two, never by
    // both and never by none. Unhooking a handle that Windows already dropped
    // fails harmlessly. AddMouseFilter keeps its old answer for a held handle,
    // so callers that know only the first two exports see no change.
    const HHOOK renewed = SetWindowsHookExA(WH_MOUSE_LL, WatchedFilterHookProc, g_moduleHandle, threadId);
    if (renewed == nullptr)
        return 0;
    const HHOOK previous = g_hookHandle;
    g_hookHandle = renewed;
    g_lastHookCallTime = GetTickCount();
    if (previous != nullptr)
        UnhookWindowsHookEx(previous);
    // A press held now stays held: renewals also follow events that cost no
    // input (keys, a new taskbar), and a drag in progress must survive them.
    // The caller releases it through ReleaseHeldPress where input may really
    // have gone past the hook.
    return 1;
}

BOOLEAN WINAPI SetBounceFilter(DWORD bounceMs)
{
    return g_bounceJudge.SetBounceMs(bounceMs) ? 1 : 0;
}

DWORD WINAPI MouseFilterCallTime()
{
    return g_lastHookCallTime;
}

BOOLEAN WINAPI ReleaseHeldPress(DWORD when)
{
    if (when == kReleaseHeldPressIfPointerMoved) {
        POINT now{};
        if (!GetCursorPos(&now) || (now.x == g_lastHookPoint.x && now.y == g_lastHookPoint.y))
            return 0;
    }
    // The buttons stay marked as replaced: their own releases, should they
    // still come, are swallowed rather than passed.
    return InjectHeldRelease() ? 1 : 0;
}

void WINAPI RemoveMouseFilter(int hookType)
{
    if (hookType != WH_MOUSE_LL)
        return;
    // Unhooked first, so the release reaches windows without passing it. The
    // button's own release, when it comes, then passes as it is.
    Unhook();
    InjectHeldRelease();
    g_pressLedger.Forget();
}

} // extern "C"
