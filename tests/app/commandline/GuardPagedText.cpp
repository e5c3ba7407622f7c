#include "GuardPagedText.h"

#include <windows.h>

#include <cstring>
#include <stdexcept>

GuardPagedText::GuardPagedText(std::size_t capacity) : m_capacity(capacity)
{
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const std::size_t page = system.dwPageSize;
    const std::size_t readable = (capacity + 1 + page - 1) / page * page;
    m_region = static_cast<char*>(VirtualAlloc(nullptr, readable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (m_region == nullptr)
        throw std::runtime_error("VirtualAlloc failed");
    m_guard = m_region + readable;
    DWORD previous = 0;
    if (!VirtualProtect(m_guard, page, PAGE_NOACCESS, &previous)) {
        VirtualFree(m_region, 0, MEM_RELEASE);
        throw std::runtime_error("VirtualProtect failed");
    }
}

GuardPagedText::~GuardPagedText()
{
    VirtualFree(m_region, 0, MEM_RELEASE);
}

const char* GuardPagedText::Place(const std::string& text)
{
    if (text.size() > m_capacity)
        throw std::length_error("text longer than the guarded capacity");
    char* const copy = m_guard - 1 - text.size();
    std::memcpy(copy, text.data(), text.size());
    m_guard[-1] = '\0';
    return copy;
}
