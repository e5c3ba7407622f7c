#include "WineDetection.h"

#include <windows.h>

std::string WineVersion()
{
    // Wine's ntdll has an export that tells its version; Windows' has none.
    using WineGetVersion = const char*(CDECL*)();
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll == nullptr)
        return {};
    const auto getVersion =
        reinterpret_cast<WineGetVersion>(reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "wine_get_version")));
    return getVersion != nullptr ? getVersion() : std::string();
}
