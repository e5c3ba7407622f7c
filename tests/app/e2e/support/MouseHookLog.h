#pragma once

// A low-level mouse hook of the test process that logs the button events it
// is handed. Low-level hooks are called newest first, and a hook that takes
// an event calls no later one: installed before the program's filter, this
// hook sees only what the filter lets through and what it injects (flagged
// LLMHF_INJECTED), whether or not any window then receives it. The test
// thread must pump messages while events arrive (every helper of the harness
// does); Wine holds each mouse event up to about 2 s for a hook that does not.

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

struct HookedButtonEvent {
    UINT message = 0;
    bool injected = false;
    POINT point{};
};

class MouseHookLog {
public:
    // One log at a time: the hook procedure has no context of its own.
    MouseHookLog();
    ~MouseHookLog();
    MouseHookLog(const MouseHookLog&) = delete;
    MouseHookLog& operator=(const MouseHookLog&) = delete;

    bool IsInstalled() const { return m_hook != nullptr; }
    const std::vector<HookedButtonEvent>& Events() const { return m_events; }
    void Clear() { m_events.clear(); }
    // Pumps until count button events arrived or the time is up.
    bool WaitForEvents(size_t count, DWORD timeoutMs) const;

private:
    static LRESULT CALLBACK Procedure(int code, WPARAM message, LPARAM record);

    HHOOK m_hook = nullptr;
    std::vector<HookedButtonEvent> m_events;
};

// "WM_LBUTTONDOWN (injected) WM_LBUTTONUP (injected)" style text.
std::string DescribeHookedEvents(const std::vector<HookedButtonEvent>& events);

} // namespace e2e
