#pragma once

#include <windows.h>

// Pauses between attempts to add a notification icon that the shell refused.
// At logon the shell may not be ready, or may answer too slowly, and no
// "TaskbarCreated" follows; without the icon the user could neither switch
// the mode nor exit. The pauses grow (1, 2, 4 ... 32 s, then every minute)
// and go on until the icon is there.
class IconRetry {
public:
    // The WM_TIMER identifier, on the window given to Begin.
    static constexpr UINT_PTR kTimerId = 0x4952;

    IconRetry() = default;
    ~IconRetry() { End(); }
    IconRetry(const IconRetry&) = delete;
    IconRetry& operator=(const IconRetry&) = delete;

    // An add failed: the first retry after the shortest pause. Does nothing
    // while retries are already under way.
    void Begin(HWND window);
    // A retry failed again: the next one after a longer pause.
    void Continue();
    // The icon is there, or the program ends.
    void End();

    bool IsPending() const { return m_window != nullptr; }

private:
    HWND m_window = nullptr;
    UINT m_pauseMs = 0;
};
