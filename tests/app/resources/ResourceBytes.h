#pragma once

// The running program's own resources, read as the loader maps them.

#include <windows.h>

#include <cstddef>

namespace resource_probe {

// US English: the one language the program's resources are written in.
constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// A view of one resource's bytes; data is null when there is no such
// resource. The bytes live as long as the module, so nothing is released.
struct ResourceBytes {
    const BYTE* data = nullptr;
    size_t size = 0;
};

// The resource of this type and number in US English (no fallback to another
// language, so a resource compiled under the wrong language is not found).
ResourceBytes FindEnglishResource(LPCSTR type, WORD id);

} // namespace resource_probe
