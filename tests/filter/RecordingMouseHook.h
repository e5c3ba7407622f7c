#pragma once

// A low-level mouse hook of the test itself that records what reaches it and
// passes everything on. Installed before the filter, it comes after the
// filter in the hook chain, so it sees exactly what the filter lets through.

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
    size_t CountOf(WPARAM message) const;
    const HookedMouseEvent* FirstOf(WPARAM message) const;

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);

    HHOOK m_hook = nullptr;
    std::vector<HookedMouseEvent> m_events;
};
