#pragma once

// One load of VantrelDll.dll from the test program's folder, with its exports
// bound at run time by name, as the program binds them.

#include "MouseFilter.h"

#include <windows.h>

#include <string>

using DllEntryFunction = BOOL(WINAPI*)(HINSTANCE instance, DWORD reason, LPVOID reserved);

// Binds one export by name or by ordinal (MAKEINTRESOURCE style). Null when
// the library has no such export.
template <typename Function>
Function ExportOf(HMODULE module, LPCSTR nameOrOrdinal)
{
    // void (*)() is the one function type that GCC lets every other one pass through.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, nameOrOrdinal)));
}

LPCSTR ExportOrdinal(WORD ordinal);

// Full path of the library beside the running test program.
std::string FilterLibraryPath();

class LoadedFilterLibrary {
public:
    // loadFlags go to LoadLibraryExA; 0 loads the library as LoadLibraryA does.
    explicit LoadedFilterLibrary(const std::string& path = FilterLibraryPath(), DWORD loadFlags = 0);
    ~LoadedFilterLibrary();
    LoadedFilterLibrary(LoadedFilterLibrary&& other) noexcept;
    LoadedFilterLibrary& operator=(LoadedFilterLibrary&& other) noexcept;
    LoadedFilterLibrary(const LoadedFilterLibrary&) = delete;
    LoadedFilterLibrary& operator=(const LoadedFilterLibrary&) = delete;

    HMODULE Module() const { return m_module; }
    // True when the library loaded and both exports were found by name.
    bool IsBound() const { return m_pAddMouseFilter != nullptr && m_pRemoveMouseFilter != nullptr; }

    BOOLEAN AddMouseFilter(int hookType, DWORD threadId) const { return m_pAddMouseFilter(hookType, threadId); }
    void RemoveMouseFilter(int hookType) const { m_pRemoveMouseFilter(hookType); }

    // The library's entry point, found through its PE header: the loader calls
    // it, nothing exports it.
    DllEntryFunction EntryPoint() const;

private:
    void Release();

    HMODULE m_module = nullptr;
    AddMouseFilterFunction m_pAddMouseFilter = nullptr;
    RemoveMouseFilterFunction m_pRemoveMouseFilter = nullptr;
};
