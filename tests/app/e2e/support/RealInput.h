#pragma once

// Real input through the X server (xdotool), as a user's mouse makes it: it
// passes through every low-level mouse hook, unlike messages posted to a
// window. Keys are injected with SendInput. X and Wine share screen coordinates here: one Xvfb screen at (0, 0).

#include <windows.h>

namespace e2e {

// xdotool button numbers.
inline constexpr int kLeftButton = 1;
inline constexpr int kMiddleButton = 2;
inline constexpr int kRightButton = 3;

bool MovePointerTo(POINT where);
// Moves there, then presses and releases the button.
bool ClickAt(POINT where, int xButton);
// Moves there and presses the button, or releases it where the pointer is.
bool PressAt(POINT where, int xButton);
bool ReleaseButton(int xButton);

POINT CentreOf(const RECT& rect);

// A press and release of the key, injected with SendInput as a keyboard
// driver would: it goes to whichever window has the keyboard.
bool TypeKey(WORD virtualKey);

} // namespace e2e
