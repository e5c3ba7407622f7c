#include "ModulePath.h"

#include <vector>

namespace {

// Windows paths never exceed 32767 characters; the buffer grows up to that.
constexpr DWORD kLongestPath = 32768;

} // namespace

std::string ModuleFilePath(HMODULE module)
{
    for (DWORD size = MAX_PATH;; size *= 2) {
        std::vector<char> buffer(size);
        const DWORD length = GetModuleFileNameA(module, buffer.data(), size);
        if (length == 0)
            return {};
        // A result that fills the buffer is cut (and, before Vista, not even
        // terminated): try again with more room.
        if (length < size)
            return std::string(buffer.data(), length);
        if (size >= kLongestPath)
            return {};
    }
}

std::string ModuleFolder(HMODULE module)
{
    const std::string path = ModuleFilePath(module);
    const std::string::size_type separator = path.find_last_of("\\/");
    if (separator == std::string::npos)
        return {};
    return path.substr(0, separator + 1);
}
