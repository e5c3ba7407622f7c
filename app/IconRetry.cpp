#include "IconRetry.h"

namespace {

constexpr UINT kFirstPauseMs = 1000;
constexpr UINT kLongestPauseMs = 60000;

} // namespace

void IconRetry::Begin(HWND window)
{
    if (m_window != nullptr)
        return;
    m_window = window;
    m_pauseMs = kFirstPauseMs;
    SetTimer(m_window, kTimerId, m_pauseMs, nullptr);
}

void IconRetry::Continue()
{
    if (m_window == nullptr)
        return;
    m_pauseMs = m_pauseMs * 2 < kLongestPauseMs ? m_pauseMs * 2 : kLongestPauseMs;
    SetTimer(m_window, kTimerId, m_pauseMs, nullptr);
}

void IconRetry::End()
{
    if (m_window == nullptr)
        return;
    KillTimer(m_window, kTimerId);
    m_window = nullptr;
}
