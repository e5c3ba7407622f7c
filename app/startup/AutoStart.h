#pragma once

// Automatic start at every user's logon: one value under the machine-wide Run
// key holds the command line that starts the program.

#include <windows.h>

#include <string>

struct AutoStartEntry {
    HKEY root;
    const char* keyPath;
    const char* valueName;
};

// HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Run, "Vantrel".
AutoStartEntry MachineAutoStartEntry();

// The command line the Run value holds for the program at programPath: the
// path alone, in double quotes when it holds a space. Windows runs the value
// as a command line, and an unquoted "C:\Program Files\Vantrel\Vantrel.exe"
// would let a planted "C:\Program.exe" run first.
std::string AutoStartCommand(const std::string& programPath);

// Writes the entry for the program at programPath, creating the key if need
// be and touching no other value. True only when the registry took the value;
// an empty programPath (the path could not be had whole) writes nothing.
bool InstallAutoStart(const AutoStartEntry& entry, const std::string& programPath);

// Removes the entry, touching no other value. True when none is left: it was
// removed, or there was none (with or without the key).
bool UninstallAutoStart(const AutoStartEntry& entry);
