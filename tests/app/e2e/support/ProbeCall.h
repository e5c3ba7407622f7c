#pragma once

// Runs code of our probe library inside the program under test: the probe is
// loaded there once (a remote thread running LoadLibraryA), and each call runs
// one of its exports on a remote thread of its own.

#include <windows.h>

#include <tlhelp32.h>

#include <string>
#include <vector>

namespace e2e {

// The modules loaded in the process; empty when it has none to show (ended).
std::vector<MODULEENTRY32> LoadedModules(DWORD processId);

// Runs the probe's export with a copy of data (size bytes, in memory of the
// program) as its one parameter, or null when size is 0, and copies the data
// back once it ended. Empty on success, with the export's result; otherwise
// what went wrong. process needs the rights CreateProcess gives its creator.
std::string CallProbe(HANDLE process, const char* exportName, void* data, size_t size, DWORD& result);

} // namespace e2e
