#include "MouseHookLog.h"

#include "ClickRecorder.h"
#include "TestSupport.h"

namespace e2e {

namespace {

MouseHookLog* g_activeLog = nullptr;

bool IsButtonEvent(WPARAM message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP:
        return true;
    default:
        return false;
    }
}

} // namespace

MouseHookLog::MouseHookLog()
{
    if (g_activeLog != nullptr)
        return;
    g_activeLog = this;
    m_hook = SetWindowsHookExA(WH_MOUSE_LL, Procedure, GetModuleHandleA(nullptr), 0);
    if (m_hook == nullptr)
        g_activeLog = nullptr;
}

MouseHookLog::~MouseHookLog()
{
    if (m_hook == nullptr)
        return;
    UnhookWindowsHookEx(m_hook);
    g_activeLog = nullptr;
}

bool MouseHookLog::WaitForEvents(size_t count, DWORD timeoutMs) const
{
    return testing_support::PumpMessagesUntil([&] { return m_events.size() >= count; }, timeoutMs);
}

LRESULT CALLBACK MouseHookLog::Procedure(int code, WPARAM message, LPARAM record)
{
    if (code == HC_ACTION && g_activeLog != nullptr && IsButtonEvent(message)) {
        const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(record);
        g_activeLog->m_events.push_back(
            HookedButtonEvent{static_cast<UINT>(message), (mouse->flags & LLMHF_INJECTED) != 0, mouse->pt});
    }
    return CallNextHookEx(nullptr, code, message, record);
}

std::string DescribeHookedEvents(const std::vector<HookedButtonEvent>& events)
{
    std::string text;
    for (const HookedButtonEvent& event : events) {
        if (!text.empty())
            text += ' ';
        text += ButtonMessageNames({event.message});
        if (event.injected)
            text += " (injected)";
    }
    return text.empty() ? "(none)" : text;
}

} // namespace e2e
