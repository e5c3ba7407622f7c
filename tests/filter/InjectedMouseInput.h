#pragma once

// Mouse input made with SendInput, as any other program can make it, and the
// buttons that the filter remaps.

#include <windows.h>

#include <ostream>

struct MouseButton {
    const char* name;
    DWORD pressFlag;   // MOUSEEVENTF_xDOWN
    DWORD releaseFlag; // MOUSEEVENTF_xUP
    DWORD mouseData;   // which X button, for the X buttons
    UINT pressMessage;
    UINT releaseMessage;
    int virtualKey;
    int xdotoolButton; // the X server's number for the button
};

extern const MouseButton kRightButton;
extern const MouseButton kMiddleButton;
extern const MouseButton kX1Button;
extern const MouseButton kX2Button;
extern const MouseButton kLeftButton;

// For GoogleTest's names of parameterised cases.
std::ostream& operator<<(std::ostream& out, const MouseButton& button);

// One mouse event where the pointer is, without moving it. True when the
// system took it.
bool InjectMouseEvent(DWORD flags, DWORD mouseData = 0);
// extraInfo is what the event's dwExtraInfo carries to hooks and windows.
bool InjectPress(const MouseButton& button, ULONG_PTR extraInfo = 0);
bool InjectRelease(const MouseButton& button, ULONG_PTR extraInfo = 0);
// Moves the pointer to an exact screen point (primary screen).
bool InjectMoveTo(POINT screenPoint);

// The system's logical state of a button, as GetAsyncKeyState reports it.
bool IsButtonDown(const MouseButton& button);
