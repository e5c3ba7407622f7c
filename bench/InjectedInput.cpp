#include "InjectedInput.h"

namespace {

INPUT MouseInput(LONG dx, LONG dy, DWORD flags)
{
    INPUT input;
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.mouseData = 0;
    input.mi.dwFlags = flags;
    input.mi.time = 0;
    input.mi.dwExtraInfo = 0;
    return input;
}

} // namespace

INPUT MouseButtonInput(DWORD buttonFlag)
{
    return MouseInput(0, 0, buttonFlag);
}

bool SendMouseButton(DWORD buttonFlag)
{
    INPUT input = MouseButtonInput(buttonFlag);
    return SendInput(1, &input, sizeof(INPUT)) == 1;
}

INPUT MouseMoveInput(LONG dx, LONG dy)
{
    return MouseInput(dx, dy, MOUSEEVENTF_MOVE);
}
