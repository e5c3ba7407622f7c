#include "LoadedFilterLibrary.h"

#include "TestSupport.h"

#include <utility>

LPCSTR ExportOrdinal(WORD ordinal)
{
    return reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(ordinal));
}

std::string FilterLibraryPath()
{
    return testing_support::ModuleDirectory() + kFilterLibraryName;
}

LoadedFilterLibrary::LoadedFilterLibrary(const std::string& path, DWORD loadFlags)
    : m_module(loadFlags == 0 ? LoadLibraryA(path.c_str()) : LoadLibraryExA(path.c_str(), nullptr, loadFlags))
{
    if (m_module == nullptr)
        return;
    m_pAddMouseFilter = ExportOf<AddMouseFilterFunction>(m_module, kAddMouseFilterName);
    m_pRemoveMouseFilter = ExportOf<RemoveMouseFilterFunction>(m_module, kRemoveMouseFilterName);
}

LoadedFilterLibrary::~LoadedFilterLibrary()
{
    Release();
}

LoadedFilterLibrary::LoadedFilterLibrary(LoadedFilterLibrary&& other) noexcept
    : m_module(std::exchange(other.m_module, nullptr)),
      m_pAddMouseFilter(std::exchange(other.m_pAddMouseFilter, nullptr)),
      m_pRemoveMouseFilter(std::exchange(other.m_pRemoveMouseFilter, nullptr))
{
}

LoadedFilterLibrary& LoadedFilterLibrary::operator=(LoadedFilterLibrary&& other) noexcept
{
    if (this != &other) {
        Release();
        m_module = std::exchange(other.m_module, nullptr);
        m_pAddMouseFilter = std::exchange(other.m_pAddMouseFilter, nullptr);
        m_pRemoveMouseFilter = std::exchange(other.m_pRemoveMouseFilter, nullptr);
    }
    return *this;
}

DllEntryFunction LoadedFilterLibrary::EntryPoint() const
{
    if (m_module == nullptr)
        return nullptr;
    const auto* image = reinterpret_cast<const BYTE*>(m_module);
    const auto* dosHeader = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    const auto* ntHeaders = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dosHeader->e_lfanew);
    if (ntHeaders->OptionalHeader.AddressOfEntryPoint == 0)
        return nullptr;
    return reinterpret_cast<DllEntryFunction>(image + ntHeaders->OptionalHeader.AddressOfEntryPoint);
}

void LoadedFilterLibrary::Release()
{
    if (m_module == nullptr)
        return;
    // Unmapping a hook procedure that the system may still call would crash
    // the next mouse event, so a test that failed half-way leaves no hook behind.
    if (m_pRemoveMouseFilter != nullptr)
        m_pRemoveMouseFilter(WH_MOUSE_LL);
    FreeLibrary(m_module);
    m_module = nullptr;
    m_pAddMouseFilter = nullptr;
    m_pRemoveMouseFilter = nullptr;
}
