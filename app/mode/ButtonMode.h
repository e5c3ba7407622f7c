#pragma once

// The button mode the main window holds and stores. Other values can come
// from the registry: they apply as Normal and check neither menu item.
inline constexpr int kButtonModeOne = 1;     // filter on: every button acts as the left one
inline constexpr int kButtonModeNormal = 2;  // filter off
