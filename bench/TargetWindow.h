#pragma once

// The one window that every injected click of the benchmark lands on: a
// topmost popup of this thread that notes when each button message arrives.

#include <windows.h>

class TargetWindow {
public:
    TargetWindow();
    ~TargetWindow();
    // The window procedure holds a pointer to this object, so it stays put.
    TargetWindow(const TargetWindow&) = delete;
    TargetWindow& operator=(const TargetWindow&) = delete;

    bool Exists() const { return m_window != nullptr; }
    // Puts the pointer on the window's centre and the window in front.
    // False when the window is still not the one under the pointer.
    bool TakePointer();

    void ClearEvents();
    int LeftDownCount() const { return m_leftDownCount; }
    int LeftUpCount() const { return m_leftUpCount; }
    // Right, middle and X button messages: none may arrive while the filter is on.
    int OtherButtonCount() const { return m_otherButtonCount; }
    // QueryPerformanceCounter when the last WM_LBUTTONDOWN reached the window procedure.
    LONGLONG LastLeftDownTime() const { return m_lastLeftDownTime; }

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnMouseMessage(UINT message);

    HWND m_window = nullptr;
    int m_leftDownCount = 0;
    int m_leftUpCount = 0;
    int m_otherButtonCount = 0;
    LONGLONG m_lastLeftDownTime = 0;
};
