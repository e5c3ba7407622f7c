#pragma once

#include <windows.h>

#include "GrowingPause.h"

class TrayIcon;

// Keeps the notification icon shown. At logon the shell may not be ready, or
// may answer too slowly, and no "TaskbarCreated" follows; without the icon
// the user could neither switch the mode nor exit. So an add the shell
// refused is retried after pauses that grow (1, 2, 4 ... 32 s, then every
// minute) until the icon is there.
//
// icon is the holder's own pointer, read afresh after each shell call: each
// call serves messages sent to this thread meanwhile, in which Exit may free
// the icon (and end the retries).
class IconRetry {
public:
    // The WM_TIMER identifier, on the window given to Show.
    static constexpr UINT_PTR kTimerId = 0x4952;

    IconRetry() = default;
    ~IconRetry() { End(); }
    IconRetry(const IconRetry&) = delete;
    IconRetry& operator=(const IconRetry&) = delete;

    // Adds the icon; if it is not there afterwards, the first retry follows
    // after the shortest pause. Retries already under way go on as they were.
    void Show(TrayIcon* const& icon, HWND window);
    // The timer's retry; a failed one waits longer for the next.
    void OnTimer(TrayIcon* const& icon);
    // The icon is there, or the program ends.
    void End();

private:
    // Adds the icon: true once the shell shows it, or the program freed it.
    static bool AddedOrShown(TrayIcon* const& icon);

    HWND m_window = nullptr;
    GrowingPause m_pause{1000, 60000};
};
