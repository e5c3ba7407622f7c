#pragma once

// What a user of Vantrel sees from outside, as numbers and texts the tests
// compare with. Written out here, not taken from the program's headers: a
// wrong number there must make a test fail, not follow it.

#include <windows.h>

namespace e2e {

inline constexpr char kProgramFileName[] = "Vantrel.exe";
inline constexpr char kFilterLibraryFileName[] = "VantrelDll.dll";
inline constexpr char kProgramTitle[] = "Vantrel";

// The icon is added as 130 with the program's name as tooltip; every mode the
// program applies re-adds it as 129 with the other tooltip.
inline constexpr UINT kFirstIconId = 130;
inline constexpr UINT kModeIconId = 129;
inline constexpr char kFirstTooltip[] = "Vantrel";
inline constexpr char kModeTooltip[] = "Toggle Mouse Buttons";

inline constexpr char kModeMenuText[] = "Button Mode";
inline constexpr WORD kCommandAbout = 32771;
inline constexpr WORD kCommandExit = 32773;
inline constexpr WORD kCommandNormal = 32776;
inline constexpr WORD kCommandOne = 32777;
inline constexpr WORD kCommandSettings = 32778;
inline constexpr WPARAM kSystemCommandAbout = 16;

inline constexpr char kExitQuestion[] = "Are you sure you want to exit Vantrel?";
inline constexpr char kAboutTitle[] = "About Vantrel";
inline constexpr char kAboutVersionText[] = "Vantrel Version 1.0";
inline constexpr char kSystemMenuAboutText[] = "&About Vantrel...";

inline constexpr char kDialogClass[] = "#32770";

// The section that marks the running Vantrel: this prefix and the user's SID.
inline constexpr char kInstanceMarkPrefix[] = "Local\\Vantrel.Instance.";
// A later start's request to the running one; lParam 2: give way to wParam.
inline constexpr char kInstanceRequestMessage[] = "Vantrel.ShowMenuRequest";
inline constexpr LPARAM kGiveWayRequest = 2;

} // namespace e2e
