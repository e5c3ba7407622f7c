#include "BinarySizes.h"

namespace {

BinarySize SizeOf(const std::string& architecture, const std::string& folder, const char* fileName)
{
    BinarySize size;
    size.architecture = architecture;
    size.fileName = fileName;
    if (folder.empty())
        return size;
    std::string path = folder;
    if (path.back() != '\\' && path.back() != '/')
        path += '\\';
    path += fileName;
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return size;
    ULARGE_INTEGER bytes;
    bytes.LowPart = attributes.nFileSizeLow;
    bytes.HighPart = attributes.nFileSizeHigh;
    size.present = true;
    size.bytes = bytes.QuadPart;
    return size;
}

} // namespace

std::vector<BinarySize> ReadBinarySizes(const std::string& i686Folder, const std::string& x86_64Folder)
{
    return {
        SizeOf("i686", i686Folder, "VantrelDll.dll"),
        SizeOf("i686", i686Folder, "Vantrel.exe"),
        SizeOf("x86_64", x86_64Folder, "VantrelDll.dll"),
        SizeOf("x86_64", x86_64Folder, "Vantrel.exe"),
    };
}
