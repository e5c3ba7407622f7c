#pragma once

// What the filter remembers between events, so that no primary press it
// injected is ever left down: Windows keeps the button logically down until
// a release comes, and every later move would then drag. Plain data and no
// system calls, so that it can be read and tested alone; it lives in the
// library, touched only on the thread that serves the hook.

#include "FilterAction.h"

#include <windows.h>

// One bit per button whose events the filter replaces.
constexpr UINT ReplacedButtonBit(WPARAM mouseMessage, DWORD mouseData)
{
    switch (mouseMessage) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return 1;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return 2;
    default:
        return HIWORD(mouseData) == XBUTTON2 ? 8 : 4;
    }
}

// The button events to inject in place of one swallowed event, in order.
struct PressInjections {
    DWORD flags[2] = {0, 0};
    UINT count = 0;
    // False: the event passes unchanged.
    bool swallow = true;
};

// The answer for a filter that lets no press of a replaced button through.
struct NoPressPasses {
    constexpr bool operator()(UINT /*buttonBit*/) const { return false; }
};

class PressLedger {
public:
    // The whole decision for one event that reaches the hook: what to inject
    // in its place, in order, or pass it (swallow false). isSwapped is asked
    // only for an event that is replaced; pressPasses(buttonBit) only for a
    // press of a replaced button, true when that press passes unchanged, and
    // then its release passes too, wherever it comes.
    template <typename SwapQuery, typename PressQuery = NoPressPasses>
    PressInjections Take(WPARAM mouseMessage, DWORD mouseData, ULONG_PTR extraInfo, SwapQuery isSwapped,
                         PressQuery pressPasses = PressQuery{})
    {
        DWORD buttonFlag = 0;
        switch (FilterActionFor(mouseMessage, extraInfo, isSwapped)) {
        case FilterAction::InjectLeftDown:
            buttonFlag = MOUSEEVENTF_LEFTDOWN;
            break;
        case FilterAction::InjectLeftUp:
            buttonFlag = MOUSEEVENTF_LEFTUP;
            break;
        case FilterAction::InjectRightDown:
            buttonFlag = MOUSEEVENTF_RIGHTDOWN;
            break;
        case FilterAction::InjectRightUp:
            buttonFlag = MOUSEEVENTF_RIGHTUP;
            break;
        case FilterAction::Pass: {
            PressInjections passed;
            passed.swallow = false;
            return passed;
        }
        }
        const UINT buttonBit = ReplacedButtonBit(mouseMessage, mouseData);
        if (buttonFlag != MOUSEEVENTF_LEFTDOWN && buttonFlag != MOUSEEVENTF_RIGHTDOWN)
            return Release(buttonBit);
        if (!pressPasses(buttonBit))
            return Press(buttonBit, buttonFlag);
        // Not replaced: its release finds no mark and passes as well.
        m_replacedButtons &= ~buttonBit;
        PressInjections passed;
        passed.swallow = false;
        return passed;
    }

    // A replaced press; pressFlag is MOUSEEVENTF_LEFTDOWN or _RIGHTDOWN. A
    // primary press still held (its release never reached the hook) is
    // released first, so the new click is a click and not a second press.
    // The ledger is complete before the caller injects anything, so a hook
    // call nested in that injection (Wine calls hooks from inside SendInput)
    // finds every press recorded.
    PressInjections Press(UINT buttonBit, DWORD pressFlag)
    {
        PressInjections injections;
        if (m_heldReleaseFlag != 0)
            injections.flags[injections.count++] = m_heldReleaseFlag;
        injections.flags[injections.count++] = pressFlag;
        // Each DOWN flag's UP flag is the next bit up.
        m_heldReleaseFlag = pressFlag << 1;
        m_replacedButtons |= buttonBit;
        return injections;
    }

    // A release of a button the filter replaces. One whose press was not
    // replaced (pressed before the filter came) passes, so that the window
    // that saw the press sees its release. The injected release is the one
    // of the press made, whatever the swap setting says now; none when it
    // was already released (a later press or a renewal did it).
    PressInjections Release(UINT buttonBit)
    {
        PressInjections injections;
        if ((m_replacedButtons & buttonBit) == 0) {
            injections.swallow = false;
            return injections;
        }
        m_replacedButtons &= ~buttonBit;
        if (m_heldReleaseFlag != 0)
            injections.flags[injections.count++] = TakeHeldRelease();
        return injections;
    }

    // The release owed for a primary press still down, 0 if none; owed no
    // longer once taken. The buttons stay marked as replaced, so that their
    // own releases, should they still come, are swallowed and not passed.
    DWORD TakeHeldRelease()
    {
        const DWORD flag = m_heldReleaseFlag;
        m_heldReleaseFlag = 0;
        return flag;
    }

    // A new filter knows no presses: releases of buttons pressed before it pass.
    void Forget()
    {
        m_heldReleaseFlag = 0;
        m_replacedButtons = 0;
    }

private:
    DWORD m_heldReleaseFlag = 0;
    UINT m_replacedButtons = 0;
};
