#pragma once

// A real top-level window of the test, shown on top of the desktop, that
// records every mouse message it receives, so tests can tell which button
// messages input really produced and where.

#include <windows.h>

#include <vector>

struct ReceivedMouseMessage {
    UINT message;
    WPARAM wParam;
    POINT clientPoint; // wheel and context-menu positions are turned from screen into client coordinates
};

class MouseTestWindow {
public:
    MouseTestWindow();
    ~MouseTestWindow();
    MouseTestWindow(const MouseTestWindow&) = delete;
    MouseTestWindow& operator=(const MouseTestWindow&) = delete;

    HWND Handle() const { return m_window; }

    // Makes the window the foreground and focus window (wheel messages go to
    // the focus window) and waits until the system agrees, pumping messages.
    bool TakeFocus(DWORD timeoutMs);

    POINT ScreenPointOf(POINT clientPoint) const;
    POINT ClientPointOf(POINT screenPoint) const;
    POINT ClientCenter() const;
    bool ContainsClientPoint(POINT clientPoint) const;

    const std::vector<ReceivedMouseMessage>& Messages() const { return m_messages; }
    void ClearMessages() { m_messages.clear(); }
    size_t CountOf(UINT message) const;
    // Messages of the right, middle and X buttons, and the context menu requests that right clicks cause.
    size_t CountOfNonLeftButtonMessages() const;
    // The first received message of this kind, or null.
    const ReceivedMouseMessage* FirstOf(UINT message) const;

    // Pumps messages until a message of this kind has arrived.
    bool WaitFor(UINT message, DWORD timeoutMs);
    // Pumps messages until a pointer move to this point has arrived.
    bool WaitForMoveTo(POINT clientPoint, DWORD timeoutMs);

private:
    static void RegisterWindowClassOnce();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Record(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    std::vector<ReceivedMouseMessage> m_messages;
};
