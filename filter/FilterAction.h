#pragma once

// What the low-level hook does with one mouse message: the whole remapping
// rule, kept free of system calls so that it can be read and tested alone.

#include <windows.h>

enum class FilterAction { Pass, InjectLeftDown, InjectLeftUp };

constexpr FilterAction FilterActionFor(WPARAM mouseMessage)
{
    switch (mouseMessage) {
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        return FilterAction::InjectLeftDown;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP:
        return FilterAction::InjectLeftUp;
    default:
        return FilterAction::Pass;
    }
}
