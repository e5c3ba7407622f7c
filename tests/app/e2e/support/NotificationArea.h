#pragma once

// The notification area as Wine shows it under Xvfb (see FindTrayWindow in
// tests/support/TestSupport.h): a small window near (3, 22), each icon a 20x20
// child, the newest rightmost. On Windows the icons live in Explorer's taskbar
// instead. Every count and click here leaves the test session's keeper's icon out.

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

// Whether the shell holds an icon for (window, iconId). NIM_MODIFY that
// changes nothing is answered TRUE only for an existing icon; it needs no
// access to the owner, so the test asks for another process's icon.
bool IconExists(HWND window, UINT iconId);
bool WaitForIcon(HWND window, UINT iconId, bool present, DWORD timeoutMs);
// Removes another process's icon, as a shell restart would lose it. Wine
// blocks the caller about 2 s when this is the last icon in the tray.
bool RemoveIconOf(HWND window, UINT iconId);

HWND FindTrayWindow();
// Screen rectangle of the newest (rightmost) icon shown, if any.
std::optional<RECT> NewestIconRect();
int ShownIconCount();

// Moves the real pointer (X, through xdotool) to the centre of the newest
// icon and presses and releases the button there: 1 left, 3 right.
bool ClickNewestIcon(int xButton);
// Moves the pointer over the newest icon and reads the tooltip that the tray
// then shows. Empty if none appeared.
std::string HoverNewestIconTooltip(DWORD timeoutMs);

} // namespace e2e
