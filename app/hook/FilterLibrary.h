#pragma once

#include <windows.h>

#include <string>

#include "MouseFilter.h"

// Binding of VantrelDll.dll at run time. The program never links it: it loads
// it anew for every mode it applies and never frees it after a successful
// lookup, because the hook procedure lives in it.

enum class FilterCallResult {
    Called,        // the export ran
    LoadFailed,    // "LoadLibrary failed" traced
    LookupFailed,  // "GetProcAddress failed" traced; the library was released
};

// VantrelDll.dll in the program's own folder. Only that copy is ever loaded:
// the library search order would also try the current folder and PATH, where
// anybody could have put a library of that name. Empty when the program's own
// path cannot be had whole.
std::string FilterLibraryPath();

// Loads the library at libraryPath and calls AddMouseFilter(WH_MOUSE_LL, 0)
// for mode 1 or RemoveMouseFilter(WH_MOUSE_LL) for every other mode. Failures
// are traced to standard output. An empty path counts as a failed load.
// installed, when given, receives whether a hook is in place afterwards
// (AddMouseFilter's answer for mode 1, false otherwise).
FilterCallResult CallMouseFilter(const std::string& libraryPath, int mode, bool* installed = nullptr);

// Hands the programs where the buttons work as usual (a multi-string block)
// to the library at libraryPath, loading it as the mode's call does; the
// library keeps its own copy. False, with nothing traced, when the library or
// the export cannot be had.
bool HandNormalPrograms(const std::string& libraryPath, const std::wstring& block);

// The exports that keep an installed filter alive and end it, bound once from the
// library at libraryPath and kept for the life of the process. Both are null
// when the library or either export cannot be had; nothing is traced, since
// the mode's own call already reported a missing library.
struct FilterUpkeep {
    RenewMouseFilterFunction renew = nullptr;
    MouseFilterCallTimeFunction lastCallTime = nullptr;
    RemoveMouseFilterFunction remove = nullptr;
    ReleaseHeldPressFunction releaseHeldPress = nullptr;

    bool IsBound() const
    {
        return renew != nullptr && lastCallTime != nullptr && remove != nullptr && releaseHeldPress != nullptr;
    }
};
FilterUpkeep BindFilterUpkeep(const std::string& libraryPath);

// SetBounceFilter, bound from the library at libraryPath and kept loaded for
// the life of the process: the time it is given lives in the library. Null
// when the library or the export cannot be had.
SetBounceFilterFunction BindBounceFilter(const std::string& libraryPath);
