#include "RecordingMouseHook.h"

#include <algorithm>
#include <iterator>

namespace {

// A hook procedure gets no context argument; one recording hook at a time.
RecordingMouseHook* g_pInstalledHook = nullptr;
HHOOK g_hookHandle = nullptr;

} // namespace

RecordingMouseHook::RecordingMouseHook()
{
    if (g_pInstalledHook != nullptr)
        return;
    m_hook = SetWindowsHookExA(WH_MOUSE_LL, &RecordingMouseHook::HookProc, GetModuleHandleA(nullptr), 0);
    if (m_hook != nullptr) {
        g_pInstalledHook = this;
        g_hookHandle = m_hook;
    }
}

RecordingMouseHook::~RecordingMouseHook()
{
    if (m_hook == nullptr)
        return;
    UnhookWindowsHookEx(m_hook);
    g_pInstalledHook = nullptr;
    g_hookHandle = nullptr;
}

size_t RecordingMouseHook::CountOf(WPARAM message) const
{
    return static_cast<size_t>(std::count_if(m_events.begin(), m_events.end(),
        [message](const HookedMouseEvent& event) { return event.message == message; }));
}

const HookedMouseEvent* RecordingMouseHook::FirstOf(WPARAM message) const
{
    const auto found = std::find_if(m_events.begin(), m_events.end(),
        [message](const HookedMouseEvent& event) { return event.message == message; });
    return found == m_events.end() ? nullptr : &*found;
}

std::vector<HookedMouseEvent> RecordingMouseHook::ButtonEvents() const
{
    // A low-level hook is handed moves, wheels and button events only.
    std::vector<HookedMouseEvent> buttons;
    std::copy_if(m_events.begin(), m_events.end(), std::back_inserter(buttons), [](const HookedMouseEvent& event) {
        return event.message != WM_MOUSEMOVE && event.message != WM_MOUSEWHEEL && event.message != WM_MOUSEHWHEEL;
    });
    return buttons;
}

LRESULT CALLBACK RecordingMouseHook::HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0 && g_pInstalledHook != nullptr) {
        const auto* record = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        g_pInstalledHook->m_events.push_back(
            HookedMouseEvent{wParam, record->pt, record->flags, record->mouseData, record->dwExtraInfo});
    }
    return CallNextHookEx(g_hookHandle, code, wParam, lParam);
}
