#include "NotificationArea.h"

#include "ProgramWindows.h"
#include "RealInput.h"
#include "TestSupport.h"

#include <shellapi.h>

#include <vector>

namespace e2e {

namespace {

constexpr char kTooltipClass[] = "tooltips_class32";
constexpr POINT kAwayFromTray{640, 900};
constexpr ULONGLONG kDoubleClickMarginMs = 100;

NOTIFYICONDATAA IconRecord(HWND window, UINT iconId)
{
    NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = window;
    record.uID = iconId;
    return record;
}

std::vector<RECT> ShownIconRects()
{
    std::vector<RECT> rects;
    for (HWND icon : testing_support::ShownTrayIcons()) {
        RECT rect{};
        if (GetWindowRect(icon, &rect))
            rects.push_back(rect);
    }
    return rects;
}

// The tooltip the tray shows: a visible tooltip window of the tray's process.
std::string VisibleTooltipText(DWORD trayProcessId)
{
    for (HWND window : TopLevelWindowsOf(trayProcessId)) {
        if (IsWindowVisible(window) && ClassNameOf(window) == kTooltipClass)
            return WindowTextOf(window);
    }
    return {};
}

} // namespace

bool IconExists(HWND window, UINT iconId)
{
    NOTIFYICONDATAA record = IconRecord(window, iconId);
    return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

bool WaitForIcon(HWND window, UINT iconId, bool present, DWORD timeoutMs)
{
    return testing_support::PumpMessagesUntil([&] { return IconExists(window, iconId) == present; }, timeoutMs);
}

bool RemoveIconOf(HWND window, UINT iconId)
{
    NOTIFYICONDATAA record = IconRecord(window, iconId);
    return Shell_NotifyIconA(NIM_DELETE, &record) != FALSE;
}

HWND FindTrayWindow()
{
    return testing_support::FindTrayWindow();
}

std::optional<RECT> NewestIconRect()
{
    std::optional<RECT> newest;
    for (const RECT& rect : ShownIconRects()) {
        if (!newest || rect.left > newest->left)
            newest = rect;
    }
    return newest;
}

int ShownIconCount()
{
    return static_cast<int>(ShownIconRects().size());
}

bool ClickNewestIcon(int xButton)
{
    // A second press on the icon within the double-click time would reach
    // the owner as a double click, which opens nothing.
    static ULONGLONG lastClick = 0;
    const ULONGLONG quietUntil = lastClick + GetDoubleClickTime() + kDoubleClickMarginMs;
    const ULONGLONG now = GetTickCount64();
    if (lastClick != 0 && now < quietUntil)
        testing_support::PumpMessagesFor(static_cast<DWORD>(quietUntil - now));
    const std::optional<RECT> icon = NewestIconRect();
    if (!icon)
        return false;
    const bool clicked = ClickAt(CentreOf(*icon), xButton);
    lastClick = GetTickCount64();
    return clicked;
}

std::string HoverNewestIconTooltip(DWORD timeoutMs)
{
    const std::optional<RECT> icon = NewestIconRect();
    if (!icon)
        return {};
    DWORD trayProcessId = 0;
    GetWindowThreadProcessId(FindTrayWindow(), &trayProcessId);
    // A tooltip still shown from an earlier visit would give its old text:
    // the pointer leaves first, so that the tray hides it.
    if (!MovePointerTo(kAwayFromTray))
        return {};
    testing_support::PumpMessagesUntil([&] { return VisibleTooltipText(trayProcessId).empty(); }, timeoutMs);
    // A tooltip appears once the pointer has rested on the tool; two steps
    // make the tray see a move inside the icon.
    const POINT centre = CentreOf(*icon);
    if (!MovePointerTo(POINT{centre.x - 2, centre.y}) || !MovePointerTo(centre))
        return {};
    std::string text;
    testing_support::PumpMessagesUntil([&] { return !(text = VisibleTooltipText(trayProcessId)).empty(); }, timeoutMs);
    return text;
}

} // namespace e2e
