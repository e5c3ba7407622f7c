#include "HookConfiguration.h"

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
}
