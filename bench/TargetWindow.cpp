#include "TargetWindow.h"

#include "Clock.h"
#include "MessagePump.h"

namespace {

constexpr char kClassName[] = "VantrelBenchTarget";
// Well away from the top-left corner, where Wine shows its standalone tray.
constexpr RECT kPlace = {300, 300, 700, 600};

} // namespace

TargetWindow::TargetWindow()
{
    WNDCLASSA windowClass{};
    // No CS_DBLCLKS: a quick second press must arrive as WM_LBUTTONDOWN again.
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    m_window = CreateWindowExA(WS_EX_TOPMOST, kClassName, "Vantrel benchmark", WS_POPUP | WS_VISIBLE, kPlace.left,
        kPlace.top, kPlace.right - kPlace.left, kPlace.bottom - kPlace.top, nullptr, nullptr,
        GetModuleHandleA(nullptr), this);
}

TargetWindow::~TargetWindow()
{
    if (m_window != nullptr)
        DestroyWindow(m_window);
}

bool TargetWindow::TakePointer()
{
    if (m_window == nullptr)
        return false;
    const POINT centre = {(kPlace.left + kPlace.right) / 2, (kPlace.top + kPlace.bottom) / 2};
    SetForegroundWindow(m_window);
    SetCursorPos(centre.x, centre.y);
    // The display server may take a moment to map the window and move the pointer.
    return PumpMessagesUntil(
        [&] {
            POINT where;
            return GetCursorPos(&where) && where.x == centre.x && where.y == centre.y &&
                WindowFromPoint(where) == m_window;
        },
        5000);
}

void TargetWindow::ClearEvents()
{
    m_leftDownCount = 0;
    m_leftUpCount = 0;
    m_otherButtonCount = 0;
    m_lastLeftDownTime = 0;
}

void TargetWindow::OnMouseMessage(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        m_lastLeftDownTime = PerformanceCounterNow();
        ++m_leftDownCount;
        break;
    case WM_LBUTTONUP:
        ++m_leftUpCount;
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP:
        ++m_otherButtonCount;
        break;
    default:
        break;
    }
}

LRESULT CALLBACK TargetWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The arrival time is taken before anything else runs.
    if (message >= WM_LBUTTONDOWN && message <= WM_XBUTTONUP) {
        auto* self = reinterpret_cast<TargetWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self != nullptr)
            self->OnMouseMessage(message);
        return 0;
    }
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
