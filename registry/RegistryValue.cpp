#include "RegistryValue.h"

#include "MultibyteText.h"
#include "RegistryKey.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

namespace {

// The longest int in decimal: a sign, its digits and the terminator.
constexpr size_t kIntTextSize = 12;
static_assert(std::numeric_limits<int>::digits10 + 3 <= static_cast<int>(kIntTextSize),
    "every int must fit its decimal text buffer");

// The strings of a REG_MULTI_SZ block. A zero last byte closes the list and
// ends no string; a last piece with no zero byte after it is dropped.
std::vector<std::string> ParseMultiString(const char* data, DWORD size)
{
    std::vector<std::string> strings;
    if (size <= 2)
        return strings;
    const size_t end = data[size - 1] == '\0' ? size - 1 : size;
    // The search runs on a copy closed by two zero bytes (room for a
    // double-byte character's trail byte), so that it stops inside the copy
    // even when the block's last byte is not zero.
    std::vector<char> block(data, data + size);
    block.insert(block.end(), 2, '\0');
    const char* start = block.data();
    for (;;) {
        const char* terminator = multibyte::FindTerminator(start);
        if (terminator == nullptr || static_cast<size_t>(terminator - block.data()) >= end)
            break;
        strings.emplace_back(start, terminator);
        start = terminator + 1;
    }
    return strings;
}

} // namespace

RegistryValue::RegistryValue(RegistryKey* key, std::unique_ptr<char[]> name) : m_name(std::move(name)), m_key(key) {}

RegistryValue::~RegistryValue()
{
    delete[] m_text;
}

RegistryValue& RegistryValue::SetString(const char* text)
{
    EnsureTextBuffer();
    m_type = REG_SZ;
    const size_t size = std::strlen(text) + 1;
    // A text too long for the buffer is cached cut, still terminated; the
    // registry gets all of it.
    multibyte::CopyBytes(m_text, text, std::min(size, size_t{kTextBufferSize}));
    m_text[kTextBufferSize - 1] = '\0';
    WriteThrough(REG_SZ, text, static_cast<DWORD>(size));
    return *this;
}

RegistryValue& RegistryValue::SetDword(const DWORD& value)
{
    m_type = REG_DWORD;
    m_dword = value;
    WriteThrough(REG_DWORD, &m_dword, sizeof m_dword);
    return *this;
}

void RegistryValue::SetBinary(const BYTE* data, DWORD size)
{
    if (size == 0)
        return;
    m_type = REG_BINARY;
    WriteThrough(REG_BINARY, data, size);
    m_bytes.assign(data, data + size);
}

void RegistryValue::SetMultiString(const char* data, DWORD size, bool writeOnly)
{
    if (!writeOnly) {
        m_type = REG_MULTI_SZ;
        m_strings = ParseMultiString(data, size);
    }
    if (size > 0 && data[size - 1] != '\0') {
        // RegSetValueExA reads the byte after string data that does not end
        // in a zero byte, and counts it when it is zero. Handing it a copy
        // followed by a non-zero byte keeps it inside the caller's block and
        // writes exactly the size bytes given.
        std::vector<char> block(data, data + size);
        block.push_back('\x01');
        WriteThrough(REG_MULTI_SZ, block.data(), size);
        return;
    }
    WriteThrough(REG_MULTI_SZ, data, size);
}

RegistryValue& RegistryValue::SetInt(int value)
{
    char text[kIntTextSize];
    std::snprintf(text, sizeof text, "%d", value);
    return SetString(text);
}

char* RegistryValue::GetText()
{
    RefreshBeforeRead();
    EnsureTextBuffer();
    switch (m_type) {
    case REG_BINARY: {
        // Loading alone can deliver a full buffer of bytes: cut them so that
        // the terminator still fits.
        const size_t length = std::min(m_bytes.size(), size_t{kTextBufferSize} - 1);
        std::memcpy(m_text, m_bytes.data(), length);
        // The text ends at the first zero byte; the rest up to the cut is cleared.
        const size_t textLength = strnlen(m_text, length);
        std::memset(m_text + textLength, 0, length + 1 - textLength);
        break;
    }
    case REG_DWORD:
        std::snprintf(m_text, kTextBufferSize, "%lu", static_cast<unsigned long>(m_dword));
        break;
    case REG_MULTI_SZ:
        CopyStringsTo(m_text, kTextBufferSize);
        break;
    default:
        break;
    }
    return m_text;
}

DWORD RegistryValue::GetBinary(BYTE* dst, DWORD size)
{
    RefreshBeforeRead();
    if (m_bytes.empty())
        throw std::out_of_range("registry value holds no binary data");
    const size_t count = std::min(size_t{size}, m_bytes.size());
    std::copy_n(m_bytes.data(), count, dst);
    return static_cast<DWORD>(count);
}

char* RegistryValue::GetMultiString(char* dst, DWORD size)
{
    if (m_type != REG_MULTI_SZ) {
        if (size > 0)
            dst[0] = '\0';
        return dst;
    }
    RefreshBeforeRead();
    CopyStringsTo(dst, size);
    return dst;
}

char* RegistryValue::TextBuffer()
{
    return EnsureTextBuffer();
}

bool RegistryValue::Delete()
{
    m_exists = false;
    return m_key->DeleteFromRegistry(m_name.get()) == ERROR_SUCCESS;
}

char* RegistryValue::EnsureTextBuffer()
{
    if (m_text == nullptr)
        m_text = new char[kTextBufferSize]();
    return m_text;
}

void RegistryValue::WriteThrough(DWORD type, const void* data, DWORD size)
{
    RegistryKey& key = *m_key;
    if (!(key.m_flags & REGKEY_LOADING)) {
        const bool writable = (key.m_flags & REGKEY_ON_DEMAND) ? key.EnsureOpen(KEY_SET_VALUE) : key.m_hKey != nullptr;
        // The cache holds the value regardless of how the write went.
        m_writeResult = writable
            ? RegSetValueExA(key.m_hKey, m_name.get(), 0, type, static_cast<const BYTE*>(data), size)
            : ERROR_INVALID_HANDLE;
    }
    key.CloseIfOnDemand();
    m_exists = true;
}

void RegistryValue::RefreshBeforeRead()
{
    const RegistryKey& key = *m_key;
    if (!(key.m_flags & REGKEY_REFRESH) || (key.m_flags & REGKEY_LOADING))
        return;
    const bool readable = (key.m_flags & REGKEY_ON_DEMAND) ? m_key->EnsureOpen(KEY_QUERY_VALUE) : key.m_hKey != nullptr;
    if (readable)
        m_key->LoadValues();
}

void RegistryValue::CopyStringsTo(char* dst, DWORD size) const
{
    if (size == 0)
        return;
    size_t position = 0;
    for (const std::string& text : m_strings) {
        if (position >= size)
            break;
        multibyte::CopyBytes(dst + position, text.c_str(), std::min<size_t>(text.size() + 1, size - position));
        position += text.size() + 1;
    }
    // The closing zero byte; a block cut at the end of dst ends with a zero
    // byte in dst's last place instead.
    dst[std::min(position, size_t{size} - 1)] = '\0';
}
