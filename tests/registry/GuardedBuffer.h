#pragma once

// A buffer whose last byte is the last byte of a readable, writable page,
// followed by a page that faults on any access: reading or writing even one
// byte past the end ends the test program at once.

#include <windows.h>

#include <cstddef>

class GuardedBuffer {
public:
    explicit GuardedBuffer(size_t size);
    ~GuardedBuffer();

    GuardedBuffer(GuardedBuffer&& other) noexcept;
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(GuardedBuffer&&) = delete;

    BYTE* Bytes() const { return m_data; }
    char* Text() const { return reinterpret_cast<char*>(m_data); }
    size_t Size() const { return m_size; }
    // Fills the buffer with one byte value.
    void Fill(BYTE value);

private:
    BYTE* m_region = nullptr;
    BYTE* m_data = nullptr;
    size_t m_size;
};
