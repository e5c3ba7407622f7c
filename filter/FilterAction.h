#pragma once

// What the low-level hook does with one mouse event: the whole remapping
// rule, kept free of system calls so that it can be read and tested alone.

#include <windows.h>

// Which physical button event to inject in place of the one swallowed.
// Windows turns a physical button into a message only after applying the
// "switch primary and secondary buttons" setting: while it is on, the primary
// click that a window sees as WM_LBUTTONDOWN comes from the right button.
enum class FilterAction { Pass, InjectLeftDown, InjectLeftUp, InjectRightDown, InjectRightUp };

// Carried in dwExtraInfo by every event the hook injects, so that the hook
// can recognise its own events whatever message they come back as. The pen
// and touch signature (0xFF515700 in the top 24 bits) is avoided; the value
// fits 32-bit and 64-bit ULONG_PTR alike.
inline constexpr ULONG_PTR kFilterInjectionMark = 0x566E746CU;
static_assert((kFilterInjectionMark >> 8) != 0xFF5157U, "not the pen and touch signature");

// isSwapped answers whether the buttons are switched now; it is asked only
// for an event that is really replaced, so pointer moves and every event that
// passes cost nothing more than the message comparison.
template <typename SwapQuery>
constexpr FilterAction FilterActionFor(WPARAM mouseMessage, ULONG_PTR extraInfo, SwapQuery isSwapped)
{
    bool press = false;
    switch (mouseMessage) {
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        press = true;
        break;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP:
        break;
    default:
        return FilterAction::Pass;
    }
    // Our own injection passes whatever message it became: a system that
    // reports buttons other than we expect can never make the remapping feed
    // on itself.
    if (extraInfo == kFilterInjectionMark)
        return FilterAction::Pass;
    if (isSwapped())
        return press ? FilterAction::InjectRightDown : FilterAction::InjectRightUp;
    return press ? FilterAction::InjectLeftDown : FilterAction::InjectLeftUp;
}
