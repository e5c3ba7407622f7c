#include "StoredButtonMode.h"

#include "RegistryValue.h"

#include <cstdlib>

int ParseDecimalMode(const char* text)
{
    if (text == nullptr)
        return 0;
    // long is as wide as int on Windows, so strtol's own clamping of numbers
    // out of range keeps the result an int.
    static_assert(sizeof(long) == sizeof(int), "LLP64 and ILP32 targets only");
    return static_cast<int>(std::strtol(text, nullptr, 10));
}

int StoredButtonMode(RegistryValue& value)
{
    switch (value.m_type) {
    case REG_BINARY:
        value.TextBuffer();
        return ParseDecimalMode(value.GetText());
    case REG_SZ:
        return ParseDecimalMode(value.m_text);
    case REG_DWORD:
        // The stored 32 bits, read as the signed int the mode is held in.
        return static_cast<int>(value.m_dword);
    default:
        return 0;
    }
}
