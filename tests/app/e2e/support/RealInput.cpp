#include "RealInput.h"

#include "TestSupport.h"

#include <string>

namespace e2e {

namespace {

constexpr DWORD kXdotoolTimeoutMs = 10000;

std::string Coordinates(POINT where)
{
    return std::to_string(where.x) + " " + std::to_string(where.y);
}

} // namespace

bool MovePointerTo(POINT where)
{
    return testing_support::RunUnixCommand("xdotool mousemove " + Coordinates(where), kXdotoolTimeoutMs) == 0;
}

bool ClickAt(POINT where, int xButton)
{
    return testing_support::RunUnixCommand(
               "xdotool mousemove " + Coordinates(where) + " click " + std::to_string(xButton), kXdotoolTimeoutMs) == 0;
}

bool PressAt(POINT where, int xButton)
{
    return testing_support::RunUnixCommand("xdotool mousemove " + Coordinates(where) + " mousedown " +
                                               std::to_string(xButton),
               kXdotoolTimeoutMs) == 0;
}

bool ReleaseButton(int xButton)
{
    return testing_support::RunUnixCommand("xdotool mouseup " + std::to_string(xButton), kXdotoolTimeoutMs) == 0;
}

POINT CentreOf(const RECT& rect)
{
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

bool TypeKey(WORD virtualKey)
{
    INPUT inputs[2]{};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtualKey;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

} // namespace e2e
