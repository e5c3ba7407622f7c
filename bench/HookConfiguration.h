#pragma once

// Which low-level mouse hook, if any, stands between injected input and the
// window in one configuration of a measurement.

#include "FilterLibrary.h"
#include "MinimalMouseHook.h"

#include <optional>

// FilterWithPrograms: the filter with 20 programs listed where the buttons
// work as usual, none of them the benchmark, so that every press is looked
// up and then replaced.
enum class HookKind { None, Minimal, Filter, FilterWithPrograms };

// Installs the configuration's hook on this thread for as long as it lives.
class ScopedHook {
public:
    ScopedHook(HookKind kind, FilterLibrary& filter);
    ~ScopedHook();
    ScopedHook(const ScopedHook&) = delete;
    ScopedHook& operator=(const ScopedHook&) = delete;

    bool Installed() const { return m_installed; }

private:
    FilterLibrary* m_pFilter = nullptr; // set while the filter is installed
    FilterLibrary* m_pListedFilter = nullptr; // set while its programs are listed
    std::optional<MinimalMouseHook> m_minimalHook;
    bool m_installed = false;
};
