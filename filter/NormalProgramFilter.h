#pragma once

// The library's list of programs where the buttons work as usual, and the
// rule's two questions as the hook asks them. Touched only on the thread
// that serves the hook.

#include <windows.h>

// A replaced button's press at this point: true when it passes unchanged, as
// the pointer is over a window of a listed program. Costs nothing while the
// list is empty.
bool NormalProgramPressPasses(UINT buttonBit, POINT where);
// A replaced button's release: true when its press passed.
bool NormalProgramReleasePasses(UINT buttonBit);
// A new filter knows no presses.
void ForgetNormalProgramPresses();
