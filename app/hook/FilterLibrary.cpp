#include "FilterLibrary.h"

#include "ButtonMode.h"
#include "ModulePath.h"

#include <cstdio>

namespace {

void Trace(const char* text)
{
    std::printf("%s", text);
    // Standard output redirected to a pipe or a file is fully buffered:
    // without the flush a trace would wait for the process to end.
    std::fflush(stdout);
}

// GetProcAddress gives a generic function pointer (void (*)() is the type GCC
// accepts as the neutral step between function types); the export's real type
// comes from MouseFilter.h.
template <typename Function>
Function LookUp(HMODULE library, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

} // namespace

std::string FilterLibraryPath()
{
    const std::string folder = ModuleFolder(nullptr);
    if (folder.empty())
        return {};
    return folder + kFilterLibraryName;
}

FilterCallResult CallMouseFilter(const std::string& libraryPath, int mode, bool* installed)
{
    if (installed != nullptr)
        *installed = false;
    const HMODULE library = libraryPath.empty() ? nullptr : LoadLibraryA(libraryPath.c_str());
    if (library == nullptr) {
        Trace("LoadLibrary failed\n");
        return FilterCallResult::LoadFailed;
    }
    // After a successful lookup the reference is kept for the life of the
    // process: the hook procedure lives in the library and must stay mapped
    // while the hook is installed.
    if (mode == kButtonModeOne) {
        const auto addMouseFilter = LookUp<AddMouseFilterFunction>(library, kAddMouseFilterName);
        if (addMouseFilter == nullptr) {
            Trace("GetProcAddress failed\n");
            FreeLibrary(library);
            return FilterCallResult::LookupFailed;
        }
        const bool added = addMouseFilter(WH_MOUSE_LL, 0) != 0;
        if (installed != nullptr)
            *installed = added;
    } else {
        const auto removeMouseFilter = LookUp<RemoveMouseFilterFunction>(library, kRemoveMouseFilterName);
        if (removeMouseFilter == nullptr) {
            Trace("GetProcAddress failed\n");
            FreeLibrary(library);
            return FilterCallResult::LookupFailed;
        }
        removeMouseFilter(WH_MOUSE_LL);
    }
    return FilterCallResult::Called;
}

bool HandNormalPrograms(const std::string& libraryPath, const std::wstring& block)
{
    const HMODULE library = libraryPath.empty() ? nullptr : LoadLibraryA(libraryPath.c_str());
    if (library == nullptr)
        return false;
    const auto setNormalPrograms = LookUp<SetNormalProgramsFunction>(library, kSetNormalProgramsName);
    if (setNormalPrograms == nullptr) {
        FreeLibrary(library);
        return false;
    }
    setNormalPrograms(block.data(), static_cast<DWORD>(block.size()));
    // Kept loaded: the list lives in the library's data, which the hook reads.
    return true;
}

FilterUpkeep BindFilterUpkeep(const std::string& libraryPath)
{
    FilterUpkeep upkeep;
    const HMODULE library = libraryPath.empty() ? nullptr : LoadLibraryA(libraryPath.c_str());
    if (library == nullptr)
        return upkeep;
    upkeep.renew = LookUp<RenewMouseFilterFunction>(library, kRenewMouseFilterName);
    upkeep.lastCallTime = LookUp<MouseFilterCallTimeFunction>(library, kMouseFilterCallTimeName);
    upkeep.remove = LookUp<RemoveMouseFilterFunction>(library, kRemoveMouseFilterName);
    upkeep.releaseHeldPress = LookUp<ReleaseHeldPressFunction>(library, kReleaseHeldPressName);
    if (!upkeep.IsBound()) {
        FreeLibrary(library);
        return FilterUpkeep{};
    }
    // Kept loaded from here on, like the reference the mode's call holds: a
    // renewed hook's procedure lives in the library.
    return upkeep;
}

SetBounceFilterFunction BindBounceFilter(const std::string& libraryPath)
{
    const HMODULE library = libraryPath.empty() ? nullptr : LoadLibraryA(libraryPath.c_str());
    if (library == nullptr)
        return nullptr;
    const auto setBounceFilter = LookUp<SetBounceFilterFunction>(library, kSetBounceFilterName);
    if (setBounceFilter == nullptr)
        FreeLibrary(library);
    return setBounceFilter;
}
