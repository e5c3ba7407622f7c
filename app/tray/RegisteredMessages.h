#pragma once

#include <windows.h>

// Identifiers of the two window messages the program registers by name. They
// are set during static initialisation, before any window of the program
// exists, so a message-map entry that reads them never sees an unset value.

// Broadcast by the shell to every top-level window once the taskbar has been
// created anew: the notification icon must then be added again.
extern const UINT TaskbarCreatedMessage;

// The notification icon's callback message.
extern const UINT NotifyIconMessage;

// Sent or posted by a later start of the program to the main window of the
// running one; only the process whose id is in wParam acts on it, except for
// a request to give way, whose wParam is the id of the start that sent it.
// lParam says what is asked (a window of any other program ignores the
// message).
extern const UINT ShowMenuRequestMessage;
enum InstanceRequest : LPARAM {
    kInstanceShowMenu = 0, // open the popup menu at the pointer
    kInstanceQuery = 1,    // answer kInstanceAnswer, if not hung
    kInstanceGiveWay = 2,  // end, if the mark names the sender
};
inline constexpr LRESULT kInstanceAnswer = 0x566E;
