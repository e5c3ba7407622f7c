#pragma once

// Finding and driving the windows of another process from outside, as the
// user's clicks and keys would. Every wait pumps the caller's messages (a
// test window of the caller keeps answering) and is bounded.

#include "TestSupport.h"

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

using testing_support::ClassNameOf;
using testing_support::WindowTextOf;

// Top-level windows of one process, in Z order, visible or not.
std::vector<HWND> TopLevelWindowsOf(DWORD processId);
std::vector<HWND> ChildWindowsOf(HWND parent);

// The program's main window: the unowned "#32770" titled "Vantrel" that is no
// message box (no Yes button), visible or not. Null if there is none.
HWND FindMainWindow(DWORD processId);
HWND WaitForMainWindow(DWORD processId, DWORD timeoutMs);

// A visible top-level window of the process with this class and, unless title
// is null, this title; a message box of the program has the main window's own
// class and title, so only visible windows count here.
HWND FindVisibleWindow(DWORD processId, const char* className, const char* title);
HWND WaitForVisibleWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs);
bool WaitUntilGone(HWND window, DWORD timeoutMs);
// True when no window of that kind is visible for the whole time: a window
// that must not appear needs a fixed wait.
bool StaysAbsent(DWORD processId, const char* className, const char* title, DWORD milliseconds);

// The texts of the dialog's static controls, in child order.
std::vector<std::string> StaticTextsOf(HWND dialog);
bool HasDefaultPushButtonStyle(HWND button);

void PostCommand(HWND window, WORD commandId);
// A key press and release posted to the window, as a modal loop (menu, dialog)
// takes them from its queue.
void PostKey(HWND window, UINT virtualKey);

} // namespace e2e
