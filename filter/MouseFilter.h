#pragma once

// The interface of VantrelDll.dll, as callers bind it at run time by name.

#include <windows.h>

// hookType must be WH_MOUSE_LL; threadId 0 makes the hook system-wide, the
// only kind the system accepts for low-level hooks. Returns 1 once the hook is
// installed, 0 otherwise.
using AddMouseFilterFunction = BOOLEAN(WINAPI*)(int hookType, DWORD threadId);
using RemoveMouseFilterFunction = void(WINAPI*)(int hookType);

inline constexpr char kFilterLibraryName[] = "VantrelDll.dll";
inline constexpr char kAddMouseFilterName[] = "AddMouseFilter";
inline constexpr char kRemoveMouseFilterName[] = "RemoveMouseFilter";

extern "C" {
BOOLEAN WINAPI AddMouseFilter(int hookType, DWORD threadId);
void WINAPI RemoveMouseFilter(int hookType);
}
