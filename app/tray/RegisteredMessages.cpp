#include "RegisteredMessages.h"

// A name registered twice gives the same identifier, so every module that
// registers these names agrees with these values.
const UINT TaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
const UINT NotifyIconMessage = RegisterWindowMessageA("NotifyIcon");
const UINT ShowMenuRequestMessage = RegisterWindowMessageA("Vantrel.ShowMenuRequest");
