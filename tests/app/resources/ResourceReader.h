#pragma once

// Reads little-endian fields from a resource's bytes. Every read checks the
// bound, so a broken resource fails its test instead of crashing the probe.

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace resource_probe {

class ResourceReader {
public:
    ResourceReader(const BYTE* data, size_t size) : m_data(data), m_size(data != nullptr ? size : 0) {}

    template <typename T>
    T Read()
    {
        Require(sizeof(T));
        T value;
        std::memcpy(&value, m_data + m_offset, sizeof(T));
        m_offset += sizeof(T);
        return value;
    }

    // A zero-terminated UTF-16 string.
    std::wstring ReadString()
    {
        std::wstring text;
        for (WCHAR c = Read<WCHAR>(); c != L'\0'; c = Read<WCHAR>())
            text.push_back(c);
        return text;
    }

    std::vector<BYTE> ReadBytes(size_t count)
    {
        Require(count);
        std::vector<BYTE> bytes(m_data + m_offset, m_data + m_offset + count);
        m_offset += count;
        return bytes;
    }

    void Skip(size_t count)
    {
        Require(count);
        m_offset += count;
    }

    void SeekTo(size_t offset)
    {
        if (offset > m_size)
            throw std::runtime_error("resource ends early");
        m_offset = offset;
    }

    // To the next 32-bit boundary, counted from the resource's start.
    void AlignToDword() { SeekTo((m_offset + 3) & ~static_cast<size_t>(3)); }

    size_t Offset() const { return m_offset; }

private:
    void Require(size_t count) const
    {
        if (count > m_size || m_offset > m_size - count)
            throw std::runtime_error("resource ends early");
    }

    const BYTE* m_data;
    size_t m_size;
    size_t m_offset = 0;
};

} // namespace resource_probe
