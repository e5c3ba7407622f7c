#pragma once

// What the test hands the menu probe inside the program's process, and what
// the probe hands back: the test allocates this record in the program's
// memory, the probe fills the report, the test reads it back.

#include <windows.h>

enum class MenuSource : UINT32 {
    // The menu that a "#32768" popup menu window shows (MN_GETHMENU).
    PopupMenuWindow,
    // The window's system menu (GetSystemMenu without reverting it).
    SystemMenu,
};

struct MenuProbeRequest {
    MenuSource source;
    // The window to read. A fixed-width number, so that the record's layout
    // never depends on who compiled which side.
    UINT64 window;
    // One line per item, depth-first:
    // "<depth> <id> <flags> <left> <top> <right> <bottom> <text>\n" where
    // flags are letters (C checked, G greyed, S separator, P popup) or "-",
    // and the rectangle is the item's on the screen (zeros while its menu is
    // not shown).
    char report[4096];
};

// The export the test runs on a thread of its own inside the program:
// DWORD WINAPI ReadOpenMenu(MenuProbeRequest*), returning 1 on success.
inline constexpr char kMenuProbeLibraryName[] = "VantrelMenuProbe.dll";
inline constexpr char kMenuProbeExportName[] = "ReadOpenMenu";
