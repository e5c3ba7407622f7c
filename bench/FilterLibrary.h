#pragma once

// VantrelDll.dll loaded by full path and bound by name, as the program binds it.

#include "MouseFilter.h"

#include <windows.h>

#include <string>

class FilterLibrary {
public:
    explicit FilterLibrary(const std::string& path);
    // Removes the filter before the library goes: the system would otherwise
    // call a hook procedure that is no longer mapped.
    ~FilterLibrary();
    FilterLibrary(FilterLibrary&& other) noexcept;
    FilterLibrary& operator=(FilterLibrary&& other) noexcept;
    FilterLibrary(const FilterLibrary&) = delete;
    FilterLibrary& operator=(const FilterLibrary&) = delete;

    // Both exports were found.
    bool Bound() const { return m_pAddMouseFilter != nullptr && m_pRemoveMouseFilter != nullptr; }
    // AddMouseFilter(WH_MOUSE_LL, 0): the hook runs on the calling thread.
    bool AddFilter();
    void RemoveFilter();
    // RenewMouseFilter(WH_MOUSE_LL, 0): false when it failed or is not exported.
    bool RenewFilter();
    // SetNormalPrograms with a multi-string block: false when not exported.
    bool SetNormalPrograms(const std::wstring& block);

private:
    void Release();

    HMODULE m_module = nullptr;
    AddMouseFilterFunction m_pAddMouseFilter = nullptr;
    RemoveMouseFilterFunction m_pRemoveMouseFilter = nullptr;
    RenewMouseFilterFunction m_pRenewMouseFilter = nullptr;
    SetNormalProgramsFunction m_pSetNormalPrograms = nullptr;
};
