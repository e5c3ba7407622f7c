#include "ResourceBytes.h"

namespace resource_probe {

ResourceBytes FindEnglishResource(LPCSTR type, WORD id)
{
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), kEnglishUs);
    if (found == nullptr)
        return {};
    const HGLOBAL loaded = LoadResource(module, found);
    if (loaded == nullptr)
        return {};
    return {static_cast<const BYTE*>(LockResource(loaded)), SizeofResource(module, found)};
}

} // namespace resource_probe
