#pragma once

// Which program a window belongs to, by its executable's file name: the
// system calls around NormalProgramRule.h, shared by the library's hook and
// the program's Settings dialog so that both name a program alike. Only
// KERNEL32 and USER32, no runtime.

#include "NormalProgramRule.h"

#include <windows.h>

// Copies the file name of processId's executable into name (room for
// kMaxProgramNameLength characters and a terminator); path is the caller's
// scratch room for the full path. Name empty when the process
// cannot be asked (gone, or another user's elevated one) or its name does not
// fit. Returns the name's length, 0 when there is none.
inline UINT ProgramFileNameOf(DWORD processId, WCHAR* path, DWORD pathSize, WCHAR* name)
{
    name[0] = 0;
    // The limited right is granted even for most processes of other users.
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr)
        return 0;
    DWORD length = pathSize;
    const BOOL named = QueryFullProcessImageNameW(process, 0, path, &length);
    CloseHandle(process);
    if (!named || length == 0 || length >= pathSize)
        return 0;
    DWORD start = length;
    while (start > 0 && path[start - 1] != L'\\' && path[start - 1] != L'/')
        --start;
    const DWORD nameLength = length - start;
    if (nameLength == 0 || nameLength > kMaxProgramNameLength)
        return 0;
    for (DWORD i = 0; i < nameLength; ++i)
        name[i] = path[start + i];
    name[nameLength] = 0;
    return nameLength;
}

// Case is ignored by comparing names in capitals, as the system folds them.
inline void FoldProgramName(WCHAR* name, UINT length)
{
    CharUpperBuffW(name, length);
}
