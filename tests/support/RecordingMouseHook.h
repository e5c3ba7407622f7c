#pragma once

// A low-level mouse hook of the test itself that records what reaches it and
// passes everything on. Low-level hooks are called newest first, and a hook
// that takes an event calls no later one: installed before the filter, this
// hook sees exactly what the filter lets through and what it injects (flagged
// LLMHF_INJECTED), whether or not any window then receives it. The test
// thread must pump messages while events arrive; Wine holds each mouse event
// up to about 2 s for a hook that does not.

#include <windows.h>

#include <vector>

struct HookedMouseEvent {
    WPARAM message;
    POINT point;
    DWORD flags;
    DWORD mouseData;
    ULONG_PTR extraInfo;
};

class RecordingMouseHook {
public:
    RecordingMouseHook();
    ~RecordingMouseHook();
    RecordingMouseHook(const RecordingMouseHook&) = delete;
    RecordingMouseHook& operator=(const RecordingMouseHook&) = delete;

    bool IsInstalled() const { return m_hook != nullptr; }
    const std::vector<HookedMouseEvent>& Events() const { return m_events; }
    // The button presses and releases only, without the moves and wheels.
    std::vector<HookedMouseEvent> ButtonEvents() const;
    void Clear() { m_events.clear(); }
    size_t CountOf(WPARAM message) const;
    const HookedMouseEvent* FirstOf(WPARAM message) const;

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);

    HHOOK m_hook = nullptr;
    std::vector<HookedMouseEvent> m_events;
};
