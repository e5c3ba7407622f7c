#pragma once

// Presses too close together, in mode One: a hand with a tremor often
// presses twice when it means once. A press of any button that comes less
// than the set time after the previous release is swallowed, and so is its
// own release, wherever and whenever it comes. Plain data and no system
// calls, so that it can be read and tested alone; it lives in the library,
// touched only on the thread that serves the hook.

#include "FilterAction.h"

#include <windows.h>

// The longest bounce time that is accepted: beyond it a deliberate double
// click could no longer be made.
inline constexpr DWORD kMaxBounceMs = 500;

class BounceJudge {
public:
    // 0 turns the judge off; a time above kMaxBounceMs is refused (false)
    // and changes nothing.
    constexpr bool SetBounceMs(DWORD bounceMs)
    {
        if (bounceMs > kMaxBounceMs)
            return false;
        m_bounceMs = bounceMs;
        return true;
    }

    constexpr DWORD BounceMs() const { return m_bounceMs; }

    // True when the event must be swallowed. time is the hook record's own
    // stamp: GetTickCount would cost a system call and tell when the hook
    // ran, not when the button moved. Pointer moves and wheel turns cost one
    // comparison more than the test of the time itself.
    constexpr bool Swallows(WPARAM mouseMessage, DWORD mouseData, DWORD time, ULONG_PTR extraInfo)
    {
        if (m_bounceMs == 0)
            return false;
        bool press = false;
        switch (mouseMessage) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
            press = true;
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_XBUTTONUP:
            break;
        default:
            return false;
        }
        // The left presses the filter injects in place of other buttons were
        // judged as those buttons already.
        if (extraInfo == kFilterInjectionMark)
            return false;
        const UINT button = ButtonBit(mouseMessage, mouseData);
        if (press) {
            // Unsigned difference: right across the tick count's wrap, and a
            // stamp older than the release is no bounce. A press whose bit is
            // still set lost its release while no hook ran: it is judged anew.
            const bool bounce = m_releaseSeen && time - m_releaseTime < m_bounceMs;
            m_swallowedButtons = bounce ? (m_swallowedButtons | button) : (m_swallowedButtons & ~button);
            return bounce;
        }
        // Every release counts, also one swallowed as bounce: an unsteady
        // hand's third press comes soon after the second, not the first.
        m_releaseSeen = true;
        m_releaseTime = time;
        if ((m_swallowedButtons & button) == 0)
            return false;
        m_swallowedButtons &= ~button;
        return true;
    }

private:
    static constexpr UINT ButtonBit(WPARAM mouseMessage, DWORD mouseData)
    {
        switch (mouseMessage) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            return 1;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            return 2;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            return 4;
        default:
            return HIWORD(mouseData) == XBUTTON2 ? 16 : 8;
        }
    }

    DWORD m_bounceMs = 0;
    DWORD m_releaseTime = 0;
    bool m_releaseSeen = false;
    UINT m_swallowedButtons = 0;
};
