#pragma once

#include <windows.h>

#include <functional>

// A hidden top-level window that owns notification icons in the tests and
// hands every message it receives to a callback the test sets.
class TrayTestWindow {
public:
    TrayTestWindow();
    ~TrayTestWindow();
    TrayTestWindow(const TrayTestWindow&) = delete;
    TrayTestWindow& operator=(const TrayTestWindow&) = delete;

    HWND Handle() const { return m_window; }

    // Called for every message before default processing.
    std::function<void(UINT, WPARAM, LPARAM)> m_onMessage;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
};

// Whether the shell shows the icon (window, id): NIM_MODIFY that changes
// nothing succeeds exactly for an icon that exists.
bool NotifyIconExists(HWND window, UINT iconId);
