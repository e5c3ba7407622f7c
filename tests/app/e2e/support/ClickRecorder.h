#pragma once

// A visible window of the test process that records the mouse button messages
// and the keys it receives: where a real click on it ends up shows what any low-level
// mouse hook of another process made of it. The test thread must pump
// messages while it waits (every helper of the harness does).

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

class ClickRecorder {
public:
    // A popup window of this size at this screen position, shown on top.
    explicit ClickRecorder(const RECT& screenRect);
    ~ClickRecorder();
    ClickRecorder(const ClickRecorder&) = delete;
    ClickRecorder& operator=(const ClickRecorder&) = delete;

    HWND Window() const { return m_window; }
    POINT Centre() const;
    // Button messages received so far (WM_LBUTTONDOWN ... WM_XBUTTONUP).
    const std::vector<UINT>& Messages() const { return m_messages; }
    // Virtual keys of the WM_KEYDOWN messages received so far.
    const std::vector<WPARAM>& Keys() const { return m_keys; }
    void Clear()
    {
        m_messages.clear();
        m_keys.clear();
    }
    // Pumps until count messages arrived or the time is up.
    bool WaitForMessages(size_t count, DWORD timeoutMs) const;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    RECT m_rect{};
    std::vector<UINT> m_messages;
    std::vector<WPARAM> m_keys;
};

// "WM_RBUTTONDOWN WM_RBUTTONUP" style text for assertion messages.
std::string ButtonMessageNames(const std::vector<UINT>& messages);

} // namespace e2e
