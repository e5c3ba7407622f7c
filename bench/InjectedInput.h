#pragma once

// Mouse input records for SendInput, every field written.

#include <windows.h>

// A button press or release wherever the pointer is.
INPUT MouseButtonInput(DWORD buttonFlag);

// Sends one button press or release; false when SendInput refused it.
bool SendMouseButton(DWORD buttonFlag);

// A relative move by (dx, dy).
INPUT MouseMoveInput(LONG dx, LONG dy);
