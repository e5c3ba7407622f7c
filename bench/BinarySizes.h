#pragma once

// Sizes of the shipped files of both architectures.

#include <windows.h>

#include <string>
#include <vector>

struct BinarySize {
    std::string architecture; // "i686" or "x86_64"
    std::string fileName;     // "VantrelDll.dll" or "Vantrel.exe"
    bool present = false;
    ULONGLONG bytes = 0;
};

// VantrelDll.dll and Vantrel.exe in each folder; an empty folder name counts
// as missing files.
std::vector<BinarySize> ReadBinarySizes(const std::string& i686Folder, const std::string& x86_64Folder);
