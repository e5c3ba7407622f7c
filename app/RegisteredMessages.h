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

// Posted to every top-level window by a second start of the program; only the
// main window of the process whose id is in wParam opens its popup menu.
extern const UINT ShowMenuRequestMessage;
