#include "GuardedBuffer.h"

#include <cstring>
#include <stdexcept>

namespace {

size_t PageSize()
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwPageSize;
}

} // namespace

GuardedBuffer::GuardedBuffer(size_t size) : m_size(size)
{
    const size_t page = PageSize();
    const size_t dataPages = (size + page - 1) / page;
    const size_t usable = (dataPages == 0 ? 1 : dataPages) * page;
    m_region = static_cast<BYTE*>(VirtualAlloc(nullptr, usable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (m_region == nullptr)
        throw std::runtime_error("VirtualAlloc failed");
    DWORD oldProtection = 0;
    if (!VirtualProtect(m_region + usable, page, PAGE_NOACCESS, &oldProtection)) {
        VirtualFree(m_region, 0, MEM_RELEASE);
        throw std::runtime_error("VirtualProtect failed");
    }
    m_data = m_region + usable - size;
    Fill(0xCC);
}

GuardedBuffer::GuardedBuffer(GuardedBuffer&& other) noexcept
    : m_region(other.m_region), m_data(other.m_data), m_size(other.m_size)
{
    other.m_region = nullptr;
    other.m_data = nullptr;
    other.m_size = 0;
}

GuardedBuffer::~GuardedBuffer()
{
    if (m_region != nullptr)
        VirtualFree(m_region, 0, MEM_RELEASE);
}

void GuardedBuffer::Fill(BYTE value)
{
    std::memset(m_data, value, m_size);
}
