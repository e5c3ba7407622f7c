#pragma once

// Real input through the X server (xdotool), as a user's mouse makes it: it
// passes through every low-level mouse hook, unlike messages posted to a
// window. X and Wine share screen coordinates here: one Xvfb screen at (0, 0).

#include <windows.h>

namespace e2e {

// xdotool button numbers.
inline constexpr int kLeftButton = 1;
inline constexpr int kMiddleButton = 2;
inline constexpr int kRightButton = 3;

bool MovePointerTo(POINT where);
// Moves there, then presses and releases the button.
bool ClickAt(POINT where, int xButton);

POINT CentreOf(const RECT& rect);

} // namespace e2e
