#pragma once

// The interface of VantrelDll.dll, as callers bind it at run time by name.

#include <windows.h>

// hookType must be WH_MOUSE_LL; threadId 0 makes the hook system-wide, the
// only kind the system accepts for low-level hooks. Returns 1 once the hook is
// installed, 0 otherwise.
using AddMouseFilterFunction = BOOLEAN(WINAPI*)(int hookType, DWORD threadId);
using RemoveMouseFilterFunction = void(WINAPI*)(int hookType);
// Installs a new hook in place of the one held, lost or not, with no moment
// of none or two. Same arguments as AddMouseFilter; returns 1 once the new
// hook is installed, 0 when it could not be (the held one is then kept). A
// primary press that the filter holds stays held: a renewal is no loss.
using RenewMouseFilterFunction = BOOLEAN(WINAPI*)(int hookType, DWORD threadId);
// GetTickCount() at the hook's latest call, or at its installation or renewal
// when that came later; 0 before the first installation.
using MouseFilterCallTimeFunction = DWORD(WINAPI*)();
// Releases the primary press that the filter injected and still holds, whose
// release the hook may have missed. when is kReleaseHeldPressAlways, or
// kReleaseHeldPressIfPointerMoved: only when the pointer is no longer where
// the hook last saw it, so that mouse input went past the hook. Returns 1
// when a release was injected.
using ReleaseHeldPressFunction = BOOLEAN(WINAPI*)(DWORD when);
inline constexpr DWORD kReleaseHeldPressAlways = 0;
inline constexpr DWORD kReleaseHeldPressIfPointerMoved = 1;
// The programs where the buttons work as usual, as one multi-string block of
// at most length characters (file names such as mspaint.exe, letter case
// ignored); it replaces the list held. Malformed names are skipped and at
// most 256 kept; returns how many are held.
using SetNormalProgramsFunction = DWORD(WINAPI*)(const WCHAR* names, DWORD length);
// Presses less than bounceMs after the previous release are swallowed, with
// their releases, while the filter is installed; 0 (the start) turns that
// off. Returns 0 and changes nothing for a time above 500 ms.
using SetBounceFilterFunction = BOOLEAN(WINAPI*)(DWORD bounceMs);

inline constexpr char kFilterLibraryName[] = "VantrelDll.dll";
inline constexpr char kAddMouseFilterName[] = "AddMouseFilter";
inline constexpr char kRemoveMouseFilterName[] = "RemoveMouseFilter";
inline constexpr char kRenewMouseFilterName[] = "RenewMouseFilter";
inline constexpr char kMouseFilterCallTimeName[] = "MouseFilterCallTime";
inline constexpr char kReleaseHeldPressName[] = "ReleaseHeldPress";
inline constexpr char kSetNormalProgramsName[] = "SetNormalPrograms";
inline constexpr char kSetBounceFilterName[] = "SetBounceFilter";

extern "C" {
BOOLEAN WINAPI AddMouseFilter(int hookType, DWORD threadId);
void WINAPI RemoveMouseFilter(int hookType);
BOOLEAN WINAPI RenewMouseFilter(int hookType, DWORD threadId);
DWORD WINAPI MouseFilterCallTime();
BOOLEAN WINAPI ReleaseHeldPress(DWORD when);
DWORD WINAPI SetNormalPrograms(const WCHAR* names, DWORD length);
BOOLEAN WINAPI SetBounceFilter(DWORD bounceMs);
}
