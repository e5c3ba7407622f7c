#include "FilterLibrary.h"

#include <utility>

namespace {

// void (*)() is the step between function types that GCC accepts without a
// cast-function-type warning; the export's real type comes from MouseFilter.h.
template <typename Function>
Function ExportOf(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

} // namespace

FilterLibrary::FilterLibrary(const std::string& path) : m_module(LoadLibraryA(path.c_str()))
{
    if (m_module == nullptr)
        return;
    m_pAddMouseFilter = ExportOf<AddMouseFilterFunction>(m_module, kAddMouseFilterName);
    m_pRemoveMouseFilter = ExportOf<RemoveMouseFilterFunction>(m_module, kRemoveMouseFilterName);
    m_pRenewMouseFilter = ExportOf<RenewMouseFilterFunction>(m_module, kRenewMouseFilterName);
    m_pSetNormalPrograms = ExportOf<SetNormalProgramsFunction>(m_module, kSetNormalProgramsName);
}

bool FilterLibrary::SetNormalPrograms(const std::wstring& block)
{
    if (m_pSetNormalPrograms == nullptr)
        return false;
    m_pSetNormalPrograms(block.data(), static_cast<DWORD>(block.size()));
    return true;
}

FilterLibrary::~FilterLibrary()
{
    Release();
}

FilterLibrary::FilterLibrary(FilterLibrary&& other) noexcept
    : m_module(std::exchange(other.m_module, nullptr)),
      m_pAddMouseFilter(std::exchange(other.m_pAddMouseFilter, nullptr)),
      m_pRemoveMouseFilter(std::exchange(other.m_pRemoveMouseFilter, nullptr)),
      m_pRenewMouseFilter(std::exchange(other.m_pRenewMouseFilter, nullptr)),
      m_pSetNormalPrograms(std::exchange(other.m_pSetNormalPrograms, nullptr))
{
}

FilterLibrary& FilterLibrary::operator=(FilterLibrary&& other) noexcept
{
    if (this != &other) {
        Release();
        m_module = std::exchange(other.m_module, nullptr);
        m_pAddMouseFilter = std::exchange(other.m_pAddMouseFilter, nullptr);
        m_pRemoveMouseFilter = std::exchange(other.m_pRemoveMouseFilter, nullptr);
        m_pRenewMouseFilter = std::exchange(other.m_pRenewMouseFilter, nullptr);
        m_pSetNormalPrograms = std::exchange(other.m_pSetNormalPrograms, nullptr);
    }
    return *this;
}

bool FilterLibrary::AddFilter()
{
    return Bound() && m_pAddMouseFilter(WH_MOUSE_LL, 0) != 0;
}

void FilterLibrary::RemoveFilter()
{
    if (Bound())
        m_pRemoveMouseFilter(WH_MOUSE_LL);
}

bool FilterLibrary::RenewFilter()
{
    return Bound() && m_pRenewMouseFilter != nullptr && m_pRenewMouseFilter(WH_MOUSE_LL, 0) != 0;
}

void FilterLibrary::Release()
{
    if (m_module == nullptr)
        return;
    RemoveFilter();
    FreeLibrary(m_module);
    m_module = nullptr;
    m_pAddMouseFilter = nullptr;
    m_pRemoveMouseFilter = nullptr;
    m_pRenewMouseFilter = nullptr;
}
