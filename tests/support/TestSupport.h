#pragma once

// Helpers shared by the Windows test programs. Every wait is bounded.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// Pumps this thread's messages (which also serves low-level hooks installed on
// it) until done() is true or timeoutMs has passed. Returns done()'s last value.
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Pumps this thread's messages for the given time.
void PumpMessagesFor(DWORD milliseconds);

// A window's class name (cut at 255 characters) and its text (cut at 1,023),
// also for a window of another process.
std::string ClassNameOf(HWND window);
std::string WindowTextOf(HWND window);

// A visible top-level window of this thread with the given class (and title,
// unless null) that is not `except`; null when there is none.
HWND FindThreadWindow(const char* className, const char* title = nullptr, HWND except = nullptr);
// Number of such windows.
int CountThreadWindows(const char* className, const char* title = nullptr, HWND except = nullptr);

// Wine's notification area under Xvfb, where no XEMBED tray exists: a small
// window of the tray's own, visible while it holds an icon, each icon a 20x20
// child window, the newest rightmost. Wine 8 shows it as winex11's
// "__winex11_standalone_tray" with "__winex11_tray_icon" children; Wine 10 as
// explorer's "Shell_TrayWnd" (which Wine 8 has too, hidden and empty) with
// "__wine_tray_icon" children. Null when neither exists.
HWND FindTrayWindow();
// The visible icon windows of the tray, but for the icon of the test
// session's keeper (tests/support/TrayKeeper.cpp), which it tells by the
// icon's owner window.
std::vector<HWND> ShownTrayIcons();

// Folder of the running test program, with a trailing backslash: the build
// puts every program and library of the project there.
std::string ModuleDirectory();

// Starts a Windows program: its quoted path, then the arguments. When output
// is given, the program inherits it as its standard output and error. The
// process handle (the caller's to close), or null when it could not start.
HANDLE StartProgram(const std::string& program, const std::string& arguments, HANDLE output = nullptr,
    const std::string& currentDirectory = {});

// Runs a Windows program with these arguments and waits for it, pumping
// messages, at most timeoutMs (then ends it). Returns its exit status, or -1
// when it could not start or did not end in time.
int RunProgram(const std::string& program, const std::string& arguments, DWORD timeoutMs);

// The file's bytes; empty when it cannot be read.
std::string FileBytes(const std::string& path);

// Runs a Unix shell command (Wine starts Unix programs, such as xdotool, on
// request) and waits for it, pumping messages, at most timeoutMs. Wine gives
// no waitable handle for a Unix process, so completion is seen through a
// marker file that holds the exit status. Returns that status, or -1 when the
// command did not finish in time or could not be started.
int RunUnixCommand(const std::string& shellCommand, DWORD timeoutMs);

} // namespace testing_support
