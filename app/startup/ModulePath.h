#pragma once

#include <windows.h>

#include <string>

// Full path of a loaded module (null: the program), however long it is, or an
// empty string when it cannot be had whole: a cut path is never returned.
std::string ModuleFilePath(HMODULE module);

// The folder part of ModuleFilePath, with its trailing backslash; empty when
// the path cannot be had.
std::string ModuleFolder(HMODULE module);
