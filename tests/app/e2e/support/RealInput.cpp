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

POINT CentreOf(const RECT& rect)
{
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

} // namespace e2e
