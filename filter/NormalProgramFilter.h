#pragma once

// The library's list of programs where the buttons work as usual, and the
// rule's question as the hook asks it. Touched only on the thread
// that serves the hook.

#include <windows.h>

// A replaced button's press at this point: true when it passes unchanged, as
// the pointer is over a window of a listed program (its release then passes
// too: the press ledger keeps that). Costs nothing while the
// list is empty.
bool NormalProgramPressPasses(POINT where);
