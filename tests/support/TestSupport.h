#pragma once

// Helpers shared by the Windows test programs. Every wait is bounded.

#include <windows.h>

#include <functional>
#include <string>

namespace testing_support {

// Pumps this thread's messages (which also serves low-level hooks installed on
// it) until done() is true or timeoutMs has passed. Returns done()'s last value.
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Pumps this thread's messages for the given time.
void PumpMessagesFor(DWORD milliseconds);

// Folder of the running test program, with a trailing backslash: the build
// puts every program and library of the project there.
std::string ModuleDirectory();

// Runs a Windows program with these arguments and waits for it, pumping
// messages, at most timeoutMs (then ends it). Returns its exit status, or -1
// when it could not start or did not end in time.
int RunProgram(const std::string& program, const std::string& arguments, DWORD timeoutMs);

// Runs a Unix shell command (Wine starts Unix programs, such as xdotool, on
// request) and waits for it, pumping messages, at most timeoutMs. Wine gives
// no waitable handle for a Unix process, so completion is seen through a
// marker file that holds the exit status. Returns that status, or -1 when the
// command did not finish in time or could not be started.
int RunUnixCommand(const std::string& shellCommand, DWORD timeoutMs);

} // namespace testing_support
