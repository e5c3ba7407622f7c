#pragma once

#include "CommandLineParams.h"

// What one start of the program does, as its command line decides.
enum class CommandLineAction { RunMainWindow, Install, Uninstall };

// Walks the command line and returns the action of the first flag that is
// "INSTALL" or "UNINSTALL" in any letter case; RunMainWindow when there is
// none. Plain parameters and other flags are passed over; nothing after the
// deciding flag is looked at.
CommandLineAction ChooseCommandLineAction(CommandLineParams& params);
