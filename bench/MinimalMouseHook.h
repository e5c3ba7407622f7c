#pragma once

// The least a low-level mouse hook can do: hand every event on. Whatever a
// hook-based remapper costs beyond this is its own work; this much it cannot avoid.

#include <windows.h>

class MinimalMouseHook {
public:
    // Installs the hook on the calling thread, which must pump messages.
    MinimalMouseHook();
    ~MinimalMouseHook();
    MinimalMouseHook(MinimalMouseHook&& other) noexcept;
    MinimalMouseHook& operator=(MinimalMouseHook&& other) noexcept;
    MinimalMouseHook(const MinimalMouseHook&) = delete;
    MinimalMouseHook& operator=(const MinimalMouseHook&) = delete;

    bool Installed() const { return m_hook != nullptr; }

private:
    HHOOK m_hook = nullptr;
};
