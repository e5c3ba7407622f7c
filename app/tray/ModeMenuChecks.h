#pragma once

#include <windows.h>

#include <cstddef>

// Menu item records are given the size of the structure without its last
// member, hbmpItem: the size every version of Windows since 98 accepts.
inline constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);
static_assert(sizeof(void*) != 4 || kMenuItemInfoSize == 44, "MENUITEMINFOA without hbmpItem on 32-bit Windows");

// Checks "One" and "Normal" in menu (items found by command, also inside its
// sub-menus) by buttonMode: "One" exactly when it is 1, "Normal" exactly when
// it is 2. An unchecked item gets the state 0.
void SetModeCheckMarks(HMENU menu, int buttonMode);
