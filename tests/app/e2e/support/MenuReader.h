#pragma once

// Reads a popup menu that another process shows. A menu handle means nothing
// outside its process, so the reading happens inside: our probe library is
// loaded into the program (a remote thread running LoadLibraryA) and its
// ReadOpenMenu runs on another remote thread, which asks the "#32768" window
// for its menu (MN_GETHMENU) and describes every item into memory that the
// test allocated in the program and reads back.

#include "MenuProbeRequest.h"

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

struct MenuItemState {
    int depth = 0;
    UINT id = 0;
    bool checked = false;
    bool greyed = false;
    bool separator = false;
    bool popup = false;
    // On the screen; empty while the item's menu is not shown.
    RECT screenRect{};
    std::string text;
};

struct MenuReading {
    // Empty when the menu was read.
    std::string failure;
    std::vector<MenuItemState> items;

    bool Succeeded() const { return failure.empty(); }
    // Null when no item has this command identifier, at any depth.
    const MenuItemState* Find(UINT id) const;
    // The first popup item (a sub-menu) with this text, or null.
    const MenuItemState* FindPopup(const std::string& text) const;
    bool IsChecked(UINT id) const;
    // One item a line, indented by depth, "[x]" for a check mark: for messages.
    std::string Describe() const;
};

// process needs the rights CreateProcess gives its creator.
MenuReading ReadOpenMenu(HANDLE process, HWND menuWindow);
MenuReading ReadSystemMenu(HANDLE process, HWND window);

// The process's visible popup menu window (the top-level menu when a
// sub-menu is open too: the first in Z order is the newest, so the last).
HWND FindOpenMenuWindow(DWORD processId);
HWND WaitForOpenMenuWindow(DWORD processId, DWORD timeoutMs);

// Names of the modules loaded in the process, as the loader reports them.
std::vector<std::string> LoadedModuleNames(DWORD processId);
// The same modules by the full paths they were loaded from.
std::vector<std::string> LoadedModulePaths(DWORD processId);

} // namespace e2e
