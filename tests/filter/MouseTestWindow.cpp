#include "MouseTestWindow.h"

#include "TestSupport.h"

#include <windowsx.h>

#include <algorithm>

namespace {

constexpr char kWindowClassName[] = "VantrelMouseTestWindow";

// Away from the top-left corner, where Wine's standalone tray window sits.
constexpr int kWindowLeft = 300;
constexpr int kWindowTop = 200;
constexpr int kWindowWidth = 480;
constexpr int kWindowHeight = 360;

bool IsScreenPositionMessage(UINT message)
{
    return message == WM_MOUSEWHEEL || message == WM_MOUSEHWHEEL || message == WM_CONTEXTMENU;
}

bool IsNonLeftButtonMessage(UINT message)
{
    switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP:
    case WM_XBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_NCXBUTTONDOWN:
    case WM_NCXBUTTONUP:
    case WM_CONTEXTMENU:
        return true;
    default:
        return false;
    }
}

bool IsRecorded(UINT message)
{
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || IsNonLeftButtonMessage(message);
}

} // namespace

void MouseTestWindow::RegisterWindowClassOnce()
{
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(GetModuleHandleA(nullptr), kWindowClassName, &existing))
        return;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    // No CS_DBLCLKS: two quick presses stay two WM_xBUTTONDOWN messages.
    windowClass.style = 0;
    windowClass.lpfnWndProc = &MouseTestWindow::WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClass.lpszClassName = kWindowClassName;
    RegisterClassExA(&windowClass);
}

MouseTestWindow::MouseTestWindow()
{
    RegisterWindowClassOnce();
    // A borderless topmost popup: its whole area is client area, and nothing of
    // the test's desktop can cover it.
    m_window = CreateWindowExA(WS_EX_TOPMOST, kWindowClassName, "Vantrel filter test", WS_POPUP, kWindowLeft,
        kWindowTop, kWindowWidth, kWindowHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (m_window == nullptr)
        return;
    // Messages of the creation itself are not recorded: no mouse message comes before showing.
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(m_window, SW_SHOW);
    UpdateWindow(m_window);
}

MouseTestWindow::~MouseTestWindow()
{
    if (m_window != nullptr)
        DestroyWindow(m_window);
}

bool MouseTestWindow::TakeFocus(DWORD timeoutMs)
{
    if (m_window == nullptr)
        return false;
    return testing_support::PumpMessagesUntil(
        [this] {
            if (GetForegroundWindow() != m_window)
                SetForegroundWindow(m_window);
            else if (GetFocus() != m_window)
                SetFocus(m_window);
            return GetForegroundWindow() == m_window && GetFocus() == m_window && IsWindowVisible(m_window);
        },
        timeoutMs);
}

POINT MouseTestWindow::ScreenPointOf(POINT clientPoint) const
{
    ClientToScreen(m_window, &clientPoint);
    return clientPoint;
}

POINT MouseTestWindow::ClientPointOf(POINT screenPoint) const
{
    ScreenToClient(m_window, &screenPoint);
    return screenPoint;
}

POINT MouseTestWindow::ClientCenter() const
{
    RECT client{};
    GetClientRect(m_window, &client);
    return POINT{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
}

bool MouseTestWindow::ContainsClientPoint(POINT clientPoint) const
{
    RECT client{};
    GetClientRect(m_window, &client);
    return PtInRect(&client, clientPoint) != FALSE;
}

size_t MouseTestWindow::CountOf(UINT message) const
{
    return static_cast<size_t>(std::count_if(m_messages.begin(), m_messages.end(),
        [message](const ReceivedMouseMessage& received) { return received.message == message; }));
}

size_t MouseTestWindow::CountOfNonLeftButtonMessages() const
{
    return static_cast<size_t>(std::count_if(m_messages.begin(), m_messages.end(),
        [](const ReceivedMouseMessage& received) { return IsNonLeftButtonMessage(received.message); }));
}

const ReceivedMouseMessage* MouseTestWindow::FirstOf(UINT message) const
{
    const auto found = std::find_if(m_messages.begin(), m_messages.end(),
        [message](const ReceivedMouseMessage& received) { return received.message == message; });
    return found == m_messages.end() ? nullptr : &*found;
}

bool MouseTestWindow::WaitFor(UINT message, DWORD timeoutMs)
{
    return testing_support::PumpMessagesUntil([this, message] { return CountOf(message) > 0; }, timeoutMs);
}

bool MouseTestWindow::WaitForMoveTo(POINT clientPoint, DWORD timeoutMs)
{
    return testing_support::PumpMessagesUntil(
        [this, clientPoint] {
            return std::any_of(m_messages.begin(), m_messages.end(), [clientPoint](const ReceivedMouseMessage& received) {
                return received.message == WM_MOUSEMOVE && received.clientPoint.x == clientPoint.x &&
                    received.clientPoint.y == clientPoint.y;
            });
        },
        timeoutMs);
}

LRESULT CALLBACK MouseTestWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<MouseTestWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr && IsRecorded(message))
        self->Record(message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

void MouseTestWindow::Record(UINT message, WPARAM wParam, LPARAM lParam)
{
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (IsScreenPositionMessage(message))
        point = ClientPointOf(point);
    m_messages.push_back(ReceivedMouseMessage{message, wParam, point});
}
