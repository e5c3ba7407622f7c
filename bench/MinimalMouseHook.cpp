#include "MinimalMouseHook.h"

#include <utility>

namespace {

LRESULT CALLBACK PassEverything(int nCode, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

} // namespace

MinimalMouseHook::MinimalMouseHook()
    : m_hook(SetWindowsHookExA(WH_MOUSE_LL, PassEverything, GetModuleHandleA(nullptr), 0))
{
}

MinimalMouseHook::~MinimalMouseHook()
{
    if (m_hook != nullptr)
        UnhookWindowsHookEx(m_hook);
}

MinimalMouseHook::MinimalMouseHook(MinimalMouseHook&& other) noexcept : m_hook(std::exchange(other.m_hook, nullptr))
{
}

MinimalMouseHook& MinimalMouseHook::operator=(MinimalMouseHook&& other) noexcept
{
    if (this != &other) {
        if (m_hook != nullptr)
            UnhookWindowsHookEx(m_hook);
        m_hook = std::exchange(other.m_hook, nullptr);
    }
    return *this;
}
