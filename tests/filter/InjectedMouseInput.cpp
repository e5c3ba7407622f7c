#include "InjectedMouseInput.h"

const MouseButton kRightButton{"Right", MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 0, WM_RBUTTONDOWN, WM_RBUTTONUP,
    VK_RBUTTON, 3};
const MouseButton kMiddleButton{"Middle", MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 0, WM_MBUTTONDOWN,
    WM_MBUTTONUP, VK_MBUTTON, 2};
const MouseButton kX1Button{"X1", MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON1, WM_XBUTTONDOWN, WM_XBUTTONUP,
    VK_XBUTTON1, 8};
const MouseButton kX2Button{"X2", MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON2, WM_XBUTTONDOWN, WM_XBUTTONUP,
    VK_XBUTTON2, 9};
const MouseButton kLeftButton{"Left", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0, WM_LBUTTONDOWN, WM_LBUTTONUP,
    VK_LBUTTON, 1};

std::ostream& operator<<(std::ostream& out, const MouseButton& button)
{
    return out << button.name;
}

namespace {

bool Inject(LONG dx, LONG dy, DWORD flags, DWORD mouseData, ULONG_PTR extraInfo = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.mouseData = mouseData;
    input.mi.dwFlags = flags;
    input.mi.dwExtraInfo = extraInfo;
    return SendInput(1, &input, sizeof input) == 1;
}

// Absolute coordinates run from 0 to 65535 across the primary screen and the
// system maps them back with x * width / 65536; rounding up hits the pixel exactly.
LONG NormalisedCoordinate(LONG pixel, int screenSize)
{
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + screenSize - 1) / screenSize);
}

} // namespace

bool InjectMouseEvent(DWORD flags, DWORD mouseData)
{
    return Inject(0, 0, flags, mouseData);
}

bool InjectPress(const MouseButton& button, ULONG_PTR extraInfo)
{
    return Inject(0, 0, button.pressFlag, button.mouseData, extraInfo);
}

bool InjectRelease(const MouseButton& button, ULONG_PTR extraInfo)
{
    return Inject(0, 0, button.releaseFlag, button.mouseData, extraInfo);
}

bool InjectMoveTo(POINT screenPoint)
{
    return Inject(NormalisedCoordinate(screenPoint.x, GetSystemMetrics(SM_CXSCREEN)),
        NormalisedCoordinate(screenPoint.y, GetSystemMetrics(SM_CYSCREEN)), MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
        0);
}

bool IsButtonDown(const MouseButton& button)
{
    return (GetAsyncKeyState(button.virtualKey) & 0x8000) != 0;
}
