#include "HookConfiguration.h"

#include <string>

namespace {

std::wstring TwentyPrograms()
{
    std::wstring block;
    for (int i = 1; i <= 20; ++i)
        block += L"listed-program-" + std::to_wstring(i) + L".exe" + L'\0';
    return block + L'\0';
}

} // namespace

ScopedHook::ScopedHook(HookKind kind, FilterLibrary& filter)
{
    switch (kind) {
    case HookKind::None:
        m_installed = true;
        break;
    case HookKind::Minimal:
        m_minimalHook.emplace();
        m_installed = m_minimalHook->Installed();
        break;
    case HookKind::FilterWithPrograms:
        if (filter.SetNormalPrograms(TwentyPrograms()))
            m_pListedFilter = &filter;
        m_installed = m_pListedFilter != nullptr && filter.AddFilter();
        if (m_installed)
            m_pFilter = &filter;
        break;
    case HookKind::Filter:
        m_installed = filter.AddFilter();
        if (m_installed)
            m_pFilter = &filter;
        break;
    }
}

ScopedHook::~ScopedHook()
{
    if (m_pFilter != nullptr)
        m_pFilter->RemoveFilter();
    if (m_pListedFilter != nullptr)
        m_pListedFilter->SetNormalPrograms(std::wstring(1, L'\0'));
}
