#pragma once

// The programs where the buttons work as usual: the user's own list, stored
// per user as "NormalPrograms" (REG_MULTI_SZ, one executable file name a
// string) under HKEY_CURRENT_USER\Software\Vantrel, and the administrators'
// lists under Software\Policies\Vantrel\NormalPrograms (every REG_SZ value one
// file name) of the machine and of the user, which add to it. Read and
// written here only; malformed stored data is skipped here, never shown.

#include <windows.h>

#include <string>
#include <vector>

struct NormalPrograms {
    // In stored order, each name once (letter case ignored).
    std::vector<std::wstring> user;
    // The machine's names first, then the user's policy's; none of them in
    // user.
    std::vector<std::wstring> policy;

    bool Contains(const std::wstring& name) const;
    // Every name, the administrators' first, at most kMaxNormalPrograms of
    // them, as the multi-string block that the filter library takes.
    std::wstring FilterBlock() const;
};

// Names as the list keeps them from stored data of that type: a
// REG_MULTI_SZ's strings that are file names, each once, at most
// kMaxNormalPrograms; anything else gives none. Nothing is read past size
// bytes, whether or not the data ends with its terminators.
std::vector<std::wstring> ParseProgramList(DWORD type, const BYTE* data, size_t size);

// Letter case ignored, as file names are compared.
bool SameProgramName(const std::wstring& left, const std::wstring& right);
bool IsValidProgramName(const std::wstring& name);

// The user's list and both policy lists, as stored now.
NormalPrograms ReadNormalPrograms();
// Stores the user's list (the key is created when missing); false when it
// could not be written.
bool StoreUserPrograms(const std::vector<std::wstring>& names);
