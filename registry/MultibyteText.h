#pragma once

// The C runtime's multibyte string functions, which take unsigned char, for
// the char texts of the registry library. They follow the current multibyte
// code page: a double-byte character is one unit when texts are compared.

#include <mbstring.h>

#include <cstddef>

namespace multibyte {

inline int CompareNoCase(const char* left, const char* right)
{
    return _mbsicmp(reinterpret_cast<const unsigned char*>(left), reinterpret_cast<const unsigned char*>(right));
}

// Copies at most count bytes, stopping after the source's terminator and
// zero-filling the rest of count; the copy is terminated only if the source
// ended within count bytes.
inline void CopyBytes(char* dst, const char* src, size_t count)
{
    _mbsnbcpy(reinterpret_cast<unsigned char*>(dst), reinterpret_cast<const unsigned char*>(src), count);
}

inline const char* FindTerminator(const char* text)
{
    return reinterpret_cast<const char*>(_mbschr(reinterpret_cast<const unsigned char*>(text), 0));
}

} // namespace multibyte
